#pragma once
// The look of the menus the X11 backend draws itself: sizes that follow the screen's
// resolution, the layout of a menu's items, and the pixels of a menu with its
// highlighted item, in the light look desktop menus usually have (a thin border, a
// blue highlight, check and radio marks in a left column, arrows for submenus, grey
// text for disabled items).
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/Platform/DibSection.h"
#include "framework/Platform/Glyphs.h"
#include "framework/Platform/MenuTree.h"
#include "framework/Platform/Types.h"

namespace Arbor::Platform::X11 {

class MenuPainter {
public:
    // `dpi`: the screen's resolution (96 is 1:1); clamped to 72 ... 480.
    explicit MenuPainter(double dpi);
    MenuPainter(const MenuPainter&) = delete;
    MenuPainter& operator=(const MenuPainter&) = delete;

    struct Layout {
        int width = 0;
        int height = 0;
        std::vector<Rect> items;  // one per entry, in the menu's own coordinates
    };
    Layout layout(const MenuTree& menu) const;
    // Draws the whole menu into the top-left layout.width x layout.height pixels of the
    // surface (opaque, premultiplied); `highlighted` is an entry index or -1.
    void paint(const MenuTree& menu, const Layout& layout, int highlighted, DibSection& surface) const;

    // The index of the entry at a point of the menu, or -1.
    static int entryAt(const Layout& layout, Point point);

    int scaled(double pixels) const;
    int textWidth(std::u16string_view text) const;

private:
    void drawText(std::uint32_t* pixels, int stride, const Rect& clip, int x, int baseline, std::u16string_view text,
                  std::uint32_t color) const;

    double scale_ = 1.0;
    std::unique_ptr<GlyphFont> font_;
    int ascent_ = 10, fontHeight_ = 14;
};

// The screen's resolution as desktop settings give it: the Xft.dpi resource when set
// (the resource text of the root window), else 96.
double dpiFromResources(const char* resources);

}  // namespace Arbor::Platform::X11
