#pragma once
// One font on FreeType: the chosen face at the asked size, fallback faces opened on
// first need for characters it lacks, and the glyphs already made.
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "framework/Platform/FreeType/FreeTypeFaces.h"
#include "framework/Platform/Glyphs.h"

namespace Arbor::Platform::FreeType {

class FreeTypeFont : public GlyphFont {
public:
    // Null when no face can be opened for the request.
    static std::unique_ptr<FreeTypeFont> create(std::shared_ptr<FaceCatalog> catalog, const FontRequest& request);

    const FontMetrics& metrics() const override { return metrics_; }
    std::shared_ptr<const Glyph> glyph(char32_t character, GlyphFormat format) override;

private:
    FreeTypeFont(std::shared_ptr<FaceCatalog> catalog, FaceQuery query, int emPixels);
    bool addFace(std::unique_ptr<OpenFace> face);
    void measure(const FontRequest& request);
    // The face slot that has the character (0, the chosen face, when none has it).
    std::size_t slotFor(char32_t character);
    std::shared_ptr<const Glyph> render(char32_t character, GlyphFormat format);

    std::shared_ptr<FaceCatalog> catalog_;
    FaceQuery query_;
    int emPixels_;
    FontMetrics metrics_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<OpenFace>> faces_;
    std::unordered_map<char32_t, std::size_t> slotOf_;
    std::unordered_map<std::uint64_t, std::shared_ptr<const Glyph>> cache_;
};

}  // namespace Arbor::Platform::FreeType
