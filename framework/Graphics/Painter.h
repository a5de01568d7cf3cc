#pragma once
// A drawing context on one paint device (or a widget's back buffer): scaled, mirrored and
// rotated image drawing with the blend modes, rectangle fills and frames.
#include <cstdint>
#include <string>

#include "framework/Graphics/DrawParams.h"
#include "framework/Graphics/Geometry.h"
#include "framework/Graphics/PaintDevice.h"

namespace Arbor::Graphics {

// The text font a painter carries for text drawing.
struct PainterFont {
    std::int32_t size = 14;
    std::u16string faceName;
    Pixel colour = 0xFF000000u;
    std::int32_t quality = 6;
    std::uint32_t styleFlags = 0;
};

class Painter {
public:
    // On a BackBufferOwner (a widget) the painter draws into its back buffer, otherwise into
    // the device itself.
    explicit Painter(PaintDevice& device);
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    // The target exists and is not null.
    bool isValid() const;
    PaintDevice* target() const { return target_; }

    const DrawParams& drawParams() const { return params_; }
    void setDrawParams(const DrawParams& params) { params_ = params; }
    PainterFont& font() { return font_; }

    // The source rectangle of `source` into the destination rectangle of the target.
    bool drawImage(const PaintDevice& source, const Rect& sourceRect, const Rect& destRect,
                   const DrawParams& params);
    bool drawImage(const PaintDevice& source, const Rect& sourceRect, const Rect& destRect) {
        return drawImage(source, sourceRect, destRect, params_);
    }

    // Unscaled: the destination rectangle is `dest` plus the source rectangle's size; both
    // rectangles are clipped against their images (a mirrored axis from the far side). False
    // when nothing is left.
    bool drawImageAt(const PaintDevice& source, Point dest, const Rect& sourceRect,
                     const DrawParams& params);
    bool drawImageAt(const PaintDevice& source, Point dest, const Rect& sourceRect) {
        return drawImageAt(source, dest, sourceRect, params_);
    }

    // Rotated by `degrees` about `rotationCentre` (source coordinates), which lands on
    // `destCentre`; scale <= 0 counts as 1.
    bool drawRotated(const PaintDevice& source, const Rect& sourceRect, Point destCentre,
                     Point rotationCentre, double degrees, double scale,
                     const DrawParams& params);

    // Sets every pixel of the rectangle inside the target (formats 5 and 7 only).
    bool fillRect(const Rect& rect, Pixel colour);
    // Four one-pixel lines along the rectangle's edges in 0xFFAA0000.
    bool drawFrame(const Rect& rect);

private:
    bool canDraw(const PaintDevice& source) const;
    bool canFill() const;
    bool drawScaled(const PaintDevice& source, const Rect& sourceRect, const Rect& destRect,
                    std::int32_t sampling, const DrawParams& params);

    PaintDevice* target_ = nullptr;
    DrawParams params_;
    PainterFont font_;
};

}  // namespace Arbor::Graphics
