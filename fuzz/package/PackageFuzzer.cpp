// Arbitrary bytes as a character package: opening and reading every entry must not
// crash, read outside the input, allocate without bound or hang.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Secure/PackageReader.h"
#include "framework/Secure/ResourceCache.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    auto reader = Arbor::Secure::PackageReader::openMemory(std::move(bytes),
                                                           std::u16string(Arbor::Secure::kPackagePassword));
    if (!reader) return 0;
    for (const auto& entry : reader->entries()) {
        auto content = reader->decodeEntry(entry);
        if (content.status != Arbor::Secure::EntryContent::Status::Ok && !content.bytes.empty()) __builtin_trap();
        (void)reader->readEntry(entry.name);
    }
    (void)reader->readEntry(u"main.func");
    return 0;
}
