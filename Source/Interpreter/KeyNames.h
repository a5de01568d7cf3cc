#pragma once
// The key-name table of key commands and macros: upper-case names of the Windows
// virtual-key codes (plus the two pseudo-keys PRESS and RELEASE), and the name of every
// code for display, "VK_0x.." where the table has none.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Quenta::Interpreter::KeyNames {

inline constexpr int Press = 0x88;
inline constexpr int Release = 0x89;

// The code of a table name (exact, upper case); nothing for names not in the table,
// the display-only "VK_0x.." names included.
std::optional<int> codeOf(std::u16string_view name);
// The name of a code 0..255 (empty outside that range).
std::u16string_view nameOf(int code);
// The mouse buttons among the codes: 1, 2, 4, 5 and 6.
constexpr bool isMouseButton(int code) { return code == 1 || code == 2 || code == 4 || code == 5 || code == 6; }

}  // namespace Quenta::Interpreter::KeyNames
