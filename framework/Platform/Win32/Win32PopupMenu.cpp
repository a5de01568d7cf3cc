// Popup menus of the system: CreatePopupMenu, AppendMenuW, TrackPopupMenu with right-button
// tracking. The system sends WM_INITMENUPOPUP and posts WM_COMMAND to the owner itself.
#include <windows.h>

#include "framework/Platform/PopupMenu.h"
#include "framework/Platform/Win32/Win32Services.h"
#include "framework/Platform/Win32/Win32Text.h"

namespace Arbor::Platform {

using namespace Win32;

namespace {

HMENU hmenuOf(MenuHandle menu) { return reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(menu)); }

// The item flags of AppendMenuW: the state bits are the same numbers; the radio mark
// is a type bit there too.
UINT appendFlags(std::uint32_t flags) {
    UINT result = 0;
    if (flags & MenuStateGrayed) result |= MF_GRAYED | MF_DISABLED;
    if (flags & MenuStateChecked) result |= MF_CHECKED;
    if (flags & MenuStateHighlighted) result |= MF_HILITE;
    if (flags & MenuTypeRadioCheck) result |= MFT_RADIOCHECK;
    return result;
}

class Win32PopupMenuService : public PopupMenuService {
public:
    MenuHandle createPopupMenu() override {
        return static_cast<MenuHandle>(reinterpret_cast<std::uintptr_t>(CreatePopupMenu()));
    }
    bool destroyMenu(MenuHandle menu) override { return menu != MenuHandle::None && DestroyMenu(hmenuOf(menu)); }
    bool appendItem(MenuHandle menu, std::uint32_t flags, std::uint32_t commandId, std::u16string_view text) override {
        const std::wstring label = wide(text);
        return AppendMenuW(hmenuOf(menu), MF_STRING | appendFlags(flags), commandId, label.c_str());
    }
    bool appendSeparator(MenuHandle menu) override { return AppendMenuW(hmenuOf(menu), MF_SEPARATOR, 0, nullptr); }
    bool appendSubMenu(MenuHandle menu, MenuHandle subMenu, std::uint32_t flags, std::u16string_view text) override {
        if (menu == subMenu) return false;
        const std::wstring label = wide(text);
        return AppendMenuW(hmenuOf(menu), MF_POPUP | MF_STRING | appendFlags(flags),
                           static_cast<UINT_PTR>(subMenu), label.c_str());
    }
    bool trackPopupMenu(MenuHandle menu, Point at, WindowHandle owner) override {
        // The choice comes as WM_COMMAND. A menu dismissed without a choice may answer
        // 0 too, but only a real failure leaves an error code.
        SetLastError(ERROR_SUCCESS);
        const BOOL tracked = TrackPopupMenu(hmenuOf(menu), TPM_RIGHTBUTTON, at.x, at.y, 0, hwndOf(owner), nullptr);
        return tracked || GetLastError() == ERROR_SUCCESS;
    }
    WindowHandle findMenuWindow() override { return handleOf(FindWindowW(L"#32768", nullptr)); }
    bool isMenuWindowVisible(WindowHandle menuWindow) override {
        return menuWindow != WindowHandle::None && IsWindowVisible(hwndOf(menuWindow));
    }
    bool setMenuWindowTopmost(WindowHandle menuWindow) override {
        return SetWindowPos(hwndOf(menuWindow), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
};

}  // namespace

std::unique_ptr<PopupMenuService> Win32::makePopupMenuService() { return std::make_unique<Win32PopupMenuService>(); }

}  // namespace Arbor::Platform
