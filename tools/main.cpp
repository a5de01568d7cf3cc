// tavizo-tool: authoring and inspection commands for character authors.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/ToolCommand.h"

namespace Tool {

namespace {
std::vector<CommandInfo>& registry() {
    static std::vector<CommandInfo> list;
    return list;
}

void printUsage(std::FILE* out) {
    std::fprintf(out, "usage: tavizo-tool COMMAND [ARGS...]\n\ncommands:\n");
    auto list = registry();
    std::sort(list.begin(), list.end(),
              [](const CommandInfo& a, const CommandInfo& b) { return a.name < b.name; });
    for (const auto& c : list) {
        std::fprintf(out, "  %-36s %s\n", c.usage.c_str(), c.summary.c_str());
    }
}
}  // namespace

bool registerCommand(CommandInfo info) {
    registry().push_back(std::move(info));
    return true;
}

const std::vector<CommandInfo>& commands() { return registry(); }

}  // namespace Tool

int main(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "help") {
        Tool::printUsage(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    const std::string name = argv[1];
    for (const auto& c : Tool::commands()) {
        if (c.name == name) {
            return c.run(std::vector<std::string>(argv + 2, argv + argc));
        }
    }
    std::fprintf(stderr, "tavizo-tool: unknown command '%s'\n", name.c_str());
    Tool::printUsage(stderr);
    return 2;
}
