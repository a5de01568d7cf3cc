// System built-ins: programs, documents and URLs, the program's folders, the default
// browser and mailer, the clipboard, the recycle bin and the memory figures. Each
// reaches the platform through its service, so the headless backend records what a
// script did and the desktop backends do it.
#include "Source/Interpreter/ActionCapture.h"
#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/LibraryArguments.h"
#include "Source/Interpreter/ProgramFacts.h"
#include "Source/Interpreter/ScriptException.h"
#include "Source/Interpreter/ScriptMessages.h"
#include "framework/Platform/Clipboard.h"
#include "framework/Platform/Folders.h"
#include "framework/Platform/ProgramLocation.h"
#include "framework/Platform/NativePath.h"
#include "framework/Platform/RecycleBin.h"
#include "framework/Platform/Shell.h"

namespace Quenta::Interpreter {

namespace {

using Arbor::Platform::fromNativePath;

std::u16string systemText(const std::filesystem::path& path) { return path.empty() ? std::u16string() : fromNativePath(path); }

bool programDirectoryIsWritable(const ProgramFacts& facts) {
    return Arbor::Platform::programDirectoryTakesWrites(facts.programDirectory);
}

// CreateProcess(path [, arguments [, completion]]): the completion is captured, not
// evaluated, and runs in the character once the program has ended.
Value* createProcessBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto path = args.nextText();
    if (!path) return parser.makeBool(false);
    const auto arguments = args.nextText();
    TokenLine completion;
    if (parser.currentToken().kind == TokenKind::Comma) {
        parser.nextToken();
        completion = captureAction(parser, !path->empty());
    } else if (parser.currentToken().kind != TokenKind::CloseParen) {
        throw ScriptException(Messages::builtInMalformed(name));
    }
    if (path->empty()) return parser.makeBool(false);
    std::u16string commandLine;
    if (arguments) commandLine = u"\"" + *path + u"\" " + *arguments;
    parser.host().launchProgram(parser.owner(), *path, std::move(commandLine), std::move(completion));
    return parser.makeBool(true);
}

// "~" alone or before a separator stands for the user's home folder, as users write it
// in their voice-command settings; no shell of either platform reads it so.
std::u16string expandHome(const std::u16string& file) {
    if (file.empty() || file[0] != u'~' || (file.size() > 1 && file[1] != u'/' && file[1] != u'\\')) return file;
    const std::u16string home = Arbor::Platform::folderService().homeFolder();
    return home.empty() ? file : home + file.substr(1);
}

Value* executeBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto file = args.nextText();
    const auto parameters = args.nextText();
    if (!file || file->empty()) return parser.makeBool(false);
    Arbor::Platform::shellService().open(expandHome(*file), parameters.value_or(u""));
    return parser.makeBool(true);
}

Value* urlBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto url = args.nextText();
    if (!url || url->empty()) return parser.makeBool(false);
    Arbor::Platform::shellService().open(*url, u"");
    return parser.makeBool(true);
}

Value* emptyRecycleBinBuiltIn(Parser& parser, std::u16string_view) {
    Arbor::Platform::recycleBinService().empty();
    return parser.makeNum(0);
}

// The recogniser marks sentences with "<s>" and "</s>"; one of each is dropped.
Value* setTextInClipboardBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    auto text = args.nextText();
    if (!text) return parser.makeBool(false);
    if (text->starts_with(u"<s>")) text->erase(0, 3);
    if (text->ends_with(u"</s>")) text->erase(text->size() - 4);
    Arbor::Platform::clipboardService().setText(*text);
    return parser.makeBool(false);
}

Value* processDirectoryBuiltIn(Parser& parser, std::u16string_view) {
    return parser.makeStr(systemText(programFacts().programDirectory));
}

Value* appDataDirectoryBuiltIn(Parser& parser, std::u16string_view) {
    return parser.makeStr(systemText(programFacts().perUserDirectory));
}

Value* storeDirectoryBuiltIn(Parser& parser, std::u16string_view) {
    const ProgramFacts facts = programFacts();
    return parser.makeStr(systemText(programDirectoryIsWritable(facts) ? facts.programDirectory : facts.perUserDirectory));
}

