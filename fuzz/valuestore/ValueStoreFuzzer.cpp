// Feeds arbitrary bytes to the value-store loader. The first byte chooses whether the
// rest is a scrambled store file or unscrambled UTF-16LE text. Whatever loads must
// also survive being written and read back: same keys, same kinds, same texts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "Source/Interpreter/ValueStore.h"
#include "Source/Interpreter/ValueStoreFile.h"

using Quenta::Interpreter::TokenKind;
using Quenta::Interpreter::ValueStore;
namespace StoreFile = Quenta::Interpreter::ValueStoreFile;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::vector<std::uint8_t> bytes(data + 1, data + size);
    if ((data[0] & 1) == 0) {
        // Plain text: scramble it first so decode() gives it back.
        std::u16string text;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
        }
        bytes = StoreFile::encode(text);
    }
    ValueStore store;
    store.loadText(StoreFile::decode(bytes));

    ValueStore again;
    again.loadText(StoreFile::decode(StoreFile::encode(store.toText())));
    if (again.entries().size() != store.entries().size()) {
        std::abort();
    }
    for (const auto& [key, token] : store.entries()) {
        const auto* back = again.find(key);
        if (!back || back->kind != token.kind) {
            std::abort();
        }
        // Numbers are re-read from their decimal text and may differ in the last
        // digits; texts and truth values must come back exactly.
        if (token.kind != TokenKind::Number && back->text != token.text) {
            std::abort();
        }
    }
    return 0;
}
