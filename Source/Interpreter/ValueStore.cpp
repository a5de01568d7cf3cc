#include "Source/Interpreter/ValueStore.h"

#include <cmath>
#include <limits>
#include <system_error>
#include <vector>

#include "Source/Interpreter/Lexer.h"
#include "Source/Interpreter/NumberFormat.h"
#include "Source/Interpreter/ScriptException.h"
#include "Source/Interpreter/ValueStoreFile.h"
#include "framework/Platform/NativePath.h"

namespace Quenta::Interpreter {

namespace {

Token numberToken(double value) {
    return Token(TokenKind::Number, value, formatFixed(value, 6));
}

Token boolToken(bool value) {
    const auto kind = value ? TokenKind::KwTrue : TokenKind::KwFalse;
    return Token(kind, 0.0, std::u16string(tokenKindText(kind)));
}

// "%.6f" writes infinities and NaN as words, which the lexer reads as identifiers;
// take them back as the numbers they were written from.
bool nonFiniteWord(const Token& token, double& value) {
    if (token.kind != TokenKind::Identifier) {
        return false;
    }
    if (token.text == u"inf") {
        value = std::numeric_limits<double>::infinity();
        return true;
    }
    if (token.text == u"nan") {
        value = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    return false;
}

}  // namespace

bool ValueStore::exists(std::u16string_view key) const {
    return map_.find(key) != map_.end();
}

const Token* ValueStore::find(std::u16string_view key) const {
    const auto it = map_.find(key);
    return it == map_.end() ? nullptr : &it->second;
}

void ValueStore::saveNumber(std::u16string_view key, double value) {
    map_.insert_or_assign(std::u16string(key), numberToken(value));
}

void ValueStore::saveString(std::u16string_view key, std::u16string_view text) {
    map_.insert_or_assign(std::u16string(key), Token(TokenKind::String, 0.0, std::u16string(text)));
}

void ValueStore::saveBool(std::u16string_view key, bool value) {
    map_.insert_or_assign(std::u16string(key), boolToken(value));
}

void ValueStore::erase(std::u16string_view key) {
    const auto it = map_.find(key);
    if (it != map_.end()) {
        map_.erase(it);
    }
}

std::u16string ValueStore::toText() const {
    std::u16string text = u"{";
    bool first = true;
    for (const auto& [key, token] : map_) {
        if (!first) {
            text.push_back(u',');
        }
        first = false;
        text += ValueStoreFile::quote(key);
        text.push_back(u':');
        switch (token.kind) {
        case TokenKind::String:
            text += ValueStoreFile::quote(token.text);
            break;
        case TokenKind::Number:
            text += token.text;
            break;
        default:
            // Only `true` and `false` are left: the store holds nothing else.
            text += token.text;
            break;
        }
    }
    text.push_back(u'}');
    return text;
}

void ValueStore::loadText(std::u16string_view text) {
    for (const auto& entry : ValueStoreFile::splitEntries(text)) {
        TokenLine tokens;
        try {
            tokens = tokenizeLine(entry);
        } catch (const ScriptException&) {
            continue;
        }
        if (tokens.empty()) {
            continue;
        }
        Token value = tokens.back();
        double nonFinite = 0.0;
        if (nonFiniteWord(value, nonFinite)) {
            value = Token(TokenKind::Number, nonFinite, value.text);
        }
        if (tokens.size() >= 3 && tokens[2].kind == TokenKind::UnaryMinus) {
            if (value.kind != TokenKind::Number) {
                continue;
            }
            value = numberToken(-value.number);
        }
        if (value.kind != TokenKind::Number && value.kind != TokenKind::String && value.kind != TokenKind::KwTrue &&
            value.kind != TokenKind::KwFalse) {
            continue;
        }
        map_.insert_or_assign(tokens.front().text, std::move(value));
    }
}

bool ValueStore::loadFile(const std::filesystem::path& file) {
    std::vector<std::uint8_t> bytes;
    if (!ValueStoreFile::readBytes(file, bytes)) {
        return false;
    }
    loadText(ValueStoreFile::decode(std::move(bytes)));
    return true;
}

bool ValueStore::flushToFile(const std::filesystem::path& file) const {
    if (map_.empty()) {
        return false;
    }
    std::error_code error;
    const auto folder = file.parent_path();
    if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
        std::filesystem::create_directories(folder, error);
        if (!std::filesystem::is_directory(folder, error)) {
            return false;
        }
    }
    return ValueStoreFile::writeBytesAtomically(file, ValueStoreFile::encode(toText()));
}

std::filesystem::path ValueStore::storeFilePath(const std::filesystem::path& writableBase,
                                               std::u16string_view characterName) {
    std::u16string fileName(characterName);
    fileName += u".param";
    return writableBase / "Params" / Arbor::Platform::toNativePath(fileName);
}

}  // namespace Quenta::Interpreter
