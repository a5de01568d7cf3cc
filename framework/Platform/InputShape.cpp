#include "framework/Platform/InputShape.h"

#include <utility>

namespace Arbor::Platform {

std::vector<Rect> opaqueRegion(const std::uint32_t* pixels, int width, int height, int stride) {
    std::vector<Rect> region;
    if (!pixels || width <= 0 || height <= 0 || stride < width) return region;
    // The rectangles that reached the previous row, by their [left, right) span, in
    // ascending order (spans of a row never overlap), so that each row is matched
    // against the one above in a single walk. It runs for every present of every
    // character, so it allocates nothing per row.
    struct Span {
        int left;
        int right;
        std::size_t rect;
    };
    std::vector<Span> open;
    std::vector<Span> reached;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = pixels + std::size_t(y) * std::size_t(stride);
        reached.clear();
        std::size_t k = 0;
        int x = 0;
        while (x < width) {
            // Transparent and opaque runs are passed four pixels at a time where they can.
            while (x + 4 <= width && ((row[x] | row[x + 1] | row[x + 2] | row[x + 3]) >> 24) == 0) x += 4;
            if (x >= width) break;
            if ((row[x] >> 24) == 0) {
                ++x;
                continue;
            }
            const int left = x;
            while (x + 4 <= width && (row[x] >> 24) != 0 && (row[x + 1] >> 24) != 0 && (row[x + 2] >> 24) != 0 &&
                   (row[x + 3] >> 24) != 0)
                x += 4;
            while (x < width && (row[x] >> 24) != 0) ++x;
            while (k < open.size() && open[k].left < left) ++k;
            if (k < open.size() && open[k].left == left && open[k].right == x) {
                region[open[k].rect].bottom = y + 1;
                reached.push_back(Span{left, x, open[k].rect});
                ++k;
            } else {
                region.push_back(Rect{left, y, x, y + 1});
                reached.push_back(Span{left, x, region.size() - 1});
            }
        }
        std::swap(open, reached);
    }
    return region;
}

bool regionContains(const std::vector<Rect>& region, Point point) {
    for (const Rect& r : region) {
        if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom) return true;
    }
    return false;
}

}  // namespace Arbor::Platform
