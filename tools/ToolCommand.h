#pragma once
// tavizo-tool commands register themselves here, one file per command, so that a new
// command is a new file and nothing else.
#include <functional>
#include <string>
#include <vector>

namespace Tool {

// Arguments after the command name, UTF-8. Returns the process exit code.
using CommandFunction = std::function<int(const std::vector<std::string>& args)>;

struct CommandInfo {
    std::string name;
    std::string usage;    // e.g. "eval LINE"
    std::string summary;  // one line for the help text
    CommandFunction run;
};

// Keeps the command for main(); returns true so it can initialise a static.
bool registerCommand(CommandInfo info);

const std::vector<CommandInfo>& commands();

}  // namespace Tool

// Usage, at namespace scope in a command's file:
//   TAVIZO_TOOL_COMMAND(eval, "eval LINE", "evaluates one script line", runEval);
#define TAVIZO_TOOL_COMMAND(id, usage, summary, fn) \
    static const bool tavizoToolCommand_##id = ::Tool::registerCommand({#id, usage, summary, fn})
