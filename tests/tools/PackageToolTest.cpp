#include <gtest/gtest.h>

#include <map>

#include "framework/Platform/NativePath.h"
#include "framework/Secure/EntryName.h"
#include "framework/Secure/PackageWriter.h"
#include "framework/Secure/ResourceCache.h"
#include "framework/Secure/WholeFile.h"
#include "support/TestPaths.h"
#include "ToolRunner.h"
#include "framework/Text/Utf.h"

namespace fs = std::filesystem;
using namespace Arbor::Secure;
using ToolTesting::runTool;

namespace {

std::vector<std::uint8_t> bytes(std::string_view s) { return {s.begin(), s.end()}; }

std::vector<std::uint8_t> noise(std::size_t n, unsigned seed) {
    std::vector<std::uint8_t> out(n);
    std::uint32_t x = seed * 2654435761u + 1;
    for (auto& b : out) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = static_cast<std::uint8_t>(x);
    }
    return out;
}

// A character folder with nested folders, binary and text files, an empty file and a
// non-ASCII name; keys are relative paths with '/'.
std::map<std::string, std::vector<std::uint8_t>> sampleCharacter() {
    std::string text;
    for (int i = 0; i < 3000; ++i) text += "<SET_CODE_LOOP>$x = $x + " + std::to_string(i) + "\r\n";
    return {
        {"main.func", bytes(text)},
        {"image/face.png", noise(20000, 1)},
        {"image/eyes/blink.png", noise(33, 2)},
        {"sound/hello.wav", noise(70001, 3)},
        {"empty.txt", {}},
        {"日本語/名前.func", bytes("名前")},
    };
}

void writeTree(const fs::path& root, const std::map<std::string, std::vector<std::uint8_t>>& files) {
    for (const auto& [name, content] : files) {
        const fs::path p = root / fs::path(Arbor::Text::fromUtf8(name));
        fs::create_directories(p.parent_path());
        ASSERT_TRUE(writeWholeFile(p, content));
    }
}

TEST(PackageTool, PackUnpackRoundTripIsExact) {
    Testing::TempDir dir;
    const auto files = sampleCharacter();
    writeTree(dir.path() / "src", files);
    for (const char* option : {"", "--store", "--plain"}) {
        SCOPED_TRACE(option);
        const auto pkg = (dir.path() / "out.qnd").string();
        auto packed = *option ? runTool({"pack", (dir.path() / "src").string(), pkg, option}, dir.path())
                              : runTool({"pack", (dir.path() / "src").string(), pkg}, dir.path());
        ASSERT_EQ(packed.exitCode, 0) << packed.out;
        const auto back = dir.path() / "back";
        fs::remove_all(back);
        auto unpacked = runTool({"unpack", pkg, back.string()}, dir.path());
        ASSERT_EQ(unpacked.exitCode, 0) << unpacked.out;
        std::size_t count = 0;
        for (fs::recursive_directory_iterator it(back), end; it != end; ++it) {
            if (it->is_regular_file()) ++count;
        }
        EXPECT_EQ(count, files.size());
        for (const auto& [name, content] : files) {
            auto got = readWholeFile(back / fs::path(Arbor::Text::fromUtf8(name)));
            ASSERT_TRUE(got) << name;
            EXPECT_EQ(*got, content) << name;
        }
    }
}

TEST(PackageTool, PackedFolderReadsBackThroughTheResourceCache) {
    Testing::TempDir dir;
    const auto files = sampleCharacter();
    writeTree(dir.path() / "src", files);
    fs::create_directories(dir.path() / "Data");
    auto packed = runTool({"pack", (dir.path() / "src").string(), (dir.path() / "Data" / "Mika.qnd").string()}, dir.path());
    ASSERT_EQ(packed.exitCode, 0) << packed.out;
    ResourceCache cache(ResourceCache::dataFolderFor(Arbor::Platform::fromNativePath(dir.path()), u"Mika"),
                        std::u16string(kPackagePassword));
    for (const auto& [name, content] : files) {
        std::u16string entry = Arbor::Text::fromUtf8(name);
        for (auto& c : entry) {
            if (c == u'/') c = u'\\';
        }
        auto got = cache.file(entry);
        if (content.empty()) {
            EXPECT_FALSE(got) << name << ": an empty file reads as not found";
        } else {
            ASSERT_TRUE(got) << name;
            EXPECT_EQ(*got, content) << name;
        }
    }
    auto listed = cache.listFiles(cache.dataFolder());
    EXPECT_EQ(listed.size(), files.size());
}

