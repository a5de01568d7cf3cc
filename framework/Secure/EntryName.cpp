#include "framework/Secure/EntryName.h"

namespace Arbor::Secure {

bool isSafeEntryName(std::u16string_view name) {
    if (name.empty()) return false;
    std::size_t partLength = 0;
    std::size_t partStart = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        const char16_t c = i < name.size() ? name[i] : u'\\';
        if (c == u':' || c == 0) return false;
        if (c == u'\\' || c == u'/') {
            const std::u16string_view part = name.substr(partStart, partLength);
            if (part.empty() || part == u"." || part == u"..") return false;
            partStart = i + 1;
            partLength = 0;
        } else {
            ++partLength;
        }
    }
    return true;
}

}  // namespace Arbor::Secure
