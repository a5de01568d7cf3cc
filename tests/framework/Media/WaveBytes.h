#pragma once
// Builds wave file bytes chunk by chunk for the tests.
#include <cstdint>
#include <string>
#include <vector>

namespace WaveBytes {

inline void put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(std::uint8_t(v & 0xFF));
    out.push_back(std::uint8_t((v >> 8) & 0xFF));
}
inline void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t((v >> (8 * i)) & 0xFF));
}
inline void putTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(tag[i]));
}

inline void putChunk(std::vector<std::uint8_t>& out, const char* tag, const std::vector<std::uint8_t>& body) {
    putTag(out, tag);
    put32(out, std::uint32_t(body.size()));
    for (std::uint8_t b : body) out.push_back(b);
}

struct Format {
    unsigned tag = 1, channels = 1, rate = 8000, bits = 8;
};

// The "fmt " body: 16 bytes, or 18 + extra bytes with the extra-size word.
inline std::vector<std::uint8_t> fmtBody(const Format& f, bool withExtraSize, unsigned extra = 0) {
    std::vector<std::uint8_t> b;
    const unsigned align = f.channels * f.bits / 8;
    put16(b, f.tag);
    put16(b, f.channels);
    put32(b, f.rate);
    put32(b, f.rate * align);
    put16(b, align);
    put16(b, f.bits);
    if (withExtraSize) {
        put16(b, extra);
        for (unsigned i = 0; i < extra; ++i) b.push_back(0xEE);
    }
    return b;
}

inline std::vector<std::uint8_t> samples(std::size_t n) {
    std::vector<std::uint8_t> s(n);
    for (std::size_t i = 0; i < n; ++i) s[i] = std::uint8_t(i * 7 + 3);
    return s;
}

// "RIFF" size "WAVE" followed by the given chunks (already encoded).
inline std::vector<std::uint8_t> riff(const std::vector<std::uint8_t>& chunks) {
    std::vector<std::uint8_t> out;
    putTag(out, "RIFF");
    put32(out, std::uint32_t(chunks.size() + 4));
    putTag(out, "WAVE");
    for (std::uint8_t b : chunks) out.push_back(b);
    return out;
}

// A plain PCM file: 16-byte "fmt " then "data".
inline std::vector<std::uint8_t> simpleWave(const Format& f, std::size_t dataBytes) {
    std::vector<std::uint8_t> chunks;
    putChunk(chunks, "fmt ", fmtBody(f, false));
    putChunk(chunks, "data", samples(dataBytes));
    return riff(chunks);
}

}  // namespace WaveBytes
