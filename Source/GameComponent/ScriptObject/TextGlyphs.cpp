#include "Source/GameComponent/ScriptObject/TextGlyphs.h"

#include <cstddef>
#include <string_view>

namespace Quenta::GameComponent {

using Arbor::Platform::GlyphFont;

namespace {
// The default face first, then the Japanese faces of Windows and the one the Linux
// setup installs (a name the system does not have gives its closest face, which the
// missing-glyph test then turns down).
constexpr std::u16string_view kFallbackFaces[] = {u"", u"Yu Gothic UI", u"Meiryo", u"MS Gothic", u"IPAexGothic"};
}  // namespace

GlyphFont* TextFonts::font(const FontRecord& record) {
    const auto key = std::make_pair(record.request.faceName, record.request.height);
    auto it = fonts_.find(key);
    if (it == fonts_.end()) {
        Arbor::Platform::FontRequest request = record.request;
        // Underlines are drawn by the text code itself; the glyphs are the same.
        request.underline = false;
        it = fonts_.emplace(key, Arbor::Platform::glyphService().createFont(request)).first;
    }
    return it->second.get();
}

bool TextFonts::isMissingGlyph(GlyphFont& f, const Arbor::Platform::Glyph& made, Arbor::Platform::GlyphFormat format) {
    const auto key = std::make_pair(&f, static_cast<int>(format));
    auto it = missing_.find(key);
    // A noncharacter: no face has it, so every face answers with its missing-glyph box.
    if (it == missing_.end()) it = missing_.emplace(key, f.glyph(U'\uFFFF', format)).first;
    const auto& box = it->second;
    return box && !box->coverage.empty() && box->coverage == made.coverage &&
           box->metrics.cellIncX == made.metrics.cellIncX && box->metrics.blackBoxWidth == made.metrics.blackBoxWidth;
}

CharGlyph TextFonts::glyph(const FontRecord& record, char32_t character) {
    CharGlyph result;
    result.format = record.format;
    GlyphFont* f = font(record);
    if (!f) return result;
    std::shared_ptr<const Arbor::Platform::Glyph> made = f->glyph(character, record.format);
    // Where the system gives no other face for a character the face lacks (GDI's outline
    // call), faces that show Japanese are tried in turn instead of drawing a box.
    if (made && character > 0x7F && isMissingGlyph(*f, *made, record.format)) {
        for (std::u16string_view face : kFallbackFaces) {
            if (face == record.request.faceName) continue;
            FontRecord fallback = record;
            fallback.request.faceName = std::u16string(face);
            GlyphFont* other = font(fallback);
            if (!other || other == f) continue;
            auto replacement = other->glyph(character, record.format);
            if (replacement && !isMissingGlyph(*other, *replacement, record.format)) {
                f = other;
                made = std::move(replacement);
                break;
            }
        }
    }
    const Arbor::Platform::FontMetrics& metrics = f->metrics();
    result.cellHeight = metrics.height;
    if (!made) {
        // Nothing to draw, but the text still moves on by an ordinary character.
        result.advance = metrics.averageCharWidth > 0 ? metrics.averageCharWidth : 0;
        return result;
    }
    const Arbor::Platform::GlyphMetrics& m = made->metrics;
    const int correction = m.originX < 0 ? -m.originX : 0;
    result.advance = m.cellIncX + correction;
    if (result.advance < 0) result.advance = 0;
    if (character == U' ' || character == U'\u3000') return result;
    const std::size_t needed = static_cast<std::size_t>(m.blackBoxWidth > 0 ? m.blackBoxWidth : 0) *
                               static_cast<std::size_t>(m.blackBoxHeight > 0 ? m.blackBoxHeight : 0);
    // A bitmap smaller than its stated box is never read: the glyph counts as empty.
    if (needed == 0 || made->coverage.size() < needed || made->format != record.format) return result;
    result.boxX = m.originX + correction;
    result.boxY = metrics.ascent - m.originY;
    result.boxWidth = m.blackBoxWidth;
    result.boxHeight = m.blackBoxHeight;
    result.bitmap = std::move(made);
    return result;
}

}  // namespace Quenta::GameComponent
