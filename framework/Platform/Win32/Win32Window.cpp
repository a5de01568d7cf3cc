// Top-level windows with the system's own calls. Every window of the backend uses one
// window procedure that forwards to the WindowProcedure given at creation, kept in the
// window's user data from WM_NCCREATE until WM_NCDESTROY.
#include <windows.h>

#include <map>
#include <mutex>
#include <vector>

#include "framework/Platform/Cursor.h"
#include "framework/Platform/DibSection.h"
#include "framework/Platform/Win32/Win32Text.h"
#include "framework/Platform/Window.h"
#include "framework/Platform/Win32/Win32Services.h"

namespace Arbor::Platform {

using namespace Win32;

namespace {

struct WindowData {
    WindowProcedure procedure;
    bool* adopted = nullptr;  // set while CreateWindowExW runs, to learn who frees the data
};

LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* fresh = static_cast<WindowData*>(create->lpCreateParams);
        if (fresh && fresh->adopted) {
            *fresh->adopted = true;
            fresh->adopted = nullptr;
        }
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(fresh));
    }
    auto* data = reinterpret_cast<WindowData*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    LRESULT result = 0;
    bool handled = false;
    if (data && data->procedure) {
        if (auto answer = data->procedure(handleOf(hwnd), message, wParam, lParam)) {
            result = *answer;
            handled = true;
        }
    }
    if (!handled) result = DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY && data) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        delete data;
    }
    return result;
}

// Registers each class name once per process.
bool registerClass(const std::wstring& name) {
    static std::mutex mutex;
    static std::map<std::wstring, bool> registered;
    std::lock_guard lock(mutex);
    if (registered[name]) return true;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = name.c_str();
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    registered[name] = true;
    return true;
}

BOOL CALLBACK collectWindow(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<WindowHandle>*>(list)->push_back(handleOf(hwnd));
    return TRUE;
}

bool restack(WindowHandle window, HWND insertAfter) {
    return SetWindowPos(hwndOf(window), insertAfter, 0, 0, 0, 0,
                        SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) != 0;
}

