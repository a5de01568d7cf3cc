#include "Source/Interpreter/ScriptHost.h"

#include <array>
#include <atomic>

#include "framework/Platform/Memory.h"
#include "framework/Platform/Process.h"

namespace Quenta::Interpreter {

namespace {
constexpr std::array<std::u16string_view, static_cast<std::size_t>(SystemVariable::Count)> kNames = {
    u"Left", u"Top", u"Right", u"Bottom", u"Width", u"Height", u"MouseX", u"MouseY"};

std::atomic<ScriptHost*> installed{nullptr};
}  // namespace

std::optional<SystemVariable> findSystemVariable(std::u16string_view name) {
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (kNames[i] == name) return static_cast<SystemVariable>(i);
    }
    return std::nullopt;
}

std::u16string_view systemVariableName(SystemVariable variable) {
    return kNames[static_cast<std::size_t>(variable)];
}

ScriptHost& ScriptHost::current() {
    static ScriptHost plain;
    ScriptHost* host = installed.load(std::memory_order_acquire);
    return host ? *host : plain;
}

bool ScriptHost::launchProgram(ScriptOwner*, std::u16string applicationName, std::u16string commandLine, TokenLine) {
    Arbor::Platform::ProcessService& processes = Arbor::Platform::processService();
    Arbor::Platform::ProcessHandle process;
    if (!processes.createProcess(applicationName, commandLine, process)) return false;
    processes.closeProcess(process);
    return true;
}

bool ScriptHost::memoryStatus(Arbor::Platform::MemoryStatus& status) const {
    return Arbor::Platform::memoryService().memoryStatus(status);
}

void ScriptHost::install(ScriptHost& host) { installed.store(&host, std::memory_order_release); }

void ScriptHost::uninstall(const ScriptHost& host) {
    ScriptHost* expected = const_cast<ScriptHost*>(&host);
    installed.compare_exchange_strong(expected, nullptr, std::memory_order_acq_rel);
}

}  // namespace Quenta::Interpreter
