#include "Source/Interpreter/ScopeNode.h"

#include <algorithm>

#include "Source/Interpreter/NumberText.h"
#include "Source/Interpreter/Parser.h"
#include "framework/Text/Utf.h"

namespace Quenta::Interpreter {

ScopeNode& ScopeNode::addChild(std::u16string name) {
    owned_.push_back(std::make_unique<ScopeNode>(std::move(name), this));
    children_.push_back(owned_.back().get());
    return *owned_.back();
}

void ScopeNode::linkChild(ScopeNode& child) {
    child.setParent(this);
    children_.push_back(&child);
}

void ScopeNode::unlinkChild(const ScopeNode& child) {
    children_.erase(std::remove(children_.begin(), children_.end(), &child), children_.end());
}

ScopeNode* ScopeNode::findChild(std::u16string_view name) const {
    for (ScopeNode* child : children_) {
        if (child->name() == name) {
            return child;
        }
    }
    return nullptr;
}

void ScopeNode::setNumber(std::u16string_view name, double value) {
    setParameter(name, Token(TokenKind::Number, value, Arbor::Text::fromAscii(formatShortest(value))));
}

void ScopeNode::setString(std::u16string_view name, std::u16string value) {
    setParameter(name, Token(TokenKind::String, 0.0, std::move(value)));
}

void ScopeNode::setParameter(std::u16string_view name, Token value) {
    auto it = parameters_.find(name);
    if (it != parameters_.end()) {
        it->second = std::move(value);
    } else {
        parameters_.emplace(std::u16string(name), std::move(value));
    }
}

const Token* ScopeNode::findParameter(std::u16string_view name) const {
    auto it = parameters_.find(name);
    return it == parameters_.end() ? nullptr : &it->second;
}

ScopePush::ScopePush(Parser& parser, ScopeNode& node) : parser_(parser), previous_(parser.scope()) {
    node.setParent(previous_);
    parser_.setScope(&node);
}

ScopePush::~ScopePush() { parser_.setScope(previous_); }

}  // namespace Quenta::Interpreter
