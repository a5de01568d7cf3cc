#pragma once
// The frame's user input: the recognised text the frame loop took from the speech
// queue at the start of the current frame (empty when none was waiting). Scripts read
// it through their user-input built-in during the same frame.
#include <string>

namespace Quenta::Common {

class UserInput {
public:
    static void set(std::u16string text);
    static std::u16string get();
};

}  // namespace Quenta::Common
