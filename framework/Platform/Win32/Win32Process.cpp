// Process creation, opening, waiting and closing.
#include <windows.h>

#include "framework/Platform/Process.h"
#include "framework/Platform/Win32/Win32Text.h"
#include "framework/Platform/Win32/Win32Services.h"

namespace Arbor::Platform {

using namespace Win32;

namespace {

HANDLE processOf(const ProcessHandle& process) { return reinterpret_cast<HANDLE>(process.process); }

class Win32ProcessService : public ProcessService {
public:
    bool createProcess(std::u16string_view applicationName, std::u16string_view commandLine,
                       ProcessHandle& process) override {
        const std::wstring application = wide(applicationName);
        // The system may write into the command line: give it a private copy.
        std::wstring line = wide(commandLine);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!CreateProcessW(application.empty() ? nullptr : application.c_str(), line.data(), nullptr, nullptr,
                            FALSE, 0, nullptr, nullptr, &startup, &info)) {
            return false;
        }
        process.process = reinterpret_cast<std::uintptr_t>(info.hProcess);
        process.thread = reinterpret_cast<std::uintptr_t>(info.hThread);
        process.id = info.dwProcessId;
        return true;
    }
    bool openProcess(std::uint32_t processId, ProcessHandle& process) override {
        if (processId == 0) return false;
        HANDLE handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
        if (!handle) return false;
        process.process = reinterpret_cast<std::uintptr_t>(handle);
        process.thread = 0;
        process.id = processId;
        return true;
    }
    int waitForProcess(const ProcessHandle& process, int milliseconds) override {
        if (!process.isOpen()) return Failed;
        const DWORD limit = milliseconds < 0 ? INFINITE : static_cast<DWORD>(milliseconds);
        switch (WaitForSingleObject(processOf(process), limit)) {
            case WAIT_OBJECT_0: return Ended;
            case WAIT_TIMEOUT: return TimedOut;
            default: return Failed;
        }
    }
    bool exitCode(const ProcessHandle& process, std::uint32_t& code) override {
        if (!process.isOpen() || waitForProcess(process, 0) != Ended) return false;
        DWORD value = 0;
        if (!GetExitCodeProcess(processOf(process), &value)) return false;
        code = value;
        return true;
    }
    void closeProcess(ProcessHandle& process) override {
        if (process.thread) CloseHandle(reinterpret_cast<HANDLE>(process.thread));
        if (process.process) CloseHandle(processOf(process));
        process = ProcessHandle{};
    }
    std::uint32_t currentProcessId() override { return GetCurrentProcessId(); }
    std::u16string executablePath(std::uint32_t processId) override {
        // Limited query access is what the system grants for other users' processes too.
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
        if (!process) return {};
        std::wstring path(32768, L'\0');
        DWORD length = static_cast<DWORD>(path.size());
        const bool found = QueryFullProcessImageNameW(process, 0, path.data(), &length) != 0;
        CloseHandle(process);
        return found ? narrowed(path.data(), length) : std::u16string();
    }
};

}  // namespace

std::unique_ptr<ProcessService> Win32::makeProcessService() { return std::make_unique<Win32ProcessService>(); }

}  // namespace Arbor::Platform
