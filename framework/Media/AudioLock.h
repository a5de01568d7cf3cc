#pragma once
// The one process-wide audio lock: it serialises play, stop and the looping step of
// every player. It may be taken again by the thread that holds it.
#include <mutex>

namespace Arbor::Media {

std::recursive_mutex& audioLock();

using AudioLockGuard = std::lock_guard<std::recursive_mutex>;

}  // namespace Arbor::Media
