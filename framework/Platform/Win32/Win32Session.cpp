// The shutdown privilege and the request to end the session.
#include <windows.h>

#include "framework/Platform/Session.h"
#include "framework/Platform/Win32/Win32Services.h"

namespace Arbor::Platform {

namespace {

class Win32SessionService : public SessionService {
public:
    bool enableShutdownPrivilege() override {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        bool enabled = LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid) &&
                       AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        // AdjustTokenPrivileges succeeds even when it could not assign the privilege.
        if (enabled && GetLastError() != ERROR_SUCCESS) enabled = false;
        CloseHandle(token);
        return enabled;
    }
    bool exitSystem(std::uint32_t flags, std::uint32_t reason) override {
        return ExitWindowsEx(flags, reason) != 0;
    }
};

}  // namespace

std::unique_ptr<SessionService> Win32::makeSessionService() { return std::make_unique<Win32SessionService>(); }

}  // namespace Arbor::Platform