class Win32WindowService : public WindowService {
public:
    WindowHandle create(const WindowDescription& description) override {
        const std::wstring className = wide(description.className);
        if (!registerClass(className)) return WindowHandle::None;
        bool adopted = false;
        auto* data = new WindowData{description.procedure, &adopted};
        const Rect& r = description.bounds;
        HWND hwnd = CreateWindowExW(description.exStyle, className.c_str(), wide(description.title).c_str(),
                                    description.style, r.left, r.top, r.width(), r.height(),
                                    hwndOf(description.owner), nullptr, GetModuleHandleW(nullptr), data);
        if (!hwnd) {
            // A window that got as far as WM_NCCREATE freed its data on WM_NCDESTROY.
            if (!adopted) delete data;
            return WindowHandle::None;
        }
        return handleOf(hwnd);
    }
    bool destroy(WindowHandle window) override { return DestroyWindow(hwndOf(window)) != 0; }
    bool exists(WindowHandle window) override {
        return window != WindowHandle::None && IsWindow(hwndOf(window)) != 0;
    }
    bool setTitle(WindowHandle window, std::u16string_view title) override {
        return SetWindowTextW(hwndOf(window), wide(title).c_str()) != 0;
    }
    std::u16string title(WindowHandle window, std::size_t maxLength) override {
        if (!exists(window) || maxLength == 0) return {};
        std::wstring buffer(maxLength + 1, L'\0');
        const int length = GetWindowTextW(hwndOf(window), buffer.data(), static_cast<int>(buffer.size()));
        return narrowed(buffer.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
    }
    bool show(WindowHandle window, bool visible, bool activate) override {
        if (!exists(window)) return false;
        ShowWindow(hwndOf(window), visible ? (activate ? SW_SHOW : SW_SHOWNA) : SW_HIDE);
        return true;
    }
    bool isVisible(WindowHandle window) override { return IsWindowVisible(hwndOf(window)) != 0; }
    bool setBounds(WindowHandle window, const Rect& r) override {
        return SetWindowPos(hwndOf(window), nullptr, r.left, r.top, r.width(), r.height(),
                            SWP_NOZORDER | SWP_NOACTIVATE) != 0;
    }
    std::optional<Rect> bounds(WindowHandle window) override {
        RECT r;
        if (!GetWindowRect(hwndOf(window), &r)) return std::nullopt;
        return Rect{r.left, r.top, r.right, r.bottom};
    }
    bool setZOrder(WindowHandle window, ZOrder where) override {
        switch (where) {
            case ZOrder::Top: return restack(window, HWND_TOP);
            case ZOrder::Bottom: return restack(window, HWND_BOTTOM);
            case ZOrder::Topmost: return restack(window, HWND_TOPMOST);
            case ZOrder::NoTopmost: return restack(window, HWND_NOTOPMOST);
        }
        return false;
    }
    bool placeBelow(WindowHandle window, WindowHandle above) override {
        if (!exists(above)) return false;
        return restack(window, hwndOf(above));
    }
    bool isTopmost(WindowHandle window) override { return (exStyle(window) & WS_EX_TOPMOST) != 0; }
    WindowHandle owner(WindowHandle window) override { return handleOf(GetWindow(hwndOf(window), GW_OWNER)); }
    bool setOwner(WindowHandle window, WindowHandle owner) override {
        if (!exists(window) || window == owner) return false;
        if (owner != WindowHandle::None && !exists(owner)) return false;
        SetWindowLongPtrW(hwndOf(window), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(hwndOf(owner)));
        return true;
    }
    WindowHandle parent(WindowHandle window) override { return handleOf(GetParent(hwndOf(window))); }
    std::uint32_t exStyle(WindowHandle window) override {
        return static_cast<std::uint32_t>(GetWindowLongPtrW(hwndOf(window), GWL_EXSTYLE));
    }
    bool setExStyle(WindowHandle window, std::uint32_t style) override {
        if (!exists(window)) return false;
        SetWindowLongPtrW(hwndOf(window), GWL_EXSTYLE, static_cast<LONG_PTR>(style));
        // Frame styles take effect only after the frame is recomputed.
        SetWindowPos(hwndOf(window), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        return true;
    }
    bool setForeground(WindowHandle window) override { return SetForegroundWindow(hwndOf(window)) != 0; }
    WindowHandle foregroundWindow() override { return handleOf(GetForegroundWindow()); }
    std::vector<WindowHandle> topLevelWindows() override {
        std::vector<WindowHandle> windows;
        EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&windows));
        return windows;
    }
    std::uint32_t processIdOf(WindowHandle window) override {
        DWORD process = 0;
        if (!GetWindowThreadProcessId(hwndOf(window), &process)) return 0;
        return process;
    }
    ThreadId threadIdOf(WindowHandle window) override {
        return GetWindowThreadProcessId(hwndOf(window), nullptr);
    }

    bool presentLayered(WindowHandle window, const DibSection& surface, const Rect& bounds,
                        std::uint8_t opacity) override {
        const int width = bounds.width();
        const int height = bounds.height();
        if (width <= 0 || height <= 0 || width > surface.width() || height > surface.height()) return false;
        // Straight from the surface's own memory DC, without a copy.
        HDC source = static_cast<HDC>(surface.deviceContext());
        if (!source || !exists(window)) return false;
        POINT destination{bounds.left, bounds.top};
        SIZE size{width, height};
        POINT origin{0, 0};
        BLENDFUNCTION blend{};
        blend.BlendOp = AC_SRC_OVER;
        blend.BlendFlags = 0;
        blend.SourceConstantAlpha = opacity;
        blend.AlphaFormat = AC_SRC_ALPHA;
        return UpdateLayeredWindow(hwndOf(window), nullptr, &destination, &size, source, &origin, 0, &blend,
                                   ULW_ALPHA) != 0;
    }
    // A layered window shown with per-pixel alpha already lets clicks through its fully
    // transparent pixels: there is nothing to add.
    bool setInputShapeFromAlpha(WindowHandle window, const DibSection& surface, int width, int height) override {
        if (width <= 0 || height <= 0 || width > surface.width() || height > surface.height()) return false;
        return exists(window);
    }
    bool setCapture(WindowHandle window) override {
        if (!exists(window)) return false;
        SetCapture(hwndOf(window));
        return GetCapture() == hwndOf(window);
    }
    bool releaseCapture() override { return ReleaseCapture() != 0; }
    WindowHandle capture() override { return handleOf(GetCapture()); }
    bool setCursor(const NativeCursor* cursor) override {
        SetCursor(cursor ? static_cast<HCURSOR>(cursor->handle()) : nullptr);
        return true;
    }
    bool isKeyDown(int virtualKey) override { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }
};

}  // namespace

std::unique_ptr<WindowService> Win32::makeWindowService() { return std::make_unique<Win32WindowService>(); }

}  // namespace Arbor::Platform
