#pragma once
// The order a balloon runs: one BALLOON_ORDER_REG block with the balloon motion (its
// background frames), image layers and text layers it names, a background sound, the
// position the balloon stands at, its popup anchor, mirroring and the chain of orders
// that follow it.
#include <memory>
#include <string>
#include <vector>

#include "Source/GameComponent/ScriptObject.h"
#include "Source/GameComponent/ScriptObject/TextLayerObject.h"
#include "Source/Script/F/RecordViews.h"

namespace Arbor::Graphics {
class PaintDevice;
}

namespace Quenta::GameComponent {

class BalloonImageLayerObject;
class BalloonMotionObject;
class SoundChannel;
class TextLayerHost;

class BalloonOrderObject : public ScriptObject {
public:
    BalloonOrderObject(CharacterObject& character, TextLayerHost& balloon);
    ~BalloonOrderObject() override;
    int registerKind() const override { return 8; }

    // Reads the block and starts its motion, layers, text layers and sound (steps of
    // starting a balloon order; the balloon's scope is current). Throws ScriptException.
    void start(const Script::DefinitionRecord& block);
    bool hasOrder() const { return block() != nullptr; }
    const Script::BalloonOrderRecordView& record() const { return record_; }

    // One frame of work: the motion advances (its movement moves the order position),
    // image and text layers advance. True when the picture changed.
    bool step();
    // Composes motion, image layers and text into `surface` (cleared first).
    void draw(Arbor::Graphics::PaintDevice& surface);

    // The size of the motion (the balloon's unscaled size).
    int width() const;
    int height() const;
    int flip() const { return flip_; }
    double x() const { return x_; }
    double y() const { return y_; }
    void moveTo(double x, double y) {
        x_ = x;
        y_ = y;
    }
    double basePosX() const { return basePosX_; }
    double basePosY() const { return basePosY_; }
    double popupPosX() const { return popupPosX_; }
    double popupPosY() const { return popupPosY_; }
    bool followsCharacter() const { return record_.flagFollowChara; }

    int frameNumber() const;
    void setFrameNumber(int n);
    const std::vector<std::unique_ptr<TextLayerObject>>& textLayers() const { return textLayers_; }
    TextLayerObject* textLayer(std::u16string_view name) const;
    bool textFinished() const;
    // TerminateBalloon: every text layer finished.
    void finishText();
    // The next entry of NextBalloonList, or empty once the list is used up.
    std::u16string takeNextOrder();
    void setSoundsMuted(bool muted);

private:
    TextLayerHost& balloon_;
    Script::BalloonOrderRecordView record_;
    double x_ = 0.0;
    double y_ = 0.0;
    double basePosX_ = 0.0;
    double basePosY_ = 0.0;
    double popupPosX_ = 0.0;
    double popupPosY_ = 0.0;
    int flip_ = 0;
    // A frame number set since the motion last advanced (it seeks at its next step).
    int seekPending_ = -1;
    std::vector<std::u16string> next_;
    std::size_t nextIndex_ = 0;
    std::unique_ptr<BalloonMotionObject> motion_;
    std::vector<std::unique_ptr<BalloonImageLayerObject>> layers_;
    std::vector<std::unique_ptr<TextLayerObject>> textLayers_;
    std::unique_ptr<SoundChannel> bgm_;
};

}  // namespace Quenta::GameComponent
