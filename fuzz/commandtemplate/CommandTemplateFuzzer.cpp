// Arbitrary bytes as a ".ctpl" file: the manager reads whatever it can; the template
// it then writes must read back to the same template.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Source/Data/Repository/CommandTemplateManager.h"
#include "Source/Data/Repository/RepositoryFiles.h"

using namespace Quenta::Data::Repository;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = decodeText(std::string_view(reinterpret_cast<const char*>(data), size));
    CommandTemplateManager manager;
    manager.loadText(text);
    const std::u16string written = manager.text();
    CommandTemplateManager again;
    again.loadText(written);
    if (again.version() != u"1.01" || again.text() != written || again.commandCount() != manager.commandCount()) {
        __builtin_trap();
    }
    for (const auto& [name, collection] : manager.categories()) {
        for (const auto& group : collection->groups()) {
            if (collection->findItem(group->identifier()) == nullptr) __builtin_trap();
        }
    }
    manager.renameFixedIdentifiers();
    return 0;
}
