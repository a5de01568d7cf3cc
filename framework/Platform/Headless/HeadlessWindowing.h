#pragma once
// The windows of the virtual desktop, with the per-thread queues and thread timers
// (ThreadQueues) that their messages go through. Windows and queues have a lock each;
// a message for a window finds the window's thread under the windows' lock and is
// queued under the queues' lock, never both at once. Window procedures and timer
// callbacks are always called without either lock held.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/ThreadQueues.h"
#include "framework/Platform/Window.h"

namespace Arbor::Platform::Headless {

class HeadlessWindowing : private ThreadQueues::Windows {
public:
    explicit HeadlessWindowing(HeadlessDesktop& desktop);

    void reset();
    // The clock moved: timers may be due.
    void wakeAll();

    static ThreadId currentThreadId();

    // Windows.
    WindowHandle create(const WindowDescription& description);
    bool destroy(WindowHandle window);
    bool exists(WindowHandle window) const;
    std::optional<WindowState> state(WindowHandle window) const;
    bool setTitle(WindowHandle window, std::u16string_view title);
    bool show(WindowHandle window, bool visible, bool activate);
    bool setBounds(WindowHandle window, const Rect& bounds);
    bool setZOrder(WindowHandle window, ZOrder where);
    bool placeBelow(WindowHandle window, WindowHandle above);
    bool setOwner(WindowHandle window, WindowHandle owner);
    bool setExStyle(WindowHandle window, std::uint32_t exStyle);
    bool setForeground(WindowHandle window);
    bool setProcessId(WindowHandle window, std::uint32_t processId);
    WindowHandle foreground() const;
    std::vector<WindowHandle> zOrder() const;
    // See HeadlessDesktop::windowAt.
    WindowHandle windowAt(Point screenPoint) const;
    // Copies of the visible windows that presented a picture, bottom window first.
    std::vector<WindowState> visiblePicturesBottomFirst() const;
    bool presentPixels(WindowHandle window, int width, int height,
                       const std::vector<std::uint32_t>& pixels);
    bool presentLayered(WindowHandle window, const DibSection& surface, const Rect& bounds,
                        std::uint8_t opacity);
    bool setInputShape(WindowHandle window, std::vector<Rect> shape);
    bool setCapture(WindowHandle window);
    bool releaseCapture();
    WindowHandle capture() const;

    // Messages for windows go to the queue of the window's thread.
    bool postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam);
    bool postThreadMessage(ThreadId thread, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam);
    std::intptr_t sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam);
    // The calling thread's queue and timers.
    ThreadQueues& queues() { return queues_; }

private:
    struct WindowRecord {
        WindowState state;
        WindowProcedure procedure;
        bool destroying = false;
    };
    WindowRecord* find(WindowHandle window);
    const WindowRecord* find(WindowHandle window) const;
    void unlink(std::uintptr_t id);                      // lock held
    void insertAtBandTop(std::uintptr_t id);             // lock held
    void insertAt(std::size_t index, std::uintptr_t id);  // lock held
    std::intptr_t callProcedure(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam);
    std::intptr_t defaultProcedure(WindowHandle window, std::uint32_t message);

    // What the queues ask of the windows.
    std::intptr_t deliver(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) override;
    std::uint32_t tickCount() override;
    bool clockIsStepped() override;
    Point cursorPosition() override;

    HeadlessDesktop& desktop_;
    mutable std::mutex mutex_;
    std::map<std::uintptr_t, WindowRecord> windows_;
    std::vector<std::uintptr_t> zOrder_;  // topmost first
    std::uintptr_t foreground_ = 0;
    std::uintptr_t capture_ = 0;
    std::uintptr_t nextWindow_ = 0x10;
    ThreadQueues queues_;
};

}  // namespace Arbor::Platform::Headless
