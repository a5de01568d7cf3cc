#pragma once
// The seam between a character and its balloons. The character owns one object of
// this interface (a BalloonManager once balloons exist; until then none) and calls it
// at the fixed points below; every call happens on the frame thread.
#include "Source/Interpreter/Token.h"

namespace Quenta::GameComponent {

class GameObject;

class CharacterBalloons {
public:
    virtual ~CharacterBalloons() = default;

    // An order started: its "CallBalloonList" field (null when the order has none).
    virtual void callRequest(const Interpreter::TokenLine* callBalloonList) = 0;
    // Update phase, while the character is active, after the winning order request.
    virtual void processRequests() = 0;

    // Passed on from the character's own setters (balloons get z + 0.0001).
    virtual void setZOrder(double characterZOrder) = 0;
    virtual void setScale(double scale) = 0;
    virtual void setAlpha(double alpha) = 0;
    virtual void setNoActivate(bool on) = 0;
    virtual void setTopmost(bool on) = 0;
    virtual void requestRestack() = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual void setMuted(bool muted) = 0;
    // dockTo: queue the balloons' re-attachment to the character's new parent.
    virtual void dockTo(GameObject& newParent) = 0;
};

}  // namespace Quenta::GameComponent
