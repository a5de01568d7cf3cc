#pragma once
// What the balloon built-ins act on: the calling character's balloons (its balloon
// manager implements this; ScriptOwner::balloonControl() hands it out). Names: the
// empty name stands for "#bal00"; "ALL" means every balloon where the operation allows
// it; a name that matches no balloon makes the operation do nothing.
#include <string_view>

#include "Source/Interpreter/Token.h"

namespace Quenta::Interpreter {

class BalloonControl {
public:
    virtual ~BalloonControl() = default;

    virtual void createBalloon(std::u16string_view name) = 0;
    // Queued; decided in the character's next update.
    virtual void callBalloon(std::u16string_view orderName) = 0;
    virtual void openBalloon(std::u16string_view name, int sizeStep, int opacityStep) = 0;
    // `commands` (a captured action, possibly empty) runs once the balloon has closed.
    virtual void closeBalloon(std::u16string_view name, int sizeStep, int opacityStep, TokenLine commands) = 0;
    virtual void terminateBalloon(std::u16string_view name) = 0;
    virtual void moveBalloon(std::u16string_view name, double x, double y) = 0;
    virtual int balloonFrameNumber(std::u16string_view name) = 0;
    virtual void setBalloonFrameNumber(std::u16string_view name, int frame) = 0;
    // The same as a command for the character's next input phase.
    virtual void postSetBalloonFrameNumber(std::u16string_view name, int frame) = 0;
    virtual int textLineNumber(std::u16string_view balloon, std::u16string_view layer) = 0;
    virtual void setTextLineNumber(std::u16string_view balloon, std::u16string_view layer, int line) = 0;
    virtual void postSetTextLineNumber(std::u16string_view balloon, std::u16string_view layer, int line) = 0;
    virtual void balloonToTop(std::u16string_view name) = 0;
};

}  // namespace Quenta::Interpreter
