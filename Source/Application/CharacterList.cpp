#include "Source/Application/CharacterList.h"

#include <algorithm>
#include <system_error>

namespace Quenta::Application {

namespace {

char16_t capital(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool listedBefore(const std::u16string& a, const std::u16string& b) {
    const bool less = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                   [](char16_t x, char16_t y) { return capital(x) < capital(y); });
    const bool greater = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                                      [](char16_t x, char16_t y) { return capital(x) < capital(y); });
    return less || (!greater && a < b);
}

}  // namespace

std::vector<std::u16string> CharacterList::read(const std::filesystem::path& dataDirectory) {
    std::vector<std::u16string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(dataDirectory, ec);
    if (ec) return names;
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        const std::filesystem::directory_entry& entry = *it;
        std::u16string name;
        std::error_code typeError;
        if (entry.is_directory(typeError)) {
            name = entry.path().filename().u16string();
        } else {
            // The extension is the text from the last '.', so "a.b.qnd" is "a.b".
            const std::u16string file = entry.path().filename().u16string();
            const size_t dot = file.rfind(u'.');
            if (dot == std::u16string::npos || file.compare(dot, std::u16string::npos, u".qnd") != 0) continue;
            name = file.substr(0, dot);
        }
        if (name.empty() || name == u"." || name == u"..") continue;
        if (std::find(names.begin(), names.end(), name) != names.end()) continue;
        names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), listedBefore);
    if (names.size() > maxCharacters) names.resize(maxCharacters);
    return names;
}

}  // namespace Quenta::Application
