#pragma once
// One line per character after each frame of a headless run: what an author or a test
// compares between runs.
//   FRAME<TAB>OBJECTID<TAB>ORDER<TAB>X<TAB>Y<TAB>WIDTH<TAB>HEIGHT<TAB>SHOWN<TAB>LIFE
// Numbers print in the shortest form that reads back exactly, as the script tools do.
#include <cstdint>
#include <string>
#include <vector>

namespace Quenta::Application {

struct CharacterTraceRow {
    std::u16string objectId;  // the character's ObjectID
    std::u16string order;  // the current order's FuncName; empty when none
    double x = 0;          // absolute desktop position
    double y = 0;
    double width = 0;
    double height = 0;
    bool shown = false;
    int life = 0;  // 0 running ... 3 terminated
};

// Every registered character, hidden and terminating ones included, in registry order.
// Call on the frame thread.
std::vector<CharacterTraceRow> characterTraceRows();

// The row's line, ending in a line feed.
std::string formatTraceLine(std::uint64_t frame, const CharacterTraceRow& row);

}  // namespace Quenta::Application
