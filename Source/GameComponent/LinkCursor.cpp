#include "Source/GameComponent/LinkCursor.h"

#include <array>
#include <mutex>
#include <string_view>

namespace Quenta::GameComponent {

namespace {

// 'X' outline, '.' fill, ' ' clear; the fingertip is the hotspot.
constexpr std::array<std::string_view, 22> kHand{
    "     XX           ", "    X..X          ", "    X..X          ", "    X..X          ",
    "    X..X          ", "    X..XXX        ", "    X..X..XXX     ", "    X..X..X..XX   ",
    "    X..X..X..X.X  ", "XXX X..X..X..X..X ", "X..XX........X..X ", "X...X...........X ",
    " X..............X ", "  X.............X ", "  X.............X ", "   X...........X  ",
    "   X...........X  ", "    X.........X   ", "    X.........X   ", "     X.......X    ",
    "     XXXXXXXXX    ", "                  ",
};

}  // namespace

std::shared_ptr<const Arbor::Platform::NativeCursor> linkCursor() {
    static std::once_flag once;
    static std::shared_ptr<const Arbor::Platform::NativeCursor> cursor;
    std::call_once(once, [] {
        Arbor::Platform::CursorPixels picture;
        picture.width = 32;
        picture.height = 32;
        picture.hotspotX = 5;
        picture.hotspotY = 0;
        picture.pixels.assign(32 * 32, 0u);
        for (std::size_t y = 0; y < kHand.size(); ++y) {
            for (std::size_t x = 0; x < kHand[y].size(); ++x) {
                const char c = kHand[y][x];
                if (c == 'X') picture.pixels[y * 32 + x] = 0xFF000000u;
                if (c == '.') picture.pixels[y * 32 + x] = 0xFFFFFFFFu;
            }
        }
        cursor = Arbor::Platform::createCursor(picture);
    });
    return cursor;
}

}  // namespace Quenta::GameComponent
