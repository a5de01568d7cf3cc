#pragma once
// Word recognition trees: a recognised utterance is matched against conditions (words
// that must occur in order, exclusion words that must not occur anywhere) and the
// condition covering the most characters wins; its captured action then runs.
//
// A tree's nodes: the root, internal nodes (one word each) and leaves (a condition's
// exclusions and action). The path from the root to a leaf spells the condition's
// words. Children are ordered by word length, longest first, equal lengths in
// insertion order, the leaf last, so that the first match met at equal score wins.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Source/Interpreter/Token.h"

namespace Quenta::Interpreter {

class WordRecognitionNode {
public:
    WordRecognitionNode() = default;
    WordRecognitionNode(const WordRecognitionNode&) = delete;
    WordRecognitionNode& operator=(const WordRecognitionNode&) = delete;

    virtual std::u16string className() const { return u"WordRecognitionNode"; }
    virtual ~WordRecognitionNode() = default;
    // Root 0, internal 1, leaf 2 (3 for the base class).
    virtual int nodeKind() const { return 3; }
    virtual std::int32_t wordLength() const { return 0; }
    // wordLength of this node and all its ancestors.
    virtual std::int32_t pathLength() const;
    // The largest total word length of a condition from this node down, its own word
    // included.
    virtual std::int32_t bestReach() const { return bestReach_; }
    virtual void setBestReach(std::int32_t reach) { bestReach_ = reach; }
    virtual const std::u16string& word() const;
    virtual const TokenLine& action() const;
    virtual const std::vector<std::u16string>& exclusions() const;
    // The best leaf of this subtree for the text from `start`, scoring more than
    // `best`; null when there is none.
    virtual const WordRecognitionNode* match(std::u16string_view text, std::size_t start, std::int32_t best) const;

    WordRecognitionNode* parent() const { return parent_; }
    const std::vector<std::unique_ptr<WordRecognitionNode>>& children() const { return children_; }
    std::size_t childCount() const { return children_.size(); }
    WordRecognitionNode* insertChild(std::size_t index, std::unique_ptr<WordRecognitionNode> child);
    void removeChild(std::size_t index);

protected:
    // Matches the children from `start` (the position after this node's word).
    const WordRecognitionNode* matchChildren(std::u16string_view text, std::size_t start, std::int32_t best) const;

private:
    WordRecognitionNode* parent_ = nullptr;
    std::vector<std::unique_ptr<WordRecognitionNode>> children_;
    std::int32_t bestReach_ = 0;
};

class WordRecognitionRootNode final : public WordRecognitionNode {
public:
    std::u16string className() const override { return u"WordRecognitionRootNode"; }
    int nodeKind() const override { return 0; }
    void setBestReach(std::int32_t) override {}
    const WordRecognitionNode* match(std::u16string_view text, std::size_t start, std::int32_t best) const override;
};

class WordRecognitionInternalNode final : public WordRecognitionNode {
public:
    explicit WordRecognitionInternalNode(std::u16string word);
    std::u16string className() const override { return u"WordRecognitionInternalNode"; }
    int nodeKind() const override { return 1; }
    std::int32_t wordLength() const override { return length_; }
    const std::u16string& word() const override { return word_; }
    const WordRecognitionNode* match(std::u16string_view text, std::size_t start, std::int32_t best) const override;

private:
    std::u16string word_;
    std::int32_t length_;
};

class WordRecognitionLeafNode final : public WordRecognitionNode {
public:
    WordRecognitionLeafNode(std::vector<std::u16string> exclusions, TokenLine action);
    std::u16string className() const override { return u"WordRecognitionLeafNode"; }
    int nodeKind() const override { return 2; }
    void setBestReach(std::int32_t) override {}
    const TokenLine& action() const override { return action_; }
    const std::vector<std::u16string>& exclusions() const override { return exclusions_; }
    const WordRecognitionNode* match(std::u16string_view text, std::size_t start, std::int32_t best) const override;

private:
    std::vector<std::u16string> exclusions_;
    TokenLine action_;
};

// The named trees of one character.
class WordRecognitionTrees {
public:
    WordRecognitionTrees() = default;
    WordRecognitionTrees(const WordRecognitionTrees&) = delete;
    WordRecognitionTrees& operator=(const WordRecognitionTrees&) = delete;

    // The tree of that name, made empty when it does not exist yet.
    WordRecognitionRootNode& tree(std::u16string_view name);
    // Null when there is no tree of that name.
    WordRecognitionRootNode* find(std::u16string_view name) const;
    // Replaces an existing tree by an empty one; a missing tree stays missing.
    void clear(std::u16string_view name);

    // Adds one condition. Empty words are left out: they occur everywhere and add
    // nothing to a score, so a condition means the same without them.
    void addCondition(std::u16string_view name, const std::vector<std::u16string>& words,
                      std::vector<std::u16string> exclusions, TokenLine action);
    // The winning leaf over the trees in the given order, or null. A later tree wins
    // only with a strictly longer match.
    const WordRecognitionNode* recognize(const std::vector<std::u16string>& names, std::u16string_view text);

    const std::map<std::u16string, std::unique_ptr<WordRecognitionRootNode>, std::less<>>& trees() const {
        return trees_;
    }

private:
    std::map<std::u16string, std::unique_ptr<WordRecognitionRootNode>, std::less<>> trees_;
};

// "a b c" -> {"a", "b", "c"}: split at every single space (so doubled spaces give
// empty words). An empty text gives no words.
std::vector<std::u16string> splitWords(std::u16string_view text, char16_t separator = u' ');

}  // namespace Quenta::Interpreter
