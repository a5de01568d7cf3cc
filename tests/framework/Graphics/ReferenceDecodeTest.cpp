// Decodes real files made by other programs and compares every pixel with an independent
// decoder (ImageMagick's convert): PngSuite and libpng's own test images from Debian's
// libpng1.6 source package (fetched by scripts/fetch-libpng-source into the build tree),
// and TGA files written by Pillow.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "framework/Graphics/ImageLoader.h"
#include "framework/Graphics/PngDecoder.h"
#include "framework/Platform/NativePath.h"
#include "framework/Platform/ProgramLocation.h"
#include "support/TestPaths.h"

using namespace Arbor::Graphics;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string quote(const fs::path& p) { return "'" + p.string() + "'"; }

bool run(const std::string& command) { return std::system(command.c_str()) == 0; }

Bytes readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool haveConvert() {
#if defined(_WIN32)
    return false;
#else
    static const bool present = run("convert -version > /dev/null 2>&1");
    return present;
#endif
}

// The unpacked libpng1.6 source: $TAVIZO_LIBPNG_SOURCE, else build/third_party/libpng1.6-*.
fs::path libpngSource() {
    if (const char* env = std::getenv("TAVIZO_LIBPNG_SOURCE")) return env;
    std::error_code ec;
    const fs::path third = Arbor::Platform::executableDirectory().parent_path() / "third_party";
    fs::path found;
    for (const auto& e : fs::directory_iterator(third, ec)) {
        if (e.is_directory() && e.path().filename().string().rfind("libpng1.6-", 0) == 0) found = e.path();
    }
    return found;
}

// ImageMagick's pixels as R, G, B, A bytes, 8 bits per channel, rows top first.
bool referencePixels(const fs::path& file, const fs::path& scratch, Bytes& out, std::string& size) {
    const fs::path raw = scratch / "reference.rgba";
    const fs::path dims = scratch / "reference.txt";
    if (!run("convert " + quote(file) + " -set colorspace sRGB -auto-orient -depth 8 rgba:" + quote(raw) + " 2>/dev/null")) return false;
    if (!run("identify -format '%w %h' " + quote(file) + "[0] > " + quote(dims) + " 2>/dev/null")) return false;
    out = readAll(raw);
    const Bytes d = readAll(dims);
    size.assign(d.begin(), d.end());
    return true;
}

std::string ourSize(const ImageBuffer& image) {
    return std::to_string(image.width()) + " " + std::to_string(image.height());
}

// Compares with a tolerance per channel; reports the first difference.
::testing::AssertionResult samePixels(const ImageBuffer& image, const Bytes& reference, int tolerance) {
    const std::size_t n = std::size_t(image.width()) * std::size_t(image.height());
    if (reference.size() != n * 4) {
        return ::testing::AssertionFailure() << "reference holds " << reference.size() << " bytes for " << n << " pixels";
    }
    for (std::size_t i = 0; i < n; ++i) {
        const Pixel p = image.pixels()[i];
        const int ours[4] = {int(redOf(p)), int(greenOf(p)), int(blueOf(p)), int(alphaOf(p))};
        for (int c = 0; c < 4; ++c) {
            if (std::abs(ours[c] - int(reference[i * 4 + std::size_t(c)])) > tolerance) {
                return ::testing::AssertionFailure()
                       << "pixel " << i << " (" << i % std::size_t(image.width()) << ", " << i / std::size_t(image.width())
                       << ") channel " << c << ": ours " << ours[c] << ", reference " << int(reference[i * 4 + std::size_t(c)]);
            }
        }
    }
    return ::testing::AssertionSuccess();
}

