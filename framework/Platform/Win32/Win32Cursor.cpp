// Cursor handles: CreateIconIndirect from a 32-bit DIB and an all-zero mask, animated data
// through CreateIconFromResource, files through the shared system loader.
#include <windows.h>

#include <cstring>
#include <string>

#include "framework/Platform/Cursor.h"
#include "framework/Platform/NativePath.h"
#include "framework/Platform/Win32/Win32IconPixels.h"
#include "framework/Platform/Win32/Win32Services.h"

namespace Arbor::Platform::Win32 {

namespace {

class Win32Cursor final : public NativeCursor {
public:
    // Shared cursors belong to the system and are never destroyed.
    Win32Cursor(HCURSOR cursor, bool owned) : cursor_(cursor), owned_(owned) {}
    ~Win32Cursor() override {
        if (owned_ && cursor_) DestroyCursor(cursor_);
    }
    void* handle() const override { return cursor_; }
    const CursorPixels* image() const override { return nullptr; }
    const std::vector<std::uint8_t>* animation() const override { return nullptr; }

private:
    HCURSOR cursor_;
    bool owned_;
};

}  // namespace

std::unique_ptr<NativeCursor> createCursor(const CursorPixels& image) {
    HCURSOR cursor = iconFromPixels(image.pixels.data(), image.width, image.height, false, image.hotspotX,
                                    image.hotspotY);
    if (!cursor) return nullptr;
    return std::make_unique<Win32Cursor>(cursor, true);
}

std::unique_ptr<NativeCursor> createAnimatedCursor(const std::uint8_t* bytes, std::size_t length) {
    if (length > 0x7FFFFFFF) return nullptr;
    std::vector<BYTE> copy(bytes, bytes + length);  // the call takes a writable pointer
    HICON cursor = CreateIconFromResource(copy.data(), DWORD(copy.size()), FALSE, 0x00030000);
    if (!cursor) return nullptr;
    return std::make_unique<Win32Cursor>(static_cast<HCURSOR>(cursor), true);
}

std::unique_ptr<NativeCursor> loadCursorFile(std::u16string_view path) {
    const std::wstring name(path.begin(), path.end());
    HANDLE cursor = LoadImageW(nullptr, name.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE | LR_SHARED);
    if (!cursor) return nullptr;
    return std::make_unique<Win32Cursor>(static_cast<HCURSOR>(cursor), false);
}

}  // namespace Arbor::Platform::Win32
