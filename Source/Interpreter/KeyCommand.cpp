#include "Source/Interpreter/KeyCommand.h"

#include <chrono>
#include <string>
#include <thread>

#include "Source/Interpreter/KeyNames.h"

namespace Quenta::Interpreter {

using Arbor::Platform::InjectedInput;

std::optional<KeyCommand> parseKeyCommand(std::u16string_view text) {
    KeyCommand command;
    bool sawPress = false, sawRelease = false;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(u' ', start);
        if (end == std::u16string_view::npos) end = text.size();
        std::u16string piece(text.substr(start, end - start));
        start = end + 1;
        if (piece.empty()) continue;
        for (char16_t& c : piece) {
            if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
        }
        const auto code = KeyNames::codeOf(piece);
        if (!code) return std::nullopt;
        if (*code == KeyNames::Press) sawPress = true;
        else if (*code == KeyNames::Release) sawRelease = true;
        else command.codes.push_back(*code);
    }
    // One of the two alone picks its phase; neither or both send both.
    command.press = sawPress || !sawRelease;
    command.release = sawRelease || !sawPress;
    return command;
}

InjectedInput keyEventOf(int code, bool up) {
    using namespace Arbor::Platform;
    switch (code) {
        case 1: return InjectedInput::mouse(up ? MouseLeftUp : MouseLeftDown);
        case 2: return InjectedInput::mouse(up ? MouseRightUp : MouseRightDown);
        case 4: return InjectedInput::mouse(up ? MouseMiddleUp : MouseMiddleDown);
        case 5: return InjectedInput::mouse(up ? MouseXUp : MouseXDown, 1);
        case 6: return InjectedInput::mouse(up ? MouseXUp : MouseXDown, 2);
        default: return InjectedInput::key(code, up);
    }
}

std::uint32_t sendKeyCommand(const KeyCommand& command, const std::function<void(int)>& pause) {
    if (command.codes.empty()) return 0;
    Arbor::Platform::KeyInputService& input = Arbor::Platform::keyInputService();
    std::uint32_t accepted = 0;
    if (command.press) {
        for (std::size_t i = 0; i < command.codes.size(); ++i) {
            if (i > 0) pause(20);
            const InjectedInput event = keyEventOf(command.codes[i], false);
            accepted += input.send({&event, 1});
        }
    }
    if (command.press && command.release) pause(30);
    if (command.release) {
        std::vector<InjectedInput> events;
        for (auto it = command.codes.rbegin(); it != command.codes.rend(); ++it) events.push_back(keyEventOf(*it, true));
        accepted += input.send(events);
    }
    return accepted;
}

void sleepMilliseconds(int milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace Quenta::Interpreter