std::vector<fs::path> pngsUnder(const fs::path& dir, bool recursive) {
    std::vector<fs::path> files;
    std::error_code ec;
    if (recursive) {
        for (const auto& e : fs::recursive_directory_iterator(dir, ec))
            if (e.path().extension() == ".png") files.push_back(e.path());
    } else {
        for (const auto& e : fs::directory_iterator(dir, ec))
            if (e.path().extension() == ".png") files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

#define REQUIRE_REFERENCE_DATA(source)                                                                        \
    do {                                                                                                      \
        if (!haveConvert()) GTEST_SKIP() << "ImageMagick's convert is not installed (Debian: imagemagick)";     \
        if ((source).empty())                                                                                 \
            GTEST_SKIP() << "libpng1.6 source package not fetched: run scripts/fetch-libpng-source BUILD/third_party " \
                            "(scripts/test does) or set TAVIZO_LIBPNG_SOURCE";                                \
    } while (0)

}  // namespace

TEST(ReferenceDecode, PngSuiteAndLibpngTestImagesMatchImageMagick) {
    const fs::path source = libpngSource();
    REQUIRE_REFERENCE_DATA(source);
    std::vector<fs::path> files = pngsUnder(source / "contrib" / "pngsuite", true);
    for (const auto& f : pngsUnder(source / "contrib" / "testpngs", false)) files.push_back(f);
    for (const auto& f : pngsUnder(source, false)) files.push_back(f);
    ASSERT_GE(files.size(), 150u) << "expected PngSuite and libpng's test images under " << source;
    Testing::TempDir scratch;
    int compared = 0;
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        const Bytes bytes = readAll(file);
        ASSERT_GT(bytes.size(), 25u);
        // 16-bit channels are reduced to 8 by both decoders, perhaps rounding differently.
        const bool sixteen = bytes[24] == 16;
        Bytes reference;
        std::string size;
        ASSERT_TRUE(referencePixels(file, scratch.path(), reference, size));
        const auto fromMemory = decodePngMemory(bytes.data(), bytes.size());
        ASSERT_TRUE(fromMemory);
        EXPECT_EQ(ourSize(*fromMemory), size);
        EXPECT_TRUE(samePixels(*fromMemory, reference, sixteen ? 1 : 0));
        const auto fromFile = loadImageFile(Arbor::Platform::fromNativePath(file));
        ASSERT_TRUE(fromFile);
        EXPECT_TRUE(std::equal(fromFile->pixels(), fromFile->pixels() + std::size_t(fromFile->width()) * std::size_t(fromFile->height()),
                               fromMemory->pixels()));
        ++compared;
    }
    RecordProperty("compared", compared);
}

// libpng's crash regressions and damaged copies of PngSuite files in the manner of the
// suite's x*.png set (bad signature, header, chunk CRC, zlib data, missing or cut image
// data): each either fails or decodes, never crashes, and every truncation of a good file
// fails cleanly.
TEST(ReferenceDecode, CorruptFilesFailWithoutCrashing) {
    const fs::path source = libpngSource();
    if (source.empty()) GTEST_SKIP() << "libpng1.6 source package not fetched (see scripts/fetch-libpng-source)";
    for (const auto& file : pngsUnder(source / "contrib" / "testpngs" / "crashers", false)) {
        const Bytes bytes = readAll(file);
        auto image = decodePngMemory(bytes.data(), bytes.size());
        auto viaFile = decodePngFile(file);
        EXPECT_EQ(bool(image), bool(viaFile)) << file;
    }
    const Bytes good = readAll(source / "contrib" / "pngsuite" / "basn6a08.png");
    ASSERT_GT(good.size(), 100u);
    ASSERT_TRUE(decodePngMemory(good.data(), good.size()));
    auto damaged = [&](std::size_t at, std::uint8_t value) {
        Bytes b(good.size());
        std::copy(good.begin(), good.end(), b.begin());
        if (at < b.size()) b.at(at) = value;
        return b;
    };
    const std::string text(good.begin(), good.end());
    const std::size_t idat = text.find("IDAT");
    ASSERT_NE(idat, std::string::npos);
    const Bytes cases[] = {
        damaged(0, 0x88),        // signature
        damaged(4, 'X'),         // signature line ending
        damaged(25, 1),          // colour type 1 does not exist
        damaged(24, 7),          // bit depth 7 does not exist
        damaged(16, 0x80),       // width beyond 2^31
        damaged(29, 0),          // IHDR CRC
        damaged(idat + 4, 0xFF), // zlib header of the image data
        damaged(idat - 1, 0x10), // image data length beyond the file
    };
    for (const auto& b : cases) EXPECT_FALSE(decodePngMemory(b.data(), b.size()));
    for (std::size_t cut = 0; cut + 12 < good.size(); cut += 7) {
        EXPECT_FALSE(decodePngMemory(good.data(), cut)) << cut;
    }
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        Bytes b(good.begin(), good.end());
        for (int k = 0; k < 4; ++k) b.at(8 + random() % (b.size() - 8)) = std::uint8_t(random());
        auto image = decodePngMemory(b.data(), b.size());  // must simply not crash
        if (image) {
            EXPECT_EQ(image->width(), 32);
        }
    }
}

