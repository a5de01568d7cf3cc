#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>

#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/ScriptTestSupport.h"
#include "framework/Platform/NativePath.h"
#include "framework/Text/Utf.h"
#include "Source/Common/ClockSnapshot.h"
#include "framework/Platform/Backend.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "support/TestPaths.h"

using namespace ScriptTest;

namespace {

class CoreBuiltIns : public ::testing::Test {
protected:
    Value* eval(const std::u16string& line) { return evaluation_(line); }
    double num(const std::u16string& line) {
        Value* v = eval(line);
        EXPECT_EQ(v->typeId(), 1) << "not a number";
        return v->toNum();
    }
    std::u16string str(const std::u16string& line) {
        Value* v = eval(line);
        EXPECT_EQ(v->typeId(), 2) << "not a text";
        return v->toStr();
    }
    bool boolean(const std::u16string& line) {
        Value* v = eval(line);
        EXPECT_EQ(v->typeId(), 3) << "not a truth value";
        return v->toBool();
    }
    std::u16string error(const std::u16string& line) {
        return messageOf([&] { eval(line); });
    }

    Parser parser_;
    Evaluation evaluation_{parser_};
};

}  // namespace

TEST_F(CoreBuiltIns, EveryNameIsRegistered) {
    const auto& table = BuiltInTable::instance();
    for (const char16_t* name :
         {u"ToInt", u"ToNum", u"ToStr", u"ToBool", u"ToFixed", u"Round", u"Floor", u"Ceil", u"Rand", u"Year",
          u"Month", u"Day", u"DayOfWeek", u"DayOfYear", u"Hour", u"Minute", u"Second", u"Print", u"IndexOfStr",
          u"ContainsStr", u"StartsWithStr", u"EndsWithStr", u"FindKansuji", u"KansujiToNum", u"SubStr",
          u"StrLength", u"ReplaceStr", u"SelectRandomStr", u"GetFileName", u"GetExtension", u"GetDirectoryName",
          u"GetFileNameWithoutExtension", u"FileExists", u"ExistsValue", u"LoadValue", u"SaveValue", u"EraseValue",
          u"ClearValues", u"FlushValues", u"CreateVariable", u"SetVariable", u"GetVariable"}) {
        EXPECT_NE(table.find(name), nullptr) << Arbor::Text::toUtf8(name);
    }
}

TEST_F(CoreBuiltIns, Conversions) {
    EXPECT_EQ(num(u"ToInt(\"-12\")"), -12);
    EXPECT_EQ(num(u"ToInt(2.9)"), 2);
    EXPECT_EQ(num(u"ToNum(\"1.5e1\")"), 15);
    EXPECT_EQ(str(u"ToStr(2.7)"), u"2");
    EXPECT_EQ(str(u"ToStr(true)"), u"true");
    EXPECT_TRUE(boolean(u"ToBool(\"x\")"));
    EXPECT_FALSE(boolean(u"ToBool(0)"));
}

TEST_F(CoreBuiltIns, DefaultsWithoutArguments) {
    EXPECT_EQ(num(u"ToInt()"), 0);
    EXPECT_EQ(num(u"ToNum()"), 0);
    EXPECT_EQ(str(u"ToStr()"), u"");
    EXPECT_FALSE(boolean(u"ToBool()"));
    EXPECT_EQ(str(u"ToFixed()"), u"");
    EXPECT_EQ(num(u"Round()"), 0);
    EXPECT_EQ(num(u"Floor()"), 0);
    EXPECT_EQ(num(u"Ceil()"), 0);
    EXPECT_EQ(num(u"Rand()"), 0);
    EXPECT_EQ(num(u"IndexOfStr()"), -1);
    EXPECT_FALSE(boolean(u"ContainsStr()"));
    EXPECT_FALSE(boolean(u"StartsWithStr()"));
    EXPECT_FALSE(boolean(u"EndsWithStr()"));
    EXPECT_EQ(str(u"SubStr()"), u"");
    EXPECT_EQ(num(u"StrLength()"), -1);
    EXPECT_EQ(str(u"ReplaceStr()"), u"");
    EXPECT_EQ(str(u"SelectRandomStr()"), u"");
    EXPECT_EQ(str(u"FindKansuji()"), u"");
    EXPECT_EQ(num(u"KansujiToNum()"), -1);
    EXPECT_EQ(str(u"GetFileName()"), u"");
    EXPECT_FALSE(boolean(u"FileExists()"));
    EXPECT_FALSE(boolean(u"FileExists(\"\")"));
    EXPECT_EQ(str(u"Print()"), u"");
}

