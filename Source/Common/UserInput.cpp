#include "Source/Common/UserInput.h"

#include <mutex>

namespace Quenta::Common {

namespace {
// Written by the frame thread, read by scripts on the same thread; the lock only
// guards against tools or tests that read it from elsewhere.
std::mutex& lock() {
    static std::mutex m;
    return m;
}
std::u16string& text() {
    static std::u16string t;
    return t;
}
}  // namespace

void UserInput::set(std::u16string value) {
    std::lock_guard guard(lock());
    text() = std::move(value);
}

std::u16string UserInput::get() {
    std::lock_guard guard(lock());
    return text();
}

}  // namespace Quenta::Common
