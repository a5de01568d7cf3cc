// tavizo-tool lint: loads a character's definition as the host does and reports either
// the record counts or the host's error message with where it arose.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Source/Interpreter/ScriptException.h"
#include "Source/Script/F/DefinitionLoader.h"
#include "Source/Script/F/ReferenceCheck.h"
#include "Source/Script/F/RegisterKind.h"
#include "framework/Platform/NativePath.h"
#include "framework/Secure/ResourceCache.h"
#include "framework/Text/Utf.h"
#include "tools/ToolCommand.h"

namespace {

using Quenta::Script::checkRecordReferences;

// PATH is a character folder or its ".qnd" package; the cache wants the folder path
// either way (it opens folder + ".qnd" itself).
std::u16string dataFolderOf(const std::string& argument) {
    std::filesystem::path path = std::filesystem::path(Arbor::Text::fromUtf8(argument)).lexically_normal();
    // "folder/" names the folder itself.
    if (path.filename().empty() && path.has_parent_path()) path = path.parent_path();
    std::u16string ext = path.extension().u16string();
    for (auto& c : ext) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    if (ext == u".qnd") path.replace_extension();
    return Arbor::Platform::fromNativePath(path);
}

int runLint(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tavizo-tool lint PATH\n");
        return 2;
    }
    const std::filesystem::path given(Arbor::Text::fromUtf8(args[0]));
    std::error_code ec;
    if (!std::filesystem::exists(given, ec)) {
        std::fprintf(stderr, "lint: %s does not exist\n", args[0].c_str());
        return 1;
    }
    Arbor::Secure::ResourceCache cache(dataFolderOf(args[0]), std::u16string(Arbor::Secure::kPackagePassword));
    Quenta::Script::CacheDefinitionSource source(cache);
    Quenta::Script::DefinitionLoader loader(source);
    std::u16string where;
    try {
        const auto data = loader.load();
        // The host checks these when the character starts or the names are used; an
        // author wants them now.
        where = u"no INITIAL_REG block in any .func file";
        data->initialRecord();
        where.clear();
        checkRecordReferences(*data, &where);
        std::printf("ok\n");
        for (int kind = 0; kind < Quenta::Script::kRegisterKindCount; ++kind) {
            const auto count = data->indexList(static_cast<Quenta::Script::RegisterKind>(kind)).size();
            if (count == 0) continue;
            std::printf("%s %zu\n", Arbor::Text::toUtf8(Quenta::Script::registerName(kind)).c_str(), count);
        }
        return 0;
    } catch (const Quenta::Interpreter::ScriptException& e) {
        std::printf("%s\n", e.what());
        if (where.empty()) where = loader.where();
        if (where.empty() && loader.files().empty()) where = u"no .func file";
        std::printf("%s\n", where.empty() ? "(no location)" : Arbor::Text::toUtf8(where).c_str());
        return 1;
    }
}

}  // namespace

TAVIZO_TOOL_COMMAND(lint, "lint PATH", "checks a character folder or package as the host loads it", runLint);
