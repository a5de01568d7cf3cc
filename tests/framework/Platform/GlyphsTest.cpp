// Glyphs on every backend: Japanese text from the default face, the coverage levels of
// each format, repeatable pixels, metrics that fit together, private fonts from memory
// that come and go, and font data that is refused instead of crashing.
#include <algorithm>
#include <climits>
#include <cstring>
#include <numeric>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/Platform/Glyphs.h"
#include "framework/Platform/NativePath.h"
#include "framework/Secure/WholeFile.h"
#include "support/BackendTest.h"
#include "support/TestPaths.h"

using namespace Arbor::Platform;

namespace {

class GlyphsTest : public Testing::BackendTest {};

constexpr char32_t Ko = U'\u3053';  // こ
constexpr char32_t Ta = U'\u305F';  // た

// Windows builds draw with GDI on every backend, where the default face follows the
// system's language (a Latin face under Wine); there the Japanese face the host
// provides is asked for by name. The FreeType backends show Japanese by default.
#if defined(_WIN32)
constexpr bool UsesGdi = true;
const std::u16string JapaneseFace = u"IPAexGothic";
#else
constexpr bool UsesGdi = false;
const std::u16string JapaneseFace = u"";
#endif

FontRequest request(std::u16string face, int height, int weight = 400, bool italic = false) {
    FontRequest r;
    r.faceName = std::move(face);
    r.height = height;
    r.weight = weight;
    r.italic = italic;
    return r;
}

int ink(const Glyph& glyph) { return std::accumulate(glyph.coverage.begin(), glyph.coverage.end(), 0); }

std::vector<std::uint8_t> testFont() {
    auto bytes = Arbor::Secure::readWholeFile(TAVIZO_TEST_FONT);
    return bytes ? *bytes : std::vector<std::uint8_t>{};
}

std::uint32_t bigEndian32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) | (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}

// The byte range of one table of a TrueType file (empty when absent).
std::pair<std::size_t, std::size_t> tableRange(const std::vector<std::uint8_t>& font, const char* tag) {
    if (font.size() < 12) return {0, 0};
    const std::size_t tables = (std::size_t{font[4]} << 8) | font[5];
    for (std::size_t i = 0; i < tables && 12 + i * 16 + 16 <= font.size(); ++i) {
        const std::size_t record = 12 + i * 16;
        if (std::memcmp(font.data() + record, tag, 4) != 0) continue;
        const std::size_t offset = bigEndian32(font, record + 8);
        const std::size_t length = bigEndian32(font, record + 12);
        if (offset + length <= font.size()) return {offset, offset + length};
    }
    return {0, 0};
}

// The test font under a family name no system has: "DejaVu" becomes `to` (six
// letters, so the table keeps its layout) in every name record.
std::vector<std::uint8_t> renamedFont(const std::string& to) {
    std::vector<std::uint8_t> font = testFont();
    const auto [begin, end] = tableRange(font, "name");
    const std::string from = "DejaVu";
    for (std::size_t at = begin; at < end; ++at) {
        if (at + from.size() <= end && std::equal(from.begin(), from.end(), font.begin() + static_cast<long>(at))) {
            std::copy(to.begin(), to.end(), font.begin() + static_cast<long>(at));
        }
        if (at + from.size() * 2 <= end) {  // UTF-16BE records
            bool match = true;
            for (std::size_t i = 0; i < from.size() && match; ++i) {
                match = font[at + i * 2] == 0 && font[at + i * 2 + 1] == static_cast<std::uint8_t>(from[i]);
            }
            if (match) {
                for (std::size_t i = 0; i < to.size(); ++i) font[at + i * 2 + 1] = static_cast<std::uint8_t>(to[i]);
            }
        }
    }
    return font;
}

}  // namespace

TEST_P(GlyphsTest, DefaultFaceShowsJapaneseAndTheSameRequestGivesTheSamePixels) {
    auto first = glyphService().createFont(request(JapaneseFace, -16));
    auto second = glyphService().createFont(request(JapaneseFace, -16));
    ASSERT_TRUE(first && second);
    auto a = first->glyph(Ko, GlyphFormat::Gray65);
    auto b = second->glyph(Ko, GlyphFormat::Gray65);
    auto other = first->glyph(Ta, GlyphFormat::Gray65);
    ASSERT_TRUE(a && b && other);
    EXPECT_GT(ink(*a), 0);
    // Two kana that look alike would be the missing-glyph box twice.
    EXPECT_NE(a->coverage, other->coverage) << "no Japanese glyphs in the default face";
    EXPECT_EQ(a->coverage, b->coverage);
    EXPECT_EQ(a->metrics.blackBoxWidth, b->metrics.blackBoxWidth);
    EXPECT_EQ(a->metrics.originY, b->metrics.originY);
    EXPECT_EQ(a->metrics.cellIncX, b->metrics.cellIncX);
    EXPECT_EQ(first->metrics().faceName, second->metrics().faceName);
    // Asked again, the font answers from its cache.
    EXPECT_EQ(first->glyph(Ko, GlyphFormat::Gray65).get(), a.get());
}

