#pragma once
// Glyph rasterising and private fonts. Text is drawn by the program itself, one glyph
// at a time, from coverage bitmaps this service makes: message boxes drawn by a backend,
// balloons and menus all stand on it. A font is made from a request shaped like the
// system's logical font; each glyph answers the outline metrics and a coverage bitmap
// in the asked format.
//
// Win32 asks GDI (CreateFontIndirectW, GetTextMetricsW, GetGlyphOutlineW); the Linux
// backends (headless and X11) share one FreeType and fontconfig implementation so that
// both choose the same faces and give the same pixels. The headless backend takes the
// host's glyphs (HostServices.h): FreeType on Linux, GDI on Windows builds.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Arbor::Platform {

// Glyph formats, numbered as the system's outline call numbers them.
enum class GlyphFormat : int {
    Monochrome = 1,  // coverage 0 or 1
    Gray65 = 6,      // coverage 0 ... 64
};

// The highest coverage value of a format (1 or 64).
constexpr int maxCoverage(GlyphFormat format) { return format == GlyphFormat::Monochrome ? 1 : 64; }

// What a font is made from, as the fields of a logical font.
struct FontRequest {
    std::u16string faceName;  // empty: the default face; only the first 31 code units count
    // Pixels. Negative: the character height (the em square); positive: the cell height
    // (ascent plus descent); 0: a default size.
    int height = 0;
    int weight = 400;  // 100 ... 900; 700 is bold
    bool italic = false;
    bool underline = false;
};

// Font-wide figures, as the text metrics of the system.
struct FontMetrics {
    int height = 0;           // ascent + descent
    int ascent = 0;           // from the top of the cell to the baseline
    int descent = 0;          // from the baseline to the bottom of the cell
    int internalLeading = 0;  // height - em size
    int externalLeading = 0;
    int averageCharWidth = 0;
    int maxCharWidth = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    int underlinePosition = 0;   // below the baseline, positive downwards
    int underlineThickness = 1;  // at least 1
    std::u16string faceName;     // the face actually used
};

// Per-glyph figures, as the outline call returns them. A glyph without ink (a space)
// has a 0 x 0 black box and an empty bitmap.
struct GlyphMetrics {
    int blackBoxWidth = 0;
    int blackBoxHeight = 0;
    int originX = 0;  // left edge of the black box, right of the pen position
    int originY = 0;  // top edge of the black box, above the baseline
    int cellIncX = 0;  // pen advance
    int cellIncY = 0;
};

struct Glyph {
    GlyphFormat format = GlyphFormat::Gray65;
    GlyphMetrics metrics;
    // One byte per pixel, blackBoxWidth x blackBoxHeight, rows top to bottom, no
    // padding; values 0 ... maxCoverage(format).
    std::vector<std::uint8_t> coverage;
    std::uint8_t at(int x, int y) const {
        return coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(metrics.blackBoxWidth) +
                        static_cast<std::size_t>(x)];
    }
};

// One font made from a request. Glyphs asked again come from a small cache. Safe to
// use from one thread at a time per font; fonts of one service may be used on
// different threads.
class GlyphFont {
public:
    virtual ~GlyphFont() = default;
    GlyphFont() = default;
    GlyphFont(const GlyphFont&) = delete;
    GlyphFont& operator=(const GlyphFont&) = delete;

    virtual const FontMetrics& metrics() const = 0;
    // The glyph of one character (a UTF-16 code unit on Win32, any code point on the
    // FreeType backends); null when the system cannot make it.
    virtual std::shared_ptr<const Glyph> glyph(char32_t character, GlyphFormat format) = 0;
};

// A font registered for this process only; the registration is removed when the
// object is destroyed. Fonts already made from it keep working.
class PrivateFont {
public:
    virtual ~PrivateFont() = default;
    PrivateFont() = default;
    PrivateFont(const PrivateFont&) = delete;
    PrivateFont& operator=(const PrivateFont&) = delete;
    // How many faces the registration added (at least 1).
    virtual int faceCount() const = 0;
};

class GlyphService {
public:
    virtual ~GlyphService() = default;
    // Null only when the system makes no font at all; an unknown face name gives the
    // closest face the system has.
    virtual std::unique_ptr<GlyphFont> createFont(const FontRequest& request) = 0;
    // A font file's contents (TrueType, OpenType, collections; the Win32 backend also
    // takes the older Windows formats). Null when the data is not a usable font.
    virtual std::unique_ptr<PrivateFont> addPrivateFont(std::span<const std::uint8_t> data) = 0;
    // The same for a font file on disk, named as the system names paths (with \).
    virtual std::unique_ptr<PrivateFont> addPrivateFontFile(std::u16string_view path) = 0;
};

GlyphService& glyphService();

}  // namespace Arbor::Platform
