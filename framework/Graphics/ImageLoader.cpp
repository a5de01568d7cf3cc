#include "framework/Graphics/ImageLoader.h"

#include <fstream>
#include <vector>

#include "framework/Graphics/PngDecoder.h"
#include "framework/Graphics/TgaDecoder.h"
#include "framework/Platform/ProgramLocation.h"

namespace Arbor::Graphics {

namespace {

// The whole file, or nothing when it cannot be read completely.
bool readWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& out) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) return false;
    stream.seekg(0, std::ios::end);
    const std::streamoff size = stream.tellg();
    if (size < 0 || std::uint64_t(size) > (std::uint64_t(1) << 31)) return false;
    stream.seekg(0, std::ios::beg);
    out.resize(std::size_t(size));
    stream.read(reinterpret_cast<char*>(out.data()), size);
    return stream.gcount() == size;
}

std::unique_ptr<ImageBuffer> decodeFile(const std::filesystem::path& path, ImageFileKind kind) {
    if (kind == ImageFileKind::Png) return decodePngFile(path);
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(path, bytes)) return nullptr;
    return decodeTgaMemory(bytes.data(), bytes.size());
}

}  // namespace

ImageFileKind imageFileKind(std::u16string_view name) {
    const auto dot = name.rfind(u'.');
    if (dot == std::u16string_view::npos) return ImageFileKind::Unknown;
    std::u16string ext(name.substr(dot));
    for (auto& c : ext) {
        if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
    }
    if (ext == u".png") return ImageFileKind::Png;
    if (ext == u".tga") return ImageFileKind::Tga;
    return ImageFileKind::Unknown;
}

std::unique_ptr<ImageBuffer> loadImageFile(std::u16string_view path) {
    const ImageFileKind kind = imageFileKind(path);
    if (kind == ImageFileKind::Unknown) return nullptr;
    const std::filesystem::path native = Platform::findProgramFile(path);
    if (native.empty()) return nullptr;
    return decodeFile(native, kind);
}

std::unique_ptr<ImageBuffer> loadImageMemory(const std::uint8_t* bytes, std::size_t length,
                                             std::u16string_view name) {
    switch (imageFileKind(name)) {
        case ImageFileKind::Png: return decodePngMemory(bytes, length);
        case ImageFileKind::Tga: return decodeTgaMemory(bytes, length);
        default: return nullptr;
    }
}

}  // namespace Arbor::Graphics