TEST_P(GlyphsTest, AFaceWithoutJapaneseStillDrawsItThroughFallback) {
    if (GetParam() == "Win32") GTEST_SKIP() << "GDI's outline call draws the face's own glyphs only";
#if defined(_WIN32)
    GTEST_SKIP() << "the headless backend of a Windows build uses GDI";
#endif
    auto latin = glyphService().createFont(request(u"DejaVu Sans", -20));
    auto japanese = glyphService().createFont(request(u"IPAexGothic", -20));
    ASSERT_TRUE(latin && japanese);
    ASSERT_EQ(latin->metrics().faceName, u"DejaVu Sans");
    ASSERT_EQ(japanese->metrics().faceName, u"IPAexGothic");
    auto viaFallback = latin->glyph(Ko, GlyphFormat::Gray65);
    auto direct = japanese->glyph(Ko, GlyphFormat::Gray65);
    ASSERT_TRUE(viaFallback && direct);
    EXPECT_GT(ink(*viaFallback), 0);
    // Same face, same size: the fallback glyph is the Japanese face's own.
    EXPECT_EQ(viaFallback->coverage, direct->coverage);
    EXPECT_EQ(viaFallback->metrics.cellIncX, direct->metrics.cellIncX);
    EXPECT_NE(viaFallback->coverage, latin->glyph(Ta, GlyphFormat::Gray65)->coverage);
    // The Latin face keeps its own Latin glyphs.
    EXPECT_NE(latin->glyph(U'g', GlyphFormat::Gray65)->coverage, japanese->glyph(U'g', GlyphFormat::Gray65)->coverage);
}

TEST_P(GlyphsTest, MonochromeIsZeroOrOneAndGrayStaysWithin65Levels) {
    auto font = glyphService().createFont(request(u"", -24));
    ASSERT_TRUE(font);
    for (char32_t c : {U'A', U'g', U'@', Ko}) {
        auto mono = font->glyph(c, GlyphFormat::Monochrome);
        auto gray = font->glyph(c, GlyphFormat::Gray65);
        ASSERT_TRUE(mono && gray);
        const auto monoMax = *std::max_element(mono->coverage.begin(), mono->coverage.end());
        EXPECT_EQ(monoMax, 1);
        EXPECT_LE(*std::max_element(gray->coverage.begin(), gray->coverage.end()), 64);
        EXPECT_TRUE(std::any_of(gray->coverage.begin(), gray->coverage.end(), [](int v) { return v > 0 && v < 64; }))
            << "anti-aliased edges have intermediate levels";
        for (const auto* glyph : {mono.get(), gray.get()}) {
            EXPECT_EQ(glyph->coverage.size(),
                      static_cast<std::size_t>(glyph->metrics.blackBoxWidth) * glyph->metrics.blackBoxHeight);
            EXPECT_GT(glyph->metrics.cellIncX, 0);
            EXPECT_LE(glyph->metrics.originY, font->metrics().ascent + 2);
            EXPECT_GE(glyph->metrics.originY - glyph->metrics.blackBoxHeight, -font->metrics().descent - 2);
        }
    }
    auto space = font->glyph(U' ', GlyphFormat::Gray65);
    ASSERT_TRUE(space);
    EXPECT_TRUE(space->coverage.empty());
    EXPECT_EQ(space->metrics.blackBoxWidth, 0);
    EXPECT_GT(space->metrics.cellIncX, 0);
    EXPECT_EQ(font->glyph(U'A', static_cast<GlyphFormat>(3)), nullptr);
}

