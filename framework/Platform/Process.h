#pragma once
// Starting other programs and waiting for them. Processes are real on every backend:
// the headless backend also records each launch (Headless/HeadlessDesktop.h) and then
// starts the program on the host.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace Arbor::Platform {

// An open process: the handles of the process and its first thread, and its id.
struct ProcessHandle {
    std::uintptr_t process = 0;
    std::uintptr_t thread = 0;
    std::uint32_t id = 0;
    bool isOpen() const { return process != 0; }
};

class ProcessService {
public:
    static constexpr int Ended = 0;
    static constexpr int TimedOut = 1;
    static constexpr int Failed = 2;

    virtual ~ProcessService() = default;

    // Starts a program the way the system's process creation does: the application
    // name may be empty, then the command line's first word (quoted or not) names the
    // program, searched on the PATH. No handles are inherited; environment and current
    // folder are this process's own. On POSIX hosts the command line is split into
    // arguments by the system's quoting rules and '\' in the program path becomes '/'.
    virtual bool createProcess(std::u16string_view applicationName, std::u16string_view commandLine,
                               ProcessHandle& process) = 0;
    // Opens a running process by id, for waiting only. False when it has already ended
    // (or never was).
    virtual bool openProcess(std::uint32_t processId, ProcessHandle& process) = 0;
    // 0 ended, 1 timed out, 2 failure; negative waits without limit.
    virtual int waitForProcess(const ProcessHandle& process, int milliseconds) = 0;
    // The exit code of an ended process; false while it runs or when unknown.
    virtual bool exitCode(const ProcessHandle& process, std::uint32_t& code) = 0;
    // Closes the handles (the process keeps running) and clears the record.
    virtual void closeProcess(ProcessHandle& process) = 0;
    virtual std::uint32_t currentProcessId() = 0;
    // The full path of the running program of a process (any process the user may
    // query); empty when it has ended or cannot be asked.
    virtual std::u16string executablePath(std::uint32_t processId) {
        (void)processId;
        return {};
    }
};

ProcessService& processService();

}  // namespace Arbor::Platform
