// Screen read-back through a copy from the screen's device context into a top-down
// 32-bit DIB section, and clicks through the system's input queue.
#include <windows.h>

#include <algorithm>

#include "framework/Platform/Win32/Win32Readback.h"

namespace Arbor::Platform::Win32::Inspection {

std::vector<std::uint32_t> screenPixels(const Rect& area) {
    const int width = area.width(), height = area.height();
    if (width <= 0 || height <= 0) return {};
    HDC screen = GetDC(nullptr);
    if (!screen) return {};
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = memory ? CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    std::vector<std::uint32_t> pixels;
    if (bitmap && bits) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY | CAPTUREBLT)) {
            GdiFlush();
            const auto* words = static_cast<const std::uint32_t*>(bits);
            pixels.assign(words, words + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
            // The screen has no alpha: the copy leaves the top byte as it pleases.
            for (std::uint32_t& p : pixels) p |= 0xFF000000u;
        }
        SelectObject(memory, previous);
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

bool click(int x, int y) {
    if (!SetCursorPos(x, y)) return false;
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) input.type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return SendInput(2, inputs, sizeof(INPUT)) == 2;
}

bool runsUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace Arbor::Platform::Win32::Inspection
