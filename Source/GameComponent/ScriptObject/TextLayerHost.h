#pragma once
// What a text layer asks of the balloon it belongs to.
namespace Quenta::GameComponent {

class TextLayerHost {
public:
    virtual ~TextLayerHost() = default;
    // The layer's pixels changed: compose the balloon again.
    virtual void requestTextRedraw() = 0;
    // Opening and closing transitions from the layer's text (percentage steps per frame).
    virtual void openFromText(int sizeStep, int opacityStep) = 0;
    virtual void closeFromText(int sizeStep, int opacityStep) = 0;
    // The link cursor is over a link (true) or has left every link (false).
    virtual void setLinkCursor(bool /*overLink*/) {}
};

}  // namespace Quenta::GameComponent
