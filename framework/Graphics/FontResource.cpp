#include "framework/Graphics/FontResource.h"

#include <array>
#include <memory>
#include <string>

#include "framework/Platform/Glyphs.h"

namespace Arbor::Graphics {

namespace {

// What the cache's font slot holds: the registration, removed when the cache lets go.
struct RegisteredFontFile {
    std::unique_ptr<Platform::PrivateFont> font;
};

constexpr std::array<std::u16string_view, 9> kFontExtensions{u".fon", u".fnt", u".ttf", u".ttc", u".fot",
                                                             u".otf", u".mmm", u".pfb", u".pfm"};

}  // namespace

bool hasFontFileExtension(std::u16string_view name) {
    const std::size_t slash = name.find_last_of(u"\\/");
    const std::u16string_view file = slash == std::u16string_view::npos ? name : name.substr(slash + 1);
    const std::size_t dot = file.rfind(u'.');
    if (dot == std::u16string_view::npos) return false;
    std::u16string extension(file.substr(dot));
    for (char16_t& c : extension) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    for (std::u16string_view accepted : kFontExtensions) {
        if (extension == accepted) return true;
    }
    return false;
}

bool loadFontFile(Secure::ResourceCache& cache, std::u16string_view name) {
    if (name.empty() || !hasFontFileExtension(name)) return false;
    auto registered = cache.cached<const RegisteredFontFile>(
        Secure::ResourceSlot::Font, name, [](const Secure::ResourceBlob& blob) -> std::shared_ptr<const RegisteredFontFile> {
            Platform::GlyphService& glyphs = Platform::glyphService();
            std::unique_ptr<Platform::PrivateFont> font =
                blob.onDisk ? glyphs.addPrivateFontFile(blob.path) : glyphs.addPrivateFont(blob.bytes);
            if (!font) return nullptr;
            return std::make_shared<const RegisteredFontFile>(RegisteredFontFile{std::move(font)});
        });
    return registered != nullptr;
}

}  // namespace Arbor::Graphics
