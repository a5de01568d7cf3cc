// tavizo-tool image FILE OUT.png: decodes FILE with the host's own decoders (".png" or
// ".tga") and writes its straight-alpha pixels as an RGBA PNG, so authors see exactly what
// the host will draw.
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "framework/Graphics/ImageLoader.h"
#include "framework/Text/Utf.h"
#include "tools/ToolCommand.h"

namespace {

bool writeWhole(const std::filesystem::path& out, const std::vector<std::uint8_t>& bytes) {
    // Written beside the target and renamed over it, so OUT is whole or untouched.
    std::filesystem::path temp = out;
    temp += ".part";
    {
        std::ofstream stream(temp, std::ios::binary | std::ios::trunc);
        if (!stream) return false;
        stream.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        stream.close();
        if (!stream) {
            std::error_code ec;
            std::filesystem::remove(temp, ec);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, out, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}

int runImage(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tavizo-tool image FILE OUT.png\n");
        return 2;
    }
    const auto image = Arbor::Graphics::loadImageFile(Arbor::Text::fromUtf8(args[0]));
    if (!image) {
        std::printf("invalid\n");
        return 1;
    }
    const std::size_t count = std::size_t(image->width()) * std::size_t(image->height());
    std::vector<std::uint8_t> rgba(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t p = image->pixels()[i];
        rgba[i * 4 + 0] = std::uint8_t(p >> 16);
        rgba[i * 4 + 1] = std::uint8_t(p >> 8);
        rgba[i * 4 + 2] = std::uint8_t(p);
        rgba[i * 4 + 3] = std::uint8_t(p >> 24);
    }
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = png_uint_32(image->width());
    png.height = png_uint_32(image->height());
    png.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, rgba.data(), 0, nullptr)) {
        std::fprintf(stderr, "tavizo-tool image: cannot encode the PNG\n");
        return 1;
    }
    std::vector<std::uint8_t> encoded(size);
    if (!png_image_write_to_memory(&png, encoded.data(), &size, 0, rgba.data(), 0, nullptr)) {
        std::fprintf(stderr, "tavizo-tool image: cannot encode the PNG\n");
        return 1;
    }
    encoded.resize(size);
    if (!writeWhole(std::filesystem::u8path(args[1]), encoded)) {
        std::fprintf(stderr, "tavizo-tool image: cannot write %s\n", args[1].c_str());
        return 1;
    }
    std::printf("%d %d\n", image->width(), image->height());
    return 0;
}

}  // namespace

TAVIZO_TOOL_COMMAND(image, "image FILE OUT.png",
                    "decodes a .png or .tga as the host does and writes it as an RGBA PNG, else 'invalid'",
                    runImage);
