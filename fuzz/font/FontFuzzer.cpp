// Arbitrary bytes as a private font: registration either refuses them or gives faces
// whose fonts measure and draw every character without reading outside their bitmaps,
// with coverage inside the format's levels.
#include <cstdint>
#include <cstdlib>

#include "framework/Platform/FreeType/FreeTypeFaces.h"
#include "framework/Platform/FreeType/FreeTypeFont.h"
#include "framework/Text/Utf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace Arbor::Platform;
    static std::shared_ptr<FreeType::FaceCatalog> catalog = FreeType::FaceCatalog::create();
    if (!catalog) return 0;
    std::uint64_t id = 0;
    if (catalog->addPrivate({data, size}, id) <= 0) return 0;
    const std::vector<std::string> families = catalog->privateFamilies(id);
    if (families.empty()) std::abort();
    for (int height : {-13, 24}) {
        FontRequest request;
        request.faceName = Arbor::Text::fromUtf8(families.front());
        request.height = height;
        request.weight = height < 0 ? 700 : 400;
        request.italic = height > 0;
        auto font = FreeType::FreeTypeFont::create(catalog, request);
        if (!font) continue;
        if (font->metrics().height < 0 || font->metrics().height > 8192) std::abort();
        for (char32_t c : {U' ', U'A', U'g', U'\u00E9', U'\u3053', char32_t{0xFFFD}, char32_t{0x1F600}}) {
            for (GlyphFormat format : {GlyphFormat::Monochrome, GlyphFormat::Gray65}) {
                auto glyph = font->glyph(c, format);
                if (!glyph) continue;
                const auto& m = glyph->metrics;
                if (glyph->coverage.size() != static_cast<std::size_t>(m.blackBoxWidth) * m.blackBoxHeight) std::abort();
                for (std::uint8_t v : glyph->coverage) {
                    if (v > maxCoverage(format)) std::abort();
                }
            }
        }
    }
    catalog->removePrivate(id);
    return 0;
}