TEST_P(GlyphsTest, MetricsFollowTheRequestedHeight) {
    auto em = glyphService().createFont(request(u"", -20));
    auto cell = glyphService().createFont(request(u"", 20));
    auto underlined = glyphService().createFont([] {
        auto r = request(u"", -20);
        r.underline = true;
        return r;
    }());
    ASSERT_TRUE(em && cell && underlined);
    const FontMetrics& m = em->metrics();
    EXPECT_EQ(m.height, m.ascent + m.descent);
    // Wine's GDI rounds the em size one pixel up; Windows and FreeType give it exactly.
    EXPECT_NEAR(m.height - m.internalLeading, 20, 1) << "a negative height is the em size";
    EXPECT_GT(m.averageCharWidth, 0);
    EXPECT_GE(m.maxCharWidth, m.averageCharWidth);
    EXPECT_GE(m.underlineThickness, 1);
    EXPECT_FALSE(m.underline);
    EXPECT_TRUE(underlined->metrics().underline);
    EXPECT_NEAR(cell->metrics().height, 20, 1) << "a positive height is the cell height";
    EXPECT_LT(cell->metrics().height, m.height);
}

TEST_P(GlyphsTest, BoldAndItalicChangeTheStrokes) {
    auto regular = glyphService().createFont(request(u"", -32));
    auto bold = glyphService().createFont(request(u"", -32, 700));
    auto italic = glyphService().createFont(request(u"", -32, 400, true));
    ASSERT_TRUE(regular && bold && italic);
    auto r = regular->glyph(U'H', GlyphFormat::Gray65);
    auto b = bold->glyph(U'H', GlyphFormat::Gray65);
    auto i = italic->glyph(U'H', GlyphFormat::Gray65);
    ASSERT_TRUE(r && b && i);
    EXPECT_GT(ink(*b), ink(*r) * 11 / 10);
    EXPECT_NE(i->coverage, r->coverage);
    EXPECT_TRUE(italic->metrics().italic);
}

TEST_P(GlyphsTest, PrivateFontFromMemoryIsUsedByNameUntilReleased) {
    const std::vector<std::uint8_t> font = renamedFont("Tavizo");
    ASSERT_GT(font.size(), 10000u) << TAVIZO_TEST_FONT;
    // GDI under Wine keeps the face it chose for a logical font it has seen, so each
    // step asks a size of its own.
    auto before = glyphService().createFont(request(u"Tavizo Sans", -18));
    ASSERT_TRUE(before);
    EXPECT_NE(before->metrics().faceName, u"Tavizo Sans");

    auto registration = glyphService().addPrivateFont(font);
    ASSERT_TRUE(registration);
    EXPECT_EQ(registration->faceCount(), 1);
    auto during = glyphService().createFont(request(u"Tavizo Sans", -20));
    ASSERT_TRUE(during);
    EXPECT_EQ(during->metrics().faceName, u"Tavizo Sans");
    auto kept = during->glyph(U'Q', GlyphFormat::Gray65);
    ASSERT_TRUE(kept);
    EXPECT_GT(ink(*kept), 0);

    registration.reset();
    // A font made while the registration lived keeps working.
    auto late = during->glyph(U'R', GlyphFormat::Monochrome);
    ASSERT_TRUE(late);
    EXPECT_GT(ink(*late), 0);
    // Once no font uses it any more, the face is gone. (Wine's GDI never removes a
    // font registered from memory.)
    during.reset();
    auto after = glyphService().createFont(request(u"Tavizo Sans", -22));
    ASSERT_TRUE(after);
    if (!UsesGdi) {
        EXPECT_NE(after->metrics().faceName, u"Tavizo Sans");
    }
}

TEST_P(GlyphsTest, PrivateFontFromAFileIsUsedByNameUntilReleased) {
    Testing::TempDir folder;
    const std::filesystem::path file = folder.path() / "renamed.ttf";
    ASSERT_TRUE(Arbor::Secure::writeWholeFile(file, renamedFont("Kavizo")));
    auto registration = glyphService().addPrivateFontFile(fromNativePath(file));
    ASSERT_TRUE(registration);
    {
        auto during = glyphService().createFont(request(u"Kavizo Sans", -20, 400));
        ASSERT_TRUE(during);
        EXPECT_EQ(during->metrics().faceName, u"Kavizo Sans");
        auto glyph = during->glyph(U'K', GlyphFormat::Gray65);
        ASSERT_TRUE(glyph);
        EXPECT_GT(ink(*glyph), 0);
    }
    registration.reset();
    auto after = glyphService().createFont(request(u"Kavizo Sans", -22));
    ASSERT_TRUE(after);
    EXPECT_NE(after->metrics().faceName, u"Kavizo Sans");
}

