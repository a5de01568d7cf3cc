#pragma once
// Message texts shared by the lexer, the evaluator and the statement runner. They are
// shown to character authors exactly as written here.
#include <string>
#include <string_view>

namespace Quenta::Interpreter::Messages {

inline constexpr std::u16string_view kInvalidValue = u"不正な値が設定されています。";
inline constexpr std::u16string_view kInvalidOperation = u"不正な演算が行われました。";
inline constexpr std::u16string_view kDivisionByZero = u"0除算がされています。";
inline constexpr std::u16string_view kAssignToVoid = u"型が無い値に代入処理が行われました。";
inline constexpr std::u16string_view kTooManyTemporaries = u"許容量を超えた式があります。";
inline constexpr std::u16string_view kParenNotClosed = u" ')' が閉じられていません。";
inline constexpr std::u16string_view kBracketNotClosed = u" ']' が閉じられていません。";

inline std::u16string cannotAssign(std::u16string_view text) {
    return std::u16string(u"'").append(text).append(u"'には代入できません。");
}
inline std::u16string unknownBuiltIn(std::u16string_view name) {
    return std::u16string(u"存在しない命令").append(name).append(u"が呼び出されています。");
}
inline std::u16string builtInNotClosed(std::u16string_view name) {
    return std::u16string(u"呼び出された命令").append(name).append(u"が')'で閉じられていません。");
}
inline std::u16string builtInMalformed(std::u16string_view name) {
    return std::u16string(u"呼び出された命令").append(name).append(u"の記述が不正です。");
}
inline std::u16string invalidName(std::u16string_view name) {
    return std::u16string(u"不正な値 '").append(name).append(u"' が設定されています。");
}
inline std::u16string unknownVariable(std::u16string_view name) {
    return std::u16string(u"変数'").append(name).append(u"'が見つかりません。");
}

}  // namespace Quenta::Interpreter::Messages
