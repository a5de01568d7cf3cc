#include "Source/Interpreter/KanjiNumerals.h"

#include <gtest/gtest.h>

using Quenta::Interpreter::findKansuji;
using Quenta::Interpreter::kansujiToNum;

TEST(KansujiToNum, GroupsOfSmallAndLargeUnits) {
    EXPECT_EQ(kansujiToNum(u"千二百三十四"), 1234);
    EXPECT_EQ(kansujiToNum(u"二十三万"), 230000);
    EXPECT_EQ(kansujiToNum(u"一億二千万"), 120000000);
    EXPECT_EQ(kansujiToNum(u"万"), 10000);
    EXPECT_EQ(kansujiToNum(u"十"), 10);
    EXPECT_EQ(kansujiToNum(u"九千九百九十九兆"), 9999e12);
    EXPECT_EQ(kansujiToNum(u"一京二兆三億四万五"), 10002000300040005.0);
}

TEST(KansujiToNum, StopsWhereTheNumeralCannotGoOn) {
    EXPECT_EQ(kansujiToNum(u"二三"), 2);
    EXPECT_EQ(kansujiToNum(u"十十"), 10);
    EXPECT_EQ(kansujiToNum(u"百千"), 100);
    EXPECT_EQ(kansujiToNum(u"三百五十円"), 350);
    EXPECT_EQ(kansujiToNum(u"百零五"), 100);
    EXPECT_EQ(kansujiToNum(u"万億"), 10000);   // a larger unit after a smaller one
    EXPECT_EQ(kansujiToNum(u"一万万"), 10000);
    EXPECT_EQ(kansujiToNum(u"円"), 0);
}

TEST(KansujiToNum, ZeroAndEmpty) {
    EXPECT_EQ(kansujiToNum(u"零"), 0);
    EXPECT_EQ(kansujiToNum(u"零零"), 0);
    EXPECT_EQ(kansujiToNum(u""), -1);
}

TEST(FindKansuji, FirstRunFromTheStart) {
    EXPECT_EQ(findKansuji(u"残り三十五分です", 0), u"三十五");
    EXPECT_EQ(findKansuji(u"残り三十五分です", 4), u"五");
    EXPECT_EQ(findKansuji(u"残り三十五分です", 5), u"");
    EXPECT_EQ(findKansuji(u"零時と一分", 0), u"零");
    EXPECT_EQ(findKansuji(u"abc", 0), u"");
    EXPECT_EQ(findKansuji(u"三", 100), u"");
}
