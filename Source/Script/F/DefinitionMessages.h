#pragma once
// Texts of the definition loader's script errors.
#include <string>
#include <string_view>

namespace Quenta::Script::Messages {

inline std::u16string duplicateName(std::u16string_view name) {
    return std::u16string(name) + u"が重複しています。";
}
inline std::u16string unknownRecord(std::u16string_view name) {
    return std::u16string(name) + u"は存在しません。";
}
inline constexpr std::u16string_view kNoInitialRecord = u"Initial 関数が存在しません。";
inline std::u16string missingFile(std::u16string_view fileName) {
    return std::u16string(fileName) + u" が見つかりません。";
}
// A block the loader cannot name: no Config section, or no FuncName in it.
inline std::u16string blockWithoutName(std::u16string_view registerName) {
    return std::u16string(registerName) + u" のブロックに FuncName が設定されていません。";
}

}  // namespace Quenta::Script::Messages