TEST(PackageTool, ListShowsEveryEntryAndItsState) {
    Testing::TempDir dir;
    PackageWriter writer{std::u16string(kPackagePassword)};
    ASSERT_TRUE(writer.add(u"a.func", bytes("hello hello hello hello"), true, true));
    ASSERT_TRUE(writer.add(u"img\\b.png", bytes("raw"), false, false));
    auto pkg = *writer.build();
    const auto path = dir.path() / "p.qnd";
    ASSERT_TRUE(writeWholeFile(path, pkg));
    auto listed = runTool({"list", path.string()}, dir.path());
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_NE(listed.out.find("a.func\t"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("\t23\tdeflate\tenciphered\tcrc-ok\n"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("img\\b.png\t3\t3\tstored\tplain\tcrc-ok\n"), std::string::npos) << listed.out;

    // The directory follows the data; the byte before it is b.png's last.
    const std::size_t directory = pkg[pkg.size() - 4] | (pkg[pkg.size() - 3] << 8) | (pkg[pkg.size() - 2] << 16);
    pkg[directory - 1] ^= 0xFF;
    ASSERT_TRUE(writeWholeFile(path, pkg));
    listed = runTool({"list", path.string()}, dir.path());
    EXPECT_NE(listed.out.find("img\\b.png\t3\t-\tstored\tplain\tcrc-bad\n"), std::string::npos) << listed.out;

    EXPECT_EQ(runTool({"list", (dir.path() / "missing.qnd").string()}, dir.path()).exitCode, 1);
}

TEST(PackageTool, UnpackRefusesNamesLeavingTheFolder) {
    for (std::u16string bad : {u"..\\evil.txt", u"a\\..\\..\\evil.txt", u"\\abs.txt", u"/abs.txt", u"C:\\x.txt",
                               u"C:x.txt", u"a/../../evil.txt", u"a\\\\b", u"..", u"."}) {
        SCOPED_TRACE(Arbor::Text::toUtf8(bad));
        EXPECT_FALSE(isSafeEntryName(bad));
        Testing::TempDir dir;
        PackageWriter writer{std::u16string(kPackagePassword)};
        ASSERT_TRUE(writer.add(u"good.txt", bytes("fine"), true, true));
        ASSERT_TRUE(writer.add(bad, bytes("evil"), true, true));
        const auto path = dir.path() / "p.qnd";
        ASSERT_TRUE(writer.writeTo(path));
        const auto target = dir.path() / "inner" / "out";
        auto result = runTool({"unpack", path.string(), target.string()}, dir.path());
        EXPECT_EQ(result.exitCode, 1) << result.out;
        EXPECT_NE(result.out.find("refused"), std::string::npos) << result.out;
        EXPECT_FALSE(fs::exists(target / "good.txt"));
        EXPECT_FALSE(fs::exists(dir.path() / "inner" / "evil.txt"));
        EXPECT_FALSE(fs::exists(dir.path() / "evil.txt"));
    }
    EXPECT_TRUE(isSafeEntryName(u"a\\b.c\\..d"));
    EXPECT_TRUE(isSafeEntryName(u"日本語\\名前.func"));
}

TEST(PackageTool, UsageErrors) {
    Testing::TempDir dir;
    EXPECT_EQ(runTool({"pack"}, dir.path()).exitCode, 2);
    EXPECT_EQ(runTool({"pack", "a", "b", "--zip"}, dir.path()).exitCode, 2);
    EXPECT_EQ(runTool({"pack", (dir.path() / "none").string(), (dir.path() / "o.qnd").string()}, dir.path()).exitCode, 1);
    EXPECT_FALSE(fs::exists(dir.path() / "o.qnd"));
    EXPECT_EQ(runTool({"unpack", (dir.path() / "none.qnd").string(), dir.path().string()}, dir.path()).exitCode, 1);
}

}  // namespace
