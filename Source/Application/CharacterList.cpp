#include "Source/Application/CharacterList.h"

#include <algorithm>
#include <system_error>

namespace Quenta::Application {

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
        if (names.size() == maxCharacters) break;
    }
    return names;
}

}  // namespace Quenta::Application
