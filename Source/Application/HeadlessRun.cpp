#include "Source/Application/HeadlessRun.h"

#include <cstdio>
#include <system_error>

#include "Source/Application/CharacterTrace.h"
#include "Source/Common/ClockSnapshot.h"
#include "Source/Common/MemorySnapshot.h"
#include "Source/Common/QuitControl.h"
#include "framework/Graphics/PngWriter.h"
#include "framework/Numeric/GlobalRandom.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Headless/HeadlessPopupMenu.h"
#include "framework/Platform/NativePath.h"
#include "framework/Secure/WholeFile.h"
#include "framework/Speech/SpeechRecognitionEngine.h"
#include "framework/Text/Utf.h"

namespace Quenta::Application {

namespace {

namespace Platform = Arbor::Platform;
using Platform::Headless::HeadlessDesktop;

std::string shown(const std::filesystem::path& path) { return Arbor::Text::toUtf8(path.u16string()); }

std::filesystem::path nativePath(const std::u16string& text) { return Platform::toNativePath(text); }

// Figures of a plain machine, so that scripts reading memory see the same every run.
Platform::MemoryStatus fixedMemory() {
    constexpr std::uint64_t GiB = 1024ull * 1024 * 1024;
    Platform::MemoryStatus m;
    m.memoryLoad = 50;
    m.totalPhysical = 16 * GiB;
    m.availablePhysical = 8 * GiB;
    m.totalPageFile = 32 * GiB;
    m.availablePageFile = 24 * GiB;
    m.totalVirtual = 128 * 1024 * GiB;
    m.availableVirtual = 127 * 1024 * GiB;
    return m;
}

}  // namespace

std::unique_ptr<HeadlessRun> HeadlessRun::create(const CommandLine& commandLine, Common::QuitControl& quit,
                                                 std::string& error) {
    EventScript events;
    if (!commandLine.eventsFile.empty()) {
        auto read = EventScript::read(nativePath(commandLine.eventsFile), error);
        if (!read) return nullptr;
        events = std::move(*read);
    }
    if (!commandLine.recordDirectory.empty()) {
        const std::filesystem::path dir = nativePath(commandLine.recordDirectory);
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        if (!std::filesystem::is_directory(dir, ec)) {
            error = shown(dir) + ": the folder cannot be made";
            return nullptr;
        }
    }
    std::unique_ptr<HeadlessRun> run(new HeadlessRun(commandLine, std::move(events), quit));
    if (!commandLine.traceFile.empty()) {
        run->traceFile_ = nativePath(commandLine.traceFile);
        run->traceTemporary_ = run->traceFile_;
        run->traceTemporary_ += ".partial";
        run->trace_.open(run->traceTemporary_, std::ios::binary | std::ios::trunc);
        if (!run->trace_) {
            error = shown(run->traceFile_) + ": cannot be written";
            return nullptr;
        }
    }
    return run;
}

HeadlessRun::HeadlessRun(const CommandLine& commandLine, EventScript events, Common::QuitControl& quit)
    : commandLine_(commandLine), events_(std::move(events)), quit_(quit) {}

HeadlessRun::~HeadlessRun() {
    // A run that never finished leaves no half-written trace behind.
    if (trace_.is_open()) {
        trace_.close();
        std::error_code ec;
        std::filesystem::remove(traceTemporary_, ec);
    }
}

std::uint32_t HeadlessRun::tickOfFrame(std::uint64_t frame) {
    // floor((frame - 1) * 1000 / 30), in unsigned 32-bit arithmetic like the tick count.
    return startTick + static_cast<std::uint32_t>((frame - 1) * 100 / 3);
}

std::string HeadlessRun::recordedFrameName(std::uint64_t frame) {
    std::string number = std::to_string(frame);
    if (number.size() < 5) number.insert(0, 5 - number.size(), '0');
    return "frame-" + number + ".png";
}

void HeadlessRun::prepare() {
    HeadlessDesktop& desktop = HeadlessDesktop::instance();
    Platform::ScreenMetrics screen = desktop.screen();
    screen.virtualScreen = Platform::Rect{0, 0, commandLine_.screenWidth, commandLine_.screenHeight};
    screen.primaryWidth = commandLine_.screenWidth;
    screen.primaryHeight = commandLine_.screenHeight;
    screen.sameDisplayFormat = true;
    desktop.setScreen(screen);
    desktop.setCursorPosition(Platform::Point{commandLine_.screenWidth - 1, commandLine_.screenHeight - 1});
    desktop.setMemoryStatus(fixedMemory());
    if (!commandLine_.realtime) {
        Platform::LocalTime local;
        local.year = commandLine_.clock.year;
        local.month = commandLine_.clock.month;
        local.day = commandLine_.clock.day;
        local.hour = commandLine_.clock.hour;
        local.minute = commandLine_.clock.minute;
        local.second = commandLine_.clock.second;
        desktop.setClock(startTick, local);
    }
    Arbor::Numeric::globalRandom().seed(commandLine_.seed.value_or(defaultSeed));
}

void HeadlessRun::beforeFrame(std::uint64_t frame) {
    if (!commandLine_.realtime && frame > 1) {
        HeadlessDesktop::instance().stepClock(tickOfFrame(frame) - tickOfFrame(frame - 1));
    }
    // The frame reads the time and memory figures of its own moment, whenever the
    // user-interface thread's timer last refreshed them.
    Common::ClockSnapshot::instance().refresh();
    Common::MemorySnapshot::instance().refresh();
    events_.apply(frame, *this);
    // Quitting begun between frames (an event, the tray menu) is pictured as it began.
    if (quit_.isQuitting()) takeScreenshot();
}

void HeadlessRun::afterRender(std::uint64_t frame) {
    if (!commandLine_.recordDirectory.empty()) {
        writePicture(nativePath(commandLine_.recordDirectory) / recordedFrameName(frame));
    }
    if (commandLine_.frameLimit ? frame >= *commandLine_.frameLimit : quit_.isQuitting()) takeScreenshot();
    if (trace_.is_open()) {
        for (const CharacterTraceRow& row : characterTraceRows()) trace_ << formatTraceLine(frame, row);
    }
}

void HeadlessRun::takeScreenshot() {
    if (screenshotTaken_ || commandLine_.screenshotFile.empty()) return;
    screenshotTaken_ = true;
    writePicture(nativePath(commandLine_.screenshotFile));
}

bool HeadlessRun::writePicture(const std::filesystem::path& file) {
    const Platform::Headless::DesktopImage image = HeadlessDesktop::instance().compose(
        Platform::Rect{0, 0, commandLine_.screenWidth, commandLine_.screenHeight});
    const std::vector<std::uint8_t> png = Arbor::Graphics::encodePng({image.width, image.height, image.rgba});
    if (png.empty() || !Arbor::Secure::writeWholeFile(file, png)) {
        failed(shown(file) + ": cannot be written");
        return false;
    }
    return true;
}

void HeadlessRun::failed(const std::string& what) {
    std::fprintf(stderr, "tavizo: %s\n", what.c_str());
    ok_ = false;
}

bool HeadlessRun::finish() {
    if (trace_.is_open()) {
        trace_.close();
        std::error_code ec;
        bool written = !trace_.fail();
        if (written) {
            std::filesystem::rename(traceTemporary_, traceFile_, ec);
            written = !ec;
        }
        if (!written) {
            std::filesystem::remove(traceTemporary_, ec);
            failed(shown(traceFile_) + ": cannot be written");
        }
    }
    return ok_;
}

void HeadlessRun::moveMouse(int x, int y) { HeadlessDesktop::instance().moveMouse(Platform::Point{x, y}); }

void HeadlessRun::pressButton(int x, int y, bool rightButton, bool down) {
    HeadlessDesktop::instance().pressButton(
        Platform::Point{x, y}, rightButton ? Platform::Headless::MouseButton::Right : Platform::Headless::MouseButton::Left,
        down);
}

void HeadlessRun::doubleClick(int x, int y) {
    HeadlessDesktop::instance().doubleClick(Platform::Point{x, y}, Platform::Headless::MouseButton::Left);
}

void HeadlessRun::say(const std::u16string& text) {
    Arbor::Speech::Recognition::SpeechRecognitionEngine::instance().enqueue(text);
}

void HeadlessRun::quit() { quit_.beginQuitting(); }

// The menus open on the virtual desktop are recorded ones (HeadlessPopupMenu.h). A
// choice reaches the character as the click on a real menu does: WM_COMMAND to its
// window, an input event for its next frame.
void HeadlessRun::chooseMenuItem(const std::u16string& text) {
    using Platform::Headless::PopupChoice;
    const std::string shown = Arbor::Text::toUtf8(text);
    switch (Platform::Headless::choosePopupMenuItem(text)) {
        case PopupChoice::NoMenu:
            std::fprintf(stderr, "tavizo: events: menu %s: no menu is open\n", shown.c_str());
            break;
        case PopupChoice::NotFound:
            std::fprintf(stderr, "tavizo: events: menu %s: the open menu has no such item\n", shown.c_str());
            break;
        default:
            break;
    }
}

void HeadlessRun::escapeMenu() {
    if (!Platform::Headless::escapePopupMenu()) std::fputs("tavizo: events: escape: no menu is open\n", stderr);
}

}  // namespace Quenta::Application
