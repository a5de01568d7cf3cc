// The parent's console for the standard streams a windowed program was started without.
#include <windows.h>

#include <cstdio>

#include "framework/Platform/Console.h"

namespace Arbor::Platform {

namespace {

bool hasNowhereToGo(DWORD stream) {
    const HANDLE handle = GetStdHandle(stream);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE;
}

}  // namespace

void useParentConsole() {
    const bool output = hasNowhereToGo(STD_OUTPUT_HANDLE);
    const bool error = hasNowhereToGo(STD_ERROR_HANDLE);
    if (!output && !error) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (output) std::freopen("CONOUT$", "w", stdout);
    if (error) std::freopen("CONOUT$", "w", stderr);
}

}  // namespace Arbor::Platform
