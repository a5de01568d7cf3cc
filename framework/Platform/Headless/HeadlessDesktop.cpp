#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Headless/HeadlessEffects.h"

#include <chrono>
#include <ctime>
#include <map>
#include <mutex>

#include "framework/Platform/Headless/HeadlessWindowing.h"
#include "framework/Platform/HostServices.h"
#include "framework/Platform/InputShape.h"
#include "framework/Platform/MessageBox.h"

namespace Arbor::Platform::Headless {

namespace {

using Milliseconds = std::chrono::milliseconds;
using TimePoint = std::chrono::sys_time<Milliseconds>;

// Local time is kept as a time point on a calendar without zones: only its fields count.
TimePoint toTimePoint(const LocalTime& time) {
    using namespace std::chrono;
    const sys_days date = year{time.year} / month{static_cast<unsigned>(time.month)} /
                          day{static_cast<unsigned>(time.day)};
    return date + hours{time.hour} + minutes{time.minute} + seconds{time.second} +
           milliseconds{time.millisecond};
}

LocalTime toLocalTime(TimePoint point) {
    using namespace std::chrono;
    const sys_days date = floor<days>(point);
    const year_month_day ymd{date};
    const hh_mm_ss<milliseconds> clock{point - date};
    LocalTime time;
    time.year = static_cast<int>(ymd.year());
    time.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    time.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    time.dayOfWeek = static_cast<int>(weekday{date}.c_encoding());
    time.hour = static_cast<int>(clock.hours().count());
    time.minute = static_cast<int>(clock.minutes().count());
    time.second = static_cast<int>(clock.seconds().count());
    time.millisecond = static_cast<int>(clock.subseconds().count());
    return time;
}

LocalTime hostLocalTime() {
    // std::localtime shares one buffer; the lock makes it safe between threads.
    static std::mutex mutex;
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<Milliseconds>(now.time_since_epoch()).count() % 1000;
    std::lock_guard lock(mutex);
    const std::tm* parts = std::localtime(&seconds);
    LocalTime time;
    if (!parts) return time;
    time.year = parts->tm_year + 1900;
    time.month = parts->tm_mon + 1;
    time.dayOfWeek = parts->tm_wday;
    time.day = parts->tm_mday;
    time.hour = parts->tm_hour;
    time.minute = parts->tm_min;
    time.second = parts->tm_sec;
    time.millisecond = static_cast<int>(millis);
    return time;
}

std::u16string withoutTrailingSeparator(std::u16string_view folder) {
    std::u16string text(folder);
    while (text.size() > 1 && (text.back() == u'\\' || text.back() == u'/')) text.pop_back();
    return text;
}

ScreenMetrics defaultScreen() {
    ScreenMetrics metrics;
    metrics.virtualScreen = Rect{0, 0, 1920, 1080};
    metrics.primaryWidth = 1920;
    metrics.primaryHeight = 1080;
    metrics.sameDisplayFormat = true;
    return metrics;
}

}  // namespace

struct HeadlessDesktop::State {
    mutable std::mutex mutex;
    ScreenMetrics screen = defaultScreen();
    Point cursor;
    const NativeCursor* cursorShape = nullptr;
    std::map<int, bool> keys;
    bool clockSet = false;
    std::uint32_t tick = 0;
    TimePoint local{};
    int timerResolutionRequests = 0;
    bool hostMemory = true;
    std::optional<MemoryStatus> memory;
    std::u16string appDataFolder;
    std::set<std::u16string> unwritable;
    int messageBoxReply = IDOK;
    std::vector<MessageBoxRecord> messageBoxes;
    std::vector<ProcessLaunchRecord> launches;
    bool privilegeGranted = true;
    std::vector<SessionRecord> sessionRequests;
};

HeadlessDesktop& HeadlessDesktop::instance() {
    static HeadlessDesktop* desktop = new HeadlessDesktop();
    return *desktop;
}

HeadlessDesktop::HeadlessDesktop() : state_(new State), windowing_(new HeadlessWindowing(*this)) {}

HeadlessWindowing& HeadlessDesktop::windowing() { return *windowing_; }

void HeadlessDesktop::reset() {
    windowing_->reset();
    std::lock_guard lock(state_->mutex);
    State& s = *state_;
    s.screen = defaultScreen();
    s.cursor = Point{};
    s.cursorShape = nullptr;
    s.keys.clear();
    s.clockSet = false;
    s.timerResolutionRequests = 0;
    s.hostMemory = true;
    s.memory.reset();
    s.appDataFolder.clear();
    s.unwritable.clear();
    s.messageBoxReply = IDOK;
    s.messageBoxes.clear();
    s.launches.clear();
    s.privilegeGranted = true;
    s.sessionRequests.clear();
    HeadlessEffects::instance().reset();
}

void HeadlessDesktop::setScreen(const ScreenMetrics& metrics) {
    std::lock_guard lock(state_->mutex);
    state_->screen = metrics;
}

ScreenMetrics HeadlessDesktop::screen() const {
    std::lock_guard lock(state_->mutex);
    return state_->screen;
}

void HeadlessDesktop::setCursorPosition(Point position) {
    std::lock_guard lock(state_->mutex);
    state_->cursor = position;
}

Point HeadlessDesktop::cursorPosition() const {
    std::lock_guard lock(state_->mutex);
    return state_->cursor;
}

void HeadlessDesktop::setKeyDown(int virtualKey, bool down) {
    std::lock_guard lock(state_->mutex);
    state_->keys[virtualKey] = down;
}

bool HeadlessDesktop::isKeyDown(int virtualKey) const {
    std::lock_guard lock(state_->mutex);
    const auto down = [&](int code) {
        auto it = state_->keys.find(code);
        return it != state_->keys.end() && it->second;
    };
    // SHIFT, CTRL and ALT are down while either of their left or right keys is, as
    // the system's key state reports them.
    if (virtualKey >= 0x10 && virtualKey <= 0x12) {
        const int left = 0xA0 + 2 * (virtualKey - 0x10);
        if (down(left) || down(left + 1)) return true;
    }
    return down(virtualKey);
}

void HeadlessDesktop::setClock(std::uint32_t tickCount, const LocalTime& localTime) {
    {
        std::lock_guard lock(state_->mutex);
        state_->clockSet = true;
        state_->tick = tickCount;
        state_->local = toTimePoint(localTime);
    }
    windowing_->wakeAll();
}

void HeadlessDesktop::stepClock(std::uint32_t milliseconds) {
    {
        std::lock_guard lock(state_->mutex);
        if (!state_->clockSet) return;
        state_->tick += milliseconds;
        state_->local += Milliseconds(milliseconds);
    }
    windowing_->wakeAll();
}

void HeadlessDesktop::useRealClock() {
    {
        std::lock_guard lock(state_->mutex);
        state_->clockSet = false;
    }
    windowing_->wakeAll();
}

bool HeadlessDesktop::isClockSet() const {
    std::lock_guard lock(state_->mutex);
    return state_->clockSet;
}

std::uint32_t HeadlessDesktop::tickCount() const {
    {
        std::lock_guard lock(state_->mutex);
        if (state_->clockSet) return state_->tick;
    }
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<Milliseconds>(now).count());
}

