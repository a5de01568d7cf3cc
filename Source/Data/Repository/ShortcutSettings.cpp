#include "Source/Data/Repository/ShortcutSettings.h"

#include "Source/Data/Repository/RepositoryFiles.h"

namespace Quenta::Data::Repository::ShortcutSettings {

namespace {
std::u16string_view trimBlanks(std::u16string_view text) {
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}
}  // namespace

std::vector<std::u16string> splitLines(std::u16string_view text) {
    std::vector<std::u16string> lines;
    if (text.empty()) return lines;
    const bool hasLineFeed = text.find(u'\n') != std::u16string_view::npos;
    const char16_t separator = hasLineFeed ? u'\n' : u'\r';
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(separator, start);
        if (end == std::u16string_view::npos) end = text.size();
        std::u16string_view line = text.substr(start, end - start);
        if (hasLineFeed && !line.empty() && line.back() == u'\r') line.remove_suffix(1);
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

std::optional<Setting> parseLine(std::u16string_view line) {
    if (line.empty() || line.front() != u'$') return std::nullopt;
    const std::size_t equals = line.find(u'=');
    Setting setting;
    setting.identifier = std::u16string(trimBlanks(line.substr(0, equals)));
    std::u16string_view value =
        equals == std::u16string_view::npos ? std::u16string_view() : line.substr(equals + 1);
    const std::size_t comment = value.find(u"##");
    if (comment != std::u16string_view::npos) value = value.substr(0, comment);
    value = trimBlanks(value);
    while (!value.empty() && value.front() == u'"') value.remove_prefix(1);
    while (!value.empty() && value.back() == u'"') value.remove_suffix(1);
    setting.value = unescape(value);
    return setting;
}

std::vector<Setting> parseLines(const std::vector<std::u16string>& lines) {
    std::vector<Setting> settings;
    for (const std::u16string& line : lines) {
        if (auto setting = parseLine(line)) settings.push_back(std::move(*setting));
    }
    return settings;
}

std::u16string escape(std::u16string_view value) {
    std::u16string out;
    out.reserve(value.size());
    for (const char16_t c : value) {
        switch (c) {
        case u'\t': out += u"\\t"; break;
        case u'\n': out += u"\\n"; break;
        case u'"': out += u"\\\""; break;
        case u'\\': out += u"\\\\"; break;
        case u'#': out += u"\\#"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::u16string unescape(std::u16string_view value) {
    std::u16string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char16_t c = value[i];
        if (c != u'\\' || i + 1 == value.size()) {
            // A lone backslash at the very end has nothing to escape and is dropped.
            if (c != u'\\') out += c;
            continue;
        }
        const char16_t next = value[++i];
        switch (next) {
        case u'n': out += u'\n'; break;
        case u's': out += u' '; break;
        case u't': out += u'\t'; break;
        default: out += next; break;  // \" \# \\ and any other: the character itself
        }
    }
    return out;
}

std::u16string formatLine(std::u16string_view identifier, std::u16string_view value) {
    std::u16string line(identifier);
    line += u"=\"";
    line += escape(value);
    line += u'"';
    return line;
}

bool writeLines(const std::filesystem::path& path, const std::vector<std::u16string>& lines) {
    std::u16string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += u"\r\n";
        text += lines[i];
    }
    return writeTextFile(path, text);
}

}  // namespace Quenta::Data::Repository::ShortcutSettings
