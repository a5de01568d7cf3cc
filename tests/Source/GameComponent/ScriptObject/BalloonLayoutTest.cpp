// Text layout and glyph drawing: line breaks, wrapping inside words, text past the
// bottom, shared line heights, link pieces kept together, Japanese and fallback glyphs,
// hard-edged "Low" glyphs and repeatable pixels.
#include <gtest/gtest.h>

#include <set>

#include "Source/GameComponent/ScriptObject/BalloonLayout.h"
#include "Source/GameComponent/ScriptObject/GlyphDrawing.h"
#include "TextTestSupport.h"

using namespace Quenta::GameComponent;
using TextTest::HeadlessText;

namespace {

FontRecord font(int points, std::u16string face = u"", bool low = false) {
    TextStyle style;
    style.fontName = std::move(face);
    style.fontSize = points;
    style.format = low ? Arbor::Platform::GlyphFormat::Monochrome : Arbor::Platform::GlyphFormat::Gray65;
    return makeFontRecord(style);
}

std::unique_ptr<TextLayout> piece(const std::u16string& text, TextFonts& fonts, int points = 14) {
    return std::make_unique<TextLayout>(text, font(points), fonts);
}

// The distinct top edges of the visible-or-not characters that take room.
std::set<double> lineTops(const BoxLayout& box) {
    std::set<double> tops;
    for (const auto& p : box.pieces()) {
        for (const CharItem& c : p->chars()) {
            if (c.code != u'\r' && c.code != u'\n') tops.insert(c.y);
        }
    }
    return tops;
}

using Layout = HeadlessText;

TEST_F(Layout, CarriageReturnLineFeedBreaksOnceLineFeedCarriageReturnTwice) {
    TextFonts fonts;
    BoxLayout once(0, 0, 400, 400);
    once.append(piece(u"ab\r\ncd", fonts));
    const auto& a = once.pieces()[0]->chars();
    EXPECT_EQ(a[0].y, a[1].y);
    EXPECT_GT(a[4].y, a[0].y);
    const double lineHeight = a[4].y - a[0].y;
    EXPECT_EQ(a[4].x, 0.0);

    BoxLayout twice(0, 0, 400, 400);
    twice.append(piece(u"ab\n\rcd", fonts));
    const auto& b = twice.pieces()[0]->chars();
    EXPECT_DOUBLE_EQ(b[4].y - b[0].y, 2 * lineHeight);

    // A line feed at the start of a later piece still counts as directly after the
    // carriage return that ended the previous one.
    BoxLayout split(0, 0, 400, 400);
    split.append(piece(u"ab\r", fonts));
    split.append(piece(u"\ncd", fonts));
    EXPECT_DOUBLE_EQ(split.pieces()[1]->chars()[1].y - split.pieces()[0]->chars()[0].y, lineHeight);
}

TEST_F(Layout, LongWordBreaksInsideAndTextPastTheBottomStaysHidden) {
    TextFonts fonts;
    BoxLayout box(10, 20, 60, 40);
    box.append(piece(u"abcdefghijklmnopqrstuvwxyz", fonts));
    const auto tops = lineTops(box);
    EXPECT_GT(tops.size(), 2u);
    for (const CharItem& c : box.pieces()[0]->chars()) {
        EXPECT_LE(c.x + c.width, 70.0) << char(c.code);
        EXPECT_GE(c.x, 10.0);
    }
    // Everything revealed: only the characters inside the box show, and the count of
    // those is what one frame can ever show.
    box.reveal(26);
    std::size_t shown = 0;
    for (const CharItem& c : box.pieces()[0]->chars()) {
        if (c.visible) {
            ++shown;
            EXPECT_LE(c.y + c.height, 60.0);
        }
    }
    EXPECT_GT(shown, 0u);
    EXPECT_LT(shown, 26u);
    // Revealing fewer shows the first ones only.
    box.reveal(2);
    EXPECT_TRUE(box.pieces()[0]->chars()[1].visible);
    EXPECT_FALSE(box.pieces()[0]->chars()[2].visible);
}

TEST_F(Layout, PiecesOfTwoSizesShareTheTallerLineHeight) {
    TextFonts fonts;
    BoxLayout box(0, 0, 500, 500);
    box.append(piece(u"small ", fonts, 10));
    box.append(piece(u"BIG\nnext", fonts, 30));
    const TextLayout& big = *box.pieces()[1];
    EXPECT_DOUBLE_EQ(box.pieces()[0]->chars()[0].y, big.chars()[0].y);
    EXPECT_DOUBLE_EQ(big.chars()[4].y, big.tallestCell());
    EXPECT_GT(big.tallestCell(), box.pieces()[0]->tallestCell());
}

TEST_F(Layout, LinkTextThatDoesNotFitStartsOnANewLine) {
    TextFonts fonts;
    BoxLayout box(0, 0, 120, 200);
    box.append(piece(u"abcdefgh", fonts));
    const std::array<FontRecord, 3> styles{font(14), font(14), font(14)};
    box.append(std::make_unique<LinkTextLayout>(Quenta::Interpreter::TokenLine{}, u"linkword", styles, fonts));
    const auto& link = box.pieces()[1]->chars();
    EXPECT_EQ(link.front().x, 0.0);
    EXPECT_GT(link.front().y, 0.0);
    EXPECT_EQ(link.front().y, link.back().y);
}

// How many pixels have any ink, and how many are partly covered.
struct Ink {
    int any = 0;
    int partial = 0;
};
Ink inkOf(const Arbor::Graphics::BufferedImage& image) {
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const auto a = Arbor::Graphics::alphaOf(image.pixelAt({x, y}));
            if (a) ++ink.any;
            if (a && a != 0xFF) ++ink.partial;
        }
    }
    return ink;
}

