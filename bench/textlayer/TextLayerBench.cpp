// A 500-character text (Japanese and Latin) in one text layer on the headless backend:
// the per-frame step once it is typed, a full redraw of the layer, and making the
// pieces (glyphs made once per character) by typing it from the start.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "Source/GameComponent/ScriptObject/TextLayerHost.h"
#include "Source/GameComponent/ScriptObject/TextLayerObject.h"
#include "Source/Script/F/DefinitionData.h"
#include "Source/Script/F/ScriptParser.h"
#include "framework/Graphics/BufferedImage.h"
#include "framework/Graphics/Painter.h"
#include "framework/Platform/Backend.h"

namespace {

using namespace Quenta;

struct Host : GameComponent::TextLayerHost {
    void requestTextRedraw() override {}
    void openFromText(int, int) override {}
    void closeFromText(int, int) override {}
};

std::string longText() {
    std::string text;
    // 10 code units each: 50 of them make 500 characters.
    for (int i = 0; i < 50; ++i) text += i % 2 ? "こんにちは、世界です" : "Tavizo say";
    return text;
}

struct Layer {
    Layer() {
        const std::string source =
            "<FUNC_TEXT_LAYER_REG>\n<SET_CONFIG>\nFuncName=T\nWidth=600\nHeight=400\n</SET_CONFIG>\n"
            "<SET_TEXT>\nSetSpeed(30000)\n\"" + longText() + "\"\n</SET_TEXT>\n</FUNC_TEXT_LAYER_REG>\n";
        Script::ScriptParser reader;
        reader.readFile(u"bench.func", std::span(reinterpret_cast<const std::uint8_t*>(source.data()), source.size()));
        definition = Script::DefinitionData::build(reader);
        definition->link();
        parser.setFunctionObjects(&definition->functionObjects());
        layer = std::make_unique<GameComponent::TextLayerObject>(parser, *definition, *definition->find(u"T"), host);
    }
    std::unique_ptr<Script::DefinitionData> definition;
    Interpreter::Parser parser;
    Host host;
    std::unique_ptr<GameComponent::TextLayerObject> layer;
};

void selectHeadless() { Arbor::Platform::selectBackend("Headless"); }

void BM_TypedTextFrame(benchmark::State& state) {
    selectHeadless();
    Layer text;
    while (!text.layer->isFinished()) text.layer->step();
    for (auto _ : state) text.layer->step();
    state.counters["chars"] = static_cast<double>(text.layer->box().charCount());
}
BENCHMARK(BM_TypedTextFrame);

void BM_TypedTextRedraw(benchmark::State& state) {
    selectHeadless();
    Layer text;
    while (!text.layer->isFinished()) text.layer->step();
    Arbor::Graphics::BufferedImage surface(600, 400);
    for (auto _ : state) {
        Arbor::Graphics::Painter painter(surface);
        text.layer->draw(painter);
    }
}
BENCHMARK(BM_TypedTextRedraw)->Unit(benchmark::kMicrosecond);

void BM_TypeFromTheStart(benchmark::State& state) {
    selectHeadless();
    for (auto _ : state) {
        Layer text;
        while (!text.layer->isFinished()) text.layer->step();
        benchmark::DoNotOptimize(text.layer->revealed());
    }
}
BENCHMARK(BM_TypeFromTheStart)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
