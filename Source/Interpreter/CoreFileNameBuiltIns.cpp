// File-name functions: GetFileName, GetExtension, GetDirectoryName,
// GetFileNameWithoutExtension, FileExists. Paths are system paths ("\" separated);
// FileExists maps them to the host's form, so character data written on Windows
// works unchanged elsewhere.
#include <filesystem>
#include <system_error>

#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/FileNameFunctions.h"
#include "Source/Interpreter/LibraryArguments.h"
#include "framework/Platform/NativePath.h"

namespace Quenta::Interpreter {

namespace {

template <std::u16string (*Part)(std::u16string_view)>
Value* pathPartBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* path = args.next();
    return parser.makeStr(path ? Part(path->toStr()) : std::u16string());
}

Value* fileExistsBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* path = args.next();
    if (!path) {
        return parser.makeBool(false);
    }
    const std::u16string text = path->toStr();
    if (text.empty()) {
        return parser.makeBool(false);
    }
    std::error_code error;
    return parser.makeBool(std::filesystem::exists(Arbor::Platform::toNativePath(text), error));
}

}  // namespace

void registerCoreFileNameBuiltIns(BuiltInTable& table) {
    table.add(u"GetFileName", &pathPartBuiltIn<&fileNameOf>);
    table.add(u"GetExtension", &pathPartBuiltIn<&extensionOf>);
    table.add(u"GetDirectoryName", &pathPartBuiltIn<&directoryNameOf>);
    table.add(u"GetFileNameWithoutExtension", &pathPartBuiltIn<&fileNameWithoutExtensionOf>);
    table.add(u"FileExists", &fileExistsBuiltIn);
}

}  // namespace Quenta::Interpreter
