#pragma once
// A text layer of a balloon order: a rectangle of the balloon into which the lines of
// its record's text section are typed. Each line is an expression; a non-empty text
// value becomes a piece in the current style, revealed at the layer's speed (in
// characters per second at 30 frames per second). Built-ins called from the lines
// change the style, add link text, wait, clear the box and open or close the balloon.
//
// States: 0 running lines, 1 waiting, 2 typing, 3 finished. The balloon counts the
// layer as busy until it is finished.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "Source/GameComponent/ScriptObject/BalloonLayout.h"
#include "Source/GameComponent/ScriptObject/TextGlyphs.h"
#include "Source/GameComponent/ScriptObject/TextLayerHost.h"
#include "Source/GameComponent/ScriptObject/TextStyle.h"
#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/ScopeNode.h"
#include "Source/Interpreter/TextLayerControl.h"
#include "Source/Script/F/DefinitionData.h"
#include "framework/Counter/RootCounter.h"
#include "framework/Graphics/Painter.h"

namespace Quenta::GameComponent {

class TextLayerObject : public Interpreter::TextLayerControl {
public:
    enum State : int { RunningLines = 0, Waiting = 1, Typing = 2, Finished = 3 };
    // One typed character is this many typing-counter units.
    static constexpr int kUnitsPerChar = 30;
    // Lines that produce nothing run on in the same frame; past this many in one frame
    // the layer goes on in the next, so that text looping over empty lines cannot hold
    // the frame forever.
    static constexpr int kLineLimitPerFrame = 10000;

    // Reads the TEXT_LAYER_REG record (its fields evaluated with `parser` in the scope
    // current now) and applies its text style. Throws ScriptException.
    TextLayerObject(Interpreter::Parser& parser, const Script::DefinitionData& definition,
                    const Script::DefinitionRecord& record, TextLayerHost& host);
    ~TextLayerObject() override;
    TextLayerObject(const TextLayerObject&) = delete;
    TextLayerObject& operator=(const TextLayerObject&) = delete;

    const std::u16string& funcName() const { return funcName_; }
    State state() const { return state_; }
    bool isFinished() const { return state_ == Finished; }

    // One frame: runs lines, waits or types until the layer is neither running lines
    // nor able to go on this frame. Throws ScriptException from the lines.
    void step();
    // Draws the revealed characters into the balloon's surface.
    void draw(Arbor::Graphics::Painter& painter) const;

    int lineNumber() const { return lineIndex_; }
    // Continues the text from that line (held to the line count).
    void setLineNumber(int line);
    // Typing stops at once (the balloon was terminated).
    void finish() { state_ = Finished; }

    // Pointer input, in balloon pixels (already divided by the balloon's scale).
    // True when the point is over a visible character of a link (it becomes hovered).
    bool pointerOver(double x, double y);
    // Each frame: a hovered link the point has left is no longer hovered.
    void checkHover(std::optional<std::pair<double, double>> point);
    // A press over a link marks it pressed and runs its commands. Throws ScriptException.
    bool buttonDown(double x, double y);
    void buttonUp(double x, double y);

    std::size_t revealed() const { return revealed_; }
    const BoxLayout& box() const { return box_; }
    const TextStyle& style() const { return style_; }
    const LinkStyle& linkStyle() const { return linkStyle_; }
    const Arbor::Counter::RootCounter& typingCounter() const { return typing_; }
    Interpreter::ScopeNode& scope() { return scope_; }

    // --- TextLayerControl: the built-ins of the running line -------------------------
    void clearText() override;
    void wait(int frames) override;
    void setTextStyle(std::u16string_view styleName) override;
    void setFont(std::u16string_view faceName) override;
    void setFontSize(int points) override;
    void setFontColor(std::u16string_view color) override;
    void setFontQuality(std::u16string_view quality) override;
    void setSpeed(int speed) override;
    void linkText(Interpreter::TokenLine commands, std::u16string text) override;
    void setLinkTextColor(const std::array<std::optional<std::u16string>, 3>& colors) override;
    void setLinkTextUnderline(const std::array<bool, 3>& underlines) override;
    void open(int sizeStep, int opacityStep) override;
    void close(int sizeStep, int opacityStep) override;

private:
    void applyStyleRecord(const Script::DefinitionRecord& record);
    void runLine();
    void startTyping(std::size_t before);
    void refresh(bool force);

    Interpreter::Parser& parser_;
    const Script::DefinitionData& definition_;
    TextLayerHost& host_;
    std::u16string funcName_;
    Interpreter::ScopeNode scope_;
    const Interpreter::TokenBlock* lines_ = nullptr;
    int lineIndex_ = 0;
    bool lineMoved_ = false;
    TextStyle style_;
    LinkStyle linkStyle_;
    TextFonts fonts_;
    BoxLayout box_;
    Arbor::Counter::RootCounter typing_;
    Arbor::Counter::RootCounter wait_;
    std::size_t revealed_ = 0;
    State state_ = RunningLines;
    LinkTextLayout* hovered_ = nullptr;
    LinkTextLayout* pressed_ = nullptr;
};

}  // namespace Quenta::GameComponent
