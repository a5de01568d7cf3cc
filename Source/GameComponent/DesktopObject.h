#pragma once
// The root of the scene: the whole desktop, in desktop coordinates (origin at the
// virtual screen's top-left corner). One per process.
#include "Source/GameComponent/GameObject.h"

namespace Quenta::GameComponent {

struct DesktopBounds {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

class DesktopObject : public GameObject {
public:
    static DesktopObject& instance();

    std::u16string className() const override { return u"DesktopObject"; }

    void setBounds(const DesktopBounds& bounds) { bounds_ = bounds; }
    DesktopBounds bounds() const { return bounds_; }

private:
    DesktopBounds bounds_;
};

}  // namespace Quenta::GameComponent