Ink drawnInk(const std::u16string& text, const FontRecord& record, TextFonts& fonts) {
    BoxLayout box(0, 0, 300, 100);
    box.append(std::make_unique<TextLayout>(text, record, fonts));
    box.reveal(text.size());
    Arbor::Graphics::BufferedImage surface(300, 100);
    Arbor::Graphics::Painter painter(surface);
    box.draw(painter);
    return inkOf(surface);
}

using Glyphs = HeadlessText;

TEST_F(Glyphs, DefaultFaceShowsJapanese) {
    TextFonts fonts;
    const CharGlyph glyph = fonts.glyph(font(14), U'\u3053');
    const CharGlyph box = fonts.glyph(font(14), U'\uFFFF');
    ASSERT_TRUE(glyph.hasInk());
    EXPECT_NE(glyph.bitmap->coverage, box.hasInk() ? box.bitmap->coverage : std::vector<std::uint8_t>{});
    EXPECT_GT(glyph.advance, 10);
    EXPECT_GT(drawnInk(u"こんにちは、Tavizo!", font(14), fonts).any, 100);
}

TEST_F(Glyphs, CharacterTheFaceLacksComesFromAFallbackFace) {
    TextFonts fonts;
    // A Latin face without kana: the glyph is still a real one, not an empty box.
    const FontRecord latin = font(20, u"DejaVu Sans");
    const CharGlyph kana = fonts.glyph(latin, U'\u3053');
    const CharGlyph notdef = fonts.glyph(latin, U'\uFFFF');
    ASSERT_TRUE(kana.hasInk());
    EXPECT_NE(kana.bitmap->coverage, notdef.hasInk() ? notdef.bitmap->coverage : std::vector<std::uint8_t>{});
    EXPECT_GT(drawnInk(u"\u3053", latin, fonts).any, 20);
}

TEST_F(Glyphs, LowQualityDrawsHardEdges) {
    TextFonts fonts;
    const Ink soft = drawnInk(u"Tavizo あ", font(16), fonts);
    const Ink hard = drawnInk(u"Tavizo あ", font(16, u"", true), fonts);
    EXPECT_GT(soft.partial, 0);
    EXPECT_GT(hard.any, 50);
    EXPECT_EQ(hard.partial, 0);
}

TEST_F(Glyphs, UnderlineSitsAtTheCellBottomForTheAdvance) {
    TextFonts fonts;
    BoxLayout box(0, 0, 100, 100);
    box.append(std::make_unique<TextLayout>(u" ", font(14), fonts));
    CharItem& space = box.pieces()[0]->chars()[0];
    space.underline = true;
    space.color = 0xFF0000FFu;
    box.reveal(1);
    Arbor::Graphics::BufferedImage surface(100, 100);
    Arbor::Graphics::Painter painter(surface);
    box.draw(painter);
    const int bottom = space.glyph.cellHeight - 1;
    EXPECT_EQ(surface.pixelAt({0, bottom}), 0xFF0000FFu);
    EXPECT_EQ(surface.pixelAt({space.glyph.advance - 1, bottom}), 0xFF0000FFu);
    EXPECT_EQ(surface.pixelAt({space.glyph.advance, bottom}), 0u);
    EXPECT_EQ(surface.pixelAt({0, bottom - 1}), 0u);  // thickness 1 below 16 pixels
}

TEST_F(Glyphs, DrawingClipsToTheSurface) {
    TextFonts fonts;
    BoxLayout box(-5000, -5000, 1e7, 1e7);
    box.append(std::make_unique<TextLayout>(u"clipped テキスト", font(40), fonts));
    box.reveal(100);
    Arbor::Graphics::BufferedImage surface(8, 8);
    Arbor::Graphics::Painter painter(surface);
    box.draw(painter);  // nothing lands inside, nothing is written outside
    EXPECT_EQ(inkOf(surface).any, 0);
}

}  // namespace
