#pragma once
// A character's value store: named values that outlive the program once a script
// flushes them. Each entry is a token as the script lexer would read it back: NUMBER
// (value and its six-decimal text), STRING, or the keyword `true` / `false`.
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "Source/Interpreter/Token.h"

namespace Quenta::Interpreter {

class ValueStore {
public:
    using Map = std::map<std::u16string, Token, std::less<>>;

    ValueStore() = default;
    ValueStore(const ValueStore&) = delete;
    ValueStore& operator=(const ValueStore&) = delete;
    virtual ~ValueStore() = default;

    bool exists(std::u16string_view key) const;
    const Token* find(std::u16string_view key) const;
    // Each replaces an entry with the same key.
    void saveNumber(std::u16string_view key, double value);
    void saveString(std::u16string_view key, std::u16string_view text);
    void saveBool(std::u16string_view key, bool value);
    void erase(std::u16string_view key);
    void clear() { map_.clear(); }
    bool empty() const { return map_.empty(); }
    const Map& entries() const { return map_; }

    // The unscrambled file text: {"key":value,...} in key order. Keys and texts are
    // quoted so the lexer reads them back unchanged (see ValueStoreFile::quote).
    std::u16string toText() const;

    // Enters the entries of an unscrambled file text, replacing equal keys. Each entry
    // is cut into tokens by the script lexer; the first token's text is the key and
    // the last token the value, negated when the third token is a unary minus (that is
    // how "-2.000000" reads). Entries the lexer rejects, and entries whose value is not
    // a number, a text or a truth value, are skipped rather than failing the load.
    void loadText(std::u16string_view text);

    // Loads a store file (scrambled). A missing or unreadable file leaves the store as
    // it is and answers false.
    bool loadFile(const std::filesystem::path& file);

    // Writes the store to its file, replacing it whole: an empty store writes nothing
    // and keeps an existing file. The folder of the file is created when missing. False
    // when nothing was written (empty store included).
    bool flushToFile(const std::filesystem::path& file) const;

    // <writable base>/Params/<character name>.param.
    static std::filesystem::path storeFilePath(const std::filesystem::path& writableBase,
                                               std::u16string_view characterName);

private:
    Map map_;
};

}  // namespace Quenta::Interpreter
