#pragma once
// The message box that a backend draws itself (where the system has none): which buttons
// a box type shows and what each answers, the text wrapped into lines, where everything
// goes, and the picture. Portable, so that the layout and the pixels are the same
// wherever a backend draws the box; the backend brings the window and the events.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Platform/Glyphs.h"
#include "framework/Platform/Types.h"

namespace Arbor::Platform {

struct MessageBoxButton {
    int answer = 0;           // IDOK ...
    std::u16string label;
    Rect bounds;              // in the box
};

struct MessageBoxLayout {
    int width = 0, height = 0;
    std::vector<std::u32string> lines;  // the text, wrapped
    int textLeft = 0, textTop = 0;      // the first line's cell
    int lineHeight = 0;
    int ascent = 0;
    std::vector<MessageBoxButton> buttons;  // left to right
    int defaultButton = 0;   // index: the button with the focus at first
    // What Escape and the window's close request answer; 0 when they do nothing.
    int escapeAnswer = 0;
};

// The buttons of a box type, left to right (MB_OK, MB_OKCANCEL, MB_YESNO; any other
// button choice shows OK). Escape answers Cancel where there is one, OK on a box with
// OK alone, and No on a Yes/No box.
std::vector<MessageBoxButton> messageBoxButtons(std::uint32_t type);
int messageBoxEscapeAnswer(std::uint32_t type);

// The text split into lines no wider than maxWidth pixels: at line breaks ("\n",
// "\r\n"), after spaces, between ideographs and kana, and inside a word only where the
// word alone is too wide. Widths are the glyphs' advances.
std::vector<std::u32string> wrapText(GlyphFont& font, std::u16string_view text, int maxWidth);
int textWidth(GlyphFont& font, std::u32string_view line);

// The whole box for the text and type; maxTextWidth bounds the wrapped lines.
MessageBoxLayout layoutMessageBox(GlyphFont& font, std::u16string_view text, std::uint32_t type, int maxTextWidth);

// Paints the box as opaque 0xFFRRGGBB words, layout.width x layout.height, rows top
// down. The focused button is marked; the pressed one (-1: none) is drawn sunken.
std::vector<std::uint32_t> paintMessageBox(GlyphFont& font, const MessageBoxLayout& layout, int focused, int pressed);

// The button under a point of the box; -1 when none.
int messageBoxButtonAt(const MessageBoxLayout& layout, Point point);

}  // namespace Arbor::Platform
