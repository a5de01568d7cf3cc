#pragma once
// An opening or closing animation of a balloon: a size and an opacity percentage, each
// a counter stepping toward its end (a step s > 0 moves s per frame; s <= 0 one every
// max(1, -s) frames), and the commands to run once a closing one has finished.
#include <memory>

#include "Source/Interpreter/Token.h"
#include "framework/Counter/RootCounter.h"

namespace Quenta::GameComponent {

struct BalloonTransition {
    enum State : int { Queued = 0, Running = 2, Finished = 3 };

    static std::unique_ptr<BalloonTransition> opening(int sizeStep, int opacityStep);
    static std::unique_ptr<BalloonTransition> closing(int sizeStep, int opacityStep,
                                                      Interpreter::TokenLine commands = {});

    // Both ends above 0: the balloon shows when it starts.
    bool opens() const { return size.end() > 0 && opacity.end() > 0; }
    // Either end below 1: the balloon hides when it finishes.
    bool hidesAtEnd() const { return size.end() < 1 || opacity.end() < 1; }
    // One frame: a queued transition starts running and then steps; true when a
    // counter moved.
    bool step();

    State state = Queued;
    Arbor::Counter::RootCounter size;
    Arbor::Counter::RootCounter opacity;
    Interpreter::TokenLine commands;
};

}  // namespace Quenta::GameComponent
