// Arbitrary UTF-8 lines drive a set of trees:
//   "+TREE WORDS|EXCLUSIONS"   adds a condition (words separated by spaces)
//   "*TREE PATTERN|EXCLUSIONS" adds the conditions of a rule pattern
//   "-TREE"                    clears a tree
//   "?TREES TEXT"              recognises TEXT over the trees (names separated by ",")
// A winner's words must occur in the text in order, none of its exclusions anywhere,
// and its score must be the best any condition of those trees reaches.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Source/Interpreter/RulePattern.h"
#include "Source/Interpreter/WordRecognition.h"
#include "framework/Text/Utf.h"

using namespace Quenta::Interpreter;

namespace {

std::pair<std::u16string, std::u16string> headAndRest(std::u16string_view line) {
    const std::size_t space = line.find(u' ');
    if (space == std::u16string_view::npos) return {std::u16string(line), {}};
    return {std::u16string(line.substr(0, space)), std::u16string(line.substr(space + 1))};
}

// The words from the root down to the leaf.
std::vector<std::u16string> wordsOf(const WordRecognitionNode* leaf) {
    std::vector<std::u16string> words;
    for (const WordRecognitionNode* n = leaf->parent(); n && n->nodeKind() == 1; n = n->parent()) words.push_back(n->word());
    return {words.rbegin(), words.rend()};
}

void checkWinner(const WordRecognitionNode* leaf, std::u16string_view text) {
    std::size_t position = 0;
    for (const std::u16string& word : wordsOf(leaf)) {
        const std::size_t found = text.find(word, position);
        if (found == std::u16string_view::npos) __builtin_trap();
        position = found + word.size();
    }
    for (const std::u16string& word : leaf->exclusions()) {
        if (!word.empty() && text.find(word) != std::u16string_view::npos) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return 0;
    const std::u16string input = Arbor::Text::fromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    WordRecognitionTrees trees;
    for (const std::u16string& line : splitWords(input, u'\n')) {
        if (line.empty()) continue;
        const auto [head, rest] = headAndRest(std::u16string_view(line).substr(1));
        const std::size_t bar = rest.find(u'|');
        const std::u16string body = rest.substr(0, bar);
        const std::vector<std::u16string> exclusions =
            bar == std::u16string::npos ? std::vector<std::u16string>() : splitWords(rest.substr(bar + 1), u'|');
        switch (line[0]) {
        case u'+': trees.addCondition(head, splitWords(body, u' '), exclusions, {}); break;
        case u'*':
            if (const auto lists = expandRulePattern(body)) {
                for (const WordList& words : *lists) trees.addCondition(head, words, exclusions, {});
            }
            break;
        case u'-': trees.clear(head); break;
        case u'?': {
            const WordRecognitionNode* winner = trees.recognize(splitWords(head, u','), rest);
            if (winner) {
                if (winner->nodeKind() != 2 || winner->pathLength() > static_cast<std::int32_t>(rest.size())) {
                    __builtin_trap();
                }
                checkWinner(winner, rest);
            }
            break;
        }
        default: break;
        }
    }
    return 0;
}
