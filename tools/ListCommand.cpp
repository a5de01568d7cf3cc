// tavizo-tool list: one line per entry of a character package.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/Platform/NativePath.h"
#include "framework/Secure/PackageReader.h"
#include "framework/Secure/ResourceCache.h"
#include "framework/Text/Utf.h"
#include "tools/ToolCommand.h"

namespace {

std::string compressionName(std::uint16_t value) {
    if (value == Arbor::Secure::kStored) return "stored";
    if (value == Arbor::Secure::kDeflated) return "deflate";
    return "unknown-" + std::to_string(value);
}

std::string enciphermentName(std::uint16_t value) {
    if (value == Arbor::Secure::kEnciphered) return "enciphered";
    if (value == 0) return "plain";
    return "plain-" + std::to_string(value);
}

std::string statusName(Arbor::Secure::EntryContent::Status status) {
    using Status = Arbor::Secure::EntryContent::Status;
    switch (status) {
        case Status::Ok: return "crc-ok";
        case Status::CrcMismatch: return "crc-bad";
        case Status::OutsideFile: return "outside-file";
        case Status::BadCompression: return "bad-compression";
        case Status::InflateFailed: return "inflate-failed";
        case Status::NotFound: break;
    }
    return "not-found";
}

// Columns, tab-separated: name, stored size, plain size ("-" when the entry does not
// decode), compression, encipherment, and whether the CRC holds (or why it was not
// reached).
int runList(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tavizo-tool list PKG\n");
        return 2;
    }
    auto reader = Arbor::Secure::PackageReader::open(
        Arbor::Platform::fromNativePath(std::filesystem::path(Arbor::Text::fromUtf8(args[0]))),
        std::u16string(Arbor::Secure::kPackagePassword));
    if (!reader) {
        std::fprintf(stderr, "list: %s is not a readable package\n", args[0].c_str());
        return 1;
    }
    for (const auto& entry : reader->entries()) {
        const auto content = reader->decodeEntry(entry);
        const bool ok = content.status == Arbor::Secure::EntryContent::Status::Ok;
        std::printf("%s\t%u\t%s\t%s\t%s\t%s\n", Arbor::Text::toUtf8(entry.name).c_str(),
                    static_cast<unsigned>(entry.storedSize), ok ? std::to_string(content.bytes.size()).c_str() : "-",
                    compressionName(entry.compression).c_str(), enciphermentName(entry.encipherment).c_str(),
                    statusName(content.status).c_str());
    }
    return 0;
}

}  // namespace

TAVIZO_TOOL_COMMAND(list, "list PKG", "lists the entries of a character package", runList);
