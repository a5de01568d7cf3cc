#pragma once
// How events, PostEvent, start-up and termination drive a character: requests queue
// under the order-request lock from any thread, and in the update phase the one with
// the highest priority (the earliest among equals) is carried out; the rest are
// discarded.
#include <cstdint>
#include <string>

#include "Source/Interpreter/Token.h"

namespace Quenta::GameComponent {

class GameObject;

struct OrderRequest {
    enum DragMode : int { DragNone = 0, DragStart = 1, DragStop = 2 };
    enum Docking : int { DockNone = 0, DockToTarget = 1, DockPurge = 2 };

    std::u16string orderName;        // the order to select; empty: keep the current one
    std::int32_t priority = 0;       // the highest pending priority wins
    int dragMode = DragNone;
    int docking = DockNone;
    GameObject* target = nullptr;    // the other object involved, or null
    double targetX = 0.0;            // the area involved, in the parent's coordinates
    double targetY = 0.0;
    double targetWidth = 0.0;
    double targetHeight = 0.0;
    std::u16string soundName;        // played through the character's sound player
    std::u16string menuName;         // popup menu shown at the target rectangle
    Interpreter::TokenBlock code;    // run first, in the character's context
};

}  // namespace Quenta::GameComponent
