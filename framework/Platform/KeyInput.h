#pragma once
// Injected key strokes and mouse buttons, as if the user made them: SendInput on Win32,
// the XTest extension on X11, a record (and the virtual key state) on the headless
// backend. Keys are named by Windows virtual-key codes on every backend.
#include <cstdint>
#include <memory>
#include <span>

namespace Arbor::Platform {

// Mouse event flags, as the system numbers them.
inline constexpr std::uint32_t MouseMove = 0x0001;
inline constexpr std::uint32_t MouseLeftDown = 0x0002;
inline constexpr std::uint32_t MouseLeftUp = 0x0004;
inline constexpr std::uint32_t MouseRightDown = 0x0008;
inline constexpr std::uint32_t MouseRightUp = 0x0010;
inline constexpr std::uint32_t MouseMiddleDown = 0x0020;
inline constexpr std::uint32_t MouseMiddleUp = 0x0040;
inline constexpr std::uint32_t MouseXDown = 0x0080;
inline constexpr std::uint32_t MouseXUp = 0x0100;

struct InjectedInput {
    enum class Kind : std::uint8_t { Key, Mouse };
    Kind kind = Kind::Key;
    // Key: the virtual-key code, and whether the key goes up.
    int virtualKey = 0;
    bool keyUp = false;
    // Mouse: the flags above and the X button (1 or 2); never any movement.
    std::uint32_t mouseFlags = 0;
    std::uint32_t mouseData = 0;

    static InjectedInput key(int code, bool up) { return {Kind::Key, code, up, 0, 0}; }
    static InjectedInput mouse(std::uint32_t flags, std::uint32_t data = 0) { return {Kind::Mouse, 0, false, flags, data}; }
    friend bool operator==(const InjectedInput&, const InjectedInput&) = default;
};

// Keys the system sends with the extended-key flag (the navigation block, the Windows
// keys, the numeric pad's divide and separator, NUMLOCK, the right-hand modifiers and
// the browser and media keys).
constexpr bool isExtendedKey(int code) {
    return (code >= 0x21 && code <= 0x2F) || (code >= 0x5B && code <= 0x5F) || code == 0x6C || code == 0x6F ||
           code == 0x90 || code == 0xA3 || (code >= 0xA5 && code <= 0xB7);
}

class KeyInputService {
public:
    virtual ~KeyInputService() = default;
    // Injects the events in order as one batch; the number the system accepted.
    virtual std::uint32_t send(std::span<const InjectedInput> events) = 0;
};

KeyInputService& keyInputService();

}  // namespace Arbor::Platform
