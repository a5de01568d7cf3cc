#include "Source/GameComponent/SceneEnvironment.h"

namespace Quenta::GameComponent {

SceneEnvironment& SceneEnvironment::current() {
    static SceneEnvironment* environment = new SceneEnvironment;
    return *environment;
}

void SceneEnvironment::reportFatalError(std::u16string_view message) {
    if (current().fatalError) current().fatalError(message);
}

}  // namespace Quenta::GameComponent
