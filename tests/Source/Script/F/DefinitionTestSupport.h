#pragma once
// Helpers for the definition tests: definitions from UTF-8 text held in memory.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Source/Interpreter/ScriptException.h"
#include "Source/Script/F/DefinitionData.h"
#include "Source/Script/F/DefinitionLoader.h"
#include "Source/Script/F/DefinitionSource.h"
#include "Source/Script/F/ScriptParser.h"
#include "framework/Text/Utf.h"

namespace DefinitionTest {

using namespace Quenta::Script;
using Quenta::Interpreter::ScriptException;

inline std::vector<std::uint8_t> bytesOf(std::string_view utf8) { return {utf8.begin(), utf8.end()}; }

// A block of one register with the given Config lines (and optional extra sections).
inline std::string block(std::string_view reg, std::string_view config, std::string_view extra = {}) {
    std::string text = "<FUNC_" + std::string(reg) + ">\n<SET_CONFIG>\n" + std::string(config) +
                       "\n</SET_CONFIG>\n" + std::string(extra) + "</FUNC_" + std::string(reg) + ">\n";
    return text;
}

// Reads files (name, UTF-8 text) and builds and links their records.
inline std::unique_ptr<DefinitionData> buildFrom(const std::vector<std::pair<std::u16string, std::string>>& files,
                                                 std::u16string* where = nullptr) {
    ScriptParser reader;
    for (const auto& [name, text] : files) reader.readFile(name, bytesOf(text));
    auto data = DefinitionData::build(reader, where);
    data->link(where);
    return data;
}

inline std::unique_ptr<DefinitionData> buildFrom(const std::string& text) { return buildFrom({{u"main.func", text}}); }

template <class F>
std::u16string messageOf(F&& f) {
    try {
        f();
    } catch (const ScriptException& e) {
        return e.message();
    }
    return u"<no exception>";
}

inline std::string utf8(const std::u16string& s) { return Arbor::Text::toUtf8(s); }

}  // namespace DefinitionTest
