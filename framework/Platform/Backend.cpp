#include "framework/Platform/Backend.h"

#include <atomic>

#include "framework/Platform/BackendDriver.h"

namespace Arbor::Platform {

namespace {

std::atomic<const BackendDriver*>& selected() {
    static std::atomic<const BackendDriver*> driver{nullptr};
    return driver;
}

// The list always ends in a driver that runs anywhere; should a build lack one, the
// last driver still serves rather than none.
const BackendDriver& firstAvailable(bool offscreen) {
    const auto drivers = backendDrivers();
    for (const BackendDriver* driver : drivers) {
        if (offscreen && !driver->offscreen) continue;
        if (driver->isAvailable()) return *driver;
    }
    return *drivers.back();
}

}  // namespace

const BackendDriver* findBackend(std::string_view name) {
    for (const BackendDriver* driver : backendDrivers()) {
        if (name == driver->name) return driver;
    }
    return nullptr;
}

bool hasBackend(std::string_view name) { return findBackend(name) != nullptr; }

bool isBackendAvailable(std::string_view name) {
    const BackendDriver* driver = findBackend(name);
    return driver && driver->isAvailable();
}

const BackendDriver& chooseBackend(bool offscreen) {
    const BackendDriver& driver = firstAvailable(offscreen);
    selected().store(&driver);
    return driver;
}

bool selectBackend(std::string_view name) {
    const BackendDriver* driver = findBackend(name);
    if (!driver) return false;
    selected().store(driver);
    return true;
}

const BackendDriver& currentBackend() {
    if (const BackendDriver* driver = selected().load()) return *driver;
    // Nobody chose at start-up (a tool, a test): choose now. Two threads racing here
    // reach the same answer; the first store wins.
    const BackendDriver* expected = nullptr;
    const BackendDriver* chosen = &firstAvailable(false);
    selected().compare_exchange_strong(expected, chosen);
    return *selected().load();
}

std::string_view currentBackendName() { return currentBackend().name; }

}  // namespace Arbor::Platform
