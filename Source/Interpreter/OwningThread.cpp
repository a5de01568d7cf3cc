#include "Source/Interpreter/OwningThread.h"

#include <cstdio>
#include <cstdlib>

namespace Quenta::Interpreter {

void OwningThread::failCheck() {
    std::fputs("script state used by a thread that does not own it\n", stderr);
    std::abort();
}

}  // namespace Quenta::Interpreter
