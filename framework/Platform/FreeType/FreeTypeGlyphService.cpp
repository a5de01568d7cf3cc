// The glyph service of the Linux backends: FreeType faces chosen by fontconfig, with
// private fonts that only this process sees.
#include <fstream>
#include <memory>
#include <optional>
#include <vector>

#include "framework/Platform/FreeType/FreeTypeFaces.h"
#include "framework/Platform/FreeType/FreeTypeFont.h"
#include "framework/Platform/FreeType/FreeTypeGlyphService.h"
#include "framework/Platform/Glyphs.h"
#include "framework/Platform/NativePath.h"

namespace Arbor::Platform {

namespace {

// Font files larger than this are refused rather than read whole into memory.
constexpr std::uintmax_t kLargestFontFile = 256u << 20;

std::optional<std::vector<std::uint8_t>> readFontFile(const std::filesystem::path& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size == 0 || size > kLargestFontFile) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) return std::nullopt;
    return bytes;
}

class FreeTypePrivateFont : public PrivateFont {
public:
    FreeTypePrivateFont(std::shared_ptr<FreeType::FaceCatalog> catalog, std::uint64_t id, int faces)
        : catalog_(std::move(catalog)), id_(id), faces_(faces) {}
    ~FreeTypePrivateFont() override { catalog_->removePrivate(id_); }
    int faceCount() const override { return faces_; }

private:
    std::shared_ptr<FreeType::FaceCatalog> catalog_;
    std::uint64_t id_;
    int faces_;
};

class FreeTypeGlyphService : public GlyphService {
public:
    FreeTypeGlyphService() : catalog_(FreeType::FaceCatalog::create()) {}

    std::unique_ptr<GlyphFont> createFont(const FontRequest& request) override {
        return FreeType::FreeTypeFont::create(catalog_, request);
    }
    std::unique_ptr<PrivateFont> addPrivateFont(std::span<const std::uint8_t> data) override {
        if (!catalog_) return nullptr;
        std::uint64_t id = 0;
        const int faces = catalog_->addPrivate(data, id);
        if (faces <= 0) return nullptr;
        return std::make_unique<FreeTypePrivateFont>(catalog_, id, faces);
    }
    std::unique_ptr<PrivateFont> addPrivateFontFile(std::u16string_view path) override {
        if (path.empty()) return nullptr;
        std::optional<std::vector<std::uint8_t>> bytes = readFontFile(toNativePath(path));
        if (!bytes) return nullptr;
        return addPrivateFont(*bytes);
    }

private:
    std::shared_ptr<FreeType::FaceCatalog> catalog_;
};

}  // namespace

std::unique_ptr<GlyphService> FreeType::makeGlyphService() { return std::make_unique<FreeTypeGlyphService>(); }

}  // namespace Arbor::Platform