LocalTime HeadlessDesktop::localTime() const {
    {
        std::lock_guard lock(state_->mutex);
        if (state_->clockSet) return toLocalTime(state_->local);
    }
    return hostLocalTime();
}

int HeadlessDesktop::timerResolutionRequests() const {
    std::lock_guard lock(state_->mutex);
    return state_->timerResolutionRequests;
}

void HeadlessDesktop::addTimerResolutionRequest(int delta) {
    std::lock_guard lock(state_->mutex);
    state_->timerResolutionRequests += delta;
}

void HeadlessDesktop::setMemoryStatus(std::optional<MemoryStatus> status) {
    std::lock_guard lock(state_->mutex);
    state_->hostMemory = false;
    state_->memory = status;
}

void HeadlessDesktop::useHostMemoryStatus() {
    std::lock_guard lock(state_->mutex);
    state_->hostMemory = true;
    state_->memory.reset();
}

bool HeadlessDesktop::memoryStatus(MemoryStatus& status) const {
    {
        std::lock_guard lock(state_->mutex);
        if (!state_->hostMemory) {
            if (!state_->memory) return false;
            status = *state_->memory;
            return true;
        }
    }
    // Made on first use and kept: the desktop itself is never destroyed either.
    static MemoryService* host = hostServices().makeMemoryService().release();
    return host->memoryStatus(status);
}

