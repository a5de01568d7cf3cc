#include "framework/Platform/NativePath.h"

namespace Arbor::Platform {

std::filesystem::path toNativePath(std::u16string_view systemPath) {
    std::u16string text(systemPath);
#ifndef _WIN32
    for (auto& c : text) {
        if (c == u'\\') c = u'/';
    }
#endif
    return std::filesystem::path(text);
}

std::u16string fromNativePath(const std::filesystem::path& native) {
    std::u16string text = native.u16string();
    for (auto& c : text) {
        if (c == u'/') c = u'\\';
    }
    return text;
}

}  // namespace Arbor::Platform
