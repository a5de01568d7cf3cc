#pragma once
// Runs the built tavizo-tool and captures its output.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/ShellCommand.h"

namespace ToolTesting {

struct ToolResult {
    int exitCode = -1;
    std::string out;
};

using Testing::shellQuote;

// args are passed to the shell quoted one by one.
inline ToolResult runTool(const std::vector<std::string>& args, const std::filesystem::path& scratch) {
    std::string command = shellQuote(TAVIZO_TOOL_PATH);
    for (const auto& a : args) command += " " + shellQuote(a);
    const auto outFile = scratch / "tool-output.txt";
    command += " > " + shellQuote(outFile.string()) + " 2>&1";
#ifdef _WIN32
    // cmd /c drops the first and last quote of a line that begins with one: wrap it.
    command = "\"" + command + "\"";
#endif
    ToolResult result;
    const int raw = std::system(command.c_str());
#ifdef _WIN32
    result.exitCode = raw;
#else
    // A POSIX wait status: the exit code sits in the second byte of a normal exit.
    result.exitCode = (raw != -1 && (raw & 0x7F) == 0) ? ((raw >> 8) & 0xFF) : -1;
#endif
    // Read (and closed) before the removal: Windows refuses to delete an open file.
    result.out = Testing::readWholeFile(outFile);
#ifdef _WIN32
    // A Windows console program writes "\r\n"; the expectations use "\n".
    std::erase(result.out, '\r');
#endif
    std::error_code ignored;
    std::filesystem::remove(outFile, ignored);
    return result;
}

}  // namespace ToolTesting
