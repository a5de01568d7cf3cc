#include "Source/GameComponent/ScriptObject/TextLabel.h"

#include <cmath>

#include "Source/GameComponent/ScriptObject/BalloonLayout.h"
#include "framework/Graphics/Painter.h"

namespace Quenta::GameComponent {

namespace {
// A label is one line: wide enough never to wrap, and no wider than a picture may be.
constexpr double kUnbounded = 1e6;
constexpr int kMaxSide = 4096;
}  // namespace

TextLabel::TextLabel(const std::u16string& text, int points, std::uint32_t color) {
    if (text.empty()) return;
    TextStyle style;
    style.fontSize = points;
    style.color = color;
    TextFonts fonts;
    BoxLayout box(0, 0, kUnbounded, kUnbounded);
    box.append(std::make_unique<TextLayout>(text, makeFontRecord(style), fonts));
    box.reveal(text.size());
    const TextLayout& piece = *box.pieces().front();
    width_ = std::min(static_cast<int>(std::ceil(piece.totalAdvance())), kMaxSide);
    height_ = std::min(piece.tallestCell(), kMaxSide);
    if (width_ <= 0 || height_ <= 0) {
        width_ = height_ = 0;
        return;
    }
    image_ = std::make_unique<Arbor::Graphics::BufferedImage>(width_, height_);
    Arbor::Graphics::Painter painter(*image_);
    box.draw(painter);
}

TextLabel::~TextLabel() = default;

}  // namespace Quenta::GameComponent
