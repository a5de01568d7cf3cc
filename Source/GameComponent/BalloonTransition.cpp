#include "Source/GameComponent/BalloonTransition.h"

namespace Quenta::GameComponent {

std::unique_ptr<BalloonTransition> BalloonTransition::opening(int sizeStep, int opacityStep) {
    auto t = std::make_unique<BalloonTransition>();
    t->size.reset(0, 100, sizeStep);
    t->opacity.reset(0, 100, opacityStep);
    return t;
}

std::unique_ptr<BalloonTransition> BalloonTransition::closing(int sizeStep, int opacityStep,
                                                              Interpreter::TokenLine commands) {
    auto t = std::make_unique<BalloonTransition>();
    t->size.reset(100, 0, sizeStep);
    t->opacity.reset(100, 0, opacityStep);
    t->commands = std::move(commands);
    return t;
}

bool BalloonTransition::step() {
    if (state == Queued) state = Running;
    if (state != Running) return false;
    const int sizeBefore = size.value();
    const int opacityBefore = opacity.value();
    size.stepForward();
    opacity.stepForward();
    if (size.atEnd() && opacity.atEnd()) state = Finished;
    return size.value() != sizeBefore || opacity.value() != opacityBefore;
}

}  // namespace Quenta::GameComponent
