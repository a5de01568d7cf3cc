#pragma once
// The laid-out text of a text layer: a box of pieces, each piece one run of text in one
// style with one item per UTF-16 code unit. Characters flow left to right from the
// box's top-left corner and break onto a new line at the box's right edge (between any
// two characters), at a carriage return and at a line feed not directly after one.
// Revealing a count of characters only flips visible flags; drawing puts the visible
// characters' glyphs into the balloon's surface.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Source/GameComponent/ScriptObject/TextGlyphs.h"
#include "Source/GameComponent/ScriptObject/TextStyle.h"
#include "Source/Interpreter/Token.h"
#include "framework/Graphics/Painter.h"

namespace Quenta::GameComponent {

// A positioned rectangle, in balloon pixels.
struct BalloonItem {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
    bool visible = false;

    bool contains(double px, double py) const { return px >= x && px < x + width && py >= y && py < y + height; }
    bool liesInside(const BalloonItem& outer) const {
        return x >= outer.x && y >= outer.y && x + width <= outer.x + outer.width && y + height <= outer.y + outer.height;
    }
};

struct CharItem : BalloonItem {
    char16_t code = 0;
    CharGlyph glyph;
    std::uint32_t color = kDefaultTextColor;
    bool underline = false;
};

class BalloonLayout : public BalloonItem {
public:
    BalloonLayout() = default;
    virtual ~BalloonLayout() = default;
    BalloonLayout(const BalloonLayout&) = delete;
    BalloonLayout& operator=(const BalloonLayout&) = delete;

    virtual std::size_t charCount() const = 0;
    // Draws the visible characters.
    virtual void draw(Arbor::Graphics::Painter& painter) const = 0;
};

class TextLayout : public BalloonLayout {
public:
    // Makes the glyph of every character now, once.
    TextLayout(std::u16string text, const FontRecord& font, TextFonts& fonts);

    const std::u16string& text() const { return text_; }
    const FontRecord& font() const { return font_; }
    std::vector<CharItem>& chars() { return chars_; }
    const std::vector<CharItem>& chars() const { return chars_; }
    int tallestCell() const { return tallestCell_; }
    double totalAdvance() const { return totalAdvance_; }
    // True when a visible character's cell holds the point.
    bool hasVisibleCharAt(double px, double py) const;

    virtual bool isLink() const { return false; }
    std::size_t charCount() const override { return chars_.size(); }
    void draw(Arbor::Graphics::Painter& painter) const override;

protected:
    std::u16string text_;
    FontRecord font_;
    std::vector<CharItem> chars_;
    int tallestCell_ = 0;
    double totalAdvance_ = 0.0;
};

class LinkTextLayout : public TextLayout {
public:
    // styles: normal, hover and pressed, indexed by LinkState.
    LinkTextLayout(Interpreter::TokenLine commands, std::u16string text, const std::array<FontRecord, 3>& styles,
                   TextFonts& fonts);

    bool isLink() const override { return true; }
    const Interpreter::TokenLine& commands() const { return commands_; }
    bool hovered() const { return hovered_; }
    bool pressed() const { return pressed_; }
    // Both restyle the characters; true when the flag changed.
    bool setHovered(bool on);
    bool setPressed(bool on);
    LinkState state() const { return pressed_ ? LinkState::Pressed : hovered_ ? LinkState::Hover : LinkState::Normal; }

private:
    void restyle();

    Interpreter::TokenLine commands_;
    std::array<FontRecord, 3> styles_;
    bool hovered_ = false;
    bool pressed_ = false;
};

class BoxLayout : public BalloonLayout {
public:
    BoxLayout(double left, double top, double w, double h);

    // Appends a piece and lays the box out again.
    void append(std::unique_ptr<TextLayout> piece);
    void clear();
    void layout();
    // Makes the first n characters whose cells lie inside the box visible (others
    // hidden); characters outside the box use up nothing.
    void reveal(std::size_t n);

    std::size_t charCount() const override { return charCount_; }
    void draw(Arbor::Graphics::Painter& painter) const override;
    // The link with a visible character at the point, or null.
    LinkTextLayout* linkAt(double px, double py) const;
    const std::vector<std::unique_ptr<TextLayout>>& pieces() const { return pieces_; }

private:
    std::vector<std::unique_ptr<TextLayout>> pieces_;
    std::size_t charCount_ = 0;
};

}  // namespace Quenta::GameComponent
