#include "framework/Platform/Headless/HeadlessWindowing.h"

#include <algorithm>

#include "framework/Platform/DibSection.h"
#include "framework/Platform/InputShape.h"
#include "framework/Platform/Messages.h"

namespace Arbor::Platform::Headless {

namespace {

std::uintptr_t idOf(WindowHandle window) { return static_cast<std::uintptr_t>(window); }
WindowHandle handleOf(std::uintptr_t id) { return static_cast<WindowHandle>(id); }

}  // namespace

HeadlessWindowing::HeadlessWindowing(HeadlessDesktop& desktop) : desktop_(desktop), queues_(*this) {}

ThreadId HeadlessWindowing::currentThreadId() { return ThreadQueues::currentThreadId(); }

void HeadlessWindowing::reset() {
    {
        std::lock_guard lock(mutex_);
        windows_.clear();
        zOrder_.clear();
        foreground_ = 0;
        capture_ = 0;
    }
    queues_.reset();
}

void HeadlessWindowing::wakeAll() { queues_.wakeAll(); }

HeadlessWindowing::WindowRecord* HeadlessWindowing::find(WindowHandle window) {
    auto it = windows_.find(idOf(window));
    return it == windows_.end() ? nullptr : &it->second;
}

const HeadlessWindowing::WindowRecord* HeadlessWindowing::find(WindowHandle window) const {
    auto it = windows_.find(idOf(window));
    return it == windows_.end() ? nullptr : &it->second;
}

void HeadlessWindowing::unlink(std::uintptr_t id) {
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), id), zOrder_.end());
}

void HeadlessWindowing::insertAt(std::size_t index, std::uintptr_t id) {
    // Appending and rotating into place (rather than vector::insert) keeps g++'s
    // null-dereference analysis quiet at -O2.
    zOrder_.push_back(id);
    std::rotate(zOrder_.begin() + static_cast<std::ptrdiff_t>(std::min(index, zOrder_.size() - 1)),
                zOrder_.end() - 1, zOrder_.end());
}

void HeadlessWindowing::insertAtBandTop(std::uintptr_t id) {
    unlink(id);
    std::size_t index = 0;
    if (!windows_.at(id).state.topmost) {
        while (index < zOrder_.size() && windows_.at(zOrder_[index]).state.topmost) ++index;
    }
    insertAt(index, id);
}

// --- Windows

WindowHandle HeadlessWindowing::create(const WindowDescription& description) {
    std::uintptr_t id = 0;
    {
        std::lock_guard lock(mutex_);
        if (description.owner != WindowHandle::None && !find(description.owner)) return WindowHandle::None;
        id = nextWindow_++;
        WindowRecord record;
        record.state.handle = handleOf(id);
        record.state.className = description.className;
        record.state.title = description.title;
        record.state.bounds = description.bounds;
        record.state.style = description.style;
        record.state.exStyle = description.exStyle;
        record.state.topmost = (description.exStyle & WS_EX_TOPMOST) != 0;
        record.state.visible = (description.style & WS_VISIBLE) != 0;
        record.state.owner = description.owner;
        record.state.thread = currentThreadId();
        record.procedure = description.procedure;
        windows_.emplace(id, std::move(record));
        insertAtBandTop(id);
    }
    // As on the system, a procedure that answers -1 to WM_CREATE refuses the window.
    if (callProcedure(handleOf(id), WM_CREATE, 0, 0) == -1) {
        destroy(handleOf(id));
        return WindowHandle::None;
    }
    return handleOf(id);
}

bool HeadlessWindowing::destroy(WindowHandle window) {
    std::vector<std::uintptr_t> owned;
    {
        std::lock_guard lock(mutex_);
        WindowRecord* record = find(window);
        if (!record || record->destroying) return false;
        record->destroying = true;
        for (const auto& [id, other] : windows_) {
            if (other.state.owner == window) owned.push_back(id);
        }
    }
    // Owned windows go first, then the window hears WM_DESTROY while it still exists.
    for (std::uintptr_t id : owned) destroy(handleOf(id));
    callProcedure(window, WM_DESTROY, 0, 0);
    std::lock_guard lock(mutex_);
    unlink(idOf(window));
    windows_.erase(idOf(window));
    if (foreground_ == idOf(window)) foreground_ = 0;
    if (capture_ == idOf(window)) capture_ = 0;
    return true;
}

