#include "Source/Interpreter/StringFunctions.h"

namespace Quenta::Interpreter {

std::int64_t indexOfStr(std::u16string_view text, std::u16string_view pattern, std::int64_t start) {
    if (start < 0) {
        start = 0;
    }
    if (static_cast<std::uint64_t>(start) > text.size()) {
        return -1;
    }
    const auto found = text.find(pattern, static_cast<std::size_t>(start));
    return found == std::u16string_view::npos ? -1 : static_cast<std::int64_t>(found);
}

std::u16string subStr(std::u16string_view text, std::int64_t start, std::int64_t length) {
    if (length <= 0 || start < 0 || static_cast<std::uint64_t>(start) >= text.size()) {
        return {};
    }
    return std::u16string(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length)));
}

std::u16string replaceStr(std::u16string_view text, std::u16string_view from, std::u16string_view to) {
    if (from.empty()) {
        return std::u16string(text);
    }
    std::u16string result;
    std::size_t position = 0;
    while (true) {
        const auto found = text.find(from, position);
        if (found == std::u16string_view::npos) {
            break;
        }
        result.append(text.substr(position, found - position));
        result.append(to);
        position = found + from.size();
    }
    result.append(text.substr(position));
    return result;
}

namespace {

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

}  // namespace

std::u16string trimBlanks(std::u16string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return std::u16string(text.substr(begin, end - begin));
}

std::vector<std::u16string> splitTrimmed(std::u16string_view list) {
    std::vector<std::u16string> pieces;
    std::size_t position = 0;
    while (true) {
        const auto comma = list.find(u',', position);
        if (comma == std::u16string_view::npos) {
            pieces.push_back(trimBlanks(list.substr(position)));
            return pieces;
        }
        pieces.push_back(trimBlanks(list.substr(position, comma - position)));
        position = comma + 1;
    }
}

std::u16string normaliseKeyword(std::u16string_view text) {
    auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && blank(text[begin])) {
        ++begin;
    }
    while (end > begin && blank(text[end - 1])) {
        --end;
    }
    std::u16string result(text.substr(begin, end - begin));
    for (auto& c : result) {
        if (c >= u'a' && c <= u'z') {
            c = static_cast<char16_t>(c - u'a' + u'A');
        }
    }
    return result;
}

}  // namespace Quenta::Interpreter
