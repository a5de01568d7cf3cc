#pragma once
// Running one test on every platform backend that can run here: derive the fixture
// from Testing::BackendTest and instantiate it with TAVIZO_INSTANTIATE_FOR_BACKENDS.
// The test selects its backend by driver name and the previous one comes back after it.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "framework/Platform/Backend.h"
#include "framework/Platform/BackendDriver.h"

namespace Testing {

class BackendTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        previous_ = std::string(Arbor::Platform::currentBackendName());
        if (!Arbor::Platform::selectBackend(GetParam())) GTEST_SKIP() << "backend not in this build";
    }
    void TearDown() override { Arbor::Platform::selectBackend(previous_); }
    bool isHeadless() const { return GetParam() == "Headless"; }

private:
    std::string previous_;
};

// Every backend of this build that can run here, in reverse driver order so that the
// offscreen desktop comes first.
inline std::vector<std::string> availableBackends() {
    std::vector<std::string> names;
    for (const Arbor::Platform::BackendDriver* driver : Arbor::Platform::backendDrivers()) {
        if (driver->isAvailable()) names.emplace_back(driver->name);
    }
    std::reverse(names.begin(), names.end());
    return names;
}

// Selects a backend by driver name for one scope and restores the previous one.
class BackendScope {
public:
    explicit BackendScope(std::string_view name) : previous_(Arbor::Platform::currentBackendName()) {
        selected_ = Arbor::Platform::selectBackend(name);
    }
    ~BackendScope() { Arbor::Platform::selectBackend(previous_); }
    BackendScope(const BackendScope&) = delete;
    BackendScope& operator=(const BackendScope&) = delete;
    // False when the build has no such backend (nothing changed).
    bool selected() const { return selected_; }

private:
    std::string previous_;
    bool selected_ = false;
};

inline std::string backendName(const ::testing::TestParamInfo<std::string>& param) { return param.param; }

}  // namespace Testing

#define TAVIZO_INSTANTIATE_FOR_BACKENDS(Fixture)                                     \
    INSTANTIATE_TEST_SUITE_P(Backends, Fixture, ::testing::ValuesIn(::Testing::availableBackends()), \
                             ::Testing::backendName)
