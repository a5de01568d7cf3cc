// The Windows shell: "open" through ShellExecuteW, and the program registered for a
// link scheme from the default value of <scheme>\shell\open\command under the classes
// root.
#include <windows.h>
#include <shellapi.h>

#include "framework/Platform/Shell.h"
#include "framework/Platform/Win32/Win32Services.h"
#include "framework/Platform/Win32/Win32Text.h"

namespace Arbor::Platform {

namespace {

class Win32ShellService : public ShellService {
public:
    bool open(std::u16string_view target, std::u16string_view parameters) override {
        if (target.empty()) return false;
        const std::wstring file = Win32::wide(target);
        const std::wstring arguments = Win32::wide(parameters);
        const HINSTANCE result = ShellExecuteW(nullptr, L"open", file.c_str(), arguments.empty() ? nullptr : arguments.c_str(),
                                               nullptr, SW_SHOWNORMAL);
        // Values above 32 mean the shell took the request.
        return reinterpret_cast<INT_PTR>(result) > 32;
    }

    std::u16string defaultHandlerExecutable(std::u16string_view scheme) override {
        if (scheme.empty()) return {};
        const std::wstring key = Win32::wide(scheme) + L"\\shell\\open\\command";
        DWORD bytes = 0;
        if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                         nullptr, nullptr, &bytes) != ERROR_SUCCESS ||
            bytes == 0) {
            return {};
        }
        std::wstring command(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(command.size() * sizeof(wchar_t));
        if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                         nullptr, command.data(), &bytes) != ERROR_SUCCESS) {
            return {};
        }
        command.resize(wcsnlen(command.c_str(), command.size()));
        return executableOfOpenCommand(Win32::narrowed(command));
    }
};

}  // namespace

std::unique_ptr<ShellService> Win32::makeShellService() { return std::make_unique<Win32ShellService>(); }

}  // namespace Arbor::Platform
