#pragma once
// The items of a popup menu (MenuWidget.h): text items with a command identifier and
// state flags, separators, and items that open a submenu. The state flags are the
// native menu-item state bits: 0x3 disabled (grey), 0x8 checked, 0x80 highlighted.
#include <cstdint>
#include <string>

namespace Arbor::Gui {

class MenuWidget;

class MenuItem {
public:
    static constexpr std::uint32_t DisabledState = 0x3;
    static constexpr std::uint32_t CheckedState = 0x8;
    static constexpr std::uint32_t HighlightedState = 0x80;
    enum Type : int { StringType = 0, SeparatorType = 1, SubMenuType = 2 };

    MenuItem() = default;
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;
    virtual ~MenuItem() = default;

    virtual int itemType() const = 0;
    // String items: their identifier; -1 otherwise.
    virtual std::int32_t commandId() const { return -1; }
    virtual std::uint32_t state() const { return 0; }
    virtual std::u16string text() const { return {}; }
    virtual void setText(std::u16string) {}
    virtual MenuWidget* subMenu() const { return nullptr; }
    virtual void setSubMenu(MenuWidget*) {}
    virtual void check() {}
    virtual void uncheck() {}
    virtual bool isChecked() const { return false; }
    virtual void enable() {}
    virtual void disable() {}
    virtual bool isEnabled() const { return true; }
    virtual bool isDisabled() const { return false; }
    virtual void highlight() {}
    virtual void unhighlight() {}  // no effect: the native menu keeps its own highlight
    virtual bool isHighlighted() const { return false; }
};

// Items with text and state: the base of string and submenu items.
class StatefulMenuItem : public MenuItem {
public:
    explicit StatefulMenuItem(std::u16string text, std::uint32_t state = 0) : text_(std::move(text)), state_(state) {}
    std::uint32_t state() const override { return state_; }
    std::u16string text() const override { return text_; }
    void setText(std::u16string text) override { text_ = std::move(text); }
    void check() override { state_ |= CheckedState; }
    void uncheck() override { state_ &= ~CheckedState; }
    bool isChecked() const override { return state_ & CheckedState; }
    void enable() override { state_ &= ~DisabledState; }
    void disable() override { state_ |= DisabledState; }
    bool isEnabled() const override { return (state_ & DisabledState) == 0; }
    bool isDisabled() const override { return (state_ & DisabledState) != 0; }
    void highlight() override { state_ |= HighlightedState; }
    bool isHighlighted() const override { return state_ & HighlightedState; }

private:
    std::u16string text_;
    std::uint32_t state_;
};

class StringMenuItem : public StatefulMenuItem {
public:
    // `radio`: its check mark shows as a dot (items of a group of which one is checked).
    // `checkable`: a check item, which menus that draw an empty box for an unchecked
    // item (a panel's) show as one.
    StringMenuItem(std::u16string text, std::int32_t commandId, std::uint32_t state = 0, bool radio = false,
                   bool checkable = false)
        : StatefulMenuItem(std::move(text), state), commandId_(commandId), radio_(radio), checkable_(checkable) {}
    int itemType() const override { return StringType; }
    std::int32_t commandId() const override { return commandId_; }
    bool isRadio() const { return radio_; }
    bool isCheckable() const { return checkable_ || radio_; }

private:
    std::int32_t commandId_;
    bool radio_;
    bool checkable_;
};

class SeparatorMenuItem : public MenuItem {
public:
    int itemType() const override { return SeparatorType; }
};

// Opens another menu; the submenu belongs to whoever keeps the menus, not to the item.
class SubMenuItem : public StatefulMenuItem {
public:
    SubMenuItem(std::u16string text, MenuWidget* subMenu, std::uint32_t state = 0)
        : StatefulMenuItem(std::move(text), state), subMenu_(subMenu) {}
    int itemType() const override { return SubMenuType; }
    MenuWidget* subMenu() const override { return subMenu_; }
    void setSubMenu(MenuWidget* subMenu) override { subMenu_ = subMenu; }

private:
    MenuWidget* subMenu_;
};

}  // namespace Arbor::Gui