TEST(ReferenceDecode, TgaFilesWrittenByPillowMatchImageMagick) {
#if defined(_WIN32)
    GTEST_SKIP() << "needs Debian's python3-pil and imagemagick";
#else
    if (!haveConvert()) GTEST_SKIP() << "ImageMagick's convert is not installed (Debian: imagemagick)";
    if (!run("/usr/bin/python3 -c 'import PIL' > /dev/null 2>&1")) {
        GTEST_SKIP() << "Pillow is not installed (Debian: python3-pil)";
    }
    Testing::TempDir dir;
    // A picture with distinct rows and columns and varied alpha, saved in every layout
    // Pillow writes: RGBA, RGB, palette, gray, run-length or not, top or bottom origin.
    const std::string script =
        "import sys\n"
        "from PIL import Image\n"
        "d = sys.argv[1]\n"
        "im = Image.new('RGBA', (37, 23))\n"
        "for y in range(23):\n"
        "    for x in range(37):\n"
        "        im.putpixel((x, y), ((x * 7) % 256, (y * 11) % 256, (x * y) % 256, (x * 5 + y * 3) % 256))\n"
        "for x in range(10):\n"
        "    im.putpixel((x, 0), (200, 10, 10, 255))\n"
        "for mode in ['RGBA', 'RGB', 'P', 'L']:\n"
        "    src = im if mode != 'P' else im.convert('RGB').quantize(64)\n"
        "    out = src.convert(mode) if mode != 'P' else src\n"
        "    for rle in [False, True]:\n"
        "        for orient in [-1, 1]:\n"
        "            out.save('%s/%s-%d-%d.tga' % (d, mode, rle, orient), rle=rle, orientation=orient)\n";
    std::ofstream(dir.path() / "make.py") << script;
    ASSERT_TRUE(run("/usr/bin/python3 " + quote(dir.path() / "make.py") + " " + quote(dir.path())));
    int compared = 0;
    for (const auto& e : fs::directory_iterator(dir.path())) {
        if (e.path().extension() != ".tga") continue;
        SCOPED_TRACE(e.path().filename().string());
        const Bytes bytes = readAll(e.path());
        // Pillow writes the 2.0 footer; a bottom-left file has descriptor bit 5 clear.
        ASSERT_GE(bytes.size(), 26u);
        ASSERT_EQ(std::string(bytes.end() - 18, bytes.end() - 2), "TRUEVISION-XFILE");
        Bytes reference;
        std::string size;
        ASSERT_TRUE(referencePixels(e.path(), dir.path(), reference, size));
        const auto image = loadImageFile(Arbor::Platform::fromNativePath(e.path()));
        ASSERT_TRUE(image);
        EXPECT_EQ(ourSize(*image), size);
        EXPECT_TRUE(samePixels(*image, reference, 0));
        // The red run marks the top-left corner whatever the stored order.
        if (e.path().filename().string().rfind("RGB", 0) == 0) {
            EXPECT_EQ(image->pixels()[0] & 0x00FFFFFFu, 0x00C80A0Au);
        }
        ++compared;
    }
    EXPECT_EQ(compared, 16);
#endif
}
