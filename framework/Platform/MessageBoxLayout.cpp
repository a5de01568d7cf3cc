#include "framework/Platform/MessageBoxLayout.h"

#include <algorithm>

#include "framework/Platform/MessageBox.h"

namespace Arbor::Platform {

namespace {

constexpr std::uint32_t kButtonMask = 0x0000000F;
constexpr int kMargin = 16;         // around the text and the button row
constexpr int kButtonGap = 8;
constexpr int kButtonMinWidth = 80;
constexpr int kButtonPadding = 12;  // left and right of a label
constexpr int kMinWidth = 200;

constexpr std::uint32_t kBackground = 0xFFF0F0F0u;
constexpr std::uint32_t kText = 0xFF000000u;
constexpr std::uint32_t kButtonFace = 0xFFE1E1E1u;
constexpr std::uint32_t kButtonPressed = 0xFFC4C4C4u;
constexpr std::uint32_t kButtonBorder = 0xFF7A7A7Au;
constexpr std::uint32_t kFocusBorder = 0xFF0060C0u;

std::u32string decode(std::u16string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            out.push_back(0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit < 0xE000) {
            out.push_back(0xFFFD);  // a lone surrogate
        } else {
            out.push_back(unit);
        }
    }
    return out;
}

// Scripts written without spaces may break between any two of their characters.
bool breaksAnywhere(char32_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x3FFFF);
}

int advance(GlyphFont& font, char32_t c) {
    if (c == U'\t') c = U' ';
    const auto glyph = font.glyph(c, GlyphFormat::Gray65);
    return glyph ? glyph->metrics.cellIncX : 0;
}

void trimRight(std::u32string& line) {
    while (!line.empty() && (line.back() == U' ' || line.back() == U'\t')) line.pop_back();
}

// One paragraph (no line breaks) into lines.
void wrapParagraph(GlyphFont& font, std::u32string_view text, int maxWidth, std::vector<std::u32string>& lines) {
    std::u32string line;
    int width = 0;
    std::size_t lastBreak = std::u32string::npos;  // in `line`: where a new line may start
    for (char32_t c : text) {
        const int w = advance(font, c);
        if (width + w > maxWidth && !line.empty() && c != U' ') {
            if (lastBreak != std::u32string::npos && lastBreak > 0) {
                std::u32string rest = line.substr(lastBreak);
                line.resize(lastBreak);
                trimRight(line);
                lines.push_back(std::move(line));
                line = std::move(rest);
            } else {
                // A word wider than the line: cut it where it overflows.
                trimRight(line);
                lines.push_back(std::move(line));
                line.clear();
            }
            lastBreak = std::u32string::npos;
            width = textWidth(font, line);
        }
        if (breaksAnywhere(c) && !line.empty()) lastBreak = line.size();
        line.push_back(c);
        width += w;
        if (c == U' ' || c == U'\t' || breaksAnywhere(c)) lastBreak = line.size();
    }
    trimRight(line);
    lines.push_back(std::move(line));
}

void fill(std::vector<std::uint32_t>& pixels, int stride, const Rect& r, std::uint32_t colour) {
    for (int y = std::max(0, r.top); y < r.bottom; ++y) {
        for (int x = std::max(0, r.left); x < std::min(r.right, stride); ++x) {
            pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(stride) + static_cast<std::size_t>(x)] =
                colour;
        }
    }
}

void frame(std::vector<std::uint32_t>& pixels, int stride, const Rect& r, int thickness, std::uint32_t colour) {
    fill(pixels, stride, {r.left, r.top, r.right, r.top + thickness}, colour);
    fill(pixels, stride, {r.left, r.bottom - thickness, r.right, r.bottom}, colour);
    fill(pixels, stride, {r.left, r.top, r.left + thickness, r.bottom}, colour);
    fill(pixels, stride, {r.right - thickness, r.top, r.right, r.bottom}, colour);
}

std::uint32_t blend(std::uint32_t under, std::uint32_t over, int coverage) {
    std::uint32_t out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>((under >> shift) & 0xFF), b = static_cast<int>((over >> shift) & 0xFF);
        out |= static_cast<std::uint32_t>((a * (64 - coverage) + b * coverage + 32) / 64) << shift;
    }
    return out;
}

// Draws a line of text with its baseline at y, clipped to the picture.
void drawText(GlyphFont& font, std::vector<std::uint32_t>& pixels, int width, int height, int x, int baseline,
              std::u32string_view line, std::uint32_t colour) {
    for (char32_t c : line) {
        const auto glyph = font.glyph(c == U'\t' ? U' ' : c, GlyphFormat::Gray65);
        if (!glyph) continue;
        const GlyphMetrics& m = glyph->metrics;
        for (int gy = 0; gy < m.blackBoxHeight; ++gy) {
            const int py = baseline - m.originY + gy;
            if (py < 0 || py >= height) continue;
            for (int gx = 0; gx < m.blackBoxWidth; ++gx) {
                const int px = x + m.originX + gx;
                const int coverage = glyph->at(gx, gy);
                if (px < 0 || px >= width || coverage == 0) continue;
                std::uint32_t& target =
                    pixels[static_cast<std::size_t>(py) * static_cast<std::size_t>(width) + static_cast<std::size_t>(px)];
                target = blend(target, colour, std::min(coverage, 64));
            }
        }
        x += m.cellIncX;
    }
}

}  // namespace

