#pragma once
// What scripts read of the running program beyond their own character: the
// process-wide system variables (desktop rectangle and cursor), the clock and the
// frame's user input.
//
// Built-ins reach it through `parser.host()`. The program installs its host when it
// builds its frame thread (Common/FrameScriptHost); until then, and in tools, tests
// and loaders, the plain host below answers: every system variable 0, the clock read
// from the platform at each call, no user input.
//
// Adding a host service: declare a virtual here whose body is the plain answer (the
// built-in's failure value: 0, empty text, false, null), override it in the program's
// host, and call it from the built-in as `parser.host().service(...)`. The interpreter
// then still depends on nothing above it.
#include <optional>
#include <string>
#include <string_view>

#include "Source/Interpreter/LibraryClock.h"
#include "Source/Interpreter/Token.h"
#include "framework/Platform/Memory.h"

namespace Quenta::Interpreter {

class ScriptOwner;

enum class SystemVariable { Left, Top, Right, Bottom, Width, Height, MouseX, MouseY, Count };

// Looks a name up case-sensitively ("Left" ... "MouseY"); a script's bare identifier
// that no scope names is looked up here last.
std::optional<SystemVariable> findSystemVariable(std::u16string_view name);
std::u16string_view systemVariableName(SystemVariable variable);

class ScriptHost {
public:
    ScriptHost() = default;
    ScriptHost(const ScriptHost&) = delete;
    ScriptHost& operator=(const ScriptHost&) = delete;
    virtual ~ScriptHost() = default;

    virtual double systemVariable(SystemVariable) const { return 0.0; }
    // The date and time every script of the current frame sees.
    virtual ClockReading clock() const { return readLocalClock(); }
    // The text the frame loop took from the speech queue for the current frame.
    virtual std::u16string userInput() const { return {}; }

    // Begins the program's orderly exit, as the built-in Exit asks. Plain host: nothing
    // (a tool's script has no program to end).
    virtual void beginQuitting() {}
    // Records the system action to carry out after the orderly exit (1 shut down,
    // 2 reboot) and begins quitting. Plain host: nothing, so no script run outside the
    // program can end the session.
    virtual void requestSystemAction(int) {}
    // Starts a program for the calling character (null: none) and, once it has ended
    // and the character still exists, runs `completion` in it. The plain host starts
    // the program and forgets it. False when the request could not be made.
    virtual bool launchProgram(ScriptOwner* owner, std::u16string applicationName, std::u16string commandLine,
                               TokenLine completion);
    // The memory figures the memory built-ins read; the plain host asks the platform.
    virtual bool memoryStatus(Arbor::Platform::MemoryStatus& status) const;

    // The installed host, else the plain one. Safe from any thread.
    static ScriptHost& current();
    // Installs `host` for every parser. Done before the threads that run scripts
    // start; the host must stay alive until it is uninstalled.
    static void install(ScriptHost& host);
    // Puts the plain host back if `host` is the installed one.
    static void uninstall(const ScriptHost& host);
};

}  // namespace Quenta::Interpreter