bool HeadlessWindowing::exists(WindowHandle window) const {
    std::lock_guard lock(mutex_);
    return find(window) != nullptr;
}

std::optional<WindowState> HeadlessWindowing::state(WindowHandle window) const {
    std::lock_guard lock(mutex_);
    const WindowRecord* record = find(window);
    if (!record) return std::nullopt;
    return record->state;
}

std::optional<WindowState> HeadlessWindowing::facts(WindowHandle window) const {
    std::lock_guard lock(mutex_);
    const WindowRecord* record = find(window);
    if (!record) return std::nullopt;
    const WindowState& s = record->state;
    WindowState copy;
    copy.handle = s.handle;
    copy.className = s.className;
    copy.title = s.title;
    copy.bounds = s.bounds;
    copy.visible = s.visible;
    copy.topmost = s.topmost;
    copy.style = s.style;
    copy.exStyle = s.exStyle;
    copy.owner = s.owner;
    copy.thread = s.thread;
    copy.processId = s.processId;
    copy.pixelWidth = s.pixelWidth;
    copy.pixelHeight = s.pixelHeight;
    copy.premultiplied = s.premultiplied;
    copy.opacity = s.opacity;
    copy.hasInputShape = s.hasInputShape;
    return copy;
}

bool HeadlessWindowing::setTitle(WindowHandle window, std::u16string_view title) {
    std::lock_guard lock(mutex_);
    WindowRecord* record = find(window);
    if (!record) return false;
    record->state.title = std::u16string(title);
    return true;
}

bool HeadlessWindowing::show(WindowHandle window, bool visible, bool activate) {
    std::lock_guard lock(mutex_);
    WindowRecord* record = find(window);
    if (!record) return false;
    record->state.visible = visible;
    if (visible && activate) {
        foreground_ = idOf(window);
        insertAtBandTop(idOf(window));
    }
    return true;
}

bool HeadlessWindowing::setBounds(WindowHandle window, const Rect& bounds) {
    std::lock_guard lock(mutex_);
    WindowRecord* record = find(window);
    if (!record) return false;
    record->state.bounds = bounds;
    return true;
}

bool HeadlessWindowing::setZOrder(WindowHandle window, ZOrder where) {
    std::lock_guard lock(mutex_);
    WindowRecord* record = find(window);
    if (!record) return false;
    auto& state = record->state;
    switch (where) {
        case ZOrder::Top:
            insertAtBandTop(idOf(window));
            break;
        case ZOrder::Bottom:
            // The bottom is below every window; a topmost window loses that status.
            state.topmost = false;
            unlink(idOf(window));
            zOrder_.push_back(idOf(window));
            break;
        case ZOrder::Topmost:
            state.topmost = true;
            insertAtBandTop(idOf(window));
            break;
        case ZOrder::NoTopmost:
            if (state.topmost) {
                state.topmost = false;
                insertAtBandTop(idOf(window));
            }
            break;
    }
    state.exStyle = state.topmost ? (state.exStyle | WS_EX_TOPMOST) : (state.exStyle & ~WS_EX_TOPMOST);
    return true;
}

bool HeadlessWindowing::placeBelow(WindowHandle window, WindowHandle above) {
    std::lock_guard lock(mutex_);
    WindowRecord* record = find(window);
    const WindowRecord* reference = find(above);
    if (!record || !reference) return false;
    if (window == above) return true;
    // Joining a window's place means joining its band.
    record->state.topmost = reference->state.topmost;
    auto& state = record->state;
    state.exStyle = state.topmost ? (state.exStyle | WS_EX_TOPMOST) : (state.exStyle & ~WS_EX_TOPMOST);
    unlink(idOf(window));
    const auto at = std::find(zOrder_.begin(), zOrder_.end(), idOf(above));
    insertAt(static_cast<std::size_t>(at - zOrder_.begin()) + 1, idOf(window));
    return true;
}

