#pragma once
// Plain types shared by the platform services. Handles are opaque numbers: on Win32
// they carry the system's own handle values, on the headless desktop small counters.
#include <cstdint>

namespace Arbor::Platform {

enum class WindowHandle : std::uintptr_t { None = 0 };
enum class LibraryHandle : std::uintptr_t { None = 0 };

// Ids of threads as the message queues know them (GetCurrentThreadId on Win32).
using ThreadId = std::uint32_t;

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Left/top inclusive, right/bottom exclusive, as system rectangles are.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// One queued window message, in the system's own packing.
struct Message {
    WindowHandle window = WindowHandle::None;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::uint32_t time = 0;
    Point point;
};

// lParam packing of positions: x in the low 16 bits, y in the high 16 bits, both signed.
constexpr std::intptr_t makePointParam(int x, int y) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                                      static_cast<std::uint32_t>(x & 0xFFFF));
}
constexpr int pointParamX(std::intptr_t lParam) {
    return static_cast<std::int16_t>(static_cast<std::uint32_t>(lParam) & 0xFFFF);
}
constexpr int pointParamY(std::intptr_t lParam) {
    return static_cast<std::int16_t>((static_cast<std::uint32_t>(lParam) >> 16) & 0xFFFF);
}

}  // namespace Arbor::Platform
