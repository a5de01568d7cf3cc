#pragma once
// The temporary tree the definition reader builds from a character's ".func" files
// before the records are made: root, one element per register kind, one per block,
// one per section, and the sections' name/value nodes.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Quenta::Script {

// Where a node came from, for error reports: the file's position in the reader's file
// list and the 1-based line in that file (0 when unknown).
struct SourceSpot {
    int file = -1;
    int line = 0;
};

struct ValueNode {
    std::u16string name;
    std::u16string value;
    SourceSpot spot;
};

class Element {
public:
    explicit Element(std::u16string name) : name_(std::move(name)) {}
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    const std::u16string& name() const { return name_; }
    // Carried for completeness of the tree; nothing reads it.
    const std::u16string& text() const { return text_; }
    void setText(std::u16string text) { text_ = std::move(text); }

    std::vector<ValueNode>& values() { return values_; }
    const std::vector<ValueNode>& values() const { return values_; }
    const std::vector<std::unique_ptr<Element>>& children() const { return children_; }

    Element& addChild(std::u16string name);
    // The first child of that name, or null.
    Element* findChild(std::u16string_view name) const;

    SourceSpot spot;

private:
    std::vector<ValueNode> values_;
    std::vector<std::unique_ptr<Element>> children_;
    std::u16string name_;
    std::u16string text_;
};

}  // namespace Quenta::Script