bool HeadlessWindowing::setOwner(WindowHandle window, WindowHandle owner) {
    std::lock_guard lock(mutex_);
    WindowRecord* record = find(window);
    if (!record || window == owner) return false;
    if (owner != WindowHandle::None && !find(owner)) return false;
    record->state.owner = owner;
    return true;
}

bool HeadlessWindowing::setExStyle(WindowHandle window, std::uint32_t exStyle) {
    std::lock_guard lock(mutex_);
    WindowRecord* record = find(window);
    if (!record) return false;
    // The topmost bit follows the window's band; only z-order calls change it.
    const std::uint32_t topmostBit = record->state.exStyle & WS_EX_TOPMOST;
    record->state.exStyle = (exStyle & ~WS_EX_TOPMOST) | topmostBit;
    return true;
}

bool HeadlessWindowing::setProcessId(WindowHandle window, std::uint32_t processId) {
    std::lock_guard lock(mutex_);
    WindowRecord* record = find(window);
    if (!record) return false;
    record->state.processId = processId;
    return true;
}

bool HeadlessWindowing::setForeground(WindowHandle window) {
    std::lock_guard lock(mutex_);
    if (!find(window)) return false;
    foreground_ = idOf(window);
    insertAtBandTop(idOf(window));
    return true;
}

WindowHandle HeadlessWindowing::foreground() const {
    std::lock_guard lock(mutex_);
    return handleOf(foreground_);
}

std::vector<WindowHandle> HeadlessWindowing::zOrder() const {
    std::lock_guard lock(mutex_);
    std::vector<WindowHandle> result;
    result.reserve(zOrder_.size());
    for (std::uintptr_t id : zOrder_) result.push_back(handleOf(id));
    return result;
}

namespace {

// Whether a window takes the screen point, by what it shows (see HeadlessDesktop::windowAt).
bool takesPoint(const WindowState& state, Point point) {
    const Rect& r = state.bounds;
    if (!state.visible || (state.exStyle & WS_EX_TRANSPARENT) != 0) return false;
    if (point.x < r.left || point.x >= r.right || point.y < r.top || point.y >= r.bottom) return false;
    const Point local{point.x - r.left, point.y - r.top};
    if (state.pixelWidth <= 0 || state.pixelHeight <= 0) {
        return !state.hasInputShape || regionContains(state.inputShape, local);
    }
    if (local.x >= state.pixelWidth || local.y >= state.pixelHeight || state.opacity == 0) return false;
    const std::uint32_t pixel =
        state.pixels[std::size_t(local.y) * std::size_t(state.pixelWidth) + std::size_t(local.x)];
    return (pixel >> 24) != 0;
}

}  // namespace

WindowHandle HeadlessWindowing::windowAt(Point screenPoint) const {
    std::lock_guard lock(mutex_);
    for (std::uintptr_t id : zOrder_) {
        if (takesPoint(windows_.at(id).state, screenPoint)) return handleOf(id);
    }
    return WindowHandle::None;
}

std::vector<WindowState> HeadlessWindowing::visiblePicturesBottomFirst() const {
    std::lock_guard lock(mutex_);
    std::vector<WindowState> result;
    for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) {
        const WindowState& state = windows_.at(*it).state;
        if (state.visible && state.pixelWidth > 0 && state.pixelHeight > 0) result.push_back(state);
    }
    return result;
}

bool HeadlessWindowing::presentPixels(WindowHandle window, int width, int height,
                                      const std::vector<std::uint32_t>& pixels) {
    if (width < 0 || height < 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return false;
    }
    std::lock_guard lock(mutex_);
    WindowRecord* record = find(window);
    if (!record) return false;
    record->state.pixelWidth = width;
    record->state.pixelHeight = height;
    record->state.pixels = pixels;
    return true;
}

