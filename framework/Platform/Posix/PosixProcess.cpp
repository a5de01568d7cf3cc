// Processes on POSIX hosts, shaped like the system's process calls: a command line is
// split into arguments by its quoting rules and the program is spawned without
// inheriting descriptors.
#if !defined(_WIN32)
#include <signal.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "framework/Platform/Posix/HostSystem.h"
#include "framework/Platform/Process.h"
#include "framework/Platform/Posix/PosixCommandLine.h"
#include "framework/Platform/NativePath.h"
#include "framework/Text/Utf.h"

extern char** environ;

namespace Arbor::Platform {

namespace {

struct ProcessRecord {
    pid_t pid = 0;
    bool child = false;  // started here, so waitpid can reap it
    std::mutex mutex;
    bool ended = false;
    int status = 0;
};

ProcessRecord* recordOf(const ProcessHandle& handle) {
    return reinterpret_cast<ProcessRecord*>(handle.process);
}

// A process of someone else has ended when it is gone or only a zombie is left.
bool foreignProcessEnded(pid_t pid) {
    if (kill(pid, 0) != 0 && errno == ESRCH) return true;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!stat || !std::getline(stat, text)) return false;
    const auto close = text.rfind(')');
    return close != std::string::npos && close + 2 < text.size() && text[close + 2] == 'Z';
}

// Whether the process has ended, reaping a child. Record lock held.
bool pollEnded(ProcessRecord& record) {
    if (record.ended) return true;
    if (record.child) {
        int status = 0;
        const pid_t result = waitpid(record.pid, &status, WNOHANG);
        if (result == record.pid) {
            record.ended = true;
            record.status = status;
        } else if (result < 0 && errno == ECHILD) {
            record.ended = true;  // reaped elsewhere; the code is lost
            record.status = -1;
        }
        return record.ended;
    }
    record.ended = foreignProcessEnded(record.pid);
    return record.ended;
}

class PosixProcessService : public ProcessService {
public:
    bool createProcess(std::u16string_view applicationName, std::u16string_view commandLine,
                       ProcessHandle& process) override {
        std::vector<std::string> arguments = Posix::splitCommandLine(Text::toUtf8(commandLine));
        std::string program;
        if (!applicationName.empty()) {
            program = toNativePath(applicationName).string();
            if (arguments.empty()) arguments.push_back(program);
        } else {
            if (arguments.empty()) return false;
            program = toNativePath(Text::fromUtf8(arguments.front())).string();
        }
        std::vector<char*> argv;
        for (auto& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        if (posix_spawn_file_actions_init(&actions) != 0) return false;
        // Like a launch without inherited handles: the child gets only the standard three.
        posix_spawn_file_actions_addclosefrom_np(&actions, 3);
        pid_t pid = 0;
        // With an application name the path is taken as given; otherwise the PATH is searched.
        const int error = applicationName.empty()
                              ? posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ)
                              : posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (error != 0) return false;
        auto* record = new ProcessRecord;
        record->pid = pid;
        record->child = true;
        process.process = reinterpret_cast<std::uintptr_t>(record);
        process.thread = 0;
        process.id = static_cast<std::uint32_t>(pid);
        return true;
    }

    bool openProcess(std::uint32_t processId, ProcessHandle& process) override {
        const auto pid = static_cast<pid_t>(processId);
        if (pid <= 0 || foreignProcessEnded(pid)) return false;
        auto* record = new ProcessRecord;
        record->pid = pid;
        process.process = reinterpret_cast<std::uintptr_t>(record);
        process.thread = 0;
        process.id = processId;
        return true;
    }

    int waitForProcess(const ProcessHandle& process, int milliseconds) override {
        ProcessRecord* record = recordOf(process);
        if (!record) return Failed;
        const auto start = std::chrono::steady_clock::now();
        auto pause = std::chrono::microseconds(200);
        for (;;) {
            {
                std::lock_guard lock(record->mutex);
                if (pollEnded(*record)) return Ended;
            }
            if (milliseconds >= 0 &&
                std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(milliseconds)) {
                return TimedOut;
            }
            // Polling, backing off to 10 ms: there is no portable way to wait for a
            // process with a time limit.
            std::this_thread::sleep_for(pause);
            if (pause < std::chrono::milliseconds(10)) pause *= 2;
        }
    }

    bool exitCode(const ProcessHandle& process, std::uint32_t& code) override {
        ProcessRecord* record = recordOf(process);
        if (!record) return false;
        std::lock_guard lock(record->mutex);
        if (!pollEnded(*record) || !record->child || record->status < 0) return false;
        if (WIFEXITED(record->status)) {
            code = static_cast<std::uint32_t>(WEXITSTATUS(record->status));
        } else {
            code = 128u + static_cast<std::uint32_t>(WTERMSIG(record->status));
        }
        return true;
    }

    void closeProcess(ProcessHandle& process) override {
        ProcessRecord* record = recordOf(process);
        if (record) {
            bool reapLater = false;
            {
                std::lock_guard lock(record->mutex);
                reapLater = record->child && !pollEnded(*record);
            }
            if (reapLater) {
                // The program runs on; someone must still collect its exit status or it
                // stays a zombie.
                const pid_t pid = record->pid;
                std::thread([pid] {
                    int status = 0;
                    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
                    }
                }).detach();
            }
            delete record;
        }
        process = ProcessHandle{};
    }

    std::uint32_t currentProcessId() override { return static_cast<std::uint32_t>(getpid()); }

    // The link the kernel keeps to the program of each process (readable for the
    // user's own processes), named as the system names paths like every path here.
    std::u16string executablePath(std::uint32_t processId) override {
        if (processId == 0) return {};
        std::error_code error;
        const auto target =
            std::filesystem::read_symlink("/proc/" + std::to_string(processId) + "/exe", error);
        if (error) return {};
        return fromNativePath(target);
    }
};

}  // namespace

std::unique_ptr<ProcessService> Posix::makeProcessService() { return std::make_unique<PosixProcessService>(); }

std::uint32_t Posix::currentProcessId() { return static_cast<std::uint32_t>(getpid()); }

}  // namespace Arbor::Platform
#endif
