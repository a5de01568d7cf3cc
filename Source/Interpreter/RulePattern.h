#pragma once
// The word patterns of command-template rules, expanded into the word lists of
// recognition conditions:
//   "(" ... "|" ... ")"  a group of alternatives (not nested); each alternative is
//                        words separated by "、"
//   "?"                  after a word: the word loses its last character;
//                        after a group: the group is left out
//   "、"                 ends a word
// Every other character, spaces included, belongs to a word. "(A|B)C" gives the
// lists {A, C} and {B, C}.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Quenta::Interpreter {

using WordList = std::vector<std::u16string>;

// Groups multiply the word lists; a pattern that would give more than this many is
// refused rather than allowed to exhaust memory.
inline constexpr std::size_t kMaxWordLists = 4096;

// The word lists of a pattern, or nothing when the pattern is malformed (empty,
// nested or unbalanced groups, misplaced "|", "?" or "、", too many lists).
std::optional<std::vector<WordList>> expandRulePattern(std::u16string_view pattern);

}  // namespace Quenta::Interpreter
