#include <gtest/gtest.h>

#include "Source/Interpreter/FileNameFunctions.h"
#include "Source/Interpreter/NumberFormat.h"
#include "Source/Interpreter/StringFunctions.h"

using namespace Quenta::Interpreter;

TEST(NumberFormat, FixedDecimals) {
    EXPECT_EQ(formatFixed(2.5, 6), u"2.500000");
    EXPECT_EQ(formatFixed(1, 30), u"1.00000000000000000000");
    EXPECT_EQ(formatFixed(1.5, -3), u"2");
    EXPECT_EQ(formatFixed(-2.0, 6), u"-2.000000");
    EXPECT_EQ(formatFixed(0.125, 2), u"0.12");  // exact binary value, ties to even as printf
    EXPECT_EQ(formatFixed(1e20, 0), u"100000000000000000000");
    EXPECT_EQ(formatFixed(1.0 / 0.0, 6), u"inf");
    EXPECT_EQ(formatFixed(-1.0 / 0.0, 6), u"-inf");
    EXPECT_EQ(formatFixed(1.7976931348623157e308, 20).size(), 309u + 21u);
}

TEST(NumberFormat, RoundingToInt32) {
    EXPECT_EQ(roundHalfAwayToInt32(-2.5), -3);
    EXPECT_EQ(roundHalfAwayToInt32(2.5), 3);
    EXPECT_EQ(roundHalfAwayToInt32(2.49), 2);
    EXPECT_EQ(floorToInt32(-0.5), -1);
    EXPECT_EQ(ceilToInt32(-0.5), 0);
    EXPECT_EQ(floorToInt32(1e12), 2147483647);
    EXPECT_EQ(ceilToInt32(-1e12), -2147483647 - 1);
    EXPECT_EQ(roundHalfAwayToInt32(0.0 / 0.0), 0);
}

TEST(StringFunctions, IndexOf) {
    EXPECT_EQ(indexOfStr(u"abcabc", u"c", 3), 5);
    EXPECT_EQ(indexOfStr(u"abcabc", u"c", 0), 2);
    EXPECT_EQ(indexOfStr(u"abcabc", u"c", -4), 2);
    EXPECT_EQ(indexOfStr(u"abcabc", u"x", 0), -1);
    EXPECT_EQ(indexOfStr(u"abc", u"a", 4), -1);
    EXPECT_EQ(indexOfStr(u"abc", u"", 3), 3);
}

TEST(StringFunctions, SubStrEdges) {
    EXPECT_EQ(subStr(u"abcdef", 2, 3), u"cde");
    EXPECT_EQ(subStr(u"abcdef", 2, 0), u"");
    EXPECT_EQ(subStr(u"abcdef", 2, -1), u"");
    EXPECT_EQ(subStr(u"abcdef", 6, 1), u"");
    EXPECT_EQ(subStr(u"abcdef", 7, 1), u"");
    EXPECT_EQ(subStr(u"abcdef", -1, 2), u"");
    EXPECT_EQ(subStr(u"abcdef", 4, 100), u"ef");
    EXPECT_EQ(subStr(u"", 0, 1), u"");
}

TEST(StringFunctions, ReplaceAndSplit) {
    EXPECT_EQ(replaceStr(u"aaa", u"aa", u"b"), u"ba");
    EXPECT_EQ(replaceStr(u"a.b.c", u".", u"\\"), u"a\\b\\c");
    EXPECT_EQ(replaceStr(u"abc", u"", u"x"), u"abc");
    EXPECT_EQ(splitTrimmed(u"a, b ,c"), (std::vector<std::u16string>{u"a", u"b", u"c"}));
    EXPECT_EQ(splitTrimmed(u"\tx "), (std::vector<std::u16string>{u"x"}));
    EXPECT_EQ(splitTrimmed(u","), (std::vector<std::u16string>{u"", u""}));
    EXPECT_EQ(normaliseKeyword(u" jp\t"), u"JP");
    EXPECT_EQ(normaliseKeyword(u"En"), u"EN");
    EXPECT_EQ(normaliseKeyword(u"ｊｐ"), u"ｊｐ");
}

TEST(FileNameFunctions, Parts) {
    EXPECT_EQ(fileNameOf(u"C:\\dir\\file.tar.gz"), u"file.tar.gz");
    EXPECT_EQ(fileNameOf(u"dir/sub/file"), u"file");
    EXPECT_EQ(fileNameOf(u"file"), u"file");
    EXPECT_EQ(fileNameOf(u"dir\\"), u"");
    EXPECT_EQ(extensionOf(u"C:\\dir\\file.tar.gz"), u".gz");
    EXPECT_EQ(extensionOf(u"C:\\dir.d\\file"), u"");
    EXPECT_EQ(extensionOf(u".hidden"), u".hidden");
    EXPECT_EQ(fileNameWithoutExtensionOf(u"a/b/c.txt"), u"c");
    EXPECT_EQ(fileNameWithoutExtensionOf(u"a.d\\c"), u"c");
    EXPECT_EQ(directoryNameOf(u"C:\\dir\\file.txt"), u"C:\\dir");
    EXPECT_EQ(directoryNameOf(u"C:/dir/sub/file"), u"C:\\dir\\sub");
    EXPECT_EQ(directoryNameOf(u"file"), u"");
    EXPECT_EQ(directoryNameOf(u"dir\\"), u"dir");
    EXPECT_EQ(directoryNameOf(u"a\\\\b"), u"a\\");
}
