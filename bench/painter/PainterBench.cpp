// Our pixel pipeline against pixman on the same pixels: unscaled source-over, bilinear
// scaling and area-average shrinking. Prints, after Google Benchmark's table, each of our
// timings as a ratio to pixman's (below 1 means we are faster).
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "framework/Graphics/BufferedImage.h"
#include "framework/Graphics/Image32.h"
#include "framework/Graphics/Painter.h"

using namespace Arbor::Graphics;

namespace {

enum class Content { Sprite, Translucent };

// Premultiplied source pixels. Sprite: an opaque disc with a soft edge on transparency,
// as character images mostly are; Translucent: every pixel partly transparent (the worst
// case for source-over).
std::unique_ptr<Image32> makeSource(int size, Content content) {
    auto image = std::make_unique<Image32>(size, size);
    std::mt19937 random(42);
    const double c = size / 2.0, r = size * 0.42;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            std::uint32_t a;
            if (content == Content::Translucent) {
                a = 1 + random() % 254;
            } else {
                const double d = std::hypot(x - c, y - c) - r;
                a = d <= 0 ? 255 : d >= 4 ? 0 : std::uint32_t(255 * (1 - d / 4));
            }
            image->bits()[y * size + x] = premultiplyPixel(a << 24 | (random() & 0xFFFFFF));
        }
    }
    image->buffer().setFormat(Argb32Premultiplied);
    return image;
}

void fillDestination(PaintDevice& d) {
    std::mt19937 random(7);
    const std::size_t n = std::size_t(d.width()) * std::size_t(d.height());
    for (std::size_t i = 0; i < n; ++i) d.bits()[i] = premultiplyPixel(0xC0000000u | (random() & 0xFFFFFF));
}

pixman_image_t* wrap(PaintDevice& d) {
    return pixman_image_create_bits(PIXMAN_a8r8g8b8, d.width(), d.height(), reinterpret_cast<uint32_t*>(d.bits()),
                                    d.width() * 4);
}

struct Case {
    int source;
    int dest;
    Content content;
};

void ourSourceOver(benchmark::State& state, Case c) {
    auto src = makeSource(c.source, c.content);
    BufferedImage target(c.source, c.source);
    fillDestination(target);
    Painter painter(target);
    DrawParams p;
    for (auto _ : state) {
        painter.drawImageAt(*src, {0, 0}, {0, 0, c.source, c.source}, p);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * c.source * c.source);
}

void pixmanSourceOver(benchmark::State& state, Case c) {
    auto src = makeSource(c.source, c.content);
    BufferedImage target(c.source, c.source);
    fillDestination(target);
    pixman_image_t* s = wrap(*src);
    pixman_image_t* d = wrap(target);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, s, nullptr, d, 0, 0, 0, 0, 0, 0, c.source, c.source);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(s);
    pixman_image_unref(d);
    state.SetItemsProcessed(state.iterations() * c.source * c.source);
}

void ourScaled(benchmark::State& state, Case c, Sampling sampling) {
    auto src = makeSource(c.source, c.content);
    BufferedImage target(c.dest, c.dest);
    fillDestination(target);
    Painter painter(target);
    DrawParams p;
    p.sampling = sampling;
    for (auto _ : state) {
        painter.drawImage(*src, {0, 0, c.source, c.source}, {0, 0, c.dest, c.dest}, p);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * c.dest * c.dest);
}

void pixmanScaled(benchmark::State& state, Case c, bool box) {
    auto src = makeSource(c.source, c.content);
    BufferedImage target(c.dest, c.dest);
    fillDestination(target);
    pixman_image_t* s = wrap(*src);
    pixman_image_t* d = wrap(target);
    const double scale = double(c.source) / c.dest;
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_double_to_fixed(scale), pixman_double_to_fixed(scale));
    pixman_image_set_transform(s, &t);
    pixman_fixed_t* params = nullptr;
    if (box) {
        int n = 0;
        params = pixman_filter_create_separable_convolution(&n, pixman_double_to_fixed(scale),
                                                            pixman_double_to_fixed(scale), PIXMAN_KERNEL_IMPULSE,
                                                            PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_BOX,
                                                            PIXMAN_KERNEL_BOX, 1, 1);
        pixman_image_set_filter(s, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, n);
    } else {
        pixman_image_set_filter(s, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    }
    pixman_image_set_repeat(s, PIXMAN_REPEAT_PAD);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, s, nullptr, d, 0, 0, 0, 0, 0, 0, c.dest, c.dest);
        benchmark::ClobberMemory();
    }
    free(params);
    pixman_image_unref(s);
    pixman_image_unref(d);
    state.SetItemsProcessed(state.iterations() * c.dest * c.dest);
}

// Pairs of (ours, pixman) benchmark names whose ratio is printed.
std::vector<std::pair<std::string, std::string>>& pairs() {
    static std::vector<std::pair<std::string, std::string>> list;
    return list;
}

void registerPair(const std::string& name, std::function<void(benchmark::State&)> ours,
                  std::function<void(benchmark::State&)> theirs) {
    benchmark::RegisterBenchmark(("ours/" + name).c_str(), ours)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("pixman/" + name).c_str(), theirs)->Unit(benchmark::kMicrosecond);
    pairs().push_back({"ours/" + name, "pixman/" + name});
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        // CPU time: the machines this runs on are often shared, which inflates wall time
        // for both sides alike but unevenly.
        for (const auto& r : runs) times_[r.benchmark_name()] = r.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void printRatios() {
        std::printf("\nratio ours/pixman (CPU time; below 1.00 = ours faster)\n");
        for (const auto& [ours, theirs] : pairs()) {
            if (times_.count(ours) && times_.count(theirs) && times_[theirs] > 0) {
                std::printf("  %-40s %.2f\n", ours.substr(5).c_str(), times_[ours] / times_[theirs]);
            }
        }
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    for (int size : {256, 1024}) {
        for (auto [content, label] : {std::pair{Content::Sprite, "sprite"}, std::pair{Content::Translucent, "translucent"}}) {
            const Case c{size, size, content};
            const std::string name = "SourceOver/" + std::string(label) + "/" + std::to_string(size);
            registerPair(name, [c](benchmark::State& s) { ourSourceOver(s, c); },
                         [c](benchmark::State& s) { pixmanSourceOver(s, c); });
        }
    }
    const Case up{256, 384, Content::Sprite};
    registerPair("Bilinear/256to384", [up](benchmark::State& s) { ourScaled(s, up, Sampling::Bilinear); },
                 [up](benchmark::State& s) { pixmanScaled(s, up, false); });
    const Case down{1024, 700, Content::Sprite};
    registerPair("Bilinear/1024to700", [down](benchmark::State& s) { ourScaled(s, down, Sampling::Bilinear); },
                 [down](benchmark::State& s) { pixmanScaled(s, down, false); });
    const Case shrink{1024, 256, Content::Sprite};
    registerPair("AreaAverage/1024to256", [shrink](benchmark::State& s) { ourScaled(s, shrink, Sampling::AreaAverage); },
                 [shrink](benchmark::State& s) { pixmanScaled(s, shrink, true); });
    const Case shrink3{900, 256, Content::Sprite};
    registerPair("AreaAverage/900to256", [shrink3](benchmark::State& s) { ourScaled(s, shrink3, Sampling::AreaAverage); },
                 [shrink3](benchmark::State& s) { pixmanScaled(s, shrink3, true); });

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