TEST_P(GlyphsTest, MalformedFontDataIsRefused) {
    const std::vector<std::uint8_t> font = testFont();
    ASSERT_GT(font.size(), 10000u);
    EXPECT_EQ(glyphService().addPrivateFont({}), nullptr);
    std::vector<std::uint8_t> noise(4096);
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>((i * 2654435761u) >> 13);
    EXPECT_EQ(glyphService().addPrivateFont(noise), nullptr);
    // Only the header and table directory survive.
    std::vector<std::uint8_t> truncated(font.begin(), font.begin() + 300);
    EXPECT_EQ(glyphService().addPrivateFont(truncated), nullptr);
    // A valid header whose every table lies beyond the end of the data.
    std::vector<std::uint8_t> scattered = font;
    const std::size_t tables = (std::size_t{scattered[4]} << 8) | scattered[5];
    for (std::size_t i = 0; i < tables; ++i) {
        const std::size_t at = 12 + i * 16 + 8;
        scattered[at] = 0x7F;
    }
    EXPECT_EQ(glyphService().addPrivateFont(scattered), nullptr);
    EXPECT_EQ(glyphService().addPrivateFontFile(u"no such folder\\no such font.ttf"), nullptr);
    // The service still works afterwards.
    auto healthy = glyphService().createFont(request(u"", -16));
    ASSERT_TRUE(healthy);
    EXPECT_TRUE(healthy->glyph(U'A', GlyphFormat::Gray65));
}

TEST_P(GlyphsTest, ExtremeRequestsAndCharactersStayBounded) {
    for (int height : {INT_MIN, -100000, -1, 0, 1, 100000, INT_MAX}) {
        FontRequest r = request(std::u16string(200, u'x'), height, height);
        auto font = glyphService().createFont(r);
        if (!font) continue;
        EXPECT_LE(font->metrics().height, 4096) << height;
        EXPECT_GE(font->metrics().height, 0) << height;
        for (char32_t c : {U'\0', U'\t', U'\n', char32_t{0xD800}, char32_t{0xFFFF}, U'W', char32_t{0x10FFFF},
                           char32_t{0x110000}, char32_t{0xFFFFFFFF}}) {
            if (auto glyph = font->glyph(c, GlyphFormat::Gray65)) {
                EXPECT_EQ(glyph->coverage.size(),
                          static_cast<std::size_t>(glyph->metrics.blackBoxWidth) * glyph->metrics.blackBoxHeight);
            }
        }
    }
}

TEST_P(GlyphsTest, AFontDeclaringAbsurdExtentsGivesBoundedMetrics) {
    if (UsesGdi) GTEST_SKIP() << "GDI measures fonts itself";
    std::vector<std::uint8_t> font = renamedFont("Tavbad");
    const auto [os2, os2End] = tableRange(font, "OS/2");
    ASSERT_GT(os2End, os2 + 78);
    for (std::size_t at : {os2 + 74, os2 + 75, os2 + 76, os2 + 77}) font[at] = 0xFF;  // usWinAscent, usWinDescent
    auto registration = glyphService().addPrivateFont(font);
    ASSERT_TRUE(registration);
    auto big = glyphService().createFont(request(u"Tavbad Sans", -1024));
    ASSERT_TRUE(big);
    EXPECT_EQ(big->metrics().faceName, u"Tavbad Sans");
    EXPECT_GE(big->metrics().ascent, 0);
    EXPECT_LE(big->metrics().ascent, 4096);
    EXPECT_LE(big->metrics().height, 8192);
}

TAVIZO_INSTANTIATE_FOR_BACKENDS(GlyphsTest);

// The offscreen desktop draws text with the same faces and pixels as the system's
// desktop backend, so previews and tests show what users see.
TEST(GlyphsAcrossBackends, EveryBackendGivesTheSamePixels) {
    const std::vector<std::string> backends = Testing::availableBackends();
    if (backends.size() < 2) GTEST_SKIP() << "only one backend can run here";
    auto draw = [](const std::string& backend) {
        Testing::BackendScope scope(backend);
        std::vector<std::vector<std::uint8_t>> pixels;
        for (const FontRequest& r : {request(JapaneseFace, -16), request(u"DejaVu Sans", 18, 700)}) {
            auto font = glyphService().createFont(r);
            if (!font) continue;
            for (char32_t c : {U'A', U'g', Ko}) {
                for (GlyphFormat format : {GlyphFormat::Monochrome, GlyphFormat::Gray65}) {
                    auto glyph = font->glyph(c, format);
                    pixels.push_back(glyph ? glyph->coverage : std::vector<std::uint8_t>{});
                }
            }
        }
        return pixels;
    };
    const auto reference = draw(backends.front());
    ASSERT_EQ(reference.size(), 12u);
    for (std::size_t i = 1; i < backends.size(); ++i) EXPECT_EQ(draw(backends[i]), reference) << backends[i];
}
