#include "framework/Platform/Shell.h"

namespace Arbor::Platform {

std::u16string executableOfOpenCommand(std::u16string_view command) {
    const std::size_t open = command.find(u'"');
    if (open == std::u16string_view::npos) return {};
    const std::size_t close = command.find(u'"', open + 1);
    if (close == std::u16string_view::npos) return {};
    std::u16string path(command.substr(open + 1, close - open - 1));
    if (path.size() < 4) return {};
    std::u16string extension = path.substr(path.size() - 4);
    for (char16_t& c : extension) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return extension == u".exe" ? path : std::u16string();
}

}  // namespace Arbor::Platform
