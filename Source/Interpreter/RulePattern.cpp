#include "Source/Interpreter/RulePattern.h"

namespace Quenta::Interpreter {

namespace {

constexpr char16_t kWordEnd = u'\u3001';

// What the previous character of the pattern was.
enum class Previous { Start, WordCharacter, Open, Close, Bar, Question, WordEnd };

// One piece of the pattern outside groups: a word, or a group of alternatives.
struct Element {
    bool isGroup = false;
    std::u16string word;
    std::vector<WordList> alternatives;
};

}  // namespace

std::optional<std::vector<WordList>> expandRulePattern(std::u16string_view pattern) {
    if (pattern.empty()) return std::nullopt;
    std::vector<Element> elements;
    Previous previous = Previous::Start;
    bool inGroup = false;
    bool groupFollowsWordEnd = false;       // the open group came directly after "、"
    bool wordEndBeforeBarOrClose = false;   // in the open group, "、" stood before "|"
    bool closedGroupHadWordEnd = false;     // the last closed group had "、" before ")" or "|"
    std::vector<WordList> alternatives;
    WordList alternative;
    std::u16string word;

    // Ends the word being read, outside or inside a group.
    auto endWord = [&] {
        if (word.empty()) return;
        if (inGroup) {
            alternative.push_back(std::move(word));
        } else {
            elements.push_back(Element{false, std::move(word), {}});
        }
        word.clear();
    };

    for (const char16_t c : pattern) {
        switch (c) {
        case u'(':
            if (inGroup) return std::nullopt;
            endWord();
            inGroup = true;
            groupFollowsWordEnd = previous == Previous::WordEnd;
            wordEndBeforeBarOrClose = false;
            alternatives.clear();
            alternative.clear();
            previous = Previous::Open;
            break;
        case u')':
        case u'|':
            if (!inGroup) return std::nullopt;
            if (previous != Previous::WordCharacter && previous != Previous::WordEnd && previous != Previous::Question) {
                return std::nullopt;
            }
            if (previous == Previous::WordEnd) wordEndBeforeBarOrClose = true;
            endWord();
            alternatives.push_back(std::move(alternative));
            alternative.clear();
            if (c == u')') {
                inGroup = false;
                closedGroupHadWordEnd = wordEndBeforeBarOrClose;
                elements.push_back(Element{true, {}, std::move(alternatives)});
                alternatives.clear();
                previous = Previous::Close;
            } else {
                previous = Previous::Bar;
            }
            break;
        case u'?':
            if (previous == Previous::Start || previous == Previous::Question) return std::nullopt;
            if (inGroup && previous != Previous::WordCharacter && previous != Previous::WordEnd) return std::nullopt;
            if (previous == Previous::WordCharacter) {
                // The word just read loses its last character.
                word.pop_back();
                endWord();
            } else if (previous == Previous::Close) {
                elements.pop_back();  // an optional group is left out
            }
            previous = Previous::Question;
            break;
        case kWordEnd:
            if (previous == Previous::Start || previous == Previous::WordEnd) return std::nullopt;
            if (inGroup && groupFollowsWordEnd && (previous == Previous::Open || previous == Previous::Bar)) {
                return std::nullopt;
            }
            if (previous == Previous::Close && closedGroupHadWordEnd) return std::nullopt;
            endWord();
            previous = Previous::WordEnd;
            break;
        default:
            word += c;
            previous = Previous::WordCharacter;
            break;
        }
    }
    if (inGroup) return std::nullopt;
    endWord();

    std::vector<WordList> lists(1);
    for (Element& element : elements) {
        if (!element.isGroup) {
            for (WordList& list : lists) list.push_back(element.word);
            continue;
        }
        if (lists.size() * element.alternatives.size() > kMaxWordLists) return std::nullopt;
        std::vector<WordList> product;
        product.reserve(lists.size() * element.alternatives.size());
        for (const WordList& list : lists) {
            for (const WordList& choice : element.alternatives) {
                WordList joined = list;
                joined.insert(joined.end(), choice.begin(), choice.end());
                product.push_back(std::move(joined));
            }
        }
        lists = std::move(product);
    }
    return lists;
}

}  // namespace Quenta::Interpreter
