#pragma once
// The input of a headless run, from a text file of lines "FRAME ACTION ARGS...":
// frames count from 1 and each line's input is applied just before that frame's input
// phase. Blank lines and lines whose first visible character is '#' are skipped.
//
//   move X Y                       the cursor moves to the desktop pixel
//   down X Y [left|right]          a button goes down there (left when not named)
//   up X Y [left|right]            a button comes up there
//   click X Y [left|right]         down in this frame, up in the next
//   dblclick X Y                   a left double click
//   say TEXT                       the rest of the line, as recognised speech
//   menu TEXT                      chooses the item with that text in the innermost open
//                                  menu, as a click would (a submenu item opens it; a
//                                  disabled item does nothing and the menu stays open)
//   escape                         closes the innermost open menu
//   quit                           quitting begins, as the tray menu's exit does it
//
// A new action is one entry in the table of EventScript.cpp plus one case in apply()
// and, when it needs the program, one function of EventInput.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Quenta::Application {

enum class EventAction { Move, Down, Up, DoubleClick, Say, Quit, Menu, Escape };

struct ScriptedEvent {
    std::uint64_t frame = 0;
    EventAction action = EventAction::Move;
    int x = 0;
    int y = 0;
    bool rightButton = false;
    std::u16string text;
    int line = 0;  // where it was written, for messages
    friend bool operator==(const ScriptedEvent&, const ScriptedEvent&) = default;
};

// What the events act on.
class EventInput {
public:
    virtual ~EventInput() = default;
    virtual void moveMouse(int x, int y) = 0;
    virtual void pressButton(int x, int y, bool rightButton, bool down) = 0;
    virtual void doubleClick(int x, int y) = 0;
    virtual void say(const std::u16string& text) = 0;
    virtual void quit() = 0;
    // With no menu open these only warn on standard error.
    virtual void chooseMenuItem(const std::u16string& text) = 0;
    virtual void escapeMenu() = 0;
};

class EventScript {
public:
    // The events of the text; on a malformed line, nothing and the error as
    // "NAME:LINE: what is wrong" (NAME is how the file is named to the user).
    static std::optional<EventScript> parse(std::string_view text, std::string_view name, std::string& error);
    static std::optional<EventScript> read(const std::filesystem::path& file, std::string& error);

    // The events of the frame, in the order they were written.
    void apply(std::uint64_t frame, EventInput& input) const;

    // Ordered by frame, then as written (a click's up after the lines of its frame
    // that came before the click).
    const std::vector<ScriptedEvent>& events() const { return events_; }

private:
    std::vector<ScriptedEvent> events_;
};

}  // namespace Quenta::Application