void HeadlessDesktop::setApplicationDataFolder(std::u16string folder) {
    std::lock_guard lock(state_->mutex);
    state_->appDataFolder = std::move(folder);
}

std::u16string HeadlessDesktop::applicationDataFolderOverride() const {
    std::lock_guard lock(state_->mutex);
    return state_->appDataFolder;
}

void HeadlessDesktop::markUnwritable(std::u16string folder) {
    std::lock_guard lock(state_->mutex);
    state_->unwritable.insert(withoutTrailingSeparator(folder));
}

bool HeadlessDesktop::isMarkedUnwritable(std::u16string_view folder) const {
    std::lock_guard lock(state_->mutex);
    return state_->unwritable.count(withoutTrailingSeparator(folder)) > 0;
}

void HeadlessDesktop::setMessageBoxReply(int reply) {
    std::lock_guard lock(state_->mutex);
    state_->messageBoxReply = reply;
}

int HeadlessDesktop::recordMessageBox(const MessageBoxRecord& record) {
    std::lock_guard lock(state_->mutex);
    state_->messageBoxes.push_back(record);
    return state_->messageBoxReply;
}

std::vector<MessageBoxRecord> HeadlessDesktop::messageBoxes() const {
    std::lock_guard lock(state_->mutex);
    return state_->messageBoxes;
}

void HeadlessDesktop::recordProcessLaunch(const ProcessLaunchRecord& record) {
    std::lock_guard lock(state_->mutex);
    state_->launches.push_back(record);
}

std::vector<ProcessLaunchRecord> HeadlessDesktop::processLaunches() const {
    std::lock_guard lock(state_->mutex);
    return state_->launches;
}

void HeadlessDesktop::setShutdownPrivilegeGranted(bool granted) {
    std::lock_guard lock(state_->mutex);
    state_->privilegeGranted = granted;
}

bool HeadlessDesktop::recordSessionRequest(const SessionRecord& record) {
    std::lock_guard lock(state_->mutex);
    state_->sessionRequests.push_back(record);
    if (record.kind == SessionRecord::Kind::EnableShutdownPrivilege) return state_->privilegeGranted;
    return true;
}

std::vector<SessionRecord> HeadlessDesktop::sessionRequests() const {
    std::lock_guard lock(state_->mutex);
    return state_->sessionRequests;
}

std::optional<WindowState> HeadlessDesktop::window(WindowHandle handle) const {
    return windowing_->state(handle);
}

std::vector<WindowHandle> HeadlessDesktop::zOrder() const { return windowing_->zOrder(); }

bool HeadlessDesktop::presentPixels(WindowHandle handle, int width, int height,
                                    const std::vector<std::uint32_t>& pixels) {
    return windowing_->presentPixels(handle, width, height, pixels);
}

WindowHandle HeadlessDesktop::foregroundWindow() const { return windowing_->foreground(); }

WindowHandle HeadlessDesktop::captureWindow() const { return windowing_->capture(); }

bool HeadlessDesktop::takesClickAt(WindowHandle handle, Point screenPoint) const {
    const auto state = windowing_->state(handle);
    if (!state) return false;
    const Rect& r = state->bounds;
    if (screenPoint.x < r.left || screenPoint.x >= r.right || screenPoint.y < r.top || screenPoint.y >= r.bottom) {
        return false;
    }
    return !state->hasInputShape ||
           regionContains(state->inputShape, Point{screenPoint.x - r.left, screenPoint.y - r.top});
}

const NativeCursor* HeadlessDesktop::currentCursor() const {
    std::lock_guard lock(state_->mutex);
    return state_->cursorShape;
}

void HeadlessDesktop::setCurrentCursor(const NativeCursor* cursor) {
    std::lock_guard lock(state_->mutex);
    state_->cursorShape = cursor;
}

bool HeadlessDesktop::setWindowProcessId(WindowHandle handle, std::uint32_t processId) {
    return windowing_->setProcessId(handle, processId);
}

}  // namespace Arbor::Platform::Headless
