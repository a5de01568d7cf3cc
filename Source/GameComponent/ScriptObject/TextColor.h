#pragma once
// Colours as text layers take them from scripts and text styles: one of the sixteen
// basic colour names in any letter case, else a hexadecimal number, always made opaque.
#include <cstdint>
#include <string_view>

namespace Quenta::GameComponent {

// "red", "RED" -> 0xFFFF0000; "80FF0000" and "0x80ff0000" -> 0xFFFF0000 (alpha forced);
// a text the hexadecimal reading cannot start on ("#FF0000", "") -> 0xFF000000.
std::uint32_t parseTextColor(std::u16string_view text);

}  // namespace Quenta::GameComponent
