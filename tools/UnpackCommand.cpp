// tavizo-tool unpack: writes the entries of a character package into a folder.
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "framework/Platform/NativePath.h"
#include "framework/Secure/EntryName.h"
#include "framework/Secure/PackageReader.h"
#include "framework/Secure/ResourceCache.h"
#include "framework/Secure/WholeFile.h"
#include "framework/Text/Utf.h"
#include "tools/ToolCommand.h"

namespace {

namespace fs = std::filesystem;

int runUnpack(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tavizo-tool unpack PKG DIR\n");
        return 2;
    }
    auto reader = Arbor::Secure::PackageReader::open(
        Arbor::Platform::fromNativePath(fs::path(Arbor::Text::fromUtf8(args[0]))),
        std::u16string(Arbor::Secure::kPackagePassword));
    if (!reader) {
        std::fprintf(stderr, "unpack: %s is not a readable package\n", args[0].c_str());
        return 1;
    }
    // Refuse the whole package before writing anything if one name would escape.
    for (const auto& entry : reader->entries()) {
        if (!Arbor::Secure::isSafeEntryName(entry.name)) {
            std::fprintf(stderr, "unpack: refused: entry name leaves the folder: %s\n",
                         Arbor::Text::toUtf8(entry.name).c_str());
            return 1;
        }
    }
    const fs::path dir(Arbor::Text::fromUtf8(args[1]));
    int status = 0;
    std::set<std::u16string> done;
    for (const auto& entry : reader->entries()) {
        const std::string shown = Arbor::Text::toUtf8(entry.name);
        // Readers take the first of equal names; so does unpacking.
        if (!done.insert(entry.name).second) {
            std::fprintf(stderr, "unpack: skipped repeated entry %s\n", shown.c_str());
            continue;
        }
        auto content = reader->decodeEntry(entry);
        if (content.status != Arbor::Secure::EntryContent::Status::Ok) {
            std::fprintf(stderr, "unpack: cannot read entry %s\n", shown.c_str());
            status = 1;
            continue;
        }
        const fs::path target = dir / Arbor::Platform::toNativePath(entry.name);
        std::error_code ec;
        fs::create_directories(target.parent_path(), ec);
        if (ec || !Arbor::Secure::writeWholeFile(target, content.bytes)) {
            std::fprintf(stderr, "unpack: cannot write %s\n", shown.c_str());
            status = 1;
        }
    }
    return status;
}

}  // namespace

TAVIZO_TOOL_COMMAND(unpack, "unpack PKG DIR", "writes the files of a character package into DIR", runUnpack);
