#include "Source/GameComponent/ScriptObject/BalloonLayout.h"

#include <algorithm>

#include "Source/GameComponent/ScriptObject/GlyphDrawing.h"

namespace Quenta::GameComponent {

namespace {

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

TextLayout::TextLayout(std::u16string text, const FontRecord& font, TextFonts& fonts)
    : text_(std::move(text)), font_(font) {
    chars_.resize(text_.size());
    for (std::size_t i = 0; i < text_.size(); ++i) {
        CharItem& item = chars_[i];
        item.code = text_[i];
        item.color = font_.color;
        item.underline = font_.request.underline;
        char32_t character = text_[i];
        if (isHighSurrogate(text_[i]) && i + 1 < text_.size() && isLowSurrogate(text_[i + 1])) {
            // The pair's glyph goes with its first unit; the second is an empty cell,
            // so that positions and counts stay in code units.
            character = 0x10000 + ((char32_t{text_[i]} - 0xD800) << 10) + (char32_t{text_[i + 1]} - 0xDC00);
        } else if (isLowSurrogate(text_[i]) && i > 0 && isHighSurrogate(text_[i - 1])) {
            item.glyph.format = font_.format;
            item.glyph.cellHeight = chars_[i - 1].glyph.cellHeight;
            continue;
        }
        if (character == U'\r' || character == U'\n') {
            // Line breaks take no room on the line they end.
            item.glyph = fonts.glyph(font_, U' ');
            item.glyph.advance = 0;
        } else {
            item.glyph = fonts.glyph(font_, character);
        }
        item.width = item.glyph.advance;
        item.height = item.glyph.cellHeight;
        tallestCell_ = std::max(tallestCell_, item.glyph.cellHeight);
        totalAdvance_ += item.glyph.advance;
    }
}

bool TextLayout::hasVisibleCharAt(double px, double py) const {
    return std::any_of(chars_.begin(), chars_.end(),
                       [&](const CharItem& c) { return c.visible && c.contains(px, py); });
}

void TextLayout::draw(Arbor::Graphics::Painter& painter) const {
    for (const CharItem& c : chars_) {
        if (c.visible) drawCharItem(painter, c);
    }
}

LinkTextLayout::LinkTextLayout(Interpreter::TokenLine commands, std::u16string text,
                               const std::array<FontRecord, 3>& styles, TextFonts& fonts)
    : TextLayout(std::move(text), styles[0], fonts), commands_(std::move(commands)), styles_(styles) {}

bool LinkTextLayout::setHovered(bool on) {
    if (hovered_ == on) return false;
    hovered_ = on;
    restyle();
    return true;
}

bool LinkTextLayout::setPressed(bool on) {
    if (pressed_ == on) return false;
    pressed_ = on;
    restyle();
    return true;
}

void LinkTextLayout::restyle() {
    const FontRecord& style = styles_[static_cast<std::size_t>(state())];
    for (CharItem& c : chars_) {
        c.color = style.color;
        c.underline = style.request.underline;
    }
}

BoxLayout::BoxLayout(double left, double top, double w, double h) {
    x = left;
    y = top;
    width = w;
    height = h;
    visible = true;
}

void BoxLayout::append(std::unique_ptr<TextLayout> piece) {
    if (!piece) return;
    charCount_ += piece->charCount();
    pieces_.push_back(std::move(piece));
    layout();
}

void BoxLayout::clear() {
    pieces_.clear();
    charCount_ = 0;
}

void BoxLayout::layout() {
    const double left = x;
    const double right = x + width;
    double cursorX = left;
    double cursorY = y;
    double lineHeight = 0.0;
    char16_t previous = 0;
    const auto breakLine = [&] {
        cursorY += lineHeight;
        cursorX = left;
        lineHeight = 0.0;
    };
    for (const auto& piece : pieces_) {
        // Link text is kept on one line when it fits on a fresh one.
        if (piece->isLink() && cursorX > left && cursorX + piece->totalAdvance() > right) breakLine();
        double pieceLeft = cursorX, pieceTop = cursorY, pieceRight = cursorX, pieceBottom = cursorY;
        for (CharItem& c : piece->chars()) {
            lineHeight = std::max(lineHeight, static_cast<double>(piece->tallestCell()));
            if (cursorX + c.glyph.advance > right) {
                breakLine();
                lineHeight = std::max(lineHeight, static_cast<double>(piece->tallestCell()));
            }
            c.x = cursorX;
            c.y = cursorY;
            c.width = c.glyph.advance;
            c.height = c.glyph.cellHeight;
            cursorX += c.glyph.advance;
            pieceLeft = std::min(pieceLeft, c.x);
            pieceTop = std::min(pieceTop, c.y);
            pieceRight = std::max(pieceRight, c.x + c.width);
            pieceBottom = std::max(pieceBottom, c.y + c.height);
            if (c.code == u'\r' || (c.code == u'\n' && previous != u'\r')) breakLine();
            previous = c.code;
        }
        piece->x = pieceLeft;
        piece->y = pieceTop;
        piece->width = pieceRight - pieceLeft;
        piece->height = pieceBottom - pieceTop;
    }
}

void BoxLayout::reveal(std::size_t n) {
    for (const auto& piece : pieces_) {
        bool any = false;
        for (CharItem& c : piece->chars()) {
            c.visible = n > 0 && c.liesInside(*this);
            if (c.visible) {
                --n;
                any = true;
            }
        }
        piece->visible = any;
    }
}

void BoxLayout::draw(Arbor::Graphics::Painter& painter) const {
    for (const auto& piece : pieces_) {
        if (piece->visible) piece->draw(painter);
    }
}

LinkTextLayout* BoxLayout::linkAt(double px, double py) const {
    for (const auto& piece : pieces_) {
        if (piece->isLink() && piece->visible && piece->hasVisibleCharAt(px, py)) {
            return static_cast<LinkTextLayout*>(piece.get());
        }
    }
    return nullptr;
}

}  // namespace Quenta::GameComponent
