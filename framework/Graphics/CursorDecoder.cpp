#include "framework/Graphics/CursorDecoder.h"

#include <algorithm>
#include <cstring>

#include "framework/Graphics/PngDecoder.h"

namespace Arbor::Graphics {

namespace {

constexpr std::int64_t maxSide = 1024;

std::uint32_t le16(const std::uint8_t* p) { return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8; }
std::uint32_t le32(const std::uint8_t* p) { return le16(p) | le16(p + 2) << 16; }
std::int32_t sle32(const std::uint8_t* p) { return static_cast<std::int32_t>(le32(p)); }

}  // namespace

bool isAnimatedCursor(const std::uint8_t* bytes, std::size_t length) {
    return bytes && length >= 4 && std::memcmp(bytes, "RIFF", 4) == 0;
}

std::optional<CursorImage> decodeCursorFile(const std::uint8_t* bytes, std::size_t length) {
    // Directory header (reserved, type, count) and the first entry.
    if (!bytes || length < 6 + 16) return std::nullopt;
    if (le16(bytes + 2) != 2 || le16(bytes + 4) == 0) return std::nullopt;
    const std::uint8_t* entry = bytes + 6;
    CursorImage cursor;
    cursor.hotspotX = std::int32_t(le16(entry + 4));
    cursor.hotspotY = std::int32_t(le16(entry + 6));
    const std::uint64_t size = le32(entry + 8);
    const std::uint64_t offset = le32(entry + 12);
    if (offset >= length) return std::nullopt;
    // A resource size running past the file is cut to what is there; the image must
    // still be complete within it.
    const std::size_t available = std::size_t(std::min<std::uint64_t>(size, length - offset));
    const std::uint8_t* image = bytes + offset;

    if (hasPngSignature(image, available)) {
        auto png = decodePngMemory(image, available);
        if (!png || png->width() > maxSide || png->height() > maxSide) return std::nullopt;
        cursor.width = png->width();
        cursor.height = png->height();
        cursor.pixels.assign(png->pixels(), png->pixels() + std::size_t(cursor.width) * std::size_t(cursor.height));
        return cursor;
    }

    if (available < 40) return std::nullopt;
    const std::uint32_t headerSize = le32(image);
    const std::int64_t width = sle32(image + 4);
    const std::int64_t doubledHeight = sle32(image + 8);
    const std::uint32_t bitCount = le16(image + 14);
    const std::uint32_t compression = le32(image + 16);
    const std::uint32_t coloursUsed = le32(image + 32);
    // The stored bitmap holds the colour image above its mask: half the height each.
    const std::int64_t height = doubledHeight / 2;
    if (headerSize < 40 || headerSize > available) return std::nullopt;
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide) return std::nullopt;
    if (compression != 0 && !(compression == 3 && bitCount == 32)) return std::nullopt;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) {
        return std::nullopt;
    }
    std::size_t pos = headerSize;
    if (compression == 3 && headerSize == 40) pos += 12;  // colour masks after a short header
    std::uint32_t paletteSize = 0;
    if (bitCount <= 8) {
        paletteSize = coloursUsed ? coloursUsed : (1u << bitCount);
        if (paletteSize > 256) return std::nullopt;
    }
    const std::uint8_t* palette = image + pos;
    pos += std::size_t(paletteSize) * 4;
    const std::size_t colourStride = std::size_t((width * bitCount + 31) / 32) * 4;
    const std::size_t maskStride = std::size_t((width + 31) / 32) * 4;
    const std::size_t colourBytes = colourStride * std::size_t(height);
    const std::size_t maskBytes = maskStride * std::size_t(height);
    // Some 32-bit cursors omit the mask; their alpha channel carries the shape.
    const bool hasMask = pos + colourBytes + maskBytes <= available;
    if (pos + colourBytes > available || (!hasMask && bitCount != 32)) return std::nullopt;
    const std::uint8_t* colours = image + pos;
    const std::uint8_t* mask = hasMask ? colours + colourBytes : nullptr;

    cursor.width = std::int32_t(width);
    cursor.height = std::int32_t(height);
    cursor.pixels.resize(std::size_t(width) * std::size_t(height));
    bool anyAlpha = false;
    for (std::int64_t y = 0; y < height; ++y) {
        // Rows are stored bottom-up.
        const std::uint8_t* row = colours + std::size_t(height - 1 - y) * colourStride;
        Pixel* out = cursor.pixels.data() + std::size_t(y) * std::size_t(width);
        for (std::int64_t x = 0; x < width; ++x) {
            Pixel p = 0;
            switch (bitCount) {
                case 32: {
                    const std::uint8_t* q = row + x * 4;
                    p = makePixel(q[3], q[2], q[1], q[0]);
                    anyAlpha = anyAlpha || q[3] != 0;
                    break;
                }
                case 24: {
                    const std::uint8_t* q = row + x * 3;
                    p = makePixel(255, q[2], q[1], q[0]);
                    break;
                }
                default: {
                    const std::size_t bit = std::size_t(x) * bitCount;
                    const std::uint32_t index =
                        (row[bit / 8] >> (8 - bitCount - bit % 8)) & ((1u << bitCount) - 1);
                    if (index < paletteSize) {
                        const std::uint8_t* c = palette + index * 4;
                        p = makePixel(255, c[2], c[1], c[0]);
                    }
                    break;
                }
            }
            out[x] = p;
        }
    }
    // The AND mask marks transparent pixels; a 32-bit image with alpha keeps its own.
    if (mask && !(bitCount == 32 && anyAlpha)) {
        for (std::int64_t y = 0; y < height; ++y) {
            const std::uint8_t* row = mask + std::size_t(height - 1 - y) * maskStride;
            Pixel* out = cursor.pixels.data() + std::size_t(y) * std::size_t(width);
            for (std::int64_t x = 0; x < width; ++x) {
                const bool transparent = (row[x / 8] >> (7 - x % 8)) & 1;
                out[x] = transparent ? 0 : (out[x] | 0xFF000000u);
            }
        }
    }
    return cursor;
}

}  // namespace Arbor::Graphics
