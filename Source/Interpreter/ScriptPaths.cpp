#include "Source/Interpreter/ScriptPaths.h"

#include "Source/Interpreter/Parser.h"
#include "framework/Platform/NativePath.h"

namespace Quenta::Interpreter {

std::filesystem::path resolveScriptPath(const Parser& parser, std::u16string_view path) {
    std::filesystem::path native = Arbor::Platform::toNativePath(path);
    if (native.is_absolute() || native.has_root_path()) return native;
    const ScriptOwner* owner = parser.owner();
    const std::filesystem::path folder = owner ? owner->dataDirectory() : std::filesystem::path();
    return folder.empty() ? native : folder / native;
}

}  // namespace Quenta::Interpreter
