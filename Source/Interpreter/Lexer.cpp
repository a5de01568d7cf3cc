#include "Source/Interpreter/Lexer.h"

#include <atomic>

#include "Source/Interpreter/NumberText.h"
#include "Source/Interpreter/ScriptException.h"

namespace Quenta::Interpreter {

std::uint64_t newLookupStamp() {
    static std::atomic<std::uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

const Token& endToken() {
    static const Token end{TokenKind::Invalid, 0.0, std::u16string()};
    return end;
}

std::vector<std::u16string> cleanLines(const std::vector<std::u16string>& rawLines,
                                       std::vector<std::size_t>* startLines) {
    std::vector<std::u16string> out;
    bool inString = false;
    long depth = 0;
    std::u16string buffer;
    std::size_t start = 0;
    bool fresh = true;
    for (std::size_t lineIndex = 0; lineIndex < rawLines.size(); ++lineIndex) {
        const std::u16string& raw = rawLines[lineIndex];
        if (fresh) {
            start = lineIndex;
            fresh = false;
        }
        const size_t n = raw.size();
        bool continued = false;  // an unknown escape carries the buffer over
        for (size_t i = 0; i < n; ++i) {
            const char16_t c = raw[i];
            if (c == u'"') {
                inString = !inString;
                buffer.push_back(c);
                continue;
            }
            if (inString) {
                if (c == u'\\' && i + 1 < n && (raw[i + 1] == u'"' || raw[i + 1] == u'\\')) {
                    buffer.push_back(c);
                    buffer.push_back(raw[i + 1]);
                    ++i;
                } else {
                    buffer.push_back(c);
                }
                continue;
            }
            if (c == u' ' || c == u'\t') {
                continue;
            }
            if (c == u'#') {
                if (i + 1 < n && raw[i + 1] == u'#') {
                    break;
                }
                continue;
            }
            if (c == u'\\') {
                const char16_t next = i + 1 < n ? raw[i + 1] : u'\0';
                char16_t decoded = 0;
                switch (next) {
                case u'"': decoded = u'"'; break;
                case u'#': decoded = u'#'; break;
                case u'\\': decoded = u'\\'; break;
                case u'n': decoded = u'\n'; break;
                case u's': decoded = u' '; break;
                case u't': decoded = u'\t'; break;
                default: continued = true; break;
                }
                if (continued) {
                    break;
                }
                buffer.push_back(decoded);
                ++i;
                continue;
            }
            if (c == u'(') {
                ++depth;
            } else if (c == u')') {
                --depth;
            }
            buffer.push_back(c);
        }
        if (!continued && depth == 0) {
            out.push_back(std::move(buffer));
            buffer.clear();
            if (startLines) startLines->push_back(start);
            fresh = true;
        }
    }
    return out;
}

namespace {

bool isNameChar(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'_';
}
bool isNameStart(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

Token kindToken(TokenKind kind) {
    return Token(kind, 0.0, std::u16string(tokenKindText(kind)));
}

bool startsWith(std::u16string_view line, size_t pos, std::u16string_view text) {
    return line.size() - pos >= text.size() && line.compare(pos, text.size(), text) == 0;
}

// Applies the sign-folding rule for a "+" or "-" read from the source.
void pushSign(TokenLine& tokens, bool minus) {
    if (tokens.empty()) {
        tokens.push_back(kindToken(minus ? TokenKind::UnaryMinus : TokenKind::UnaryPlus));
        return;
    }
    const TokenKind p = tokens.back().kind;
    const bool pPlus = p == TokenKind::Plus || p == TokenKind::UnaryPlus;
    const bool pMinus = p == TokenKind::Minus || p == TokenKind::UnaryMinus;
    if (!minus && (pPlus || pMinus)) {
        return;  // "+" after a sign changes nothing
    }
    if (minus && pPlus) {
        tokens.back() = kindToken(p == TokenKind::Plus ? TokenKind::Minus : TokenKind::UnaryMinus);
        return;
    }
    if (minus && pMinus) {
        tokens.back() = kindToken(p == TokenKind::Minus ? TokenKind::Plus : TokenKind::UnaryPlus);
        return;
    }
    const bool binary = p == TokenKind::Identifier || p == TokenKind::Number ||
                        p == TokenKind::String || p == TokenKind::Variable ||
                        p == TokenKind::CloseParen || isKeyword(p);
    if (binary) {
        tokens.push_back(kindToken(minus ? TokenKind::Minus : TokenKind::Plus));
    } else {
        tokens.push_back(kindToken(minus ? TokenKind::UnaryMinus : TokenKind::UnaryPlus));
    }
}

std::u16string unescape(std::u16string_view body) {
    std::u16string out;
    out.reserve(body.size());
    for (size_t i = 0; i < body.size(); ++i) {
        char16_t c = body[i];
        if (c == u'\\' && i + 1 < body.size()) {
            const char16_t next = body[++i];
            switch (next) {
            case u'n': c = u'\n'; break;
            case u's': c = u' '; break;
            case u't': c = u'\t'; break;
            default: c = next; break;  // \" \# \\ and any other: the character stays
            }
        }
        out.push_back(c);
    }
    return out;
}

}  // namespace

TokenLine tokenizeLine(std::u16string_view line) {
    if (const size_t nul = line.find(u'\0'); nul != std::u16string_view::npos) {
        line = line.substr(0, nul);
    }
    TokenLine tokens;
    const size_t n = line.size();
    size_t pos = 0;
    while (pos < n) {
        const char16_t c = line[pos];

        // 1. Keywords, in table order.
        bool matched = false;
        for (int k = kindIndex(TokenKind::KwNumber); k <= kindIndex(TokenKind::KwReturn); ++k) {
            const auto kind = static_cast<TokenKind>(k);
            const std::u16string_view text = tokenKindText(kind);
            if (startsWith(line, pos, text) &&
                (pos + text.size() >= n || !isNameChar(line[pos + text.size()]))) {
                tokens.push_back(kindToken(kind));
                pos += text.size();
                matched = true;
                break;
            }
        }
        if (matched) {
            continue;
        }

        // 2. Variables: "$" and a possibly empty name.
        if (c == u'$') {
            size_t end = pos + 1;
            while (end < n && isNameChar(line[end])) {
                ++end;
            }
            tokens.emplace_back(TokenKind::Variable, 0.0, std::u16string(line.substr(pos, end - pos)));
            pos = end;
            continue;
        }

        // 3. Identifiers.
        if (isNameStart(c)) {
            size_t end = pos + 1;
            while (end < n && isNameChar(line[end])) {
                ++end;
            }
            tokens.emplace_back(TokenKind::Identifier, 0.0, std::u16string(line.substr(pos, end - pos)));
            pos = end;
            continue;
        }

        // 4. Numbers, unless they would follow an operand directly.
        const TokenKind previous = tokens.empty() ? TokenKind::Invalid : tokens.back().kind;
        const bool afterOperand = previous == TokenKind::Identifier || previous == TokenKind::Number ||
                                  previous == TokenKind::String || previous == TokenKind::Variable;
        if (!afterOperand && (isDigit(c) || (c == u'.' && pos + 1 < n && isDigit(line[pos + 1])))) {
            size_t end = pos;
            bool seenPoint = false;
            while (end < n && (isDigit(line[end]) || (line[end] == u'.' && !seenPoint))) {
                if (line[end] == u'.') {
                    seenPoint = true;
                }
                ++end;
            }
            if (end < n && (line[end] == u'E' || line[end] == u'e')) {
                ++end;
                if (end < n && (line[end] == u'+' || line[end] == u'-')) {
                    ++end;
                }
                while (end < n && isDigit(line[end])) {
                    ++end;
                }
            }
            std::u16string text(line.substr(pos, end - pos));
            const double value = stringToNumber(text, 0.0);
            tokens.emplace_back(TokenKind::Number, value, std::move(text));
            pos = end;
            continue;
        }

        // 5. Operators, longest heads first by table order; signs fold.
        for (int k = kindIndex(TokenKind::Equal); k <= kindIndex(TokenKind::Question); ++k) {
            const auto kind = static_cast<TokenKind>(k);
            const std::u16string_view text = tokenKindText(kind);
            if (startsWith(line, pos, text)) {
                if (kind == TokenKind::Plus || kind == TokenKind::Minus) {
                    pushSign(tokens, kind == TokenKind::Minus);
                } else {
                    tokens.push_back(kindToken(kind));
                }
                pos += text.size();
                matched = true;
                break;
            }
        }
        if (matched) {
            continue;
        }

        // 6. Separators.
        TokenKind separator = TokenKind::Invalid;
        switch (c) {
        case u';': separator = TokenKind::Semicolon; break;
        case u',': separator = TokenKind::Comma; break;
        case u':': separator = TokenKind::Colon; break;
        case u'(': separator = TokenKind::OpenParen; break;
        case u')': separator = TokenKind::CloseParen; break;
        case u'[': separator = TokenKind::OpenBracket; break;
        case u']': separator = TokenKind::CloseBracket; break;
        default: break;
        }
        if (separator != TokenKind::Invalid) {
            tokens.push_back(kindToken(separator));
            ++pos;
            continue;
        }

        // 7. String literals.
        if (c == u'"') {
            size_t end = pos + 1;
            while (end < n && line[end] != u'"') {
                if (line[end] == u'\\' && end + 1 < n && (line[end + 1] == u'"' || line[end + 1] == u'\\')) {
                    end += 2;
                } else {
                    ++end;
                }
            }
            if (end >= n) {
                throw ScriptException(u"\"で閉じられていない文字列があります。");
            }
            tokens.emplace_back(TokenKind::String, 0.0, unescape(line.substr(pos + 1, end - pos - 1)));
            pos = end + 1;
            continue;
        }

        // 8. Blanks; anything else starts no token.
        if (c == u' ' || c == u'\t') {
            while (pos < n && (line[pos] == u' ' || line[pos] == u'\t')) {
                ++pos;
            }
            continue;
        }
        throw ScriptException(u"不正な値が設定されています。");
    }
    return tokens;
}

}  // namespace Quenta::Interpreter
