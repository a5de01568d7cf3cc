// Font files of a character registered through its resource cache: the extension rule,
// plain files and package entries, a name loaded twice, and data that is not a font.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "framework/Graphics/FontResource.h"
#include "framework/Platform/NativePath.h"
#include "framework/Secure/PackageWriter.h"
#include "framework/Secure/WholeFile.h"
#include "support/BackendTest.h"
#include "support/TestPaths.h"

using namespace Arbor;

namespace {

std::vector<std::uint8_t> testFont() {
    auto bytes = Secure::readWholeFile(TAVIZO_TEST_FONT);
    return bytes ? *bytes : std::vector<std::uint8_t>{};
}

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class FontResource : public ::testing::Test {
protected:
    void SetUp() override {
        font = testFont();
        if (font.empty()) GTEST_SKIP() << "the test font was not found";
    }
    Testing::BackendScope backend{"Headless"};
    Testing::TempDir dir;
    std::vector<std::uint8_t> font;
};

TEST(FontFileExtension, OnlyTheFontExtensionsInAnyCase) {
    for (const char16_t* name : {u"a.fon", u"a.fnt", u"a.ttf", u"a.ttc", u"a.fot", u"a.otf", u"a.mmm", u"a.pfb",
                                 u"a.pfm", u"A.TTF", u"fonts\\b.OtF", u"x.y.ttc"}) {
        EXPECT_TRUE(Graphics::hasFontFileExtension(name)) << std::filesystem::path(name).string();
    }
    for (const char16_t* name : {u"", u"ttf", u"a.ttf.txt", u"a.woff", u"a.", u"dir.ttf\\file", u".ttfx"}) {
        EXPECT_FALSE(Graphics::hasFontFileExtension(name)) << std::filesystem::path(name).string();
    }
}

TEST_F(FontResource, PlainFileIsRegisteredOnceAndOtherExtensionsAreRefused) {
    const auto data = dir.path() / "Data" / "Mika";
    writeFile(data / "Face.TTF", font);
    writeFile(data / "face.txt", font);
    Secure::ResourceCache cache(Platform::fromNativePath(data), std::u16string(Secure::kPackagePassword));
    EXPECT_FALSE(Graphics::loadFontFile(cache, u"face.txt"));  // a real font, but not by its name
    EXPECT_FALSE(cache.isCached(Secure::ResourceSlot::Font, u"face.txt"));
    EXPECT_FALSE(Graphics::loadFontFile(cache, u""));
    EXPECT_FALSE(Graphics::loadFontFile(cache, u"missing.ttf"));
    EXPECT_TRUE(Graphics::loadFontFile(cache, u"Face.TTF"));
    EXPECT_TRUE(cache.isCached(Secure::ResourceSlot::Font, u"Face.TTF"));
    EXPECT_TRUE(Graphics::loadFontFile(cache, u"Face.TTF"));  // already loaded: nothing more
}

TEST_F(FontResource, PackageEntryIsRegisteredFromMemory) {
    const auto data = dir.path() / "Data" / "Mika";
    Secure::PackageWriter writer{std::u16string(Secure::kPackagePassword)};
    ASSERT_TRUE(writer.add(u"packed.ttf", font, true, true));
    std::filesystem::create_directories(data.parent_path());
    ASSERT_TRUE(writer.writeTo(dir.path() / "Data" / "Mika.qnd"));
    Secure::ResourceCache cache(Platform::fromNativePath(data), std::u16string(Secure::kPackagePassword));
    EXPECT_TRUE(Graphics::loadFontFile(cache, u"packed.ttf"));
}

TEST_F(FontResource, DataThatIsNotAFontIsRefused) {
    const auto data = dir.path() / "Data" / "Mika";
    std::vector<std::uint8_t> broken(font.begin(), font.begin() + 64);
    writeFile(data / "broken.ttf", broken);
    writeFile(data / "noise.otf", std::vector<std::uint8_t>(5000, 0xA5));
    Secure::ResourceCache cache(Platform::fromNativePath(data), std::u16string(Secure::kPackagePassword));
    EXPECT_FALSE(Graphics::loadFontFile(cache, u"broken.ttf"));
    EXPECT_FALSE(Graphics::loadFontFile(cache, u"noise.otf"));
}

}  // namespace