TEST_F(CoreBuiltIns, FixedAndRounding) {
    EXPECT_EQ(str(u"ToFixed(2.5)"), u"2.500000");
    EXPECT_EQ(str(u"ToFixed(1, 30)"), u"1.00000000000000000000");
    EXPECT_EQ(str(u"ToFixed(3.14159, 2)"), u"3.14");
    EXPECT_EQ(str(u"ToFixed(2.5, -1)"), u"2");
    EXPECT_EQ(str(u"ToFixed(\"7\", \"1\")"), u"7.0");
    EXPECT_EQ(num(u"Round(-2.5)"), -3);
    EXPECT_EQ(num(u"Round(2.5)"), 3);
    EXPECT_EQ(num(u"Floor(-0.5)"), -1);
    EXPECT_EQ(num(u"Ceil(-0.5)"), 0);
    EXPECT_EQ(num(u"Ceil(1.01)"), 2);
}

TEST_F(CoreBuiltIns, RandStaysInRange) {
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(num(u"Rand(1)"), 0);
        EXPECT_EQ(num(u"Rand(0)"), 0);
        const double r = num(u"Rand(6.9)");
        EXPECT_GE(r, 0);
        EXPECT_LT(r, 6);
        EXPECT_EQ(r, std::floor(r));
    }
}

TEST_F(CoreBuiltIns, ArgumentErrors) {
    EXPECT_EQ(error(u"SubStr(\"abc\";1,2)"), u"呼び出された命令SubStrの記述が不正です。");
    EXPECT_EQ(error(u"ToFixed(1;2)"), u"呼び出された命令ToFixedの記述が不正です。");
    EXPECT_EQ(error(u"ToInt(1,2)"), u"呼び出された命令ToIntが')'で閉じられていません。");
    EXPECT_EQ(error(u"Year(1)"), u"呼び出された命令Yearが')'で閉じられていません。");
}


TEST_F(CoreBuiltIns, PrintEvaluatesItsArgument) {
    EXPECT_EQ(error(u"Print($nope)"), u"変数'$nope'が見つかりません。");
    parser_.variables().create(u"$n", 1);
    EXPECT_EQ(str(u"Print($n = 4)"), u"");
    EXPECT_EQ(parser_.variables().find(u"$n")->toNum(), 4);
}

TEST_F(CoreBuiltIns, TextSearch) {
    EXPECT_EQ(num(u"IndexOfStr(\"abcabc\", \"c\", 3)"), 5);
    EXPECT_EQ(num(u"IndexOfStr(\"abcabc\", \"c\")"), 2);
    EXPECT_EQ(num(u"IndexOfStr(\"abcabc\", \"x\")"), -1);
    EXPECT_EQ(num(u"IndexOfStr(\"abc\")"), -1);
    EXPECT_TRUE(boolean(u"ContainsStr(\"hello\", \"ell\")"));
    EXPECT_FALSE(boolean(u"ContainsStr(\"hello\")"));
    EXPECT_TRUE(boolean(u"StartsWithStr(\"hello\", \"he\")"));
    EXPECT_FALSE(boolean(u"StartsWithStr(\"hello\", \"lo\")"));
    EXPECT_TRUE(boolean(u"EndsWithStr(\"hello\", \"lo\")"));
    EXPECT_EQ(num(u"StrLength(\"日本語\")"), 3);
    EXPECT_EQ(num(u"StrLength(12)"), 2);
}

