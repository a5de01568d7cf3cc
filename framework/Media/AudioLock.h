#pragma once
// The one process-wide audio lock: it serialises play, stop and the looping step of
// every player. It may be taken again by the thread that holds it.
#include "framework/Threading/CriticalSection.h"

namespace Arbor::Media {

Threading::CriticalSection& audioLock();

using AudioLockGuard = Threading::CriticalSectionLock;

}  // namespace Arbor::Media
