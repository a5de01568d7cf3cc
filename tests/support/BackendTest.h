#pragma once
// Running one test on every platform backend of the build: derive the fixture from
// Testing::BackendTest and instantiate it with TAVIZO_INSTANTIATE_FOR_BACKENDS. The
// test selects its backend and the previous one comes back after it.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/Platform/Backend.h"

namespace Testing {

class BackendTest : public ::testing::TestWithParam<Arbor::Platform::BackendKind> {
protected:
    void SetUp() override {
        if (!Arbor::Platform::hasBackend(GetParam())) GTEST_SKIP() << "backend not in this build";
        previous_ = Arbor::Platform::currentBackend();
        Arbor::Platform::selectBackend(GetParam());
    }
    void TearDown() override { Arbor::Platform::selectBackend(previous_); }
    bool isHeadless() const { return GetParam() == Arbor::Platform::BackendKind::Headless; }

private:
    Arbor::Platform::BackendKind previous_ = Arbor::Platform::BackendKind::Headless;
};

// Every backend of this build, headless first.
inline std::vector<Arbor::Platform::BackendKind> availableBackends() {
    std::vector<Arbor::Platform::BackendKind> kinds;
    for (auto kind : {Arbor::Platform::BackendKind::Headless, Arbor::Platform::BackendKind::Win32,
                      Arbor::Platform::BackendKind::X11}) {
        if (Arbor::Platform::hasBackend(kind)) kinds.push_back(kind);
    }
    return kinds;
}

inline std::string backendName(const ::testing::TestParamInfo<Arbor::Platform::BackendKind>& param) {
    switch (param.param) {
        case Arbor::Platform::BackendKind::Headless: return "Headless";
        case Arbor::Platform::BackendKind::Win32: return "Win32";
        case Arbor::Platform::BackendKind::X11: return "X11";
    }
    return "Unknown";
}

}  // namespace Testing

#define TAVIZO_INSTANTIATE_FOR_BACKENDS(Fixture)                                     \
    INSTANTIATE_TEST_SUITE_P(Backends, Fixture, ::testing::ValuesIn(::Testing::availableBackends()), \
                             ::Testing::backendName)
