// Mouse input on the virtual desktop, travelling the road real input does: the window
// under the cursor is found by its presented pixels, and the messages reach it in its
// client coordinates, WM_SETCURSOR first, as the system delivers them.
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Headless/HeadlessWindowing.h"
#include "framework/Platform/Messages.h"

namespace Arbor::Platform::Headless {

namespace {

constexpr std::intptr_t HTCLIENT = 1;
constexpr std::uintptr_t MK_LBUTTON = 0x0001;
constexpr std::uintptr_t MK_RBUTTON = 0x0002;

std::uint32_t downMessage(MouseButton button) {
    return button == MouseButton::Left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
}

int virtualKey(MouseButton button) { return button == MouseButton::Left ? VK_LBUTTON : VK_RBUTTON; }

// One mouse message for the window holding the capture, else for the window under the
// cursor; sent, so that it has been handled on the window's thread when this returns.
void deliverMouse(HeadlessDesktop& desktop, std::uint32_t message) {
    HeadlessWindowing& windows = desktop.windowing();
    const Point cursor = desktop.cursorPosition();
    const WindowHandle captured = windows.capture();
    const WindowHandle target = captured != WindowHandle::None ? captured : windows.windowAt(cursor);
    if (target == WindowHandle::None) return;
    const auto state = windows.state(target);
    if (!state) return;
    if (captured == WindowHandle::None) {
        windows.sendMessage(target, WM_SETCURSOR, static_cast<std::uintptr_t>(target),
                            HTCLIENT | (static_cast<std::intptr_t>(message) << 16));
    }
    std::uintptr_t keys = 0;
    if (desktop.isKeyDown(VK_LBUTTON)) keys |= MK_LBUTTON;
    if (desktop.isKeyDown(VK_RBUTTON)) keys |= MK_RBUTTON;
    windows.sendMessage(target, message, keys,
                        makePointParam(cursor.x - state->bounds.left, cursor.y - state->bounds.top));
}

}  // namespace

WindowHandle HeadlessDesktop::windowAt(Point screenPoint) const { return windowing_->windowAt(screenPoint); }

void HeadlessDesktop::moveMouse(Point screenPoint) {
    if (cursorPosition() == screenPoint) return;
    setCursorPosition(screenPoint);
    deliverMouse(*this, WM_MOUSEMOVE);
}

void HeadlessDesktop::pressButton(Point screenPoint, MouseButton button, bool down) {
    moveMouse(screenPoint);
    setKeyDown(virtualKey(button), down);
    deliverMouse(*this, down ? downMessage(button) : downMessage(button) + 1);
}

void HeadlessDesktop::doubleClick(Point screenPoint, MouseButton button) {
    pressButton(screenPoint, button, true);
    pressButton(screenPoint, button, false);
    setKeyDown(virtualKey(button), true);
    deliverMouse(*this, downMessage(button) + 2);
    pressButton(screenPoint, button, false);
}

}  // namespace Arbor::Platform::Headless
