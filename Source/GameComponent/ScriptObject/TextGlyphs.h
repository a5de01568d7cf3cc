#pragma once
// Glyphs of text pieces: each character's advance, cell height, black box and coverage,
// made once when its piece is created, from fonts a text layer opens on first need.
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "Source/GameComponent/ScriptObject/TextStyle.h"
#include "framework/Platform/Glyphs.h"

namespace Quenta::GameComponent {

struct CharGlyph {
    Arbor::Platform::GlyphFormat format = Arbor::Platform::GlyphFormat::Gray65;
    int advance = 0;     // the cell's width: the pen advance, widened by a left overhang
    int cellHeight = 0;  // the font's text height
    // The black box, relative to the cell's top-left corner; empty for a space, an
    // ideographic space or a glyph the system could not make.
    int boxX = 0;
    int boxY = 0;
    int boxWidth = 0;
    int boxHeight = 0;
    std::shared_ptr<const Arbor::Platform::Glyph> bitmap;  // null with an empty box

    bool hasInk() const { return bitmap && boxWidth > 0 && boxHeight > 0; }
};

class TextFonts {
public:
    TextFonts() = default;
    TextFonts(const TextFonts&) = delete;
    TextFonts& operator=(const TextFonts&) = delete;

    // The font of a record (by face and height), made on first use; null when the
    // system makes none.
    Arbor::Platform::GlyphFont* font(const FontRecord& record);

    // The glyph of one character in the record's face, size and format.
    CharGlyph glyph(const FontRecord& record, char32_t character);

private:
    // Whether `made` is the box the font draws for characters it lacks.
    bool isMissingGlyph(Arbor::Platform::GlyphFont& font, const Arbor::Platform::Glyph& made,
                        Arbor::Platform::GlyphFormat format);

    std::map<std::pair<std::u16string, int>, std::unique_ptr<Arbor::Platform::GlyphFont>> fonts_;
    std::map<std::pair<Arbor::Platform::GlyphFont*, int>, std::shared_ptr<const Arbor::Platform::Glyph>> missing_;
};

}  // namespace Quenta::GameComponent
