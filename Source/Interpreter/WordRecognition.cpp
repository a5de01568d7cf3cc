#include "Source/Interpreter/WordRecognition.h"

namespace Quenta::Interpreter {

namespace {
const std::u16string& emptyWord() {
    static const std::u16string empty;
    return empty;
}
}  // namespace

std::int32_t WordRecognitionNode::pathLength() const {
    std::int32_t length = 0;
    for (const WordRecognitionNode* node = this; node; node = node->parent()) length += node->wordLength();
    return length;
}

const std::u16string& WordRecognitionNode::word() const { return emptyWord(); }

const TokenLine& WordRecognitionNode::action() const {
    static const TokenLine empty;
    return empty;
}

const std::vector<std::u16string>& WordRecognitionNode::exclusions() const {
    static const std::vector<std::u16string> empty;
    return empty;
}

const WordRecognitionNode* WordRecognitionNode::match(std::u16string_view, std::size_t, std::int32_t) const {
    return nullptr;
}

WordRecognitionNode* WordRecognitionNode::insertChild(std::size_t index, std::unique_ptr<WordRecognitionNode> child) {
    child->parent_ = this;
    if (index > children_.size()) index = children_.size();
    return children_.insert(children_.begin() + static_cast<std::ptrdiff_t>(index), std::move(child))->get();
}

void WordRecognitionNode::removeChild(std::size_t index) {
    if (index < children_.size()) children_.erase(children_.begin() + static_cast<std::ptrdiff_t>(index));
}

const WordRecognitionNode* WordRecognitionNode::matchChildren(std::u16string_view text, std::size_t start,
                                                              std::int32_t best) const {
    const WordRecognitionNode* result = nullptr;
    for (const auto& child : children_) {
        if (child->bestReach() < best) continue;
        const WordRecognitionNode* leaf = child->match(text, start, -1);
        if (!leaf) continue;
        std::int32_t score = 0;
        for (const WordRecognitionNode* node = leaf; node && node != this; node = node->parent()) {
            score += node->wordLength();
        }
        if (score > best) {
            best = score;
            result = leaf;
        }
    }
    return result;
}

const WordRecognitionNode* WordRecognitionRootNode::match(std::u16string_view text, std::size_t start,
                                                          std::int32_t best) const {
    return matchChildren(text, start, best);
}

WordRecognitionInternalNode::WordRecognitionInternalNode(std::u16string word)
    : word_(std::move(word)), length_(static_cast<std::int32_t>(word_.size())) {}

const WordRecognitionNode* WordRecognitionInternalNode::match(std::u16string_view text, std::size_t start,
                                                              std::int32_t best) const {
    if (start > text.size()) return nullptr;
    const std::size_t found = text.find(word_, start);
    if (found == std::u16string_view::npos) return nullptr;
    return matchChildren(text, found + word_.size(), best);
}

WordRecognitionLeafNode::WordRecognitionLeafNode(std::vector<std::u16string> exclusions, TokenLine action)
    : exclusions_(std::move(exclusions)), action_(std::move(action)) {}

const WordRecognitionNode* WordRecognitionLeafNode::match(std::u16string_view text, std::size_t, std::int32_t) const {
    for (const std::u16string& word : exclusions_) {
        if (!word.empty() && text.find(word) != std::u16string_view::npos) return nullptr;
    }
    return this;
}

WordRecognitionRootNode& WordRecognitionTrees::tree(std::u16string_view name) {
    auto it = trees_.find(name);
    if (it == trees_.end()) {
        it = trees_.emplace(std::u16string(name), std::make_unique<WordRecognitionRootNode>()).first;
    }
    return *it->second;
}

WordRecognitionRootNode* WordRecognitionTrees::find(std::u16string_view name) const {
    const auto it = trees_.find(name);
    return it == trees_.end() ? nullptr : it->second.get();
}

void WordRecognitionTrees::clear(std::u16string_view name) {
    const auto it = trees_.find(name);
    if (it != trees_.end()) it->second = std::make_unique<WordRecognitionRootNode>();
}

void WordRecognitionTrees::addCondition(std::u16string_view name, const std::vector<std::u16string>& words,
                                        std::vector<std::u16string> exclusions, TokenLine action) {
    WordRecognitionNode* current = &tree(name);
    std::int32_t remaining = 0;
    for (const std::u16string& w : words) remaining += static_cast<std::int32_t>(w.size());
    for (const std::u16string& w : words) {
        if (w.empty()) continue;
        const auto length = static_cast<std::int32_t>(w.size());
        remaining -= current->wordLength();
        WordRecognitionNode* chosen = nullptr;
        std::size_t index = 0;
        for (; index < current->childCount(); ++index) {
            WordRecognitionNode& child = *current->children()[index];
            if (child.wordLength() < length) break;
            if (child.wordLength() == length && child.word() == w) {
                chosen = &child;
                if (remaining > child.bestReach()) child.setBestReach(remaining);
                break;
            }
        }
        if (!chosen) {
            chosen = current->insertChild(index, std::make_unique<WordRecognitionInternalNode>(w));
            chosen->setBestReach(remaining);
        }
        current = chosen;
    }
    if (current->childCount() > 0 && current->children().back()->nodeKind() == 2) {
        current->removeChild(current->childCount() - 1);
    }
    current->insertChild(current->childCount(),
                         std::make_unique<WordRecognitionLeafNode>(std::move(exclusions), std::move(action)));
}

const WordRecognitionNode* WordRecognitionTrees::recognize(const std::vector<std::u16string>& names,
                                                           std::u16string_view text) {
    const WordRecognitionNode* winner = nullptr;
    for (const std::u16string& name : names) {
        const std::int32_t best = winner ? winner->pathLength() : -1;
        if (const WordRecognitionNode* leaf = tree(name).match(text, 0, best)) winner = leaf;
    }
    return winner;
}

std::vector<std::u16string> splitWords(std::u16string_view text, char16_t separator) {
    std::vector<std::u16string> words;
    if (text.empty()) return words;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        words.emplace_back(text.substr(start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start));
        if (end == std::u16string_view::npos) break;
        start = end + 1;
    }
    return words;
}

}  // namespace Quenta::Interpreter
