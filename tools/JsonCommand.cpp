// tavizo-tool json: reads a UTF-8 JSON file and prints it again.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Json/JsonDocument.h"
#include "framework/Secure/WholeFile.h"
#include "framework/Text/Utf.h"
#include "tools/ToolCommand.h"

namespace {

// Prints the compact layout (followed by a line break for the terminal) or, with
// --indent, the indented one; "invalid" and exit code 1 when the file does not parse.
int runJson(const std::vector<std::string>& args) {
    bool indent = false;
    std::vector<std::string> positional;
    for (const auto& a : args) {
        if (a == "--indent") {
            indent = true;
        } else if (a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "json: unknown option %s\n", a.c_str());
            return 2;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 1) {
        std::fprintf(stderr, "usage: tavizo-tool json FILE [--indent]\n");
        return 2;
    }
    auto bytes = Arbor::Secure::readWholeFile(std::filesystem::path(Arbor::Text::fromUtf8(positional[0])));
    if (!bytes) {
        std::fprintf(stderr, "json: cannot read %s\n", positional[0].c_str());
        return 1;
    }
    const std::string_view raw(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    auto root = Arbor::Json::parse(Arbor::Text::fromUtf8(Arbor::Text::skipUtf8Bom(raw)));
    if (!root) {
        std::printf("invalid\n");
        return 1;
    }
    std::string out = Arbor::Text::toUtf8(Arbor::Json::write(*root, !indent));
    if (!indent) out.push_back('\n');
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

}  // namespace

TAVIZO_TOOL_COMMAND(json, "json FILE [--indent]", "prints a JSON file in the compact or indented layout", runJson);
