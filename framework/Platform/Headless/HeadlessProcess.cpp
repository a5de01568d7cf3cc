// Programs are recorded, then started for real on the host: waiting for a program
// and reading its exit code must behave as they do on a real desktop.
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Headless/HeadlessServices.h"
#include "framework/Platform/HostServices.h"
#include "framework/Platform/Process.h"

namespace Arbor::Platform {

namespace {

class HeadlessProcessService : public ProcessService {
public:
    HeadlessProcessService() : host_(hostServices().makeProcessService()) {}

    bool createProcess(std::u16string_view applicationName, std::u16string_view commandLine,
                       ProcessHandle& process) override {
        Headless::ProcessLaunchRecord record;
        record.applicationName = std::u16string(applicationName);
        record.commandLine = std::u16string(commandLine);
        record.started = host_ && host_->createProcess(applicationName, commandLine, process);
        record.processId = record.started ? process.id : 0;
        Headless::HeadlessDesktop::instance().recordProcessLaunch(record);
        return record.started;
    }
    bool openProcess(std::uint32_t processId, ProcessHandle& process) override {
        return host_ && host_->openProcess(processId, process);
    }
    int waitForProcess(const ProcessHandle& process, int milliseconds) override {
        return host_ ? host_->waitForProcess(process, milliseconds) : Failed;
    }
    bool exitCode(const ProcessHandle& process, std::uint32_t& code) override {
        return host_ && host_->exitCode(process, code);
    }
    void closeProcess(ProcessHandle& process) override {
        if (host_) host_->closeProcess(process);
    }
    std::uint32_t currentProcessId() override { return hostServices().currentProcessId(); }
    std::u16string executablePath(std::uint32_t processId) override {
        return host_ ? host_->executablePath(processId) : std::u16string();
    }

private:
    std::unique_ptr<ProcessService> host_;
};

}  // namespace

std::unique_ptr<ProcessService> Headless::makeProcessService() {
    return std::make_unique<HeadlessProcessService>();
}

}  // namespace Arbor::Platform
