#include "framework/Graphics/PngDecoder.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <fstream>
#include <new>

namespace Arbor::Graphics {

namespace {

constexpr std::uint8_t pngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

constexpr png_byte ignoredChunks[] = {
    'b', 'K', 'G', 'D', 0, 'c', 'H', 'R', 'M', 0, 'e', 'X', 'I', 'f', 0, 'g', 'A', 'M', 'A', 0,
    'h', 'I', 'S', 'T', 0, 'i', 'C', 'C', 'P', 0, 'i', 'T', 'X', 't', 0, 'o', 'F', 'F', 's', 0,
    'p', 'C', 'A', 'L', 0, 'p', 'H', 'Y', 's', 0, 's', 'B', 'I', 'T', 0, 's', 'C', 'A', 'L', 0,
    's', 'P', 'L', 'T', 0, 's', 'R', 'G', 'B', 0, 's', 'T', 'E', 'R', 0, 't', 'E', 'X', 't', 0,
    't', 'I', 'M', 'E', 0, 'z', 'T', 'X', 't', 0,
};

struct MemorySource {
    const std::uint8_t* data;
    std::size_t length;
    std::size_t position;
};

// Never reads beyond the given length: a short read is a decode error.
void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (count > source->length - source->position) {
        png_error(png, "read past the end of the data");
    }
    std::memcpy(out, source->data + source->position, count);
    source->position += count;
}

void readFromStream(png_structp png, png_bytep out, png_size_t count) {
    auto* stream = static_cast<std::istream*>(png_get_io_ptr(png));
    stream->read(reinterpret_cast<char*>(out), std::streamsize(count));
    if (std::size_t(stream->gcount()) != count) png_error(png, "read past the end of the file");
}

void ignoreWarning(png_structp, png_const_charp) {}

void raiseError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Everything the decode allocates lives here, outside the frame that setjmp saves, so that
// an error jumping back frees it all.
struct DecodeState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_infop endInfo = nullptr;
    std::unique_ptr<ImageBuffer> image;
    std::unique_ptr<png_bytep[]> rows;
};

// Runs the libpng read; returns false when libpng reports an error. No object with a
// destructor is created in this frame after setjmp.
bool runDecode(DecodeState* state, png_rw_ptr reader, void* io, int signatureBytesRead) {
    png_structp png = state->png;
    png_infop info = state->info;
    if (setjmp(png_jmpbuf(png))) return false;

    png_set_read_fn(png, io, reader);
    // Only the image matters here. Ancillary chunks libpng would otherwise read whole
    // (text, profiles, scale factors...) are skipped unread, so a hostile length cannot
    // turn into a huge allocation; unknown chunks likewise.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, ignoredChunks,
                                int(sizeof ignoredChunks / 5));
    png_set_chunk_malloc_max(png, 16u << 20);
    png_set_sig_bytes(png, signatureBytesRead);
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colourType = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, nullptr, nullptr, nullptr);
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF ||
        std::uint64_t(width) * height > std::uint64_t(ImageBuffer::maxPixels)) {
        return false;
    }

    // Expansion: palette to RGB, gray below 8 bits to 8, tRNS to an alpha channel; then
    // 16-bit channels scaled to 8, gray widened to RGB and an opaque filler for images that
    // still lack alpha, so every row arrives as R, G, B, A bytes.
    png_set_expand(png);
    if (bitDepth == 16) png_set_scale_16(png);
    if ((colourType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
    const bool hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 ||
                          png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (!hasAlpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != std::size_t(width) * 4) return false;

    state->image = ImageBuffer::create(std::int32_t(width), std::int32_t(height));
    if (!state->image) return false;
    state->rows.reset(new (std::nothrow) png_bytep[height]);
    if (!state->rows) return false;
    auto* base = reinterpret_cast<png_bytep>(state->image->pixels());
    for (png_uint_32 y = 0; y < height; ++y) {
        state->rows[y] = base + std::size_t(y) * width * 4;
    }
    png_read_image(png, state->rows.get());
    png_read_end(png, state->endInfo);
    return true;
}

// R, G, B, A bytes in place to A<<24 | R<<16 | G<<8 | B words.
void packRgbaBytes(ImageBuffer& image) {
    auto* bytes = reinterpret_cast<std::uint8_t*>(image.pixels());
    Pixel* words = image.pixels();
    const std::size_t n = std::size_t(image.width()) * std::size_t(image.height());
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t* p = bytes + i * 4;
        words[i] = Pixel(p[3]) << 24 | Pixel(p[0]) << 16 | Pixel(p[1]) << 8 | Pixel(p[2]);
    }
}

std::unique_ptr<ImageBuffer> decode(png_rw_ptr reader, void* io, int signatureBytesRead) {
    DecodeState state;
    state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, raiseError, ignoreWarning);
    if (!state.png) return nullptr;
    state.info = png_create_info_struct(state.png);
    state.endInfo = state.info ? png_create_info_struct(state.png) : nullptr;
    bool ok = state.info && state.endInfo && runDecode(&state, reader, io, signatureBytesRead);
    png_destroy_read_struct(&state.png, state.info ? &state.info : nullptr,
                            state.endInfo ? &state.endInfo : nullptr);
    if (!ok || !state.image) return nullptr;
    packRgbaBytes(*state.image);
    return std::move(state.image);
}

}  // namespace

bool hasPngSignature(const std::uint8_t* bytes, std::size_t length) {
    return bytes && length >= sizeof pngSignature &&
           std::memcmp(bytes, pngSignature, sizeof pngSignature) == 0;
}

std::unique_ptr<ImageBuffer> decodePngMemory(const std::uint8_t* bytes, std::size_t length) {
    if (!hasPngSignature(bytes, length)) return nullptr;
    MemorySource source{bytes, length, 0};
    return decode(readFromMemory, &source, 0);
}

std::unique_ptr<ImageBuffer> decodePngFile(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) return nullptr;
    std::uint8_t signature[8] = {};
    stream.read(reinterpret_cast<char*>(signature), sizeof signature);
    if (std::size_t(stream.gcount()) != sizeof signature ||
        !hasPngSignature(signature, sizeof signature)) {
        return nullptr;
    }
    return decode(readFromStream, &stream, 8);
}

}  // namespace Arbor::Graphics
