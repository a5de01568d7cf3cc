#pragma once
// Integer points and rectangles of the drawing layer. Right and bottom are exclusive.
#include <algorithm>
#include <cstdint>

namespace Arbor::Graphics {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    static Rect fromSize(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
        return Rect{x, y, x + w, y + h};
    }
    // Computed in 64 bits so that extreme coordinates cannot overflow.
    std::int64_t width() const { return std::int64_t(right) - left; }
    std::int64_t height() const { return std::int64_t(bottom) - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    Rect intersected(const Rect& o) const {
        return Rect{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
                    std::min(bottom, o.bottom)};
    }
    bool contains(std::int32_t x, std::int32_t y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace Arbor::Graphics
