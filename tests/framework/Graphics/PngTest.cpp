#include <gtest/gtest.h>

#include <png.h>

#include <fstream>
#include <vector>

#include "framework/Graphics/Image32.h"
#include "framework/Graphics/ImageLoader.h"
#include "framework/Graphics/PngDecoder.h"
#include "framework/Platform/NativePath.h"
#include "framework/Platform/ProgramLocation.h"
#include "support/TestPaths.h"

using namespace Arbor::Graphics;

namespace {

// A small PNG written by libpng's simplified API.
std::vector<std::uint8_t> encode(const std::vector<std::uint8_t>& pixels, unsigned w, unsigned h,
                                 std::uint32_t format) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = w;
    image.height = h;
    image.format = format;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
    std::vector<std::uint8_t> out(size);
    EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr));
    out.resize(size);
    return out;
}

}  // namespace

TEST(PngDecoder, RgbaAndGrayToStraightWords) {
    auto rgba = encode({10, 20, 30, 40, 255, 0, 0, 255}, 2, 1, PNG_FORMAT_RGBA);
    auto img = decodePngMemory(rgba.data(), rgba.size());
    ASSERT_TRUE(img);
    EXPECT_EQ(img->format(), Argb32);
    EXPECT_EQ(img->pixels()[0], 0x280A141Eu);
    EXPECT_EQ(img->pixels()[1], 0xFFFF0000u);

    auto gray = encode({0, 0x80}, 2, 1, PNG_FORMAT_GRAY);
    img = decodePngMemory(gray.data(), gray.size());
    ASSERT_TRUE(img);
    EXPECT_EQ(img->pixels()[0], 0xFF000000u);
    EXPECT_EQ(img->pixels()[1], 0xFF808080u);

    auto ga = encode({0x40, 0x11}, 1, 1, PNG_FORMAT_GA);
    img = decodePngMemory(ga.data(), ga.size());
    ASSERT_TRUE(img);
    EXPECT_EQ(img->pixels()[0], 0x11404040u);
}

TEST(PngDecoder, SignatureAndTruncation) {
    auto png = encode({1, 2, 3}, 1, 1, PNG_FORMAT_RGB);
    EXPECT_TRUE(decodePngMemory(png.data(), png.size()));
    for (std::size_t cut : {std::size_t(0), std::size_t(7), std::size_t(8), std::size_t(30),
                            png.size() - 13}) {
        EXPECT_FALSE(decodePngMemory(png.data(), cut)) << cut;
    }
    auto bad = png;
    bad[1] = 'Q';
    EXPECT_FALSE(decodePngMemory(bad.data(), bad.size()));
    EXPECT_FALSE(decodePngMemory(nullptr, 0));
}

TEST(PngDecoder, FileFormAndRetryBesideTheExecutable) {
    Testing::TempDir dir;
    auto png = encode({9, 8, 7, 6}, 1, 1, PNG_FORMAT_RGBA);
    {
        std::ofstream out(dir.path() / "pic.PNG", std::ios::binary);
        out.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    }
    const auto path = Arbor::Platform::fromNativePath(dir.path() / "pic.PNG");
    Image32 image(path);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.bits()[0], 0x06090807u);
    EXPECT_TRUE(Image32(path + u".bmp").isNull());
    EXPECT_TRUE(Image32(u"no-such-file-here.png").isNull());

    // Relative names that do not exist from the working directory are looked up beside the
    // executable.
    const auto exeDir = Arbor::Platform::executableDirectory();
    ASSERT_FALSE(exeDir.empty());
    std::filesystem::path beside = exeDir / "tavizo-png-retry.png";
    {
        std::ofstream out(beside, std::ios::binary);
        out.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    }
    auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    Image32 retried(u"tavizo-png-retry.png");
    std::filesystem::current_path(old);
    std::filesystem::remove(beside);
    ASSERT_FALSE(retried.isNull());
    EXPECT_EQ(retried.bits()[0], 0x06090807u);
}

TEST(PngDecoder, MemoryConstructorSelectsByName) {
    auto png = encode({1, 2, 3}, 1, 1, PNG_FORMAT_RGB);
    Image32 a(u"x.png", png.data(), png.size());
    EXPECT_FALSE(a.isNull());
    EXPECT_EQ(a.bits()[0], 0xFF010203u);
    Image32 b(u"x.tga", png.data(), png.size());
    EXPECT_TRUE(b.isNull());
}
