#pragma once
// What the headless desktop's reach services did, for tests to read, and the answers
// tests give them: shell opens, start-up registration, recycle-bin emptying, display
// power, clipboard text, injected input batches, and the programs behind windows of
// other processes. Nothing here touches the host. Reset with the desktop
// (HeadlessDesktop::reset); safe from any thread.
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "framework/Platform/KeyInput.h"

namespace Arbor::Platform::Headless {

struct ShellOpenRecord {
    std::u16string target;
    std::u16string parameters;
    friend bool operator==(const ShellOpenRecord&, const ShellOpenRecord&) = default;
};

// A program tests make known: the windows of `processId` belong to it.
struct ProgramRecord {
    std::u16string executable;
    std::u16string productName;
};

class HeadlessEffects {
public:
    static HeadlessEffects& instance();
    void reset();

    void recordOpen(ShellOpenRecord record);
    std::vector<ShellOpenRecord> opens() const;
    // scheme -> executable; unknown schemes have none.
    void setDefaultHandler(std::u16string scheme, std::u16string executable);
    std::u16string defaultHandler(const std::u16string& scheme) const;

    // The registered start-up entry: the program path and working directory.
    void setStartupEntry(std::optional<std::pair<std::u16string, std::u16string>> entry);
    std::optional<std::pair<std::u16string, std::u16string>> startupEntry() const;

    void recordRecycleBinEmptied();
    int recycleBinEmptied() const;

    // Every request in order: true on, false off.
    void recordDisplayPower(bool on);
    std::vector<bool> displayPowerRequests() const;

    void setClipboardText(std::optional<std::u16string> text);
    std::optional<std::u16string> clipboardText() const;

    // Each injected batch as one entry, and how many events of a batch the virtual
    // system accepts (all unless told).
    void recordInput(std::vector<InjectedInput> batch);
    std::vector<std::vector<InjectedInput>> inputBatches() const;
    void setAcceptedInputLimit(std::optional<std::uint32_t> limit);
    std::optional<std::uint32_t> acceptedInputLimit() const;

    void setProgram(std::uint32_t processId, ProgramRecord program);
    std::optional<ProgramRecord> program(std::uint32_t processId) const;
    std::optional<std::uint32_t> processOfExecutable(const std::u16string& executable) const;

private:
    HeadlessEffects() = default;
    mutable std::mutex mutex_;
    std::vector<ShellOpenRecord> opens_;
    std::map<std::u16string, std::u16string> handlers_;
    std::optional<std::pair<std::u16string, std::u16string>> startup_;
    int recycleBinEmptied_ = 0;
    std::vector<bool> displayPower_;
    std::optional<std::u16string> clipboard_;
    std::vector<std::vector<InjectedInput>> input_;
    std::optional<std::uint32_t> acceptedLimit_;
    std::map<std::uint32_t, ProgramRecord> programs_;
};

}  // namespace Arbor::Platform::Headless