bool HeadlessWindowing::presentLayered(WindowHandle window, const DibSection& surface, const Rect& bounds,
                                       std::uint8_t opacity) {
    const int width = bounds.width();
    const int height = bounds.height();
    if (width <= 0 || height <= 0 || width > surface.width() || height > surface.height() || !surface.bits()) {
        return false;
    }
    std::lock_guard lock(mutex_);
    WindowRecord* record = find(window);
    // As on the system, only a layered window takes a layered picture.
    if (!record || (record->state.exStyle & WS_EX_LAYERED) == 0) return false;
    // Every character presents every frame it moves: the picture is copied straight
    // into the window's last one, whose storage is reused while the size stays.
    std::vector<std::uint32_t>& pixels = record->state.pixels;
    pixels.resize(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = surface.bits() + std::size_t(y) * std::size_t(surface.width());
        std::copy(row, row + width, pixels.begin() + std::ptrdiff_t(y) * width);
    }
    record->state.bounds = bounds;
    record->state.pixelWidth = width;
    record->state.pixelHeight = height;
    record->state.premultiplied = true;
    record->state.opacity = opacity;
    return true;
}

bool HeadlessWindowing::setInputShape(WindowHandle window, std::vector<Rect> shape) {
    std::lock_guard lock(mutex_);
    WindowRecord* record = find(window);
    if (!record) return false;
    record->state.hasInputShape = true;
    record->state.inputShape = std::move(shape);
    return true;
}

bool HeadlessWindowing::setCapture(WindowHandle window) {
    std::uintptr_t previous = 0;
    {
        std::lock_guard lock(mutex_);
        const WindowRecord* record = find(window);
        if (!record || record->state.thread != currentThreadId()) return false;
        previous = capture_;
        capture_ = idOf(window);
    }
    if (previous != 0 && previous != idOf(window)) {
        callProcedure(handleOf(previous), WM_CAPTURECHANGED, 0, static_cast<std::intptr_t>(idOf(window)));
    }
    return true;
}

bool HeadlessWindowing::releaseCapture() {
    std::uintptr_t previous = 0;
    {
        std::lock_guard lock(mutex_);
        previous = capture_;
        capture_ = 0;
    }
    if (previous != 0) callProcedure(handleOf(previous), WM_CAPTURECHANGED, 0, 0);
    return true;
}

WindowHandle HeadlessWindowing::capture() const {
    std::lock_guard lock(mutex_);
    return handleOf(capture_);
}

// --- Queues: the windows' side; the queues themselves are ThreadQueues.

bool HeadlessWindowing::postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
    if (window == WindowHandle::None) return queues_.post(currentThreadId(), window, message, wParam, lParam);
    ThreadId thread = 0;
    {
        std::lock_guard lock(mutex_);
        const WindowRecord* record = find(window);
        if (!record) return false;
        thread = record->state.thread;
    }
    return queues_.post(thread, window, message, wParam, lParam);
}

bool HeadlessWindowing::postThreadMessage(ThreadId thread, std::uint32_t message, std::uintptr_t wParam,
                                          std::intptr_t lParam) {
    return queues_.post(thread, WindowHandle::None, message, wParam, lParam);
}

std::intptr_t HeadlessWindowing::sendMessage(WindowHandle window, std::uint32_t message,
                                             std::uintptr_t wParam, std::intptr_t lParam) {
    ThreadId thread = 0;
    {
        std::lock_guard lock(mutex_);
        const WindowRecord* record = find(window);
        if (!record) return 0;
        thread = record->state.thread;
    }
    return queues_.send(thread, window, message, wParam, lParam);
}

std::intptr_t HeadlessWindowing::deliver(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                         std::intptr_t lParam) {
    return callProcedure(window, message, wParam, lParam);
}

std::uint32_t HeadlessWindowing::tickCount() { return desktop_.tickCount(); }

bool HeadlessWindowing::clockIsStepped() { return desktop_.isClockSet(); }

Point HeadlessWindowing::cursorPosition() { return desktop_.cursorPosition(); }

std::intptr_t HeadlessWindowing::callProcedure(WindowHandle window, std::uint32_t message,
                                               std::uintptr_t wParam, std::intptr_t lParam) {
    WindowProcedure procedure;
    {
        std::lock_guard lock(mutex_);
        const WindowRecord* record = find(window);
        if (!record) return 0;
        procedure = record->procedure;
    }
    if (procedure) {
        if (auto result = procedure(window, message, wParam, lParam)) return *result;
    }
    return defaultProcedure(window, message);
}

std::intptr_t HeadlessWindowing::defaultProcedure(WindowHandle window, std::uint32_t message) {
    if (message == WM_CLOSE) destroy(window);
    return 0;
}

}  // namespace Arbor::Platform::Headless
