// Desktop built-ins: monitor power, the master volume, shutting down and rebooting
// after the program's orderly exit, start-up registration, the foreground program,
// Exit and the About box.
#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/LibraryArguments.h"
#include "Source/Interpreter/ProgramFacts.h"
#include "framework/Media/MasterVolume.h"
#include "framework/Platform/DisplayPower.h"
#include "framework/Platform/Folders.h"
#include "framework/Platform/Foreground.h"
#include "framework/Platform/KeyInput.h"
#include "framework/Platform/MessageBox.h"
#include "framework/Platform/NativePath.h"
#include "framework/Platform/Startup.h"

namespace Quenta::Interpreter {

namespace {

using Arbor::Platform::fromNativePath;

// The system actions of the orderly exit.
constexpr int shutdownAction = 1;
constexpr int rebootAction = 2;

std::u16string programPath() {
    const ProgramFacts facts = programFacts();
    return facts.programPath.empty() ? std::u16string() : fromNativePath(facts.programPath);
}

// A pointer move of no distance wakes monitors that sleep until input arrives.
Value* displayOnBuiltIn(Parser& parser, std::u16string_view) {
    const auto wake = Arbor::Platform::InjectedInput::mouse(Arbor::Platform::MouseMove);
    Arbor::Platform::keyInputService().send({&wake, 1});
    Arbor::Platform::displayPowerService().setDisplayPower(true);
    return parser.makeBool(false);
}

Value* displayOffBuiltIn(Parser& parser, std::u16string_view) {
    Arbor::Platform::displayPowerService().setDisplayPower(false);
    return parser.makeBool(false);
}

Value* getMasterVolumeBuiltIn(Parser& parser, std::u16string_view) { return parser.makeNum(Arbor::Media::masterVolume()); }

Value* setMasterVolumeBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* level = args.next();
    if (!level) return parser.makeBool(false);
    Arbor::Media::setMasterVolume(level->toNum());
    return parser.makeBool(true);
}

Value* isMasterMutedBuiltIn(Parser& parser, std::u16string_view) {
    return parser.makeBool(Arbor::Media::isMuted().value_or(false));
}

Value* masterMuteBuiltIn(Parser& parser, std::u16string_view) { return parser.makeBool(Arbor::Media::setMute(true)); }

Value* masterUnmuteBuiltIn(Parser& parser, std::u16string_view) { return parser.makeBool(Arbor::Media::setMute(false)); }

Value* systemShutdownBuiltIn(Parser& parser, std::u16string_view) {
    parser.host().requestSystemAction(shutdownAction);
    return parser.makeBool(false);
}

Value* systemRebootBuiltIn(Parser& parser, std::u16string_view) {
    parser.host().requestSystemAction(rebootAction);
    return parser.makeBool(false);
}

Value* exitBuiltIn(Parser& parser, std::u16string_view) {
    parser.host().beginQuitting();
    return parser.makeBool(false);
}

Value* registerStartupBuiltIn(Parser& parser, std::u16string_view) {
    const ProgramFacts facts = programFacts();
    if (!facts.programPath.empty()) {
        Arbor::Platform::startupService().registerProgram(fromNativePath(facts.programPath),
                                                          fromNativePath(facts.programDirectory));
    }
    return parser.makeBool(false);
}

Value* unregisterStartupBuiltIn(Parser& parser, std::u16string_view) {
    const std::u16string path = programPath();
    if (!path.empty()) Arbor::Platform::startupService().unregisterProgram(path);
    return parser.makeBool(false);
}

Value* isStartupRegisteredBuiltIn(Parser& parser, std::u16string_view) {
    const std::u16string path = programPath();
    return parser.makeBool(!path.empty() && Arbor::Platform::startupService().isProgramRegistered(path));
}

Value* foregroundProductNameBuiltIn(Parser& parser, std::u16string_view) {
    auto& foreground = Arbor::Platform::foregroundService();
    const auto executable = foreground.foregroundExecutable();
    return parser.makeStr(executable ? foreground.productName(*executable) : std::u16string());
}

Value* foregroundProcessNameBuiltIn(Parser& parser, std::u16string_view) {
    const auto executable = Arbor::Platform::foregroundService().foregroundExecutable();
    if (!executable) return parser.makeStr(u"");
    const std::size_t slash = executable->find_last_of(u"\\/");
    return parser.makeStr(slash == std::u16string::npos ? *executable : executable->substr(slash + 1));
}

// A process that cannot be inspected answers with the program's own path.
Value* foregroundProcessFileNameBuiltIn(Parser& parser, std::u16string_view) {
    const auto executable = Arbor::Platform::foregroundService().foregroundExecutable();
    if (executable) return parser.makeStr(*executable);
    const std::u16string own = programPath();
    return parser.makeStr(own.empty() ? Arbor::Platform::folderService().executablePath() : own);
}

Value* setForegroundWindowBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto path = args.nextText();
    if (!path || path->empty()) return parser.makeBool(false);
    Arbor::Platform::foregroundService().bringToFront(*path);
    return parser.makeBool(true);
}

// A small box with the display name, the version and the maker.
Value* showAboutDialogBuiltIn(Parser& parser, std::u16string_view) {
    const ProgramFacts facts = programFacts();
    std::u16string text = facts.displayName;
    if (!facts.productName.empty()) text += u" (" + facts.productName + u")";
    if (!facts.version.empty()) text += u"\nVersion " + facts.version;
    if (!facts.makerName.empty()) text += u"\n" + facts.makerName;
    Arbor::Platform::messageBoxService().show(Arbor::Platform::WindowHandle::None, text, facts.displayName,
                                              Arbor::Platform::MB_OK | Arbor::Platform::MB_ICONINFORMATION);
    return parser.makeBool(false);
}

}  // namespace

void registerDesktopBuiltIns(BuiltInTable& table) {
    table.add(u"DisplayOn", &displayOnBuiltIn);
    table.add(u"DisplayOff", &displayOffBuiltIn);
    table.add(u"GetMasterVolume", &getMasterVolumeBuiltIn);
    table.add(u"SetMasterVolume", &setMasterVolumeBuiltIn);
    table.add(u"IsMasterMuted", &isMasterMutedBuiltIn);
    table.add(u"MasterMute", &masterMuteBuiltIn);
    table.add(u"MasterUnmute", &masterUnmuteBuiltIn);
    table.add(u"SystemShutdown", &systemShutdownBuiltIn);
    table.add(u"SystemReboot", &systemRebootBuiltIn);
    table.add(u"Exit", &exitBuiltIn);
    table.add(u"RegisterStartup", &registerStartupBuiltIn);
    table.add(u"UnregisterStartup", &unregisterStartupBuiltIn);
    table.add(u"IsStartupRegistered", &isStartupRegisteredBuiltIn);
    table.add(u"GetForegroundProductName", &foregroundProductNameBuiltIn);
    table.add(u"GetForegroundProcessName", &foregroundProcessNameBuiltIn);
    table.add(u"GetForegroundProcessFileName", &foregroundProcessFileNameBuiltIn);
    table.add(u"SetForegroundWindow", &setForegroundWindowBuiltIn);
    table.add(u"ShowAboutDialog", &showAboutDialogBuiltIn);
}

}  // namespace Quenta::Interpreter
