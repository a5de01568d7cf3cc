#pragma once
// A node of the parameter tree: named, read-only NUMBER/STRING parameters and named
// child objects, reached from scripts through bare identifiers and object paths.
// Code that runs a section or evaluates a field pushes a node (ScopePush) whose parent
// is the scope current at that moment.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Source/Interpreter/Token.h"

namespace Quenta::Interpreter {

class Parser;

class ScopeNode {
public:
    explicit ScopeNode(std::u16string name, ScopeNode* parent = nullptr)
        : parent_(parent), name_(std::move(name)) {}
    ScopeNode(const ScopeNode&) = delete;
    ScopeNode& operator=(const ScopeNode&) = delete;

    ScopeNode* parent() const { return parent_; }
    void setParent(ScopeNode* parent) { parent_ = parent; }
    const std::u16string& name() const { return name_; }

    // A child owned by this node.
    ScopeNode& addChild(std::u16string name);
    // A child owned elsewhere (a scene object's node); it must outlive its link.
    void linkChild(ScopeNode& child);
    void unlinkChild(const ScopeNode& child);
    // The first child with that name, in insertion order.
    ScopeNode* findChild(std::u16string_view name) const;
    const std::vector<ScopeNode*>& children() const { return children_; }

    void setNumber(std::u16string_view name, double value);
    void setString(std::u16string_view name, std::u16string value);
    // `value` should be a NUMBER or STRING token; other kinds are stored but scripts
    // cannot read them.
    void setParameter(std::u16string_view name, Token value);
    const Token* findParameter(std::u16string_view name) const;
    const std::map<std::u16string, Token, std::less<>>& parameters() const { return parameters_; }

private:
    ScopeNode* parent_;
    std::u16string name_;
    std::vector<ScopeNode*> children_;
    std::vector<std::unique_ptr<ScopeNode>> owned_;
    std::map<std::u16string, Token, std::less<>> parameters_;
};

// Makes `node` the parser's current scope (its parent becomes the previous current
// scope) for the lifetime of this object.
class ScopePush {
public:
    ScopePush(Parser& parser, ScopeNode& node);
    ~ScopePush();
    ScopePush(const ScopePush&) = delete;
    ScopePush& operator=(const ScopePush&) = delete;

private:
    Parser& parser_;
    ScopeNode* previous_;
};

}  // namespace Quenta::Interpreter
