// 255 characters, each walking with a motion, two image layers, a hit area, a
// condition event and a few lines of loop code, animated frame by frame on the
// headless desktop. Reports the median and 99th percentile of the frame's CPU time
// and the resident memory each added character costs; as a reference, the same
// frame's bare pixel work (composing each character and drawing it into a window
// buffer) is timed in the same process, and the frame is printed as a ratio to it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/DesktopObject.h"
#include "Source/GameComponent/RestackQueue.h"
#include "Source/GameComponent/SceneEnvironment.h"
#include "framework/Graphics/BufferedImage.h"
#include "framework/Graphics/Image32.h"
#include "framework/Graphics/Painter.h"
#include "framework/Platform/Backend.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Text/Utf.h"

namespace {

namespace fs = std::filesystem;
using namespace Quenta::GameComponent;

constexpr int kCharacters = 255;
// Characters made before the memory baseline is taken: what the first ones cost once
// (code paths warmed, shared tables filled) is not a per-character cost.
constexpr int kWarmCharacters = 15;

fs::path g_program;
std::vector<double> g_frameMs;

std::string characterName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "bench-%03d", i);
    return name;
}

// Resident set size in KiB, from /proc (0 where there is none).
long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(4096, '\n');
    }
    return 0;
}

double cpuMs() { return 1000.0 * double(std::clock()) / CLOCKS_PER_SEC; }

void makeProgramFolder() {
    std::random_device random;
    g_program = fs::temp_directory_path() / ("tavizo-bench-scene-" + std::to_string(random()));
    fs::create_directories(g_program / "Data");
    for (int i = 0; i < kCharacters; ++i)
        fs::copy(TAVIZO_BENCH_CHARACTER_DIR, g_program / "Data" / characterName(i), fs::copy_options::recursive);
    SceneEnvironment& environment = SceneEnvironment::current();
    environment.programDirectory = g_program;
    environment.writableBase = g_program;
    environment.fatalError = [](std::u16string_view message) {
        std::fprintf(stderr, "fatal: %s\n", Arbor::Text::toUtf8(message).c_str());
        std::exit(1);
    };
}

void addCharacters(int from, int to) {
    for (int i = from; i < to; ++i) {
        const std::string name = characterName(i);
        CharacterObject& c =
            DesktopObject::instance().adopt(std::make_unique<CharacterObject>(std::u16string(name.begin(), name.end())));
        c.start();
        // Spread them over the desktop so that their windows do not all coincide.
        c.setBasePosition(40 + (i % 15) * 120, 40 + (i / 15) * 56);
    }
}

// One frame of the scene, in the frame loop's order.
void frame() {
    DesktopObject& desktop = DesktopObject::instance();
    desktop.inputPhase();
    desktop.updatePhase();
    RestackQueue::instance().apply();
    desktop.motionPhase();
    desktop.animationPhase();
    desktop.renderPhase();
}

double percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t index = std::min(values.size() - 1, std::size_t(p * double(values.size() - 1) + 0.5));
    return values[index];
}

void BM_SceneFrame(benchmark::State& state) {
    for (auto _ : state) {
        const double start = cpuMs();
        frame();
        g_frameMs.push_back(cpuMs() - start);
    }
    state.counters["median_ms"] = percentile(g_frameMs, 0.5);
    state.counters["p99_ms"] = percentile(g_frameMs, 0.99);
}

// The reference: what the frame's pixels cost alone. Each character composes a
// 128 x 128 body frame (Copy) and two 24 x 24 eyes (SourceOver) and draws the result
// into a 128 x 128 window buffer.
void BM_PixelReference(benchmark::State& state) {
    using namespace Arbor::Graphics;
    const std::string dir = TAVIZO_BENCH_CHARACTER_DIR;
    Image32 body(std::u16string(dir.begin(), dir.end()) + u"/body.png");
    Image32 eye(std::u16string(dir.begin(), dir.end()) + u"/eye.png");
    body.premultiply();
    eye.premultiply();
    std::vector<std::unique_ptr<BufferedImage>> composed, windows;
    for (int i = 0; i < kCharacters; ++i) {
        composed.push_back(std::make_unique<BufferedImage>(128, 128));
        windows.push_back(std::make_unique<BufferedImage>(128, 128));
    }
    int frameNumber = 0;
    for (auto _ : state) {
        const std::int32_t sourceX = 128 * ((frameNumber++ / 4) % 4);
        for (int i = 0; i < kCharacters; ++i) {
            Painter painter(*composed[std::size_t(i)]);
            painter.fillRect(Rect::fromSize(0, 0, 128, 128), 0);
            DrawParams copy;
            copy.blendMode = BlendMode::Copy;
            painter.drawImageAt(body, {0, 0}, Rect::fromSize(sourceX, 0, 128, 128), copy);
            painter.drawImageAt(eye, {36, 40}, Rect::fromSize(0, 0, 24, 24));
            painter.drawImageAt(eye, {68, 40}, Rect::fromSize(0, 0, 24, 24));
            Painter window(*windows[std::size_t(i)]);
            window.drawImageAt(*composed[std::size_t(i)], {0, 0}, Rect::fromSize(0, 0, 128, 128), copy);
        }
        benchmark::DoNotOptimize(windows.front()->bits());
    }
}

BENCHMARK(BM_SceneFrame)->Unit(benchmark::kMillisecond)->Iterations(600);
BENCHMARK(BM_PixelReference)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's CPU time per iteration for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (!run.error_occurred) times_[run.run_name.function_name] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    const std::map<std::string, double>& times() const { return times_; }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!Arbor::Platform::selectBackend("Headless")) {
        std::fprintf(stderr, "no headless backend\n");
        return 1;
    }
    Arbor::Platform::Headless::HeadlessDesktop::instance().reset();
    makeProgramFolder();

    // Memory: the characters after the first few, each run for a second.
    addCharacters(0, kWarmCharacters);
    for (int i = 0; i < 30; ++i) frame();
    const long before = residentKiB();
    addCharacters(kWarmCharacters, kCharacters);
    for (int i = 0; i < 30; ++i) frame();
    const long after = residentKiB();

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("characters: %d\n", kCharacters);
    std::printf("frame CPU time: median %.2f ms, 99th percentile %.2f ms (budget 33.3 ms; targets 10 and 20)\n",
                percentile(g_frameMs, 0.5), percentile(g_frameMs, 0.99));
    if (before > 0 && after > 0)
        std::printf("resident memory per added character: %.2f MiB (target 4)\n",
                    double(after - before) / 1024.0 / double(kCharacters - kWarmCharacters));
    const auto& t = reporter.times();
    const auto scene = t.find("BM_SceneFrame");
    const auto pixels = t.find("BM_PixelReference");
    if (scene != t.end() && pixels != t.end() && pixels->second > 0)
        std::printf("scene frame / bare pixel work = %.2f\n", scene->second / pixels->second);

    DesktopObject::instance().deleteChildren();
    std::error_code ignored;
    fs::remove_all(g_program, ignored);
    benchmark::Shutdown();
    return 0;
}
