#include "framework/Platform/Headless/HeadlessEffects.h"

namespace Arbor::Platform::Headless {

HeadlessEffects& HeadlessEffects::instance() {
    static auto* effects = new HeadlessEffects;  // outlives late users at exit
    return *effects;
}

void HeadlessEffects::reset() {
    std::lock_guard lock(mutex_);
    opens_.clear();
    handlers_.clear();
    startup_.reset();
    recycleBinEmptied_ = 0;
    displayPower_.clear();
    clipboard_.reset();
    input_.clear();
    acceptedLimit_.reset();
    programs_.clear();
}

void HeadlessEffects::recordOpen(ShellOpenRecord record) {
    std::lock_guard lock(mutex_);
    opens_.push_back(std::move(record));
}

std::vector<ShellOpenRecord> HeadlessEffects::opens() const {
    std::lock_guard lock(mutex_);
    return opens_;
}

void HeadlessEffects::setDefaultHandler(std::u16string scheme, std::u16string executable) {
    std::lock_guard lock(mutex_);
    handlers_[std::move(scheme)] = std::move(executable);
}

std::u16string HeadlessEffects::defaultHandler(const std::u16string& scheme) const {
    std::lock_guard lock(mutex_);
    auto it = handlers_.find(scheme);
    return it == handlers_.end() ? std::u16string() : it->second;
}

void HeadlessEffects::setStartupEntry(std::optional<std::pair<std::u16string, std::u16string>> entry) {
    std::lock_guard lock(mutex_);
    startup_ = std::move(entry);
}

std::optional<std::pair<std::u16string, std::u16string>> HeadlessEffects::startupEntry() const {
    std::lock_guard lock(mutex_);
    return startup_;
}

void HeadlessEffects::recordRecycleBinEmptied() {
    std::lock_guard lock(mutex_);
    ++recycleBinEmptied_;
}

int HeadlessEffects::recycleBinEmptied() const {
    std::lock_guard lock(mutex_);
    return recycleBinEmptied_;
}

void HeadlessEffects::recordDisplayPower(bool on) {
    std::lock_guard lock(mutex_);
    displayPower_.push_back(on);
}

std::vector<bool> HeadlessEffects::displayPowerRequests() const {
    std::lock_guard lock(mutex_);
    return displayPower_;
}

void HeadlessEffects::setClipboardText(std::optional<std::u16string> text) {
    std::lock_guard lock(mutex_);
    clipboard_ = std::move(text);
}

std::optional<std::u16string> HeadlessEffects::clipboardText() const {
    std::lock_guard lock(mutex_);
    return clipboard_;
}

void HeadlessEffects::recordInput(std::vector<InjectedInput> batch) {
    std::lock_guard lock(mutex_);
    input_.push_back(std::move(batch));
}

std::vector<std::vector<InjectedInput>> HeadlessEffects::inputBatches() const {
    std::lock_guard lock(mutex_);
    return input_;
}

void HeadlessEffects::setAcceptedInputLimit(std::optional<std::uint32_t> limit) {
    std::lock_guard lock(mutex_);
    acceptedLimit_ = limit;
}

std::optional<std::uint32_t> HeadlessEffects::acceptedInputLimit() const {
    std::lock_guard lock(mutex_);
    return acceptedLimit_;
}

void HeadlessEffects::setProgram(std::uint32_t processId, ProgramRecord program) {
    std::lock_guard lock(mutex_);
    programs_[processId] = std::move(program);
}

std::optional<ProgramRecord> HeadlessEffects::program(std::uint32_t processId) const {
    std::lock_guard lock(mutex_);
    auto it = programs_.find(processId);
    if (it == programs_.end()) return std::nullopt;
    return it->second;
}

std::optional<std::uint32_t> HeadlessEffects::processOfExecutable(const std::u16string& executable) const {
    std::lock_guard lock(mutex_);
    for (const auto& [id, program] : programs_) {
        if (program.executable == executable) return id;
    }
    return std::nullopt;
}

}  // namespace Arbor::Platform::Headless
