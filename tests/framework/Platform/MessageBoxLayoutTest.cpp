// The message box a backend draws itself: the buttons and answers of each box type,
// text wrapped within the width (at breaks, spaces, between ideographs, inside words
// only when they alone are too wide), a layout whose parts do not overlap, and ink where
// the text and the labels are. Glyphs come from the offscreen desktop's glyph service.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/Platform/Glyphs.h"
#include "framework/Platform/MessageBox.h"
#include "framework/Platform/MessageBoxLayout.h"
#include "support/BackendTest.h"

using namespace Arbor::Platform;

namespace {

class MessageBoxLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        FontRequest request;
        request.height = -15;
        font_ = glyphService().createFont(request);
        ASSERT_NE(font_, nullptr);
    }
    Testing::BackendScope headless_{"Headless"};
    std::unique_ptr<GlyphFont> font_;
};

std::vector<int> answers(const std::vector<MessageBoxButton>& buttons) {
    std::vector<int> result;
    for (const auto& b : buttons) result.push_back(b.answer);
    return result;
}

bool inside(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

}  // namespace

TEST_F(MessageBoxLayoutTest, EachTypeHasItsButtonsAndEscapeAnswer) {
    EXPECT_EQ(answers(messageBoxButtons(MB_OK)), (std::vector<int>{IDOK}));
    EXPECT_EQ(messageBoxEscapeAnswer(MB_OK), IDOK);
    EXPECT_EQ(answers(messageBoxButtons(MB_OKCANCEL | MB_ICONQUESTION)), (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_EQ(messageBoxEscapeAnswer(MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(answers(messageBoxButtons(MB_YESNO | MB_TOPMOST)), (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(messageBoxEscapeAnswer(MB_YESNO), IDNO);
    // Icons and flags do not change the buttons; an unknown button choice shows OK.
    EXPECT_EQ(answers(messageBoxButtons(MB_ICONERROR)), (std::vector<int>{IDOK}));
    EXPECT_EQ(answers(messageBoxButtons(0x0000000E)), (std::vector<int>{IDOK}));
}

TEST_F(MessageBoxLayoutTest, TextWrapsWithinTheWidth) {
    GlyphFont& font = *font_;
    // Line breaks of either kind, and an empty line kept.
    const auto breaks = wrapText(font, u"one\r\ntwo\n\nthree", 1000);
    EXPECT_EQ(breaks, (std::vector<std::u32string>{U"one", U"two", U"", U"three"}));

    // Words stay whole and lines keep within the width; nothing is lost.
    const std::u16string sentence = u"the quick brown fox jumps over the lazy dog again and again";
    const int width = textWidth(font, U"the quick brown");
    const auto lines = wrapText(font, sentence, width);
    ASSERT_GT(lines.size(), 2u);
    std::u32string joined;
    for (const auto& line : lines) {
        EXPECT_LE(textWidth(font, line), width) << std::string(line.begin(), line.end());
        EXPECT_FALSE(line.empty());
        EXPECT_NE(line.front(), U' ');
        EXPECT_NE(line.back(), U' ');
        joined += (joined.empty() ? U"" : U" ") + line;
    }
    EXPECT_EQ(joined, std::u32string(sentence.begin(), sentence.end()));

    // A word wider than the line is cut where it overflows.
    const auto cut = wrapText(font, u"abcdefghijklmnopqrstuvwxyz", textWidth(font, U"abcdefgh"));
    ASSERT_GT(cut.size(), 2u);
    std::u32string rejoined;
    for (const auto& line : cut) {
        EXPECT_LE(textWidth(font, line), textWidth(font, U"abcdefgh"));
        rejoined += line;
    }
    EXPECT_EQ(rejoined, U"abcdefghijklmnopqrstuvwxyz");

    // Japanese has no spaces: lines break between characters.
    const std::u16string japanese = u"\u3053\u308c\u306f\u9577\u3044\u6587\u7ae0\u3067\u3059\u3002\u6298\u308a\u8fd4\u3057";
    const int jWidth = textWidth(font, U"\u3053\u308c\u306f\u9577");
    const auto jLines = wrapText(font, japanese, jWidth);
    ASSERT_GE(jLines.size(), 3u);
    std::u32string jJoined;
    for (const auto& line : jLines) {
        EXPECT_LE(textWidth(font, line), jWidth);
        jJoined += line;
    }
    EXPECT_EQ(jJoined.size(), japanese.size());
    // Surrogate pairs are one character; a lone surrogate becomes the replacement.
    EXPECT_EQ(wrapText(font, std::u16string(u"\U0001F600") + char16_t(0xD800), 1000),
              (std::vector<std::u32string>{U"\U0001F600\uFFFD"}));
}

TEST_F(MessageBoxLayoutTest, LayoutKeepsPartsApartAndPaintsTextAndLabels) {
    GlyphFont& font = *font_;
    const MessageBoxLayout layout =
        layoutMessageBox(font, u"A question that is long enough to wrap onto a second line.", MB_YESNO, 200);
    ASSERT_EQ(layout.buttons.size(), 2u);
    EXPECT_GE(layout.lines.size(), 2u);
    const Rect box{0, 0, layout.width, layout.height};
    const int textBottom = layout.textTop + static_cast<int>(layout.lines.size()) * layout.lineHeight;
    for (const auto& line : layout.lines) EXPECT_LE(layout.textLeft + textWidth(font, line), layout.width);
    for (const auto& button : layout.buttons) {
        EXPECT_TRUE(inside(button.bounds, box));
        EXPECT_GE(button.bounds.top, textBottom);
    }
    EXPECT_LE(layout.buttons[0].bounds.right, layout.buttons[1].bounds.left);
    EXPECT_EQ(layout.escapeAnswer, IDNO);

    // Hit testing: the middle of each button, and a point between them.
    for (int i = 0; i < 2; ++i) {
        const Rect& r = layout.buttons[static_cast<std::size_t>(i)].bounds;
        EXPECT_EQ(messageBoxButtonAt(layout, Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2}), i);
    }
    EXPECT_EQ(messageBoxButtonAt(layout, Point{layout.buttons[0].bounds.right, layout.buttons[0].bounds.top}), -1);
    EXPECT_EQ(messageBoxButtonAt(layout, Point{1, 1}), -1);

    const auto pixels = paintMessageBox(font, layout, 0, -1);
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(layout.width * layout.height));
    auto darkIn = [&](const Rect& r) {
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if ((pixels[static_cast<std::size_t>(y * layout.width + x)] & 0xFF) < 0x40) ++count;
        return count;
    };
    EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](std::uint32_t p) { return (p >> 24) == 0xFF; }));
    EXPECT_GT(darkIn({layout.textLeft, layout.textTop, layout.width, textBottom}), 50);
    for (const auto& button : layout.buttons) {
        const Rect& r = button.bounds;
        EXPECT_GT(darkIn({r.left + 3, r.top + 3, r.right - 3, r.bottom - 3}), 10) << "no label drawn";
    }
    // The focus mark moves with the focus, the rest stays.
    const auto other = paintMessageBox(font, layout, 1, -1);
    EXPECT_NE(other, pixels);
    const Rect& first = layout.buttons[0].bounds;
    EXPECT_NE(pixels[static_cast<std::size_t>(first.top * layout.width + first.left + 10)],
              other[static_cast<std::size_t>(first.top * layout.width + first.left + 10)]);
    EXPECT_EQ(pixels[static_cast<std::size_t>(layout.textTop * layout.width)],
              other[static_cast<std::size_t>(layout.textTop * layout.width)]);
}
