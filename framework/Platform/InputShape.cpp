#include "framework/Platform/InputShape.h"

#include <map>
#include <utility>

namespace Arbor::Platform {

std::vector<Rect> opaqueRegion(const std::uint32_t* pixels, int width, int height, int stride) {
    std::vector<Rect> region;
    if (!pixels || width <= 0 || height <= 0 || stride < width) return region;
    // The rectangles that reached the previous row, by their [left, right) span.
    std::map<std::pair<int, int>, std::size_t> open;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = pixels + std::size_t(y) * std::size_t(stride);
        std::map<std::pair<int, int>, std::size_t> reached;
        int x = 0;
        while (x < width) {
            if ((row[x] >> 24) == 0) {
                ++x;
                continue;
            }
            const int left = x;
            while (x < width && (row[x] >> 24) != 0) ++x;
            const std::pair<int, int> span{left, x};
            auto above = open.find(span);
            if (above != open.end()) {
                region[above->second].bottom = y + 1;
                reached.emplace(span, above->second);
            } else {
                region.push_back(Rect{left, y, x, y + 1});
                reached.emplace(span, region.size() - 1);
            }
        }
        open = std::move(reached);
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
