// POSIX programs always have the streams they were started with.
#if !defined(_WIN32)
#include "framework/Platform/Console.h"

namespace Arbor::Platform {

void useParentConsole() {}

}  // namespace Arbor::Platform
#endif
