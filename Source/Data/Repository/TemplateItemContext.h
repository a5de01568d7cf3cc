#pragma once
// The items of a command template: groups and the commands inside them. A group owns
// its commands; a GroupCollection (one category) owns its groups.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Quenta::Data::Repository {

// A rule: the word pattern, a second text kept for the template's authors, and the
// exclusion words separated by "|".
using CommandRule = std::array<std::u16string, 3>;

class TemplateItemContext {
public:
    virtual ~TemplateItemContext() = default;
    // 0 for a group, 1 for a command.
    virtual int itemKind() const = 0;
    virtual const std::u16string& identifier() const { return identifier_; }
    virtual const std::u16string& label() const { return label_; }
    virtual bool isModifiable() const { return modifiable_; }

    void setIdentifier(std::u16string id) { identifier_ = std::move(id); }
    void setLabel(std::u16string label) { label_ = std::move(label); }
    void setModifiable(bool modifiable) { modifiable_ = modifiable; }

protected:
    explicit TemplateItemContext(bool modifiable) : modifiable_(modifiable) {}

private:
    std::u16string identifier_;
    std::u16string label_;
    bool modifiable_;
};

class CommandContext final : public TemplateItemContext {
public:
    CommandContext() : TemplateItemContext(true) {}
    CommandContext(const CommandContext&) = delete;
    CommandContext& operator=(const CommandContext&) = delete;

    int itemKind() const override { return 1; }

    std::u16string message;
    std::u16string command;
    std::int32_t inputType = 3;
    bool isRepeatable = true;
    bool isClipboardEnabled = false;
    std::vector<CommandRule> rules;
};

class GroupContext final : public TemplateItemContext {
public:
    GroupContext() : TemplateItemContext(false) {}
    GroupContext(const GroupContext&) = delete;
    GroupContext& operator=(const GroupContext&) = delete;

    int itemKind() const override { return 0; }

    bool isDisplayed = false;
    std::vector<std::unique_ptr<CommandContext>> commands;
};

}  // namespace Quenta::Data::Repository
