#include "framework/Graphics/PngWriter.h"

#include <zlib.h>

#include <array>
#include <string_view>

namespace Arbor::Graphics {

namespace {

constexpr std::array<std::uint8_t, 8> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 24));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

void putU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

void putChunk(std::vector<std::uint8_t>& out, std::string_view type, std::span<const std::uint8_t> data) {
    putU32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, out.data() + start, static_cast<uInt>(out.size() - start));
    putU32(out, static_cast<std::uint32_t>(crc));
}

bool valid(const RgbaPicture& p) {
    return p.width > 0 && p.height > 0 && p.width <= 0x7FFFFFFF / 4 &&
           p.rgba.size() == std::size_t(p.width) * std::size_t(p.height) * 4;
}

// The image data stream: every row with the "Sub" filter (each byte less the byte of
// the pixel to its left), which suits the flat areas of sprites well, deflated.
std::vector<std::uint8_t> compressedRows(const RgbaPicture& p) {
    const std::size_t stride = std::size_t(p.width) * 4;
    std::vector<std::uint8_t> filtered;
    filtered.reserve((stride + 1) * std::size_t(p.height));
    for (int y = 0; y < p.height; ++y) {
        const std::uint8_t* row = p.rgba.data() + std::size_t(y) * stride;
        filtered.push_back(1);
        for (std::size_t i = 0; i < stride; ++i) {
            filtered.push_back(static_cast<std::uint8_t>(row[i] - (i >= 4 ? row[i - 4] : 0)));
        }
    }
    // Run-length matches only: sprites on a transparent desktop are mostly long runs,
    // and this is about twice as fast as the default search for nearly the same size.
    z_stream stream{};
    if (deflateInit2(&stream, 6, Z_DEFLATED, 15, 8, Z_RLE) != Z_OK) return {};
    std::vector<std::uint8_t> out(deflateBound(&stream, static_cast<uLong>(filtered.size())));
    stream.next_in = filtered.data();
    stream.avail_in = static_cast<uInt>(filtered.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END) return {};
    return out;
}

void putHeader(std::vector<std::uint8_t>& out, int width, int height) {
    out.insert(out.end(), signature.begin(), signature.end());
    std::vector<std::uint8_t> ihdr;
    putU32(ihdr, static_cast<std::uint32_t>(width));
    putU32(ihdr, static_cast<std::uint32_t>(height));
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, adaptive filters, no interlace
    putChunk(out, "IHDR", ihdr);
}

}  // namespace

std::vector<std::uint8_t> encodePng(const RgbaPicture& picture) {
    if (!valid(picture)) return {};
    const std::vector<std::uint8_t> data = compressedRows(picture);
    if (data.empty()) return {};
    std::vector<std::uint8_t> out;
    putHeader(out, picture.width, picture.height);
    putChunk(out, "IDAT", data);
    putChunk(out, "IEND", {});
    return out;
}

std::vector<std::uint8_t> encodeAnimatedPng(std::span<const RgbaPicture> frames, std::uint16_t delayNumerator,
                                            std::uint16_t delayDenominator) {
    if (frames.empty() || !valid(frames[0])) return {};
    const int width = frames[0].width, height = frames[0].height;
    for (const RgbaPicture& f : frames) {
        if (!valid(f) || f.width != width || f.height != height) return {};
    }
    std::vector<std::uint8_t> out;
    putHeader(out, width, height);
    std::vector<std::uint8_t> actl;
    putU32(actl, static_cast<std::uint32_t>(frames.size()));
    putU32(actl, 0);  // loop forever
    putChunk(out, "acTL", actl);
    // fcTL and fdAT chunks share one sequence; the first frame's data is the IDAT.
    std::uint32_t sequence = 0;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        std::vector<std::uint8_t> fctl;
        putU32(fctl, sequence++);
        putU32(fctl, static_cast<std::uint32_t>(width));
        putU32(fctl, static_cast<std::uint32_t>(height));
        putU32(fctl, 0);
        putU32(fctl, 0);
        putU16(fctl, delayNumerator);
        putU16(fctl, delayDenominator);
        fctl.push_back(0);  // dispose: none (each frame covers the whole canvas)
        fctl.push_back(0);  // blend: source (transparent pixels replace, not show through)
        putChunk(out, "fcTL", fctl);
        const std::vector<std::uint8_t> data = compressedRows(frames[i]);
        if (data.empty()) return {};
        if (i == 0) {
            putChunk(out, "IDAT", data);
        } else {
            std::vector<std::uint8_t> fdat;
            fdat.reserve(data.size() + 4);
            putU32(fdat, sequence++);
            fdat.insert(fdat.end(), data.begin(), data.end());
            putChunk(out, "fdAT", fdat);
        }
    }
    putChunk(out, "IEND", {});
    return out;
}

}  // namespace Arbor::Graphics
