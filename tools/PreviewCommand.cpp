// tavizo-tool preview PATH --frames N [--events FILE] [--screen WxH] --out OUT: runs one
// character in a reproducible headless run (in a scratch program folder beside an
// empty main object) and writes what it showed as an animated PNG (OUT ending in
// ".png") or as numbered PNG frames (OUT a folder). The pictures are cut to the part
// of the desktop that anything covered in any frame, so that a character does not
// come out as a speck on a screen-sized canvas.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "Source/Application/Application.h"
#include "Source/Application/ApplicationDirectories.h"
#include "Source/Application/CommandLine.h"
#include "Source/Application/FatalError.h"
#include "Source/Application/HeadlessRun.h"
#include "framework/Graphics/PngDecoder.h"
#include "framework/Graphics/PngWriter.h"
#include "framework/Platform/Backend.h"
#include "framework/Platform/NativePath.h"
#include "framework/Secure/WholeFile.h"
#include "framework/Text/Utf.h"
#include "tools/ToolCommand.h"

namespace {

namespace fs = std::filesystem;
using Quenta::Application::CommandLine;

constexpr std::uint64_t maxFrames = 1800;  // a minute: every frame is kept until the end
constexpr const char* usage =
    "usage: tavizo-tool preview PATH --frames N [--events FILE] [--screen WxH] --out OUT\n";

struct Area {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
};

// A scratch program folder, removed however the preview ends (also on a fatal error of
// the character, which ends the process from inside the run).
fs::path& scratchFolder() {
    static fs::path folder;
    return folder;
}

void removeScratch() {
    std::error_code ec;
    if (!scratchFolder().empty()) fs::remove_all(scratchFolder(), ec);
}

fs::path recordedFrame(std::uint64_t frame) {
    return scratchFolder() / "frames" / Quenta::Application::HeadlessRun::recordedFrameName(frame);
}

std::unique_ptr<Arbor::Graphics::ImageBuffer> loadFrame(std::uint64_t frame) {
    return Arbor::Graphics::decodePngFile(recordedFrame(frame));
}

// The covered part of one frame, added to the area.
void widen(Area& area, const Arbor::Graphics::ImageBuffer& image) {
    const Arbor::Graphics::Pixel* p = image.pixels();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((p[std::size_t(y) * std::size_t(image.width()) + std::size_t(x)] >> 24) == 0) continue;
            if (area.empty()) {
                area = Area{x, y, x + 1, y + 1};
            } else {
                area.left = std::min(area.left, x);
                area.top = std::min(area.top, y);
                area.right = std::max(area.right, x + 1);
                area.bottom = std::max(area.bottom, y + 1);
            }
        }
    }
}

std::vector<std::uint8_t> cropToRgba(const Arbor::Graphics::ImageBuffer& image, const Area& area) {
    std::vector<std::uint8_t> rgba;
    rgba.reserve(std::size_t(area.right - area.left) * std::size_t(area.bottom - area.top) * 4);
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const Arbor::Graphics::Pixel p = image.pixels()[std::size_t(y) * std::size_t(image.width()) + std::size_t(x)];
            rgba.insert(rgba.end(), {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                                     static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 24)});
        }
    }
    return rgba;
}

bool endsWithPng(const std::string& name) {
    if (name.size() < 4) return false;
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == ".png";
}

// The main object of a preview: the least definition a main object can have.
constexpr std::string_view emptyMainObject =
    "<FUNC_INITIAL_REG>\n<SET_CONFIG>\nFuncName = Init\nObjectID = \"MAIN_OBJECT\"\n</SET_CONFIG>\n"
    "</FUNC_INITIAL_REG>\n<FUNC_FINAL_REG>\n<SET_CONFIG>\nFuncName = Bye\n</SET_CONFIG>\n</FUNC_FINAL_REG>\n";

// Puts the character and an empty main object into the scratch folder's Data.
bool stageCharacter(const fs::path& source, std::string& error) {
    std::error_code ec;
    const fs::path data = scratchFolder() / "Data";
    fs::create_directories(data / "MAIN_OBJECT", ec);
    const std::span<const std::uint8_t> mainText(reinterpret_cast<const std::uint8_t*>(emptyMainObject.data()),
                                                 emptyMainObject.size());
    if (ec || !Arbor::Secure::writeWholeFile(data / "MAIN_OBJECT" / "main.func", mainText)) {
        error = "cannot make a scratch folder" + (ec ? ": " + ec.message() : std::string());
        return false;
    }
    if (fs::is_directory(source, ec)) {
        fs::copy(source, data / source.filename(), fs::copy_options::recursive, ec);
    } else {
        fs::copy_file(source, data / source.filename(), ec);
    }
    if (ec) error = "cannot copy the character: " + ec.message();
    return !ec;
}

