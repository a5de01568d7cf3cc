#pragma once
// Entry names of packages are paths relative to the folder a package stands for.
#include <string_view>

namespace Arbor::Secure {

// Whether a name stays inside the folder it is written into: not absolute, no drive or
// stream (":"), no NUL, and no empty, "." or ".." component. Both '\' and '/' count as
// separators, since either one separates on some system.
bool isSafeEntryName(std::u16string_view name);

}  // namespace Arbor::Secure
