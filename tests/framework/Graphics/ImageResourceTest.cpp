#include <gtest/gtest.h>

#include <png.h>

#include <fstream>
#include <vector>

#include "framework/Graphics/ImageResource.h"
#include "framework/Platform/Backend.h"
#include "framework/Platform/NativePath.h"
#include "framework/Secure/PackageWriter.h"
#include "support/BackendTest.h"
#include "support/TestPaths.h"

using namespace Arbor::Graphics;
using Arbor::Secure::PackageWriter;
using Arbor::Secure::ResourceCache;
using Arbor::Secure::ResourceSlot;

namespace {

std::vector<std::uint8_t> pngOf(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
    const std::uint8_t rgba[4] = {r, g, b, a};
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = 1;
    image.height = 1;
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, rgba, 0, nullptr);
    std::vector<std::uint8_t> out(size);
    png_image_write_to_memory(&image, out.data(), &size, 0, rgba, 0, nullptr);
    out.resize(size);
    return out;
}

void writeFile(const std::filesystem::path& p, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

class ImageResource : public ::testing::Test {
protected:
    void SetUp() override {
        data = dir.path() / "Data" / "Mika";
        std::filesystem::create_directories(data / "img");
    }
    std::unique_ptr<ResourceCache> cache() {
        return std::make_unique<ResourceCache>(Arbor::Platform::fromNativePath(data),
                                               std::u16string(Arbor::Secure::kPackagePassword));
    }
    Testing::TempDir dir;
    std::filesystem::path data;
};

}  // namespace

TEST_F(ImageResource, PlainFileBeforePackageAndCachedOnce) {
    PackageWriter writer(std::u16string(Arbor::Secure::kPackagePassword));
    ASSERT_TRUE(writer.add(u"img\\a.png", pngOf(1, 2, 3, 255), true, true));
    ASSERT_TRUE(writer.add(u"img\\b.PNG", pngOf(9, 9, 9, 128), true, true));
    ASSERT_TRUE(writer.add(u"img\\bad.png", std::vector<std::uint8_t>{1, 2, 3}, false, false));
    ASSERT_TRUE(writer.writeTo(dir.path() / "Data" / "Mika.qnd"));
    writeFile(data / "img" / "a.png", pngOf(4, 5, 6, 255));
    auto c = cache();
    const auto a = cachedImage(*c, u"img\\a.png");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->bits()[0], 0xFF040506u);  // the plain file wins
    EXPECT_EQ(a->format(), Argb32);
    EXPECT_TRUE(c->isCached(ResourceSlot::Image, u"img\\a.png"));
    EXPECT_EQ(cachedImage(*c, u"img\\a.png"), a);
    const auto b = cachedImage(*c, u"img\\b.PNG");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->bits()[0], 0x80090909u);
    EXPECT_FALSE(cachedImage(*c, u"img\\bad.png"));
    EXPECT_FALSE(c->isCached(ResourceSlot::Image, u"img\\bad.png"));
    EXPECT_FALSE(cachedImage(*c, u"img\\missing.png"));
    EXPECT_FALSE(cachedImage(*c, u"img\\a.bmp"));
}

TEST_F(ImageResource, CursorsFromPackagesAndFiles) {
    // The headless backend keeps each cursor's picture for inspection.
    Testing::BackendScope scope("Headless");
    // A 1 x 1 32-bit cursor with hotspot (0, 0).
    std::vector<std::uint8_t> cur = {0, 0, 2, 0, 1, 0, 1, 1, 0, 0, 0, 0, 0, 0, 48, 0, 0, 0, 22, 0, 0, 0,
                                     40, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 32, 0};
    cur.resize(22 + 40, 0);
    for (std::uint8_t v : {1, 2, 3, 255, 0, 0, 0, 0}) cur.push_back(v);
    cur[22 + 20] = 0;
    PackageWriter writer(std::u16string(Arbor::Secure::kPackagePassword));
    ASSERT_TRUE(writer.add(u"c\\p.cur", cur, true, true));
    ASSERT_TRUE(writer.writeTo(dir.path() / "Data" / "Mika.qnd"));
    std::filesystem::create_directories(data / "c");
    writeFile(data / "c" / "f.cur", cur);
    auto c = cache();
    const auto packed = cachedCursor(*c, u"c\\p.cur");
    ASSERT_TRUE(packed);
    ASSERT_TRUE(packed->image());
    EXPECT_EQ(packed->image()->pixels.at(0), 0xFF030201u);
    const auto plain = cachedCursor(*c, u"c\\f.cur");
    ASSERT_TRUE(plain);
    EXPECT_TRUE(c->isCached(ResourceSlot::Cursor, u"c\\f.cur"));
    EXPECT_EQ(cachedCursor(*c, u"c\\f.cur"), plain);
    EXPECT_FALSE(cachedCursor(*c, u"c\\none.cur"));
}
