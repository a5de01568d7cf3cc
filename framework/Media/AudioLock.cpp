#include "framework/Media/AudioLock.h"

namespace Arbor::Media {

Threading::CriticalSection& audioLock() {
    // Never destroyed: players held by static objects may still stop during exit.
    static auto* lock = new Threading::CriticalSection;
    return *lock;
}

}  // namespace Arbor::Media
