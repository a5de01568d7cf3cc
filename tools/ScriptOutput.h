#pragma once
// How tavizo-tool shows script values: "TYPE<TAB>VALUE", with numbers in the shortest
// text that reads back exactly.
#include <string>

#include "Source/Interpreter/NumberText.h"
#include "Source/Interpreter/Value.h"
#include "framework/Text/Utf.h"
#include "tools/ToolCommand.h"

namespace Tool {

inline std::string describeValue(const Quenta::Interpreter::Value& value) {
    switch (value.typeId()) {
    case 1: return "number\t" + Quenta::Interpreter::formatShortest(value.toNum());
    case 2: return "string\t" + Arbor::Text::toUtf8(value.toStr());
    case 3: return std::string("bool\t") + (value.toBool() ? "true" : "false");
    case 4: return "func\t" + Arbor::Text::toUtf8(value.toStr());
    default: return "void\t";
    }
}

}  // namespace Tool
