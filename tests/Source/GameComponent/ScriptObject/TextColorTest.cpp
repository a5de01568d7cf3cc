// Colour texts of the text built-ins and text styles.
#include <gtest/gtest.h>

#include "Source/GameComponent/ScriptObject/TextColor.h"

using Quenta::GameComponent::parseTextColor;

TEST(TextColor, NamesInAnyLetterCase) {
    EXPECT_EQ(parseTextColor(u"red"), 0xFFFF0000u);
    EXPECT_EQ(parseTextColor(u"RED"), 0xFFFF0000u);
    EXPECT_EQ(parseTextColor(u"rEd"), 0xFFFF0000u);
    EXPECT_EQ(parseTextColor(u"Fuchsia"), 0xFFFF00FFu);
    EXPECT_EQ(parseTextColor(u"navy"), 0xFF000080u);
    EXPECT_EQ(parseTextColor(u"aqua"), 0xFF00FFFFu);
    // Only the sixteen basic names: others are read as hexadecimal ("orange" has none).
    EXPECT_EQ(parseTextColor(u"orange"), 0xFF000000u);
}

TEST(TextColor, HexadecimalFormsAreMadeOpaque) {
    EXPECT_EQ(parseTextColor(u"80FF0000"), 0xFFFF0000u);
    EXPECT_EQ(parseTextColor(u"0x80ff0000"), 0xFFFF0000u);
    EXPECT_EQ(parseTextColor(u"00ff00"), 0xFF00FF00u);
    EXPECT_EQ(parseTextColor(u"  ff"), 0xFF0000FFu);
    EXPECT_EQ(parseTextColor(u"#FF0000"), 0xFFFF0000u);
    // Reading stops at the first character that is not a digit.
    EXPECT_EQ(parseTextColor(u"12zz34"), 0xFF000012u);
    // Nothing read: opaque black.
    EXPECT_EQ(parseTextColor(u"#"), 0xFF000000u);
    EXPECT_EQ(parseTextColor(u""), 0xFF000000u);
    EXPECT_EQ(parseTextColor(u"0x"), 0xFF000000u);
    // More digits than a word holds saturate instead of wrapping around.
    EXPECT_EQ(parseTextColor(u"123456789ABC"), 0xFFFFFFFFu);
}