Value* objectDirectoryBuiltIn(Parser& parser, std::u16string_view) {
    ScriptOwner* owner = parser.owner();
    return parser.makeStr(owner ? systemText(owner->dataDirectory()) : std::u16string());
}

Value* objectStoreDirectoryBuiltIn(Parser& parser, std::u16string_view) {
    ScriptOwner* owner = parser.owner();
    if (!owner) return parser.makeStr(u"");
    const ProgramFacts facts = programFacts();
    if (programDirectoryIsWritable(facts)) return parser.makeStr(systemText(owner->dataDirectory()));
    if (facts.perUserDirectory.empty() || owner->ownerName().empty()) return parser.makeStr(u"");
    return parser.makeStr(systemText(facts.perUserDirectory / "Data" / std::filesystem::path(owner->ownerName())));
}

Value* defaultBrowserBuiltIn(Parser& parser, std::u16string_view) {
    return parser.makeStr(Arbor::Platform::shellService().defaultHandlerExecutable(u"http"));
}

Value* defaultMailerBuiltIn(Parser& parser, std::u16string_view) {
    return parser.makeStr(Arbor::Platform::shellService().defaultHandlerExecutable(u"mailto"));
}

// Sizes in MiB, truncated; an unknown key (letter case counts) gives the memory load.
double memoryFigure(const Arbor::Platform::MemoryStatus& s, std::u16string_view key) {
    const auto mib = [](std::uint64_t bytes) { return static_cast<double>(bytes >> 20); };
    const auto used = [&](std::uint64_t total, std::uint64_t available) {
        return mib(total > available ? total - available : 0);
    };
    if (key == u"Total") return mib(s.totalPhysical);
    if (key == u"Free") return mib(s.availablePhysical);
    if (key == u"Used") return used(s.totalPhysical, s.availablePhysical);
    if (key == u"TotalPageFile") return mib(s.totalPageFile);
    if (key == u"FreePageFile") return mib(s.availablePageFile);
    if (key == u"UsedPageFile") return used(s.totalPageFile, s.availablePageFile);
    if (key == u"TotalVirtual") return mib(s.totalVirtual);
    if (key == u"FreeVirtual") return mib(s.availableVirtual);
    if (key == u"UsedVirtual") return used(s.totalVirtual, s.availableVirtual);
    if (key == u"FreeExtendedVirtual") return mib(s.availableExtendedVirtual);
    return s.memoryLoad;
}

Value* memoryStatusBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto key = args.nextText();
    Arbor::Platform::MemoryStatus status;
    parser.host().memoryStatus(status);  // unreadable figures stay 0
    return parser.makeNum(memoryFigure(status, key.value_or(u"UsageRate")));
}

Value* cpuStatusBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    args.next();
    return parser.makeNum(0);
}

}  // namespace

void registerSystemBuiltIns(BuiltInTable& table) {
    table.add(u"CreateProcess", &createProcessBuiltIn);
    table.add(u"Execute", &executeBuiltIn);
    table.add(u"Url", &urlBuiltIn);
    table.add(u"EmptyRecycleBin", &emptyRecycleBinBuiltIn);
    table.add(u"SetTextInClipboard", &setTextInClipboardBuiltIn);
    table.add(u"GetProcessDirectory", &processDirectoryBuiltIn);
    table.add(u"GetAppDataDirectory", &appDataDirectoryBuiltIn);
    table.add(u"GetStoreDirectory", &storeDirectoryBuiltIn);
    table.add(u"GetObjectDirectory", &objectDirectoryBuiltIn);
    table.add(u"GetObjectStoreDirectory", &objectStoreDirectoryBuiltIn);
    table.add(u"GetDefaultBrowserPath", &defaultBrowserBuiltIn);
    table.add(u"GetDefaultMailerPath", &defaultMailerBuiltIn);
    table.add(u"GetMemoryStatus", &memoryStatusBuiltIn);
    table.add(u"GetCPUStatus", &cpuStatusBuiltIn);
}

}  // namespace Quenta::Interpreter
