#include "framework/Media/AudioLock.h"

namespace Arbor::Media {

std::recursive_mutex& audioLock() {
    // Never destroyed: players held by static objects may still stop during exit.
    static auto* lock = new std::recursive_mutex;
    return *lock;
}

}  // namespace Arbor::Media