std::vector<MessageBoxButton> messageBoxButtons(std::uint32_t type) {
    switch (type & kButtonMask) {
        case MB_OKCANCEL: return {{IDOK, u"OK", {}}, {IDCANCEL, u"Cancel", {}}};
        case MB_YESNO: return {{IDYES, u"Yes", {}}, {IDNO, u"No", {}}};
        default: return {{IDOK, u"OK", {}}};
    }
}

int messageBoxEscapeAnswer(std::uint32_t type) {
    switch (type & kButtonMask) {
        case MB_OKCANCEL: return IDCANCEL;
        case MB_YESNO: return IDNO;
        default: return IDOK;
    }
}

int textWidth(GlyphFont& font, std::u32string_view line) {
    int width = 0;
    for (char32_t c : line) width += advance(font, c);
    return width;
}

std::vector<std::u32string> wrapText(GlyphFont& font, std::u16string_view text, int maxWidth) {
    const std::u32string all = decode(text);
    std::vector<std::u32string> lines;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = all.find(U'\n', start);
        std::u32string_view paragraph(all.data() + start, (end == std::u32string::npos ? all.size() : end) - start);
        if (!paragraph.empty() && paragraph.back() == U'\r') paragraph.remove_suffix(1);
        wrapParagraph(font, paragraph, std::max(1, maxWidth), lines);
        if (end == std::u32string::npos) break;
        start = end + 1;
    }
    return lines;
}

MessageBoxLayout layoutMessageBox(GlyphFont& font, std::u16string_view text, std::uint32_t type, int maxTextWidth) {
    MessageBoxLayout layout;
    const FontMetrics& metrics = font.metrics();
    layout.lineHeight = std::max(1, metrics.height + metrics.externalLeading);
    layout.ascent = metrics.ascent;
    layout.lines = wrapText(font, text, maxTextWidth);
    int widest = 0;
    for (const auto& line : layout.lines) widest = std::max(widest, textWidth(font, line));

    layout.buttons = messageBoxButtons(type);
    layout.escapeAnswer = messageBoxEscapeAnswer(type);
    const int buttonHeight = metrics.height + 12;
    int buttonWidth = kButtonMinWidth;
    for (const auto& button : layout.buttons) {
        buttonWidth = std::max(buttonWidth, textWidth(font, decode(button.label)) + 2 * kButtonPadding);
    }
    const int count = static_cast<int>(layout.buttons.size());
    const int rowWidth = count * buttonWidth + (count - 1) * kButtonGap;

    layout.width = std::max({kMinWidth, widest + 2 * kMargin, rowWidth + 2 * kMargin});
    layout.textLeft = kMargin;
    layout.textTop = kMargin;
    const int textHeight = static_cast<int>(layout.lines.size()) * layout.lineHeight;
    const int buttonTop = kMargin + textHeight + kMargin;
    layout.height = buttonTop + buttonHeight + kMargin;
    // The row stands at the right, as dialogs put it.
    int x = layout.width - kMargin - rowWidth;
    for (auto& button : layout.buttons) {
        button.bounds = Rect{x, buttonTop, x + buttonWidth, buttonTop + buttonHeight};
        x += buttonWidth + kButtonGap;
    }
    layout.defaultButton = 0;
    return layout;
}

std::vector<std::uint32_t> paintMessageBox(GlyphFont& font, const MessageBoxLayout& layout, int focused,
                                           int pressed) {
    const int width = layout.width, height = layout.height;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), kBackground);
    int baseline = layout.textTop + layout.ascent;
    for (const auto& line : layout.lines) {
        drawText(font, pixels, width, height, layout.textLeft, baseline, line, kText);
        baseline += layout.lineHeight;
    }
    for (int i = 0; i < static_cast<int>(layout.buttons.size()); ++i) {
        const MessageBoxButton& button = layout.buttons[static_cast<std::size_t>(i)];
        const Rect& r = button.bounds;
        fill(pixels, width, r, i == pressed ? kButtonPressed : kButtonFace);
        frame(pixels, width, r, 1, kButtonBorder);
        if (i == focused) frame(pixels, width, r, 2, kFocusBorder);
        const std::u32string label = decode(button.label);
        const int labelX = r.left + (r.width() - textWidth(font, label)) / 2 + (i == pressed ? 1 : 0);
        const int labelBaseline =
            r.top + (r.height() - font.metrics().height) / 2 + font.metrics().ascent + (i == pressed ? 1 : 0);
        drawText(font, pixels, width, height, labelX, labelBaseline, label, kText);
    }
    return pixels;
}

int messageBoxButtonAt(const MessageBoxLayout& layout, Point point) {
    for (int i = 0; i < static_cast<int>(layout.buttons.size()); ++i) {
        const Rect& r = layout.buttons[static_cast<std::size_t>(i)].bounds;
        if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom) return i;
    }
    return -1;
}

}  // namespace Arbor::Platform
