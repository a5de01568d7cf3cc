#include "framework/Text/TextLines.h"

#include <string_view>

#include "framework/Text/Utf.h"

namespace Arbor::Text {

namespace {
bool startsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> prefix) {
    if (bytes.size() < prefix.size()) return false;
    std::size_t i = 0;
    for (auto b : prefix) {
        if (bytes[i++] != b) return false;
    }
    return true;
}

bool hasForeignByteOrderMark(std::span<const std::uint8_t> bytes) {
    // UTF-32 first: its little-endian mark begins with the UTF-16 one.
    return startsWith(bytes, {0xFF, 0xFE, 0x00, 0x00}) || startsWith(bytes, {0x00, 0x00, 0xFE, 0xFF}) ||
           startsWith(bytes, {0xFF, 0xFE}) || startsWith(bytes, {0xFE, 0xFF}) ||
           startsWith(bytes, {0x2B, 0x2F, 0x76, 0x38});
}

void trimLineEnd(std::u16string& line) {
    while (!line.empty() && (line.back() == u'\r' || line.back() == u'\n')) line.pop_back();
}
}  // namespace

std::vector<std::u16string> decodeTextLines(std::span<const std::uint8_t> bytes) {
    std::vector<std::u16string> lines;
    if (hasForeignByteOrderMark(bytes)) return lines;
    const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::u16string text = fromUtf8(skipUtf8Bom(raw));
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find(u'\n', pos);
        if (end == std::u16string::npos) end = text.find(u'\r', pos);
        if (end == std::u16string::npos) {
            std::u16string line = text.substr(pos);
            trimLineEnd(line);
            lines.push_back(std::move(line));
            break;
        }
        std::u16string line = text.substr(pos, end - pos);
        trimLineEnd(line);
        lines.push_back(std::move(line));
        pos = end + 1;
    }
    return lines;
}

}  // namespace Arbor::Text
