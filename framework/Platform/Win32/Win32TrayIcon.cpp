// The notification-area icon through the shell: one NOTIFYICONDATAW per call, identifier
// 100, callback message 0x8002. Icons from pictures are made by CreateIconIndirect from
// a 32-bit DIB with an all-zero mask, as cursors are.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "framework/Platform/TrayIcon.h"
#include "framework/Platform/Win32/Win32IconPixels.h"
#include "framework/Platform/Win32/Win32Services.h"
#include "framework/Platform/Win32/Win32Text.h"

namespace Arbor::Platform {

using namespace Win32;

namespace {

#if defined(_WIN64)
static_assert(sizeof(NOTIFYICONDATAW) == 976, "the full notify-icon record");
#endif

NOTIFYICONDATAW recordFor(WindowHandle window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = hwndOf(window);
    data.uID = TrayIconIdentifier;
    return data;
}

void setTip(NOTIFYICONDATAW& data, std::u16string_view tip) {
    static_assert(sizeof data.szTip / sizeof data.szTip[0] == TrayIconTipLength + 1);
    const std::size_t length = std::min(tip.size(), TrayIconTipLength);
    std::copy_n(tip.data(), length, reinterpret_cast<char16_t*>(data.szTip));
    data.szTip[length] = L'\0';
}

class Win32TrayIconImage final : public TrayIconImage {
public:
    explicit Win32TrayIconImage(HICON icon) : icon_(icon) {}
    ~Win32TrayIconImage() override { DestroyIcon(icon_); }
    void* handle() const override { return icon_; }

private:
    HICON icon_;
};

class Win32TrayIconService : public TrayIconService {
public:
    std::unique_ptr<TrayIconImage> createIcon(const TrayIconPixels& picture) override {
        if (!picture.valid()) return nullptr;
        HICON icon = iconFromPixels(picture.pixels.data(), picture.width, picture.height, true);
        if (!icon) return nullptr;
        return std::make_unique<Win32TrayIconImage>(icon);
    }
    bool addIcon(WindowHandle window, void* icon, std::u16string_view tip) override {
        // The shell would take an icon for no window, which nobody could then remove.
        if (!IsWindow(hwndOf(window))) return false;
        NOTIFYICONDATAW data = recordFor(window);
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = TrayIconCallbackMessage;
        data.hIcon = static_cast<HICON>(icon);
        setTip(data, tip);
        return Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    }
    bool modifyIcon(WindowHandle window, void* icon, std::u16string_view tip) override {
        NOTIFYICONDATAW data = recordFor(window);
        data.uFlags = NIF_ICON | NIF_TIP;
        data.hIcon = static_cast<HICON>(icon);
        setTip(data, tip);
        return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
    }
    bool removeIcon(WindowHandle window) override {
        NOTIFYICONDATAW data = recordFor(window);
        return Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
    }
};

}  // namespace

std::unique_ptr<TrayIconService> Win32::makeTrayIconService() {
    return std::make_unique<Win32TrayIconService>();
}

}  // namespace Arbor::Platform