int runPreview(const std::vector<std::string>& args) {
    std::optional<std::string> path, frames, events, screen, out;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::optional<std::string>* slot = a == "--frames"   ? &frames
                                           : a == "--events" ? &events
                                           : a == "--screen" ? &screen
                                           : a == "--out"    ? &out
                                                             : nullptr;
        if (slot) {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "preview: %s needs a value\n%s", a.c_str(), usage);
                return 2;
            }
            *slot = args[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "preview: unknown option %s\n%s", a.c_str(), usage);
            return 2;
        } else if (!path) {
            path = a;
        } else {
            std::fprintf(stderr, "%s", usage);
            return 2;
        }
    }
    if (!path || !frames || !out || out->empty()) {
        std::fprintf(stderr, "%s", usage);
        return 2;
    }
    const fs::path source = fs::path(Arbor::Text::fromUtf8(*path)).lexically_normal();
    const fs::path sourceName = source.has_filename() ? source : source.parent_path();
    std::error_code ec;
    const bool folder = fs::is_directory(sourceName, ec);
    if (!folder && !(fs::is_regular_file(sourceName, ec) && sourceName.extension() == ".qnd")) {
        std::fprintf(stderr, "preview: %s is neither a character folder nor a .qnd package\n", path->c_str());
        return 2;
    }
    if ((folder ? sourceName.filename() : sourceName.stem()) == "MAIN_OBJECT") {
        std::fprintf(stderr, "preview: the main object is not a character to preview\n");
        return 2;
    }

    // The run's own options, checked as the program checks them.
    std::vector<std::u16string> runArgs{u"--headless", u"--frames", Arbor::Text::fromUtf8(*frames)};
    if (screen) runArgs.insert(runArgs.end(), {u"--screen", Arbor::Text::fromUtf8(*screen)});
    if (events) runArgs.insert(runArgs.end(), {u"--events", Arbor::Text::fromUtf8(*events)});
    CommandLine commandLine = CommandLine::parse(runArgs);
    if (!commandLine.error.empty()) {
        std::fprintf(stderr, "preview: %s\n", commandLine.error.c_str());
        return 2;
    }
    const std::uint64_t count = commandLine.frameLimit.value_or(0);
    if (count < 1 || count > maxFrames) {
        std::fprintf(stderr, "preview: --frames needs a count from 1 to %s\n", std::to_string(maxFrames).c_str());
        return 2;
    }

    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    scratchFolder() = fs::temp_directory_path(ec) / ("tavizo-preview-" + std::to_string(stamp));
    std::string error;
    if (ec || !stageCharacter(sourceName, error)) {
        std::fprintf(stderr, "preview: %s\n", error.empty() ? ec.message().c_str() : error.c_str());
        removeScratch();
        return 1;
    }
    commandLine.recordDirectory = Arbor::Platform::fromNativePath(scratchFolder() / "frames");
    // A script or definition error has shown its "Error: ..." line; the preview failed.
    Quenta::Application::FatalError::setTerminator([](int) {
        removeScratch();
        std::_Exit(1);
    });
    Arbor::Platform::chooseBackend(true);
    int code = 0;
    {
        Quenta::Application::ApplicationDirectories directories(scratchFolder(), scratchFolder() / "AppData");
        Quenta::Application::Application application(commandLine, std::move(directories));
        code = application.run();
    }
    if (code != 0) {
        removeScratch();
        return code;
    }

    // Two passes, so that only the cut frames are ever held together.
    Area area;
    for (std::uint64_t f = 1; f <= count; ++f) {
        const auto image = loadFrame(f);
        if (!image) {
            std::fprintf(stderr, "preview: the run ended before frame %s\n", std::to_string(f).c_str());
            removeScratch();
            return 1;
        }
        widen(area, *image);
        if (area.empty() && f == count) area = Area{0, 0, image->width(), image->height()};
    }
    std::vector<std::vector<std::uint8_t>> pixels;
    for (std::uint64_t f = 1; f <= count; ++f) pixels.push_back(cropToRgba(*loadFrame(f), area));
    removeScratch();

    const int width = area.right - area.left, height = area.bottom - area.top;
    std::vector<Arbor::Graphics::RgbaPicture> pictures;
    for (const auto& p : pixels) pictures.push_back({width, height, p});
    const fs::path target(Arbor::Text::fromUtf8(*out));
    if (endsWithPng(*out)) {
        const auto png = Arbor::Graphics::encodeAnimatedPng(pictures, 1, 30);
        if (png.empty() || !Arbor::Secure::writeWholeFile(target, png)) {
            std::fprintf(stderr, "preview: %s cannot be written\n", out->c_str());
            return 1;
        }
    } else {
        fs::create_directories(target, ec);
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            const std::string name = Quenta::Application::HeadlessRun::recordedFrameName(i + 1);
            const auto png = Arbor::Graphics::encodePng(pictures[i]);
            if (png.empty() || !Arbor::Secure::writeWholeFile(target / name, png)) {
                std::fprintf(stderr, "preview: %s cannot be written\n", Arbor::Text::toUtf8((target / name).u16string()).c_str());
                return 1;
            }
        }
    }
    std::printf("%s frames of %dx%d\n", std::to_string(pictures.size()).c_str(), width, height);
    return 0;
}

}  // namespace

TAVIZO_TOOL_COMMAND(preview, "preview PATH --frames N [--events FILE] [--screen WxH] --out OUT",
                    "runs one character headless and writes an animated PNG or PNG frames", runPreview);
