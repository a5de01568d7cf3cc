#pragma once
// Key commands: a line of key names ("CTRL C", "PRESS SHIFT") sent to the foreground
// window at once. Each name is looked up upper-cased; PRESS and RELEASE choose the
// phases instead of being sent.
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "framework/Platform/KeyInput.h"

namespace Quenta::Interpreter {

struct KeyCommand {
    std::vector<int> codes;  // in text order
    bool press = true;
    bool release = true;
    friend bool operator==(const KeyCommand&, const KeyCommand&) = default;
};

// Nothing when a piece is not a key name (then nothing may be sent at all).
std::optional<KeyCommand> parseKeyCommand(std::u16string_view text);

// The event that presses or releases a code: a mouse event for the mouse buttons, a
// key event otherwise.
Arbor::Platform::InjectedInput keyEventOf(int code, bool up);

// Sends the command through the platform's key input: the press phase one key per
// call with `pause(20)` between them, `pause(30)` between the phases when both run,
// then every release in one call, last pressed first. The number of events accepted.
std::uint32_t sendKeyCommand(const KeyCommand& command, const std::function<void(int milliseconds)>& pause);

// Sleeps the calling thread.
void sleepMilliseconds(int milliseconds);

}  // namespace Quenta::Interpreter
