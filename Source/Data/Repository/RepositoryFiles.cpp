#include "Source/Data/Repository/RepositoryFiles.h"

#include <cstdint>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "framework/Platform/NativePath.h"
#include "framework/Secure/WholeFile.h"
#include "framework/Text/Utf.h"

namespace Quenta::Data::Repository {

namespace {
bool startsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

bool hasForeignByteOrderMark(std::string_view bytes) {
    using namespace std::string_view_literals;
    return startsWith(bytes, "\xFF\xFE"sv) || startsWith(bytes, "\xFE\xFF"sv) ||
           startsWith(bytes, "\x00\x00\xFE\xFF"sv) || startsWith(bytes, "\x2B\x2F\x76"sv);
}
}  // namespace

std::u16string decodeText(std::string_view bytes) {
    if (hasForeignByteOrderMark(bytes)) return {};
    return Arbor::Text::fromUtf8(Arbor::Text::skipUtf8Bom(bytes));
}

std::optional<std::u16string> readTextFile(const std::filesystem::path& path) {
    const auto bytes = Arbor::Secure::readWholeFile(path);
    if (!bytes) return std::nullopt;
    const std::string_view raw(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    if (hasForeignByteOrderMark(raw)) return std::nullopt;
    return decodeText(raw);
}

bool writeTextFile(const std::filesystem::path& path, std::u16string_view text) {
    std::string bytes = "\xEF\xBB\xBF";
    bytes += Arbor::Text::toUtf8(text);
    return Arbor::Secure::writeWholeFile(
        path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::u16string extensionOf(const std::filesystem::path& path) {
    const std::u16string name = Arbor::Platform::fromNativePath(path.filename());
    const std::size_t dot = name.rfind(u'.');
    return dot == std::u16string::npos ? std::u16string() : name.substr(dot);
}

bool isRegularFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace Quenta::Data::Repository
