#pragma once
// The writer behind Arbor::Json::write.
#include <cstdint>
#include <string>

#include "framework/Json/JsonValue.h"

namespace Arbor::Json {

class JsonWriter {
public:
    // Deeper containers are not written; this also stops a container that was made to
    // contain itself.
    static constexpr int kMaxDepth = 4096;

    explicit JsonWriter(bool compact) : compact_(compact) {}
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    // The text of a root array or object; empty for other values or when too deep.
    std::u16string writeRoot(const JsonValue& root);

    static void appendQuoted(std::u16string& out, const std::u16string& text);

private:
    bool writeValue(const JsonValue& value, int level);
    void indent(int level);

    bool compact_;
    std::u16string out_;
};

}  // namespace Arbor::Json
