// Times one frame's worth of typical loop code (arithmetic, comparisons, string
// concatenation, if and while) in the script interpreter and the same loop in Lua 5.4,
// and prints their ratio. Timings are only meaningful relative to each other.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <lua.hpp>

#include "Source/Interpreter/Lexer.h"
#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/StatementRunner.h"

namespace {

using namespace Quenta::Interpreter;

const std::vector<std::u16string> kScript = {
    u"number $i = 0, $sum = 0, $hits = 0",
    u"string $s = \"\"",
    u"while ($i < 1000)",
    u"  $sum = $sum + $i * 2 - 1",
    u"  if ($i % 3 == 0)",
    u"    $s = \"k\" + $i",
    u"    $hits += 1",
    u"  elseif ($sum > 100000 && $i != 7)",
    u"    $sum = $sum / 2",
    u"  else",
    u"    $hits -= 1",
    u"  endif",
    u"  $i += 1",
    u"endwhile",
};

// The same loop. Script variables live in a table, so the Lua globals variant is the
// closer match; the locals variant shows Lua at its best.
const char* const kLuaGlobals = R"(
i = 0; sum = 0; hits = 0
s = ""
while i < 1000 do
  sum = sum + i * 2 - 1
  if i % 3 == 0 then
    s = "k" .. i
    hits = hits + 1
  elseif sum > 100000 and i ~= 7 then
    sum = sum / 2
  else
    hits = hits - 1
  end
  i = i + 1
end
)";

const char* const kLuaLocals = R"(
local i, sum, hits = 0, 0, 0
local s = ""
while i < 1000 do
  sum = sum + i * 2 - 1
  if i % 3 == 0 then
    s = "k" .. i
    hits = hits + 1
  elseif sum > 100000 and i ~= 7 then
    sum = sum / 2
  else
    hits = hits - 1
  end
  i = i + 1
end
return sum
)";

TokenBlock compileScript() {
    TokenBlock block;
    for (const auto& line : cleanLines(kScript)) {
        if (!line.empty()) {
            block.push_back(tokenizeLine(line));
        }
    }
    return block;
}

void BM_Script(benchmark::State& state) {
    const TokenBlock block = compileScript();
    Parser parser;
    for (auto _ : state) {
        runBlock(parser, block);
        benchmark::DoNotOptimize(parser.variables().find(u"$sum"));
    }
    if (parser.variables().find(u"$hits")->toNum() != -314.0) {
        state.SkipWithError("script computed a different result");
    }
}

void runLua(benchmark::State& state, const char* source) {
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    if (luaL_loadstring(L, source) != LUA_OK) {
        state.SkipWithError("Lua source does not compile");
        lua_close(L);
        return;
    }
    const int chunk = luaL_ref(L, LUA_REGISTRYINDEX);
    for (auto _ : state) {
        lua_rawgeti(L, LUA_REGISTRYINDEX, chunk);
        if (lua_pcall(L, 0, 0, 0) != LUA_OK) {
            state.SkipWithError("Lua run failed");
            break;
        }
    }
    lua_close(L);
}

void BM_LuaGlobals(benchmark::State& state) { runLua(state, kLuaGlobals); }
void BM_LuaLocals(benchmark::State& state) { runLua(state, kLuaLocals); }

BENCHMARK(BM_Script)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LuaGlobals)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LuaLocals)->Unit(benchmark::kMicrosecond);

// Collects per-iteration CPU times so main can print the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool usable = run.run_type == Run::RT_Iteration ? run.repetitions <= 1
                                                                  : run.aggregate_name == "median";
            if (usable && !run.error_occurred) {
                times_[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    const std::map<std::string, double>& times() const { return times_; }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& t = reporter.times();
    const auto script = t.find("BM_Script");
    if (script != t.end()) {
        for (const char* lua : {"BM_LuaGlobals", "BM_LuaLocals"}) {
            const auto it = t.find(lua);
            if (it != t.end() && it->second > 0) {
                std::printf("script / %s = %.2f\n", lua + 3, script->second / it->second);
            }
        }
    }
    benchmark::Shutdown();
    return 0;
}
