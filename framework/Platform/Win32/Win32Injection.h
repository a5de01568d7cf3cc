#pragma once
// Key input injected through SendInput, for tests of the Win32 backend (without
// system types).
namespace Arbor::Platform::Win32::Inspection {

// Presses and releases the key with that virtual-key code.
bool tapKey(int virtualKey);

}  // namespace Arbor::Platform::Win32::Inspection
