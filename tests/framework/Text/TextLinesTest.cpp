#include <gtest/gtest.h>

#include <string_view>

#include "framework/Text/TextLines.h"

using Arbor::Text::decodeTextLines;

namespace {

std::vector<std::u16string> lines(std::string_view bytes) {
    return decodeTextLines(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

TEST(TextLines, SplitsAtLineFeedsAndTrimsCarriageReturns) {
    EXPECT_EQ(lines("a\r\nb\nc"), (std::vector<std::u16string>{u"a", u"b", u"c"}));
    EXPECT_EQ(lines("a\n\n"), (std::vector<std::u16string>{u"a", u""}));
    EXPECT_EQ(lines("a\r\r\n"), (std::vector<std::u16string>{u"a"}));
    EXPECT_TRUE(lines("").empty());
}

TEST(TextLines, CarriageReturnsSplitWhereNoLineFeedRemains) {
    EXPECT_EQ(lines("a\rb\rc"), (std::vector<std::u16string>{u"a", u"b", u"c"}));
    // Before the last line feed a lone carriage return stays inside its line.
    EXPECT_EQ(lines("a\rb\nc\rd"), (std::vector<std::u16string>{u"a\rb", u"c", u"d"}));
}

TEST(TextLines, ByteOrderMarks) {
    EXPECT_EQ(lines("\xEF\xBB\xBFx"), (std::vector<std::u16string>{u"x"}));
    EXPECT_TRUE(lines(std::string_view("\xFF\xFEx\0", 4)).empty());
    EXPECT_TRUE(lines("\xFE\xFF\0x").empty());
    EXPECT_TRUE(lines(std::string_view("\0\0\xFE\xFF", 4)).empty());
    EXPECT_TRUE(lines("+/v8abc").empty());
    EXPECT_EQ(lines("\xE3\x82\xBF\n"), (std::vector<std::u16string>{u"タ"}));
}

}  // namespace
