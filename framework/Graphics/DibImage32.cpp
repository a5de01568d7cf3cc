#include "framework/Graphics/DibImage32.h"

#include "framework/Platform/DibSection.h"

namespace Arbor::Graphics {

DibImage32::DibImage32(std::int32_t w, std::int32_t h)
    : section_(Platform::createDibSection(w, h)) {}

DibImage32::~DibImage32() = default;

std::int32_t DibImage32::width() const { return section_ ? section_->width() : 0; }
std::int32_t DibImage32::height() const { return section_ ? section_->height() : 0; }
std::int32_t DibImage32::format() const { return premultiplied_ ? Argb32Premultiplied : Argb32; }
Pixel* DibImage32::bits() { return section_ ? section_->bits() : nullptr; }
const Pixel* DibImage32::bits() const { return section_ ? section_->bits() : nullptr; }

bool DibImage32::isNull() const {
    return !section_ || !section_->bitmapHandle() || !section_->bits() ||
           section_->width() <= 0 || section_->height() <= 0;
}

void* DibImage32::deviceContext() const { return section_ ? section_->deviceContext() : nullptr; }
void* DibImage32::bitmapHandle() const { return section_ ? section_->bitmapHandle() : nullptr; }

}  // namespace Arbor::Graphics
