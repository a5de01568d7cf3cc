#pragma once
// The root of the native window family: the one window procedure all its windows share.
// The window service keeps the procedure for the native window's whole life, which can
// outlast the object (a window the system has not finished destroying), so the
// procedure reaches the object through a link that the object cuts when it goes; after
// that every message gets the system's default handling.
#include <cstdint>
#include <memory>
#include <optional>

#include "framework/Platform/Window.h"

namespace Arbor::Gui {

template <typename T>
class WindowsBaseWindow {
public:
    WindowsBaseWindow(const WindowsBaseWindow&) = delete;
    WindowsBaseWindow& operator=(const WindowsBaseWindow&) = delete;

protected:
    WindowsBaseWindow() = default;
    ~WindowsBaseWindow() { cutProcedure(); }

    // The procedure for a new native window of `object`: T::procedure while the link holds.
    Platform::WindowProcedure procedureFor(T* object) {
        link_ = std::make_shared<T*>(object);
        return [link = link_](Platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) -> std::optional<std::intptr_t> {
            T* target = *link;
            if (!target) return std::nullopt;
            return target->procedure(window, message, wParam, lParam);
        };
    }

    // From now on the native window gets default handling only.
    void cutProcedure() {
        if (link_) *link_ = nullptr;
        link_.reset();
    }

private:
    std::shared_ptr<T*> link_;
};

}  // namespace Arbor::Gui