TEST_F(CoreBuiltIns, SubStrEdges) {
    EXPECT_EQ(str(u"SubStr(\"abcdef\", 2)"), u"");
    EXPECT_EQ(str(u"SubStr(\"abcdef\", 2, 3)"), u"cde");
    EXPECT_EQ(str(u"SubStr(\"abcdef\", 4, 10)"), u"ef");
    EXPECT_EQ(str(u"SubStr(\"abcdef\", 6, 1)"), u"");
    EXPECT_EQ(str(u"SubStr(\"abcdef\", -1, 2)"), u"");
    EXPECT_EQ(str(u"SubStr(\"abcdef\", 0, 0)"), u"");
}

TEST_F(CoreBuiltIns, ReplaceAndSelect) {
    EXPECT_EQ(str(u"ReplaceStr(\"a-b-c\", \"-\", \"+\")"), u"a+b+c");
    EXPECT_EQ(str(u"ReplaceStr(\"abc\", \"\", \"x\")"), u"abc");
    EXPECT_EQ(str(u"ReplaceStr(\"abc\", \"b\")"), u"");
    std::set<std::u16string> seen;
    for (int i = 0; i < 300; ++i) {
        seen.insert(str(u"SelectRandomStr(\"a, b ,c\")"));
    }
    EXPECT_EQ(seen, (std::set<std::u16string>{u"a", u"b", u"c"}));
    EXPECT_EQ(str(u"SelectRandomStr(\" solo \")"), u"solo");
}

TEST_F(CoreBuiltIns, KanjiNumerals) {
    EXPECT_EQ(num(u"KansujiToNum(\"千二百三十四\")"), 1234);
    EXPECT_EQ(num(u"KansujiToNum(\"二十三万\")"), 230000);
    EXPECT_EQ(num(u"KansujiToNum(\"一億二千万\")"), 120000000);
    EXPECT_EQ(num(u"KansujiToNum(\"万\")"), 10000);
    EXPECT_EQ(num(u"KansujiToNum(\"二三\")"), 2);
    EXPECT_EQ(num(u"KansujiToNum(\"十十\")"), 10);
    EXPECT_EQ(num(u"KansujiToNum(\"百千\")"), 100);
    EXPECT_EQ(num(u"KansujiToNum(\"三百五十円\")"), 350);
    EXPECT_EQ(num(u"KansujiToNum(\"百零五\")"), 100);
    EXPECT_EQ(num(u"KansujiToNum(\"零\")"), 0);
    EXPECT_EQ(num(u"KansujiToNum(\"\")"), -1);
    EXPECT_EQ(str(u"FindKansuji(\"残り三十五分です\")"), u"三十五");
    EXPECT_EQ(str(u"FindKansuji(\"残り三十五分です\", 4)"), u"五");
    EXPECT_EQ(str(u"FindKansuji(\"三つ\")"), u"三");  // from the first character
    EXPECT_EQ(str(u"FindKansuji(\"残り三十五分です\", -1)"), u"");
    EXPECT_EQ(num(u"KansujiToNum(FindKansuji(\"あと二十分\"))"), 20);
}

TEST_F(CoreBuiltIns, FileNames) {
    EXPECT_EQ(str(u"GetFileName(\"C:\\\\dir\\\\a.b.txt\")"), u"a.b.txt");
    EXPECT_EQ(str(u"GetFileName(\"dir/x.png\")"), u"x.png");
    EXPECT_EQ(str(u"GetExtension(\"dir/x.png\")"), u".png");
    EXPECT_EQ(str(u"GetExtension(\"dir.d/x\")"), u"");
    EXPECT_EQ(str(u"GetFileNameWithoutExtension(\"dir\\\\x.tar.gz\")"), u"x.tar");
    EXPECT_EQ(str(u"GetDirectoryName(\"a/b\\\\c.txt\")"), u"a\\b");
}

