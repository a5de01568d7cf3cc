// The clipboard's Unicode text.
#include <windows.h>

#include <cstring>

#include "framework/Platform/Clipboard.h"
#include "framework/Platform/Win32/Win32Services.h"
#include "framework/Platform/Win32/Win32Text.h"

namespace Arbor::Platform {

namespace {

// Another program may hold the clipboard for a moment.
bool openClipboard() {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(nullptr)) return true;
        Sleep(10);
    }
    return false;
}

class Win32ClipboardService : public ClipboardService {
public:
    bool setText(std::u16string_view text) override {
        const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
        if (!memory) return false;
        if (void* target = GlobalLock(memory)) {
            std::memcpy(target, text.data(), text.size() * sizeof(wchar_t));
            static_cast<wchar_t*>(target)[text.size()] = L'\0';
            GlobalUnlock(memory);
        } else {
            GlobalFree(memory);
            return false;
        }
        if (!openClipboard()) {
            GlobalFree(memory);
            return false;
        }
        EmptyClipboard();
        const bool placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        CloseClipboard();
        if (!placed) GlobalFree(memory);  // the clipboard owns it only when placed
        return placed;
    }

    std::optional<std::u16string> text() override {
        if (!openClipboard()) return std::nullopt;
        std::optional<std::u16string> result;
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
                const SIZE_T capacity = GlobalSize(data) / sizeof(wchar_t);
                result = Win32::narrowed(chars, wcsnlen(chars, capacity));
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
        return result;
    }
};

}  // namespace

std::unique_ptr<ClipboardService> Win32::makeClipboardService() { return std::make_unique<Win32ClipboardService>(); }

}  // namespace Arbor::Platform
