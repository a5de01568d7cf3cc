#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "Source/Application/CharacterList.h"
#include "framework/Text/Utf.h"
#include "support/TestPaths.h"

using Quenta::Application::CharacterList;
namespace fs = std::filesystem;

namespace {
void touch(const fs::path& p) { std::ofstream(p) << "x"; }
}  // namespace

TEST(CharacterList, FoldersAndPackagesAreCharacters) {
    Testing::TempDir dir;
    fs::create_directory(dir.path() / "MAIN_OBJECT");
    fs::create_directory(dir.path() / "alpha");
    touch(dir.path() / "beta.qnd");
    touch(dir.path() / "notes.txt");
    touch(dir.path() / "noextension");
    const auto names = CharacterList::read(dir.path());
    EXPECT_EQ(std::set<std::u16string>(names.begin(), names.end()),
              (std::set<std::u16string>{u"MAIN_OBJECT", u"alpha", u"beta"}));
}

TEST(CharacterList, FolderAndPackageOfTheSameNameCountOnce) {
    Testing::TempDir dir;
    fs::create_directory(dir.path() / "abc");
    touch(dir.path() / "abc.qnd");
    EXPECT_EQ(CharacterList::read(dir.path()), std::vector<std::u16string>{u"abc"});
}

TEST(CharacterList, ExtensionIsComparedWithCase) {
    Testing::TempDir dir;
    touch(dir.path() / "abc.QND");
    touch(dir.path() / "def.Qnd");
    EXPECT_TRUE(CharacterList::read(dir.path()).empty());
}

TEST(CharacterList, OnlyTheLastDotStartsTheExtension) {
    Testing::TempDir dir;
    touch(dir.path() / "a.b.qnd");
    touch(dir.path() / "c.qnd.bak");
    EXPECT_EQ(CharacterList::read(dir.path()), std::vector<std::u16string>{u"a.b"});
}

TEST(CharacterList, NamesKeepTheirJapaneseText) {
    Testing::TempDir dir;
    fs::create_directory(dir.path() / fs::path(u"キャラ"));
    EXPECT_EQ(CharacterList::read(dir.path()), std::vector<std::u16string>{u"キャラ"});
}

TEST(CharacterList, ThreeHundredFoldersGiveTheFirst255ByName) {
    Testing::TempDir dir;
    for (int i = 0; i < 300; ++i) fs::create_directory(dir.path() / ("c" + std::to_string(i)));
    const auto names = CharacterList::read(dir.path());
    ASSERT_EQ(names.size(), 255u);
    // Whatever order the file system enumerates them in: "c0", "c1", "c10", "c100", ...
    std::vector<std::u16string> sorted;
    for (int i = 0; i < 300; ++i) sorted.push_back(u"c" + Arbor::Text::fromAscii(std::to_string(i)));
    std::sort(sorted.begin(), sorted.end());
    sorted.resize(255);
    EXPECT_EQ(names, sorted);
}

TEST(CharacterList, NamesAreOrderedWithLettersComparedAsCapitals) {
    Testing::TempDir dir;
    for (const char* name : {"b", "_x", "B2", "a_", "A"}) fs::create_directory(dir.path() / name);
    // '_' sorts after the capitals, so "a_" comes before "b" and "_x" last.
    EXPECT_EQ(CharacterList::read(dir.path()), (std::vector<std::u16string>{u"A", u"a_", u"b", u"B2", u"_x"}));
}

TEST(CharacterList, MissingFolderGivesNothing) {
    Testing::TempDir dir;
    EXPECT_TRUE(CharacterList::read(dir.path() / "absent").empty());
}
