#pragma once
// The grammar pair a host names by its base path: base + ".dfa", the category
// automaton, and base + ".dict", the words of each category.
//
// ".dfa": one transition per line, "FROM CATEGORY TO FLAGS [anything]", all decimal.
// Reading starts in state 0 and follows one word of CATEGORY from FROM to TO. Bit 0 of
// FLAGS marks FROM as a state where a sentence may end; a line whose CATEGORY is -1
// only carries that mark.
//
// ".dict": one word per line, "CATEGORY [OUTPUT] PHONE PHONE ...". OUTPUT is what the
// recognised text shows; an empty OUTPUT ("[]") or one in angle brackets ("<s>")
// stands for silence and shows nothing. The phones may be left out; the model's own
// dictionary then gives the pronunciation of OUTPUT.
//
// Blank lines and lines starting with "#" are skipped in both files.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace PocketSphinxPlugin {

struct GrammarWord {
    std::string output;
    std::vector<std::string> phones;
    bool silent() const { return output.empty() || output.front() == '<'; }
};

struct GrammarTransition {
    std::int32_t from = 0;
    std::int32_t category = 0;
    std::int32_t to = 0;
};

struct Grammar {
    std::int32_t stateCount = 0;
    std::vector<GrammarTransition> transitions;
    std::vector<std::int32_t> finalStates;
    std::map<std::int32_t, std::vector<GrammarWord>> categories;
};

// Larger automata are refused: the recogniser is for short commands.
inline constexpr std::int32_t kMaxGrammarStates = 100000;

// Reads both texts; the error names the first problem (a malformed line, a category
// without words, no final state) when the pair is unusable.
std::optional<Grammar> parseGrammar(std::string_view dfa, std::string_view dict, std::string& error);
std::optional<Grammar> readGrammar(const std::string& basePath, std::string& error);

}  // namespace PocketSphinxPlugin
