#include "Source/Interpreter/ActionCommand.h"

#include <bit>
#include <cstdint>

namespace Quenta::Interpreter {

namespace {

std::u16string hexOf(std::uint64_t value) {
    std::u16string text(16, u'0');
    for (int i = 15; i >= 0; --i, value >>= 4) text[static_cast<std::size_t>(i)] = u"0123456789abcdef"[value & 15];
    return text;
}

std::optional<std::uint64_t> parseHex(const std::u16string& text) {
    if (text.empty() || text.size() > 16) return std::nullopt;
    std::uint64_t value = 0;
    for (char16_t c : text) {
        int digit = c >= u'0' && c <= u'9' ? c - u'0' : c >= u'a' && c <= u'f' ? c - u'a' + 10 : -1;
        if (digit < 0) return std::nullopt;
        value = value << 4 | static_cast<std::uint64_t>(digit);
    }
    return value;
}

}  // namespace

std::vector<std::u16string> encodeActionCommand(const TokenLine& action) {
    std::vector<std::u16string> command{std::u16string(actionCommandMark)};
    for (const Token& token : action) {
        command.push_back(hexOf(static_cast<std::uint64_t>(token.kind)));
        command.push_back(hexOf(std::bit_cast<std::uint64_t>(token.number)));
        command.push_back(token.text);
    }
    return command;
}

std::optional<TokenLine> decodeActionCommand(const std::vector<std::u16string>& command) {
    if (command.empty() || command[0] != actionCommandMark || (command.size() - 1) % 3 != 0) return std::nullopt;
    TokenLine action;
    for (std::size_t i = 1; i < command.size(); i += 3) {
        const auto kind = parseHex(command[i]);
        const auto number = parseHex(command[i + 1]);
        if (!kind || !number || *kind > static_cast<std::uint64_t>(TokenKind::Invalid)) return std::nullopt;
        action.emplace_back(static_cast<TokenKind>(*kind), std::bit_cast<double>(*number), command[i + 2]);
    }
    return action;
}

}  // namespace Quenta::Interpreter
