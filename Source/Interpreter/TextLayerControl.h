#pragma once
// What the text built-ins (ClearText, Wait, SetFont, LinkText, Open, ...) act on: the
// text layer whose text line is being evaluated. The scene's text layer implements
// this and marks itself running (RunningTextLayer) while one of its lines runs; outside
// such a line the built-ins read their arguments and do nothing.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "Source/Interpreter/Token.h"

namespace Quenta::Interpreter {

class Parser;

class TextLayerControl {
public:
    virtual ~TextLayerControl() = default;

    virtual void clearText() = 0;
    virtual void wait(int frames) = 0;
    // A name that is not a text style's record is ignored.
    virtual void setTextStyle(std::u16string_view styleName) = 0;
    virtual void setFont(std::u16string_view faceName) = 0;
    virtual void setFontSize(int points) = 0;
    // Named or hexadecimal.
    virtual void setFontColor(std::u16string_view color) = 0;
    virtual void setFontQuality(std::u16string_view quality) = 0;
    virtual void setSpeed(int speed) = 0;
    // `commands`: a captured action, run when the link is clicked.
    virtual void linkText(TokenLine commands, std::u16string text) = 0;
    // Normal, hover, pressed; nothing (or empty text) leaves that colour as it is.
    virtual void setLinkTextColor(const std::array<std::optional<std::u16string>, 3>& colors) = 0;
    // Normal, hover, pressed; missing ones are off.
    virtual void setLinkTextUnderline(const std::array<bool, 3>& underlines) = 0;
    // Transitions of the layer's balloon (percentage steps per frame).
    virtual void open(int sizeStep, int opacityStep) = 0;
    virtual void close(int sizeStep, int opacityStep) = 0;
};

// Marks `layer` as the text layer whose line runs on `parser`, for its lifetime (these
// nest: the innermost counts).
class RunningTextLayer {
public:
    RunningTextLayer(const Parser& parser, TextLayerControl& layer);
    ~RunningTextLayer();
    RunningTextLayer(const RunningTextLayer&) = delete;
    RunningTextLayer& operator=(const RunningTextLayer&) = delete;

    // The layer running on this thread for that parser, or null.
    static TextLayerControl* of(const Parser& parser);

private:
    const Parser* parser_;
    TextLayerControl* layer_;
    RunningTextLayer* outer_;
};

}  // namespace Quenta::Interpreter
