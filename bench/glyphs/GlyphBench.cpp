// The glyph service against plain FreeType on the same text: a line of mixed Latin and
// kana drawn at 16 pixels. Measured: making a font, the first rendering of each glyph,
// glyphs asked again (from the font's cache), and FreeType loading and rendering the
// same glyphs from an already open face. Prints, after Google Benchmark's table, each of
// our per-glyph timings as a ratio to FreeType's (below 1 means we are faster).
#include <benchmark/benchmark.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <map>
#include <string>

#include "framework/Platform/Glyphs.h"

using namespace Arbor::Platform;

namespace {

const std::u32string Line = U"Hello, world! こんにちは、世界。The quick brown fox かきくけこ 0123456789";

FontRequest lineRequest() {
    FontRequest request;
    request.height = -16;
    return request;
}

std::map<std::string, double>& perGlyph() {
    static std::map<std::string, double> times;
    return times;
}

void countGlyphs(benchmark::State& state) {
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * Line.size()));
}

void BM_FreeTypeDirect(benchmark::State& state) {
    // The face the service chooses by default, opened once.
    auto font = glyphService().createFont(lineRequest());
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=ja"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcChar8* file = nullptr;
    FcPatternGetString(match, FC_FILE, 0, &file);
    FT_Library library;
    FT_Init_FreeType(&library);
    FT_Face face;
    if (!file || FT_New_Face(library, reinterpret_cast<const char*>(file), 0, &face) != 0) {
        state.SkipWithError("no face");
        return;
    }
    FT_Set_Pixel_Sizes(face, 0, 16);
    for (auto _ : state) {
        for (char32_t c : Line) {
            FT_Load_Char(face, c, FT_LOAD_TARGET_NORMAL);
            FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL);
            benchmark::DoNotOptimize(face->glyph->bitmap.buffer);
        }
    }
    countGlyphs(state);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    FcPatternDestroy(match);
    FcPatternDestroy(pattern);
}

void BM_CreateFont(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(glyphService().createFont(lineRequest()));
}

void BM_FirstRendering(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto font = glyphService().createFont(lineRequest());
        state.ResumeTiming();
        for (char32_t c : Line) benchmark::DoNotOptimize(font->glyph(c, GlyphFormat::Gray65));
    }
    countGlyphs(state);
}

void BM_Cached(benchmark::State& state) {
    auto font = glyphService().createFont(lineRequest());
    for (char32_t c : Line) font->glyph(c, GlyphFormat::Gray65);
    for (auto _ : state) {
        for (char32_t c : Line) benchmark::DoNotOptimize(font->glyph(c, GlyphFormat::Gray65));
    }
    countGlyphs(state);
}

BENCHMARK(BM_FreeTypeDirect);
BENCHMARK(BM_CreateFont);
BENCHMARK(BM_FirstRendering);
BENCHMARK(BM_Cached);

// Collects each run's time per glyph for the ratio table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // CPU time: the machine running benchmarks may be shared.
            const double perIteration = run.GetAdjustedCPUTime();
            const std::string name = run.benchmark_name();
            perGlyph()[name] = name == "BM_CreateFont" ? perIteration : perIteration / static_cast<double>(Line.size());
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& t = perGlyph();
    if (t.count("BM_FreeTypeDirect") && t.count("BM_FirstRendering") && t.count("BM_Cached")) {
        const double direct = t.at("BM_FreeTypeDirect");
        std::printf("\nper glyph, as a ratio to FreeType loading and rendering it directly:\n");
        std::printf("  first rendering (fallback lookups, conversion to 65 levels): %.2f\n",
                    t.at("BM_FirstRendering") / direct);
        std::printf("  asked again (font cache):                                     %.3f\n", t.at("BM_Cached") / direct);
        if (t.count("BM_CreateFont")) {
            std::printf("  making a font costs as much as %.1f direct glyphs\n", t.at("BM_CreateFont") / direct);
        }
    }
    benchmark::Shutdown();
    return 0;
}
