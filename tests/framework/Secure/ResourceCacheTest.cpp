#include <gtest/gtest.h>

#include <system_error>
#include <thread>

#include "framework/Platform/NativePath.h"
#include "framework/Secure/PackageWriter.h"
#include "framework/Secure/ResourceCache.h"
#include "PackageTestSupport.h"
#include "support/TestPaths.h"

using namespace Arbor::Secure;
using namespace PackageTesting;
using Arbor::Platform::fromNativePath;

namespace {

const std::u16string kPassword(kPackagePassword);

std::u16string sys(const std::filesystem::path& p) { return fromNativePath(p); }

void writePackage(const std::filesystem::path& path, std::initializer_list<std::pair<std::u16string, std::string>> files,
                  const std::u16string& password = kPassword) {
    PackageWriter writer(password);
    for (const auto& [name, text] : files) ASSERT_TRUE(writer.add(name, bytesOf(text), true, true));
    std::filesystem::create_directories(path.parent_path());
    ASSERT_TRUE(writer.writeTo(path));
}

std::string text(const std::shared_ptr<const std::vector<std::uint8_t>>& bytes) {
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<null>");
}

TEST(ResourceCache, DataFolderIsProgramDataCharacter) {
    EXPECT_EQ(ResourceCache::dataFolderFor(u"C:\\Prog", u"Mika"), u"C:\\Prog\\Data\\Mika");
    EXPECT_EQ(ResourceCache::dataFolderFor(u"C:\\Prog\\", u"Mika"), u"C:\\Prog\\Data\\Mika");
}

TEST(ResourceCache, OwnPackageIsOpenedAtCreation) {
    Testing::TempDir dir;
    writePackage(dir.path() / "Data" / "Mika.qnd", {{u"main.func", "<FUNC_INITIAL_REG>"}});
    ResourceCache cache(ResourceCache::dataFolderFor(sys(dir.path()), u"Mika"), kPassword);
    EXPECT_NE(cache.packageFor(cache.dataFolder()), nullptr);
    // The file may go away where the system allows removing an open file (Windows refuses
    // while the package holds it); either way the open package still answers.
    std::error_code ignored;
    std::filesystem::remove(dir.path() / "Data" / "Mika.qnd", ignored);
    EXPECT_EQ(text(cache.file(u"main.func")), "<FUNC_INITIAL_REG>");
}

TEST(ResourceCache, PackedFolderReadsBackByteForByte) {
    Testing::TempDir dir;
    const auto source = dir.path() / "source";
    std::vector<std::pair<std::u16string, std::vector<std::uint8_t>>> files = {
        {u"main.func", textBytes(30000, 1)},
        {u"image\\face.png", randomBytes(10000, 2)},
        {u"image\\eyes\\blink.png", randomBytes(7, 3)},
        {u"sound\\hello.wav", randomBytes(70000, 4)},
        {u"empty.txt", {}},
        {u"日本語\\名前.func", textBytes(500, 5)},
    };
    PackageWriter writer(kPassword);
    for (const auto& [name, bytes] : files) ASSERT_TRUE(writer.add(name, bytes, true, true));
    std::filesystem::create_directories(dir.path() / "Data");
    ASSERT_TRUE(writer.writeTo(dir.path() / "Data" / "Mika.qnd"));

    ResourceCache cache(ResourceCache::dataFolderFor(sys(dir.path()), u"Mika"), kPassword);
    for (const auto& [name, bytes] : files) {
        auto got = cache.file(name);
        if (bytes.empty()) {
            EXPECT_FALSE(got) << "an empty entry reads as not found";
            continue;
        }
        ASSERT_TRUE(got);
        EXPECT_EQ(*got, bytes);
    }
    EXPECT_FALSE(cache.file(u"MAIN.func"));
    EXPECT_FALSE(cache.file(u"image\\Face.png"));
}

TEST(ResourceCache, WrongPasswordFindsNothingInPackages) {
    Testing::TempDir dir;
    writePackage(dir.path() / "Data" / "Mika.qnd", {{u"a.func", "x"}, {u"b.func", "y"}});
    ResourceCache cache(ResourceCache::dataFolderFor(sys(dir.path()), u"Mika"), u"other");
    EXPECT_FALSE(cache.file(u"a.func"));
    EXPECT_FALSE(cache.file(u"b.func"));
}

TEST(ResourceCache, PlainFileWinsOverPackageEntry) {
    Testing::TempDir dir;
    const auto data = dir.path() / "Data" / "Mika";
    writePackage(dir.path() / "Data" / "Mika.qnd", {{u"a.txt", "from package"}, {u"b.txt", "only packed"}});
    writeFile(data / "a.txt", bytesOf("from disk"));
    ResourceCache cache(sys(data), kPassword);
    auto blob = cache.load(u"a.txt");
    ASSERT_TRUE(blob);
    EXPECT_TRUE(blob->onDisk);
    EXPECT_EQ(text(cache.file(u"a.txt")), "from disk");
    EXPECT_EQ(text(cache.file(u"b.txt")), "only packed");
    EXPECT_FALSE(cache.load(u"b.txt")->onDisk);
}

TEST(ResourceCache, ReadFileWalksUpThroughTheFolderPackages) {
    Testing::TempDir dir;
    const auto data = dir.path() / "Data" / "Mika";
    // c.png of a\b: tried in a\b.qnd, then as b\c.png in a.qnd, then as a\b\c.png in Mika.qnd.
    writePackage(data / "a" / "b.qnd", {{u"c.png", "from a\\b"}});
    writePackage(data / "a.qnd", {{u"b\\c.png", "from a"}, {u"b\\d.png", "d from a"}});
    writePackage(dir.path() / "Data" / "Mika.qnd", {{u"a\\b\\c.png", "from Mika"}, {u"a\\b\\d.png", "d from Mika"},
                                                    {u"a\\b\\e.png", "e from Mika"}});
    // A package above the data folder is never consulted.
    writePackage(dir.path() / "Data.qnd", {{u"Mika\\a\\b\\f.png", "from above"}});
    ResourceCache cache(sys(data), kPassword);
    const std::u16string base = sys(data) + u"\\a\\b\\";
    auto str = [](const std::vector<std::uint8_t>& b) { return std::string(b.begin(), b.end()); };
    EXPECT_EQ(str(cache.readFile(base + u"c.png")), "from a\\b");
    EXPECT_EQ(str(cache.readFile(base + u"d.png")), "d from a");
    EXPECT_EQ(str(cache.readFile(base + u"e.png")), "e from Mika");
    EXPECT_TRUE(cache.readFile(base + u"f.png").empty());
    EXPECT_EQ(text(cache.file(u"a\\b\\e.png")), "e from Mika");
}

TEST(ResourceCache, BrokenPackageFallsThroughToTheFolderAbove) {
    Testing::TempDir dir;
    const auto data = dir.path() / "Data" / "Mika";
    writeFile(data / "sub.qnd", bytesOf("this is not a package at all, just text"));
    writePackage(dir.path() / "Data" / "Mika.qnd", {{u"sub\\x.txt", "found above"}});
    ResourceCache cache(sys(data), kPassword);
    EXPECT_EQ(text(cache.file(u"sub\\x.txt")), "found above");
}

TEST(ResourceCache, CorruptedEntryIsNotFound) {
    Testing::TempDir dir;
    const auto pkgPath = dir.path() / "Data" / "Mika.qnd";
    writePackage(pkgPath, {{u"a.txt", std::string(5000, 'a')}, {u"b.txt", "bbbb"}});
    auto pkg = readFile(pkgPath);
    pkg[20] ^= 1;  // inside the first entry's stored bytes
    writeFile(pkgPath, pkg);
    ResourceCache cache(sys(dir.path() / "Data" / "Mika"), kPassword);
    EXPECT_FALSE(cache.file(u"a.txt"));
    EXPECT_EQ(text(cache.file(u"b.txt")), "bbbb");
}

TEST(ResourceCache, ListFilesGivesDiskFilesAndPackageEntries) {
    Testing::TempDir dir;
    const auto data = dir.path() / "Data" / "Mika";
    writeFile(data / "z.func", bytesOf("z"));
    writeFile(data / "a.func", bytesOf("a"));
    std::filesystem::create_directories(data / "folder");
    writePackage(data / "More.QND", {{u"m1.func", "1"}, {u"a.func", "dup"}});
    writePackage(dir.path() / "Data" / "Mika.qnd", {{u"own.func", "own"}});
    ResourceCache cache(sys(data), kPassword);
    const std::vector<std::u16string> expected = {u"More.QND", u"a.func", u"z.func", u"m1.func", u"own.func"};
    EXPECT_EQ(cache.listFiles(sys(data)), expected);
    // The listed package is registered for its folder and answers from there.
    EXPECT_EQ(text(cache.file(u"More\\m1.func")), "1");
}

TEST(ResourceCache, ListFilesOfAPackageOnlyCharacter) {
    Testing::TempDir dir;
    writePackage(dir.path() / "Data" / "Mika.qnd", {{u"main.func", "m"}, {u"img\\a.png", "p"}});
    ResourceCache cache(sys(dir.path() / "Data" / "Mika"), kPassword);
    const std::vector<std::u16string> expected = {u"main.func", u"img\\a.png"};
    EXPECT_EQ(cache.listFiles(cache.dataFolder()), expected);
    EXPECT_TRUE(cache.listFiles(sys(dir.path() / "nowhere")).empty());
}

TEST(ResourceCache, TextLinesAreDecodedAndCached) {
    Testing::TempDir dir;
    const auto data = dir.path() / "Data" / "Mika";
    writeFile(data / "a.func", bytesOf("\xEF\xBB\xBFone\r\ntwo\n\nth\xE3\x83\xAA\n"));
    writeFile(data / "utf16.func", bytesOf(std::string("\xFF\xFEo\0n\0", 6)));
    ResourceCache cache(sys(data), kPassword);
    auto lines = cache.textLines(u"a.func");
    ASSERT_TRUE(lines);
    const std::vector<std::u16string> expected = {u"one", u"two", u"", u"thリ"};
    EXPECT_EQ(*lines, expected);
    EXPECT_TRUE(cache.isCached(ResourceSlot::TextLines, u"a.func"));
    std::filesystem::remove(data / "a.func");
    EXPECT_EQ(cache.textLines(u"a.func"), lines);  // same object, from the cache
    auto other = cache.textLines(u"utf16.func");
    ASSERT_TRUE(other);
    EXPECT_TRUE(other->empty());
}

TEST(ResourceCache, FontSlotHoldsTheBytes) {
    Testing::TempDir dir;
    const auto data = dir.path() / "Data" / "Mika";
    writeFile(data / "font.ttf", randomBytes(900, 9));
    ResourceCache cache(sys(data), kPassword);
    auto font = cache.loadFont(u"font.ttf");
    ASSERT_TRUE(font);
    EXPECT_EQ(font->name, u"font.ttf");
    EXPECT_EQ(font->bytes, randomBytes(900, 9));
    EXPECT_FALSE(cache.loadFont(u"missing.ttf"));
}

struct Decoded {
    std::string text;
    static inline int alive = 0;
    explicit Decoded(std::string t) : text(std::move(t)) { ++alive; }
    ~Decoded() { --alive; }
};

TEST(ResourceCache, PluggedSlotsDecodeOnceAndDoNotCacheFailures) {
    Testing::TempDir dir;
    const auto data = dir.path() / "Data" / "Mika";
    writeFile(data / "good.snd", bytesOf("good"));
    writeFile(data / "bad.snd", bytesOf("bad"));
    int decodes = 0;
    auto decoder = [&decodes](const ResourceBlob& blob) -> std::shared_ptr<const Decoded> {
        ++decodes;
        std::string t(blob.bytes.begin(), blob.bytes.end());
        if (t == "bad") return nullptr;
        return std::make_shared<const Decoded>(t);
    };
    {
        ResourceCache cache(sys(data), kPassword);
        auto a = cache.cached<const Decoded>(ResourceSlot::Sound, u"good.snd", decoder);
        auto b = cache.cached<const Decoded>(ResourceSlot::Sound, u"good.snd", decoder);
        ASSERT_TRUE(a);
        EXPECT_EQ(a, b);
        EXPECT_EQ(a->text, "good");
        EXPECT_EQ(decodes, 1);
        EXPECT_FALSE(cache.cached<const Decoded>(ResourceSlot::Sound, u"bad.snd", decoder));
        EXPECT_FALSE(cache.cached<const Decoded>(ResourceSlot::Sound, u"bad.snd", decoder));
        EXPECT_EQ(decodes, 3);
        EXPECT_FALSE(cache.cached<const Decoded>(ResourceSlot::Sound, u"none.snd", decoder));
        EXPECT_EQ(decodes, 3);  // nothing to decode
        // The same name in another slot is another object.
        EXPECT_FALSE(cache.isCached(ResourceSlot::Image, u"good.snd"));
        // A slot keeps the type it was first given.
        auto wrong = cache.cached<const std::string>(ResourceSlot::Sound, u"good.snd",
                                                     [](const ResourceBlob&) { return std::make_shared<const std::string>("s"); });
        EXPECT_FALSE(wrong);
        a.reset();
        b.reset();
        EXPECT_EQ(Decoded::alive, 1);  // the cache still holds it
    }
    EXPECT_EQ(Decoded::alive, 0);  // released with the cache
}

TEST(ResourceCache, ConcurrentLookupsAgreeOnOneObject) {
    Testing::TempDir dir;
    writePackage(dir.path() / "Data" / "Mika.qnd", {{u"a.txt", std::string(100000, 'q')}});
    ResourceCache cache(sys(dir.path() / "Data" / "Mika"), kPassword);
    std::vector<std::shared_ptr<const std::vector<std::uint8_t>>> got(4);
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) threads.emplace_back([&, i] { got[i] = cache.file(u"a.txt"); });
    for (auto& t : threads) t.join();
    for (auto& g : got) {
        ASSERT_TRUE(g);
        EXPECT_EQ(g, got[0]);
    }
}

}  // namespace
