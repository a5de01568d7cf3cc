#include "Source/Application/EventScript.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "framework/Text/Utf.h"

namespace Quenta::Application {

namespace {

constexpr std::uint64_t maxFrame = 999999999999ull;
constexpr long maxCoordinate = 1000000;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Splits off the next blank-separated word; false at the end of the line.
bool nextWord(std::string_view& rest, std::string_view& word) {
    size_t start = 0;
    while (start < rest.size() && isBlank(rest[start])) ++start;
    if (start == rest.size()) return false;
    size_t end = start;
    while (end < rest.size() && !isBlank(rest[end])) ++end;
    word = rest.substr(start, end - start);
    rest = rest.substr(end);
    return true;
}

bool parseFrame(std::string_view word, std::uint64_t& frame) {
    if (word.empty() || word.size() > 12) return false;
    std::uint64_t value = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value < 1 || value > maxFrame) return false;
    frame = value;
    return true;
}

bool parseCoordinate(std::string_view word, int& out) {
    const bool negative = !word.empty() && word[0] == '-';
    if (negative) word.remove_prefix(1);
    if (word.empty() || word.size() > 7) return false;
    long value = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value > maxCoordinate) return false;
    out = static_cast<int>(negative ? -value : value);
    return true;
}

// What one line's action adds; the error text when its arguments do not fit.
using ActionParser = bool (*)(std::string_view rest, ScriptedEvent& event, std::string& why);

bool parsePoint(std::string_view& rest, ScriptedEvent& event, std::string& why) {
    std::string_view x, y;
    if (!nextWord(rest, x) || !nextWord(rest, y)) {
        why = "needs X Y";
        return false;
    }
    if (!parseCoordinate(x, event.x) || !parseCoordinate(y, event.y)) {
        why = "X and Y must be whole numbers of pixels";
        return false;
    }
    return true;
}

bool noMore(std::string_view rest, std::string& why) {
    std::string_view extra;
    if (!nextWord(rest, extra)) return true;
    why = "unexpected \"" + std::string(extra) + "\"";
    return false;
}

bool parsePointOnly(std::string_view rest, ScriptedEvent& event, std::string& why) {
    return parsePoint(rest, event, why) && noMore(rest, why);
}

bool parsePointAndButton(std::string_view rest, ScriptedEvent& event, std::string& why) {
    if (!parsePoint(rest, event, why)) return false;
    std::string_view button;
    if (nextWord(rest, button)) {
        if (button != "left" && button != "right") {
            why = "the button is left or right, not \"" + std::string(button) + "\"";
            return false;
        }
        event.rightButton = button == "right";
    }
    return noMore(rest, why);
}

bool parseText(std::string_view rest, ScriptedEvent& event, std::string& why) {
    // The text starts after the one blank that ends the action's name.
    if (!rest.empty()) rest.remove_prefix(1);
    if (rest.empty()) {
        why = "needs a text";
        return false;
    }
    event.text = Arbor::Text::fromUtf8(rest);
    // Decoding replaces malformed bytes; a text that does not come back unchanged had some.
    if (Arbor::Text::toUtf8(event.text) != rest) {
        why = "the text is not UTF-8";
        return false;
    }
    return true;
}

bool parseNothing(std::string_view rest, ScriptedEvent&, std::string& why) { return noMore(rest, why); }

// "click" is not an action of its own: it becomes a down and, a frame later, an up.
constexpr EventAction clickAction = static_cast<EventAction>(-1);

struct ActionEntry {
    std::string_view name;
    EventAction action;
    ActionParser parse;
};

constexpr ActionEntry actions[] = {
    {"move", EventAction::Move, &parsePointOnly},
    {"down", EventAction::Down, &parsePointAndButton},
    {"up", EventAction::Up, &parsePointAndButton},
    {"click", clickAction, &parsePointAndButton},
    {"dblclick", EventAction::DoubleClick, &parsePointOnly},
    {"say", EventAction::Say, &parseText},
    {"quit", EventAction::Quit, &parseNothing},
    {"menu", EventAction::Menu, &parseText},
    {"escape", EventAction::Escape, &parseNothing},
};

}  // namespace

std::optional<EventScript> EventScript::parse(std::string_view text, std::string_view name, std::string& error) {
    EventScript script;
    int lineNumber = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (lineNumber == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
        std::string_view rest = line, first;
        if (!nextWord(rest, first) || first[0] == '#') continue;

        auto fail = [&](const std::string& why) {
            error = std::string(name) + ":" + std::to_string(lineNumber) + ": " + why;
            return std::nullopt;
        };
        ScriptedEvent event;
        event.line = lineNumber;
        if (!parseFrame(first, event.frame)) {
            return fail("the line must start with a frame number from 1, not \"" + std::string(first) + "\"");
        }
        std::string_view actionName;
        if (!nextWord(rest, actionName)) return fail("no action after the frame number");
        const auto entry = std::find_if(std::begin(actions), std::end(actions),
                                        [&](const ActionEntry& a) { return a.name == actionName; });
        if (entry == std::end(actions)) return fail("unknown action \"" + std::string(actionName) + "\"");
        std::string why;
        if (!entry->parse(rest, event, why)) return fail(std::string(actionName) + ": " + why);
        if (entry->action == clickAction) {
            event.action = EventAction::Down;
            script.events_.push_back(event);
            event.action = EventAction::Up;
            ++event.frame;
        } else {
            event.action = entry->action;
        }
        script.events_.push_back(std::move(event));
    }
    std::stable_sort(script.events_.begin(), script.events_.end(),
                     [](const ScriptedEvent& a, const ScriptedEvent& b) { return a.frame < b.frame; });
    return script;
}

std::optional<EventScript> EventScript::read(const std::filesystem::path& file, std::string& error) {
    std::ifstream in(file, std::ios::binary);
    const std::string name = Arbor::Text::toUtf8(file.u16string());
    if (!in) {
        error = name + ": cannot be read";
        return std::nullopt;
    }
    std::stringstream content;
    content << in.rdbuf();
    return parse(content.str(), name, error);
}

void EventScript::apply(std::uint64_t frame, EventInput& input) const {
    auto it = std::lower_bound(events_.begin(), events_.end(), frame,
                               [](const ScriptedEvent& e, std::uint64_t f) { return e.frame < f; });
    for (; it != events_.end() && it->frame == frame; ++it) {
        switch (it->action) {
            case EventAction::Move: input.moveMouse(it->x, it->y); break;
            case EventAction::Down: input.pressButton(it->x, it->y, it->rightButton, true); break;
            case EventAction::Up: input.pressButton(it->x, it->y, it->rightButton, false); break;
            case EventAction::DoubleClick: input.doubleClick(it->x, it->y); break;
            case EventAction::Say: input.say(it->text); break;
            case EventAction::Quit: input.quit(); break;
            case EventAction::Menu: input.chooseMenuItem(it->text); break;
            case EventAction::Escape: input.escapeMenu(); break;
        }
    }
}

}  // namespace Quenta::Application
