#pragma once
// What text is drawn with: a text layer's current style, the link colours and
// underlines, and the font record made from them for one piece of text.
#include <array>
#include <cstdint>
#include <string>

#include "framework/Platform/Glyphs.h"

namespace Quenta::GameComponent {

inline constexpr int kDefaultFontSize = 14;
inline constexpr int kDefaultSpeed = 20;
inline constexpr std::uint32_t kDefaultTextColor = 0xFF000000u;
// Point sizes beyond this are held to it: a glyph is rasterised whole, and a script's
// "SetFontSize(100000)" must not ask for gigabytes of coverage.
inline constexpr int kMaxFontSize = 500;
// Logical pixels per inch the point sizes are converted with.
inline constexpr int kPixelsPerInch = 96;

struct TextStyle {
    std::u16string fontName;  // empty: the system's default face
    int fontSize = kDefaultFontSize;
    std::uint32_t color = kDefaultTextColor;
    Arbor::Platform::GlyphFormat format = Arbor::Platform::GlyphFormat::Gray65;
    int speed = kDefaultSpeed;
    bool underline = false;
};

// The three looks of link text.
enum class LinkState : int { Normal = 0, Hover = 1, Pressed = 2 };

struct LinkStyle {
    std::array<std::uint32_t, 3> colors{0xFF0077CCu, 0xFF00BBCCu, 0xFF00FFDDu};
    std::array<bool, 3> underlines{false, false, false};
};

// One style as glyphs are made and drawn from it.
struct FontRecord {
    std::uint32_t color = kDefaultTextColor;  // ARGB, straight
    Arbor::Platform::GlyphFormat format = Arbor::Platform::GlyphFormat::Gray65;
    Arbor::Platform::FontRequest request;  // face (at most 31 units), height, weight, underline
};

// The font height of a point size: -round(points * pixels per inch / 72), sizes held to
// 1 ... kMaxFontSize.
int fontHeightForPoints(int points);

FontRecord makeFontRecord(const TextStyle& style, std::uint32_t color, bool underline);
inline FontRecord makeFontRecord(const TextStyle& style) { return makeFontRecord(style, style.color, style.underline); }

// "Low" (exactly) gives hard-edged glyphs; anything else 65-level ones.
Arbor::Platform::GlyphFormat glyphFormatForQuality(std::u16string_view quality);

}  // namespace Quenta::GameComponent
