#include "framework/Graphics/TgaDecoder.h"

#include <cstring>
#include <vector>

namespace Arbor::Graphics {

namespace {

constexpr std::size_t headerSize = 18;
constexpr std::size_t footerSize = 26;
constexpr std::size_t extensionSize = 495;
constexpr std::size_t keyColourOffset = 470;  // within the extension area

std::uint16_t le16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }
std::uint32_t le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::uint32_t scale5(std::uint32_t v) { return v * 255 / 31; }

Pixel from555(std::uint32_t word) {
    return makePixel(255, scale5((word >> 10) & 31), scale5((word >> 5) & 31), scale5(word & 31));
}

struct Header {
    std::uint8_t idLength;
    std::uint8_t colourMapType;
    std::uint8_t imageType;
    std::uint16_t firstEntry;
    std::uint16_t mapLength;
    std::uint8_t entryBits;
    std::uint16_t width;
    std::uint16_t height;
    std::uint8_t depth;
    std::uint8_t descriptor;
};

Header readHeader(const std::uint8_t* p) {
    return Header{p[0], p[1], p[2], le16(p + 3), le16(p + 5), p[7],
                  le16(p + 12), le16(p + 14), p[16], p[17]};
}

}  // namespace

std::unique_ptr<ImageBuffer> decodeTgaMemory(const std::uint8_t* bytes, std::size_t length) {
    if (!bytes || length < headerSize + footerSize) return nullptr;
    const std::uint8_t* footer = bytes + length - footerSize;
    if (std::memcmp(footer + 8, "TRUEVISION-XFILE", 16) != 0) return nullptr;
    const Header h = readHeader(bytes);

    const unsigned kind = h.imageType & 7;
    const bool colourMapped = kind == 1;
    const bool runLength = (h.imageType & 8) != 0;
    if (kind == 0 || kind > 3) return nullptr;
    if (h.width == 0 || h.height == 0) return nullptr;
    // Depth 15 is 5-5-5 in two bytes, as 16 is, so bytes per pixel rounds up.
    const unsigned pixelBytes = (unsigned(h.depth) + 7) / 8;
    if (pixelBytes == 0 || pixelBytes > 4) return nullptr;
    if (colourMapped) {
        if (h.entryBits < 24 || h.entryBits >= 40) return nullptr;
        // Indices wider than a byte would be taken for colours; such files are refused.
        if (pixelBytes != 1) return nullptr;
    }

    // Colour map: after the header and the image ID; skipped for images that carry one
    // without using it.
    const bool hasMap = colourMapped || h.colourMapType == 1;
    const std::size_t entryBytes = hasMap ? (std::size_t(h.entryBits) + 7) / 8 : 0;
    const std::size_t mapOffset = headerSize + h.idLength;
    const std::size_t mapBytes = hasMap ? std::size_t(h.mapLength) * entryBytes : 0;
    const std::size_t dataEnd = length - footerSize;
    if (mapOffset + mapBytes > dataEnd) return nullptr;
    std::vector<Pixel> palette;
    if (colourMapped) {
        palette.resize(h.mapLength);
        const std::uint8_t* m = bytes + mapOffset;
        for (std::size_t i = 0; i < h.mapLength; ++i, m += entryBytes) {
            palette[i] = entryBytes == 3 ? makePixel(255, m[2], m[1], m[0])
                                         : makePixel(m[3], m[2], m[1], m[0]);
        }
    }

    // Extension area: only its size field and key colour matter.
    bool keyed = false;
    Pixel key = 0;
    const std::uint32_t extensionOffset = le32(footer);
    if (extensionOffset != 0 && std::size_t(extensionOffset) <= length &&
        length - extensionOffset >= extensionSize) {
        const std::uint8_t* e = bytes + extensionOffset;
        if (le16(e) == extensionSize) {
            const std::uint8_t* k = e + keyColourOffset;
            std::uint32_t k1 = k[1], k2 = k[2], k3 = k[3];
            if (pixelBytes == 2) {
                k1 = k1 * 255 / 31;
                k2 = k2 * 255 / 31;
                k3 = k3 * 255 / 31;
            }
            key = (std::uint32_t(std::uint8_t(k[0] - 1)) << 24) | (k1 & 0xFF) << 16 |
                  (k2 & 0xFF) << 8 | (k3 & 0xFF);
            keyed = true;
        }
    }
    if (keyed && colourMapped && entryBytes == 3) {
        for (auto& p : palette) {
            if (p == key) p = 0;
        }
    }
    const bool keyGray = keyed && !colourMapped && pixelBytes == 1;

    auto convert = [&](const std::uint8_t* p) -> Pixel {
        switch (pixelBytes) {
            case 4: return makePixel(p[3], p[2], p[1], p[0]);
            case 3: return makePixel(255, p[2], p[1], p[0]);
            case 2: return from555(le16(p));
            default:
                if (colourMapped) {
                    // An index outside the map has no colour: transparent.
                    return p[0] < palette.size() ? palette[p[0]] : 0;
                } else {
                    const Pixel gray = 0xFF000000u | std::uint32_t(p[0]) * 0x010101u;
                    return keyGray && gray == key ? 0 : gray;
                }
        }
    };

    const std::size_t count = std::size_t(h.width) * h.height;
    const std::uint8_t* src = bytes + mapOffset + mapBytes;
    const std::uint8_t* end = bytes + dataEnd;
    const std::size_t available = std::size_t(end - src);
    // Refuse short data before allocating: raw data needs every pixel, and a run-length
    // packet covers at most 128 pixels with one header byte and one value.
    if (!runLength && available / pixelBytes < count) return nullptr;
    if (runLength && available / (pixelBytes + 1) < (count + 127) / 128) return nullptr;
    auto image = ImageBuffer::create(h.width, h.height);
    if (!image) return nullptr;

    // Pixels arrive in stored order; the orientation bits say where each one goes.
    const bool topFirst = (h.descriptor & 0x20) != 0;
    const bool rightToLeft = (h.descriptor & 0x10) != 0;
    Pixel* out = image->pixels();
    std::size_t row = 0, column = 0;
    auto put = [&](Pixel value) {
        const std::size_t y = topFirst ? row : h.height - 1 - row;
        const std::size_t x = rightToLeft ? h.width - 1 - column : column;
        out[y * h.width + x] = value;
        if (++column == h.width) {
            column = 0;
            ++row;
        }
    };

    if (!runLength) {
        for (std::size_t i = 0; i < count; ++i, src += pixelBytes) put(convert(src));
    } else {
        std::size_t done = 0;
        while (done < count) {
            if (src >= end) return nullptr;
            const std::uint8_t packet = *src++;
            std::size_t n = std::size_t(packet & 0x7F) + 1;
            if (n > count - done) n = count - done;
            if (packet & 0x80) {
                if (std::size_t(end - src) < pixelBytes) return nullptr;
                const Pixel value = convert(src);
                src += pixelBytes;
                for (std::size_t i = 0; i < n; ++i) put(value);
            } else {
                if (std::size_t(end - src) / pixelBytes < n) return nullptr;
                for (std::size_t i = 0; i < n; ++i, src += pixelBytes) put(convert(src));
            }
            done += n;
        }
    }
    return image;
}

}  // namespace Arbor::Graphics
