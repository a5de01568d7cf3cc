// tavizo-tool pack: makes a character package from a folder.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "framework/Platform/NativePath.h"
#include "framework/Secure/PackageWriter.h"
#include "framework/Secure/ResourceCache.h"
#include "framework/Secure/WholeFile.h"
#include "framework/Text/Utf.h"
#include "tools/ToolCommand.h"

namespace {

namespace fs = std::filesystem;

int runPack(const std::vector<std::string>& args) {
    bool compress = true;
    bool encipher = true;
    std::vector<std::string> positional;
    for (const auto& a : args) {
        if (a == "--store") {
            compress = false;
        } else if (a == "--plain") {
            encipher = false;
        } else if (a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "pack: unknown option %s\n", a.c_str());
            return 2;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2) {
        std::fprintf(stderr, "usage: tavizo-tool pack DIR OUT.qnd [--store] [--plain]\n");
        return 2;
    }
    const fs::path dir(Arbor::Text::fromUtf8(positional[0]));
    const fs::path out(Arbor::Text::fromUtf8(positional[1]));
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
        std::fprintf(stderr, "pack: %s is not a folder\n", positional[0].c_str());
        return 1;
    }
    // An earlier package written into the folder itself is not packed again.
    const fs::path outFull = fs::weakly_canonical(out, ec);

    std::vector<fs::path> files;
    for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        std::error_code same;
        if (!outFull.empty() && fs::weakly_canonical(it->path(), same) == outFull) continue;
        files.push_back(it->path());
    }
    if (ec) {
        std::fprintf(stderr, "pack: cannot list %s: %s\n", positional[0].c_str(), ec.message().c_str());
        return 1;
    }
    std::sort(files.begin(), files.end());

    Arbor::Secure::PackageWriter writer{std::u16string(Arbor::Secure::kPackagePassword)};
    for (const auto& file : files) {
        const std::u16string name = Arbor::Platform::fromNativePath(file.lexically_relative(dir));
        auto bytes = Arbor::Secure::readWholeFile(file);
        if (!bytes) {
            std::fprintf(stderr, "pack: cannot read %s\n", Arbor::Text::toUtf8(name).c_str());
            return 1;
        }
        if (!writer.add(name, *bytes, compress, encipher)) {
            std::fprintf(stderr, "pack: cannot add %s (package too large?)\n", Arbor::Text::toUtf8(name).c_str());
            return 1;
        }
    }
    if (!writer.writeTo(out)) {
        std::fprintf(stderr, "pack: cannot write %s\n", positional[1].c_str());
        return 1;
    }
    std::printf("%zu files packed\n", writer.count());
    return 0;
}

}  // namespace

TAVIZO_TOOL_COMMAND(pack, "pack DIR OUT.qnd [--store] [--plain]",
                    "packs every file under DIR into a character package", runPack);
