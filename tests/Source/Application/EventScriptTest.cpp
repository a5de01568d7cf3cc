#include <gtest/gtest.h>

#include "Source/Application/EventScript.h"
#include "framework/Text/Utf.h"

using Quenta::Application::EventAction;
using Quenta::Application::EventInput;
using Quenta::Application::EventScript;

namespace {

// Writes down what the events do, one word each.
struct Recorder : EventInput {
    std::vector<std::string> done;
    void moveMouse(int x, int y) override { done.push_back("move " + std::to_string(x) + " " + std::to_string(y)); }
    void pressButton(int x, int y, bool right, bool down) override {
        done.push_back(std::string(down ? "down " : "up ") + std::to_string(x) + " " + std::to_string(y) +
                       (right ? " right" : " left"));
    }
    void doubleClick(int x, int y) override { done.push_back("dbl " + std::to_string(x) + " " + std::to_string(y)); }
    void say(const std::u16string& text) override { done.push_back("say [" + Arbor::Text::toUtf8(text) + "]"); }
    void quit() override { done.push_back("quit"); }
    void chooseMenuItem(const std::u16string& text) override { done.push_back("menu [" + Arbor::Text::toUtf8(text) + "]"); }
    void escapeMenu() override { done.push_back("escape"); }
};

std::string errorOf(std::string_view text) {
    std::string error;
    EXPECT_FALSE(EventScript::parse(text, "ev.txt", error).has_value()) << text;
    return error;
}

}  // namespace

TEST(EventScript, LinesBecomeEventsOfTheirFramesInWrittenOrder) {
    std::string error;
    const auto script = EventScript::parse(
        "\xEF\xBB\xBF# a comment\r\n"
        "\n"
        "   \t\n"
        "  # indented comment\n"
        "3 click 10 20 right\n"
        "4 move -5 7\n"
        "1 say こんにちは  world \n"
        "2\tdown 1 2\n"
        "2 up 1 2 left\n"
        "5 dblclick 0 0\n"
        "6 quit\n"
        "7 menu  More items\n"
        "7 escape\n",
        "ev.txt", error);
    ASSERT_TRUE(script) << error;
    Recorder r;
    for (std::uint64_t frame = 0; frame <= 8; ++frame) {
        r.done.push_back("frame " + std::to_string(frame));
        script->apply(frame, r);
    }
    const std::vector<std::string> expected{
        "frame 0", "frame 1", "say [こんにちは  world ]", "frame 2", "down 1 2 left", "up 1 2 left", "frame 3", "down 10 20 right",
        "frame 4", "up 10 20 right", "move -5 7", "frame 5", "dbl 0 0", "frame 6", "quit", "frame 7",
        "menu [ More items]", "escape", "frame 8"};
    EXPECT_EQ(r.done, expected) << "the click's up comes in the next frame, before that frame's later lines";
    EXPECT_EQ(script->events()[0].line, 7);
}

TEST(EventScript, AMalformedLineIsNamedWithFileAndLine) {
    EXPECT_EQ(errorOf("1 move 1 2\n\n0 move 1 2\n"), "ev.txt:3: the line must start with a frame number from 1, not \"0\"");
    EXPECT_EQ(errorOf("x move 1 2"), "ev.txt:1: the line must start with a frame number from 1, not \"x\"");
    EXPECT_EQ(errorOf("1"), "ev.txt:1: no action after the frame number");
    EXPECT_EQ(errorOf("1 jump 1 2"), "ev.txt:1: unknown action \"jump\"");
    EXPECT_EQ(errorOf("1 MOVE 1 2"), "ev.txt:1: unknown action \"MOVE\"");
    EXPECT_EQ(errorOf("1 move 1"), "ev.txt:1: move: needs X Y");
    EXPECT_EQ(errorOf("1 move 1 2 3"), "ev.txt:1: move: unexpected \"3\"");
    EXPECT_EQ(errorOf("1 move 1.5 2"), "ev.txt:1: move: X and Y must be whole numbers of pixels");
    EXPECT_EQ(errorOf("1 move 99999999 2"), "ev.txt:1: move: X and Y must be whole numbers of pixels");
    EXPECT_EQ(errorOf("1 click 1 2 middle"), "ev.txt:1: click: the button is left or right, not \"middle\"");
    EXPECT_EQ(errorOf("1 dblclick 1 2 right"), "ev.txt:1: dblclick: unexpected \"right\"");
    EXPECT_EQ(errorOf("1 say"), "ev.txt:1: say: needs a text");
    EXPECT_EQ(errorOf("1 say \xFF\xFE"), "ev.txt:1: say: the text is not UTF-8");
    EXPECT_EQ(errorOf("1 quit now"), "ev.txt:1: quit: unexpected \"now\"");
    EXPECT_EQ(errorOf("1 menu"), "ev.txt:1: menu: needs a text");
    EXPECT_EQ(errorOf("1 escape 2"), "ev.txt:1: escape: unexpected \"2\"");
    EXPECT_EQ(errorOf("9999999999999 quit"),
              "ev.txt:1: the line must start with a frame number from 1, not \"9999999999999\"");
}

TEST(EventScript, AMissingFileIsNamed) {
    std::string error;
    EXPECT_FALSE(EventScript::read("/nonexistent/events.txt", error));
    EXPECT_EQ(error, "/nonexistent/events.txt: cannot be read");
}
