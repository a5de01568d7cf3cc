// Text layers: typing speed, the typing counter across a wait, clearing, styles from
// text styles and built-ins, Open and Close, link hover and press, the line number,
// and repeatable pixels.
#include <gtest/gtest.h>

#include "Source/Interpreter/ScriptException.h"
#include "Source/Interpreter/Value.h"
#include "TextTestSupport.h"

using namespace TextTest;

namespace {

using TextLayer = HeadlessText;

const std::string kBox = "Width=400\nHeight=200\nPosX=0\nPosY=0";

TEST_F(TextLayer, SpeedGivesCharactersPerSecond) {
    Layer thirty(layerBlock(kBox, "SetSpeed(30)\n\"abcdefghij\"\n"));
    thirty.frames(1);
    EXPECT_EQ(thirty.layer->revealed(), 1u);
    EXPECT_EQ(thirty.layer->state(), TextLayerObject::Typing);
    thirty.frames(3);
    EXPECT_EQ(thirty.layer->revealed(), 4u);

    Layer sixty(layerBlock(kBox, "SetSpeed(60)\n\"abcdefghij\"\n"));
    sixty.frames(2);
    EXPECT_EQ(sixty.layer->revealed(), 4u);

    Layer slow(layerBlock(kBox, "SetSpeed(0)\n\"abc\"\n"));
    slow.frames(29);
    EXPECT_EQ(slow.layer->revealed(), 0u);
    slow.frames(1);
    EXPECT_EQ(slow.layer->revealed(), 1u);
    slow.frames(30);
    EXPECT_EQ(slow.layer->revealed(), 2u);
}

TEST_F(TextLayer, TypingCounterCarriesOnAcrossAWait) {
    Layer text(layerBlock(kBox, "SetSpeed(60)\n\"abcd\"\nWait(5)\n\"efgh\"\n"));
    text.frames(1);  // 2 characters of 4
    EXPECT_EQ(text.layer->revealed(), 2u);
    text.frames(1);  // the piece is typed, and Wait starts in the same frame
    EXPECT_EQ(text.layer->state(), TextLayerObject::Waiting);
    EXPECT_EQ(text.layer->revealed(), 4u);
    EXPECT_EQ(text.layer->typingCounter().value(), 4 * 30);
    text.frames(4);
    EXPECT_EQ(text.layer->state(), TextLayerObject::Waiting);
    EXPECT_EQ(text.layer->revealed(), 4u);
    text.frames(1);  // the fifth frame ends the wait: the next piece starts where the first ended
    EXPECT_EQ(text.layer->state(), TextLayerObject::Typing);
    EXPECT_EQ(text.layer->typingCounter().start(), 4 * 30);
    EXPECT_EQ(text.layer->typingCounter().end(), 8 * 30);
    EXPECT_EQ(text.layer->revealed(), 6u);
    text.frames(1);
    EXPECT_EQ(text.layer->revealed(), 8u);
    EXPECT_TRUE(text.layer->isFinished());
}

TEST_F(TextLayer, EmptyLinesRunInTheSameFrameAndClearTextStartsOver) {
    Layer text(layerBlock(kBox, "SetSpeed(300)\n\"\"\n\"first\"\nClearText()\n\"xy\"\n"));
    text.frames(1);
    EXPECT_EQ(text.layer->revealed(), 5u);
    EXPECT_EQ(text.layer->lineNumber(), 3);
    text.frames(1);  // ClearText, then the new piece counts from zero
    EXPECT_EQ(text.layer->box().charCount(), 2u);
    EXPECT_EQ(text.layer->revealed(), 2u);
    EXPECT_EQ(text.layer->typingCounter().start(), 0);
}

TEST_F(TextLayer, LinesLoopingWithoutTextDoNotHoldTheFrame) {
    // The second line jumps back to the first and both give no text: without a limit
    // the frame would never end.
    struct Jumper : TextTest::NoBalloons {
        TextLayerObject* layer = nullptr;
        void setTextLineNumber(std::u16string_view, std::u16string_view, int line) override {
            layer->setLineNumber(line);
        }
    } jumper;
    TextTest::OwnerWith owner(jumper);
    Layer looping(layerBlock(kBox, "\"\"\nSubStr(SetTextLineNum(\"\", \"T\", 0), 0, 0)\n"), &owner);
    jumper.layer = looping.layer.get();
    looping.frames(2);
    EXPECT_EQ(looping.layer->state(), TextLayerObject::RunningLines);
    EXPECT_TRUE(looping.layer->box().pieces().empty());
}

TEST_F(TextLayer, StylesComeFromTextStylesAndBuiltIns) {
    const std::string style = DefinitionTest::block(
        "TEXT_STYLE_REG", "FuncName=Loud\nFontSize=20\nFontColor=\"Red\"\nFontQuality=\"Low\"\nSpeed=0\nFlagUnderline=true");
    Layer styled(layerBlock(kBox + "\nFuncNameTextStyle=Loud", "\"a\"\n", style));
    const TextStyle& s = styled.layer->style();
    EXPECT_EQ(s.color, 0xFFFF0000u);
    EXPECT_EQ(s.fontSize, 20);
    EXPECT_EQ(s.format, Arbor::Platform::GlyphFormat::Monochrome);
    EXPECT_EQ(s.speed, kDefaultSpeed);  // 0 means the default
    EXPECT_TRUE(s.underline);

    Layer changed(layerBlock(kBox, "SetFontColor(\"80FF0000\")\nSetFontSize(9)\nSetFont(\"X\")\n"
                                   "SetFontQuality(\"low\")\nSetTextStyle(\"NoSuchStyle\")\nSetTextStyle(T)\n"
                                   "SetLinkTextColor(\"\", \"blue\")\nSetLinkTextUnderline(true)\n"));
    changed.frames(1);
    const TextStyle& c = changed.layer->style();
    EXPECT_EQ(c.color, 0xFFFF0000u);
    EXPECT_EQ(c.fontSize, 9);
    EXPECT_EQ(c.fontName, u"X");
    EXPECT_EQ(c.format, Arbor::Platform::GlyphFormat::Gray65);  // only "Low" exactly
    EXPECT_EQ(changed.layer->linkStyle().colors[0], 0xFF0077CCu);
    EXPECT_EQ(changed.layer->linkStyle().colors[1], 0xFF0000FFu);
    EXPECT_EQ(changed.layer->linkStyle().colors[2], 0xFF00FFDDu);
    EXPECT_EQ(changed.layer->linkStyle().underlines, (std::array<bool, 3>{true, false, false}));
}

TEST_F(TextLayer, OpenAndCloseReachTheBalloon) {
    Layer text(layerBlock(kBox, "Open()\nClose(10, -3)\n"));
    text.frames(1);
    EXPECT_EQ(text.host.opens, 1);
    EXPECT_EQ(text.host.closes, 1);
    EXPECT_EQ(text.host.lastSizeStep, 10);
    EXPECT_EQ(text.host.lastOpacityStep, -3);

    Layer bad(layerBlock(kBox, "Open(1, 2, 3)\n"));
    EXPECT_EQ(DefinitionTest::messageOf([&] { bad.frames(1); }), u"呼び出された命令Openの記述が不正です。");
}

TEST_F(TextLayer, LinkHoverPressAndCommands) {
    Layer text(layerBlock(kBox, "SetSpeed(3000)\n\"Go \"\nLinkText(SetVariable(\"clicked\", 1), \"here\")\n"));
    text.parser.variables().create(u"clicked", static_cast<int>(Quenta::Interpreter::ValueType::Number));
    text.frames(1);
    text.frames(1);
    ASSERT_EQ(text.layer->box().pieces().size(), 2u);
    const auto& link = static_cast<const Quenta::GameComponent::LinkTextLayout&>(*text.layer->box().pieces()[1]);
    const CharItem& h = link.chars()[0];
    const double x = h.x + 1, y = h.y + h.height / 2;
    EXPECT_EQ(h.color, 0xFF0077CCu);

    EXPECT_FALSE(text.layer->pointerOver(1, y));  // over "Go", not the link
    EXPECT_TRUE(text.layer->pointerOver(x, y));
    EXPECT_TRUE(link.hovered());
    EXPECT_TRUE(text.host.linkCursor);
    EXPECT_EQ(link.chars()[3].color, 0xFF00BBCCu);

    EXPECT_TRUE(text.layer->buttonDown(x, y));
    EXPECT_TRUE(link.pressed());
    EXPECT_EQ(link.chars()[0].color, 0xFF00FFDDu);
    EXPECT_EQ(text.parser.variables().find(u"clicked")->toInt(), 1);

    text.layer->buttonUp(x, y);
    EXPECT_FALSE(link.pressed());
    EXPECT_EQ(link.chars()[0].color, 0xFF00BBCCu);
    text.layer->checkHover(std::make_pair(1.0, 1.0));
    EXPECT_FALSE(link.hovered());
    EXPECT_FALSE(text.host.linkCursor);
    EXPECT_EQ(link.chars()[0].color, 0xFF0077CCu);
}

TEST_F(TextLayer, LineNumberMovesTheText) {
    Layer text(layerBlock(kBox, "SetSpeed(3000)\n\"a\"\n\"b\"\n\"c\"\n"));
    text.frames(3);
    EXPECT_EQ(text.layer->lineNumber(), 4);
    text.layer->setLineNumber(3);
    text.frames(2);
    EXPECT_EQ(text.layer->box().charCount(), 4u);
    EXPECT_EQ(text.layer->box().pieces().back()->text(), u"c");
    text.layer->setLineNumber(99);  // held to the end
    EXPECT_EQ(text.layer->lineNumber(), 4);
}

TEST_F(TextLayer, SameTextDrawnTwiceGivesTheSamePixels) {
    const std::string definition = layerBlock(kBox, "SetSpeed(3000)\n\"こんにちは、Tavizo!\"\nSetFontQuality(\"Low\")\n\"Low text\"\n");
    Layer first(definition);
    Layer second(definition);
    first.frames(3);
    second.frames(3);
    const auto a = first.drawn(400, 200);
    const auto b = second.drawn(400, 200);
    int ink = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 400; ++x) {
            ASSERT_EQ(a->pixelAt({x, y}), b->pixelAt({x, y})) << x << "," << y;
            ink += a->pixelAt({x, y}) != 0;
        }
    }
    EXPECT_GT(ink, 200);
}

}  // namespace
