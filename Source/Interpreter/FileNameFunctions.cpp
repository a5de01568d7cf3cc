#include "Source/Interpreter/FileNameFunctions.h"

namespace Quenta::Interpreter {

namespace {

bool isSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

std::size_t lastSeparator(std::u16string_view path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (isSeparator(path[i - 1])) {
            return i - 1;
        }
    }
    return std::u16string_view::npos;
}

}  // namespace

std::u16string fileNameOf(std::u16string_view path) {
    const auto separator = lastSeparator(path);
    return std::u16string(separator == std::u16string_view::npos ? path : path.substr(separator + 1));
}

std::u16string extensionOf(std::u16string_view path) {
    const auto name = fileNameOf(path);
    const auto dot = name.rfind(u'.');
    return dot == std::u16string::npos ? std::u16string() : name.substr(dot);
}

std::u16string fileNameWithoutExtensionOf(std::u16string_view path) {
    const auto name = fileNameOf(path);
    const auto dot = name.rfind(u'.');
    return dot == std::u16string::npos ? name : name.substr(0, dot);
}

std::u16string directoryNameOf(std::u16string_view path) {
    const auto separator = lastSeparator(path);
    if (separator == std::u16string_view::npos) {
        return {};
    }
    // Joining the remaining components with "\" is the part before the last
    // separator with every "/" turned into "\".
    std::u16string result(path.substr(0, separator));
    for (auto& c : result) {
        if (c == u'/') {
            c = u'\\';
        }
    }
    return result;
}

}  // namespace Quenta::Interpreter