TEST_F(CoreBuiltIns, FileExistsTakesSystemPaths) {
    Testing::TempDir dir;
    std::filesystem::create_directories(dir.path() / "sub");
    std::ofstream(dir.path() / "sub" / "f.txt") << "x";
    const std::u16string base = Arbor::Platform::fromNativePath(dir.path());
    parser_.variables().create(u"$base", 2)->assign(parser_, StrValue(base));
    EXPECT_TRUE(boolean(u"FileExists($base + \"\\\\sub\\\\f.txt\")"));
    EXPECT_TRUE(boolean(u"FileExists($base + \"\\\\sub\")"));
    EXPECT_FALSE(boolean(u"FileExists($base + \"\\\\sub\\\\g.txt\")"));
    EXPECT_FALSE(boolean(u"FileExists(\"\")"));
}

TEST_F(CoreBuiltIns, DateAndTime) {
    const double year = num(u"Year()");
    EXPECT_GE(year, 2000);
    const double month = num(u"Month()");
    EXPECT_GE(month, 1);
    EXPECT_LE(month, 12);
    EXPECT_GE(num(u"Day()"), 1);
    EXPECT_GE(num(u"DayOfYear()"), 1);
    EXPECT_LE(num(u"DayOfYear()"), 366);
    EXPECT_LE(num(u"Hour()"), 23);
    EXPECT_LE(num(u"Minute()"), 59);
    EXPECT_LE(num(u"Second()"), 60);
    const double day = num(u"DayOfWeek()");
    ASSERT_GE(day, 0);
    ASSERT_LE(day, 6);
    const std::u16string japanese[] = {u"日", u"月", u"火", u"水", u"木", u"金", u"土"};
    const std::u16string english[] = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
    // Run near midnight, the day may move between two calls; compare against the number
    // read right after.
    const std::u16string jp = str(u"DayOfWeek(\"JP\")");
    const std::u16string en = str(u"DayOfWeek(\" en \")");
    const auto now = static_cast<int>(num(u"DayOfWeek()"));
    EXPECT_TRUE(jp == japanese[now] || jp == japanese[(now + 6) % 7]);
    EXPECT_TRUE(en == english[now] || en == english[(now + 6) % 7]);
    EXPECT_EQ(eval(u"DayOfWeek(\"FR\")")->typeId(), 1);
}

TEST_F(CoreBuiltIns, DateFieldsFromASetClock) {
    // The virtual desktop's clock can be set; the snapshot is refreshed from it.
    const std::string previous(Arbor::Platform::currentBackendName());
    Arbor::Platform::selectBackend("Headless");
    auto& desktop = Arbor::Platform::Headless::HeadlessDesktop::instance();
    Arbor::Platform::LocalTime time;
    time.year = 2024;
    time.month = 12;
    time.dayOfWeek = 2;
    time.day = 31;
    time.hour = 23;
    time.minute = 59;
    time.second = 58;
    desktop.setClock(1000, time);
    Quenta::Common::ClockSnapshot::instance().refresh();
    EXPECT_EQ(num(u"Year()"), 2024);
    EXPECT_EQ(num(u"Month()"), 12);
    EXPECT_EQ(num(u"Day()"), 31);
    EXPECT_EQ(num(u"DayOfYear()"), 366);  // a leap year
    EXPECT_EQ(num(u"Hour()"), 23);
    EXPECT_EQ(num(u"Minute()"), 59);
    EXPECT_EQ(num(u"Second()"), 58);
    EXPECT_EQ(num(u"DayOfWeek()"), 2);
    EXPECT_EQ(str(u"DayOfWeek(\"JP\")"), u"火");
    EXPECT_EQ(str(u"DayOfWeek(\"jp\")"), u"火");
    EXPECT_EQ(str(u"DayOfWeek(\"\tEN \")"), u"Tuesday");
    EXPECT_EQ(num(u"DayOfWeek(\"E N\")"), 2);
    desktop.useRealClock();
    Quenta::Common::ClockSnapshot::instance().refresh();
    Arbor::Platform::selectBackend(previous);
}
