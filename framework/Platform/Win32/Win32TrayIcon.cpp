// The notification-area icon through the shell: one NOTIFYICONDATAW per call, identifier
// 100, callback message 0x8002. Icons from pictures are made by CreateIconIndirect from
// a 32-bit DIB with an all-zero mask, as cursors are.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "framework/Platform/TrayIcon.h"
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
        const int w = picture.width, h = picture.height;
        BITMAPV5HEADER header;
        std::memset(&header, 0, sizeof header);
        header.bV5Size = sizeof(BITMAPV5HEADER);
        header.bV5Width = w;
        header.bV5Height = -h;
        header.bV5Planes = 1;
        header.bV5BitCount = 32;
        header.bV5Compression = BI_BITFIELDS;
        header.bV5RedMask = 0x00FF0000;
        header.bV5GreenMask = 0x0000FF00;
        header.bV5BlueMask = 0x000000FF;
        header.bV5AlphaMask = 0xFF000000;
        void* bits = nullptr;
        HBITMAP colour = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                          &bits, nullptr, 0);
        if (!colour || !bits) {
            if (colour) DeleteObject(colour);
            return nullptr;
        }
        std::memcpy(bits, picture.pixels.data(), picture.pixels.size() * 4);
        const std::vector<std::uint8_t> zeros(std::size_t((w + 15) / 16) * 2 * std::size_t(h), 0);
        HBITMAP mask = CreateBitmap(w, h, 1, 1, zeros.data());
        if (!mask) {
            DeleteObject(colour);
            return nullptr;
        }
        ICONINFO info;
        std::memset(&info, 0, sizeof info);
        info.fIcon = TRUE;
        info.hbmMask = mask;
        info.hbmColor = colour;
        HICON icon = CreateIconIndirect(&info);
        DeleteObject(mask);
        DeleteObject(colour);
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
