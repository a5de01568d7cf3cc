#include "Source/Application/FatalError.h"

#include <cstdlib>
#include <mutex>

#include "Source/Application/ApplicationMessageBox.h"
#include "framework/Platform/MessageBox.h"

namespace Quenta::Application {

namespace {
std::mutex& terminatorLock() {
    static std::mutex m;
    return m;
}
FatalError::Terminator& terminator() {
    static FatalError::Terminator t;
    return t;
}
}  // namespace

void FatalError::raise(std::u16string_view text) {
    ApplicationMessageBox::show(text, u"Error", Arbor::Platform::MB_ICONERROR);
    Terminator end;
    {
        std::lock_guard guard(terminatorLock());
        end = terminator();
    }
    if (end) end(0);
    // Whatever a replaced terminator did, the process does not go on past a fatal error.
    std::_Exit(0);
}

FatalError::Terminator FatalError::setTerminator(Terminator replacement) {
    std::lock_guard guard(terminatorLock());
    Terminator previous = std::move(terminator());
    terminator() = std::move(replacement);
    return previous;
}

}  // namespace Quenta::Application
