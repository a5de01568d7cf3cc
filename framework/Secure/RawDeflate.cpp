#include "framework/Secure/RawDeflate.h"

#include <algorithm>
#include <climits>
#include <zlib.h>

namespace Arbor::Secure {

namespace {
constexpr std::size_t kStep = 16384;
// zlib counts in uInt; feed very large inputs in slices.
constexpr std::size_t kMaxSlice = UINT_MAX / 2;
}  // namespace

std::optional<std::vector<std::uint8_t>> inflateRaw(std::span<const std::uint8_t> stored,
                                                    std::size_t maxOutput) {
    z_stream zs{};
    if (inflateInit2(&zs, -15) != Z_OK) return std::nullopt;

    std::vector<std::uint8_t> out;
    std::size_t consumed = 0;
    int rc = Z_OK;
    while (true) {
        if (zs.avail_in == 0 && consumed < stored.size()) {
            const std::size_t slice = std::min(kMaxSlice, stored.size() - consumed);
            zs.next_in = const_cast<Bytef*>(stored.data() + consumed);
            zs.avail_in = static_cast<uInt>(slice);
            consumed += slice;
        }
        if (out.size() >= maxOutput) {
            rc = Z_MEM_ERROR;
            break;
        }
        const std::size_t step = std::min(kStep, maxOutput - out.size());
        const std::size_t before = out.size();
        out.resize(before + step);
        zs.next_out = out.data() + before;
        zs.avail_out = static_cast<uInt>(step);
        rc = inflate(&zs, Z_NO_FLUSH);
        out.resize(before + (step - zs.avail_out));
        if (rc == Z_STREAM_END) break;
        if (rc != Z_OK) break;  // corrupt data, or no progress possible (truncated)
    }
    inflateEnd(&zs);
    if (rc != Z_STREAM_END) return std::nullopt;
    return out;
}

std::optional<std::vector<std::uint8_t>> deflateRaw(std::span<const std::uint8_t> plain) {
    z_stream zs{};
    if (deflateInit2(&zs, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> out;
    std::size_t consumed = 0;
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        if (zs.avail_in == 0 && consumed < plain.size()) {
            const std::size_t slice = std::min(kMaxSlice, plain.size() - consumed);
            zs.next_in = const_cast<Bytef*>(plain.data() + consumed);
            zs.avail_in = static_cast<uInt>(slice);
            consumed += slice;
        }
        const int flush = (consumed == plain.size() && zs.avail_in == 0) ? Z_FINISH : Z_NO_FLUSH;
        const std::size_t before = out.size();
        out.resize(before + kStep);
        zs.next_out = out.data() + before;
        zs.avail_out = static_cast<uInt>(kStep);
        rc = deflate(&zs, flush);
        out.resize(before + (kStep - zs.avail_out));
        if (rc == Z_STREAM_ERROR) {
            deflateEnd(&zs);
            return std::nullopt;
        }
    }
    deflateEnd(&zs);
    return out;
}

std::uint32_t crc32Of(std::span<const std::uint8_t> bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t slice = std::min(kMaxSlice, bytes.size() - done);
        crc = crc32(crc, bytes.data() + done, static_cast<uInt>(slice));
        done += slice;
    }
    return static_cast<std::uint32_t>(crc);
}

}  // namespace Arbor::Secure
