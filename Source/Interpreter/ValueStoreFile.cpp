#include "Source/Interpreter/ValueStoreFile.h"

#include <zlib.h>

#include <fstream>
#include <system_error>

#include "framework/Numeric/Scramble.h"
#include "framework/Secure/ResourceCache.h"

namespace Quenta::Interpreter::ValueStoreFile {

namespace {

std::vector<std::uint8_t> toUtf16Le(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

}  // namespace

std::uint32_t scrambleSeed() {
    static const std::uint32_t seed = [] {
        const auto bytes = toUtf16Le(Arbor::Secure::kPackagePassword);
        uLong crc = crc32(0L, Z_NULL, 0);
        crc = crc32(crc, bytes.data(), static_cast<uInt>(bytes.size()));
        return static_cast<std::uint32_t>(crc);
    }();
    return seed;
}

std::vector<std::uint8_t> encode(std::u16string_view text) {
    auto bytes = toUtf16Le(text);
    Arbor::Numeric::scramble(bytes.data(), bytes.size(), scrambleSeed());
    return bytes;
}

std::u16string decode(std::vector<std::uint8_t> bytes) {
    Arbor::Numeric::scramble(bytes.data(), bytes.size(), scrambleSeed());
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    return text;
}

std::u16string quote(std::u16string_view text) {
    std::u16string quoted;
    quoted.reserve(text.size() + 2);
    quoted.push_back(u'"');
    for (char16_t c : text) {
        if (c == u'"' || c == u'\\') {
            quoted.push_back(u'\\');
        }
        quoted.push_back(c);
    }
    quoted.push_back(u'"');
    return quoted;
}

std::vector<std::u16string> splitEntries(std::u16string_view text) {
    std::vector<std::u16string> entries;
    const auto open = text.find(u'{');
    const auto close = text.rfind(u'}');
    if (open == std::u16string_view::npos || close == std::u16string_view::npos || close < open) {
        return entries;
    }
    const auto body = text.substr(open + 1, close - open - 1);
    std::u16string piece;
    bool inString = false;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char16_t c = body[i];
        if (inString && c == u'\\' && i + 1 < body.size() && (body[i + 1] == u'"' || body[i + 1] == u'\\')) {
            piece.push_back(c);
            piece.push_back(body[++i]);
            continue;
        }
        if (c == u'"') {
            inString = !inString;
        } else if (c == u',' && !inString) {
            entries.push_back(std::move(piece));
            piece.clear();
            continue;
        }
        piece.push_back(c);
    }
    entries.push_back(std::move(piece));
    return entries;
}

bool readBytes(const std::filesystem::path& file, std::vector<std::uint8_t>& bytes) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return false;
    }
    // Read in blocks rather than by size: the file may change while it is read.
    bytes.clear();
    char block[65536];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        bytes.insert(bytes.end(), block, block + in.gcount());
    }
    return !in.bad();
}

bool writeBytesAtomically(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
    auto temporary = file;
    temporary += ".tmp";
    std::error_code error;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            return false;
        }
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::filesystem::remove(temporary, error);
            return false;
        }
        out.close();
        if (out.fail()) {
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, file, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

}  // namespace Quenta::Interpreter::ValueStoreFile
