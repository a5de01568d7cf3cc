// The foreground program: the foreground window's process, its executable (opened
// with query and read access), the "ProductName" of the executable's version
// information, and bringing a program's first visible unowned window to the front.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <vector>

#include "framework/Platform/Foreground.h"
#include "framework/Platform/Win32/Win32Services.h"
#include "framework/Platform/Win32/Win32Text.h"

namespace Arbor::Platform {

namespace {

std::optional<std::wstring> executableOf(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return std::nullopt;
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameExW(process, nullptr, path.data(), static_cast<DWORD>(path.size()));
    CloseHandle(process);
    if (length == 0) return std::nullopt;
    path.resize(length);
    return path;
}

class Win32ForegroundService : public ForegroundService {
public:
    ForegroundWindow foregroundWindow() override {
        HWND window = GetForegroundWindow();
        if (!window) return {};
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        return {reinterpret_cast<std::uintptr_t>(window), processId};
    }

    std::optional<std::u16string> foregroundExecutable() override {
        const ForegroundWindow window = foregroundWindow();
        if (window.window == 0) return std::nullopt;
        const auto path = executableOf(window.processId);
        if (!path) return std::nullopt;
        return Win32::narrowed(*path);
    }

    std::u16string productName(std::u16string_view executable) override {
        const std::wstring file = Win32::wide(executable);
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
        if (size == 0) return {};
        std::vector<unsigned char> info(size);
        if (!GetFileVersionInfoW(file.c_str(), 0, size, info.data())) return {};
        struct Translation {
            WORD language, codePage;
        }* translation = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                            &length) ||
            length < sizeof(Translation)) {
            return {};
        }
        wchar_t query[64];
        swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language, translation->codePage,
                 L"ProductName");
        wchar_t* value = nullptr;
        if (!VerQueryValueW(info.data(), query, reinterpret_cast<void**>(&value), &length) || !value || length == 0) {
            return {};
        }
        return Win32::narrowed(value, wcsnlen(value, length));
    }

    bool bringToFront(std::u16string_view executable) override {
        const std::wstring wanted = Win32::wide(executable);
        const std::size_t slash = wanted.find_last_of(L"\\/");
        const std::wstring fileName = slash == std::wstring::npos ? wanted : wanted.substr(slash + 1);
        std::vector<DWORD> processes(4096);
        DWORD bytes = 0;
        if (!EnumProcesses(processes.data(), static_cast<DWORD>(processes.size() * sizeof(DWORD)), &bytes)) return false;
        processes.resize(bytes / sizeof(DWORD));
        DWORD chosen = 0;
        for (DWORD id : processes) {
            const auto path = executableOf(id);
            if (path && path->size() >= fileName.size() &&
                path->compare(path->size() - fileName.size(), fileName.size(), fileName) == 0 && *path == wanted) {
                chosen = id;
                break;
            }
        }
        if (chosen == 0) return false;
        for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == chosen && IsWindowVisible(window) && !GetWindow(window, GW_OWNER)) {
                return SetForegroundWindow(window) != 0;
            }
        }
        return false;
    }
};

}  // namespace

std::unique_ptr<ForegroundService> Win32::makeForegroundService() { return std::make_unique<Win32ForegroundService>(); }

}  // namespace Arbor::Platform
