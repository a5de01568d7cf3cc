#include "Source/GameComponent/ScriptObject/TextStyle.h"

#include <algorithm>

namespace Quenta::GameComponent {

namespace {
constexpr std::size_t kFaceNameLimit = 31;
}

int fontHeightForPoints(int points) {
    const int size = std::clamp(points, 1, kMaxFontSize);
    // Rounded to nearest as the system's multiply-divide does; sizes are positive.
    return -((size * kPixelsPerInch + 36) / 72);
}

FontRecord makeFontRecord(const TextStyle& style, std::uint32_t color, bool underline) {
    FontRecord record;
    record.color = color;
    record.format = style.format;
    record.request.faceName = style.fontName.substr(0, kFaceNameLimit);
    record.request.height = fontHeightForPoints(style.fontSize);
    record.request.weight = 400;
    record.request.italic = false;
    record.request.underline = underline;
    return record;
}

Arbor::Platform::GlyphFormat glyphFormatForQuality(std::u16string_view quality) {
    return quality == u"Low" ? Arbor::Platform::GlyphFormat::Monochrome : Arbor::Platform::GlyphFormat::Gray65;
}

}  // namespace Quenta::GameComponent
