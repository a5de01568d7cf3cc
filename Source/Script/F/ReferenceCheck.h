#pragma once
// An authoring check beyond what loading does: the fields that name other records
// (an order's motion, layers and event lists, a balloon's motion and layers, a hit
// event's own areas, a text layer's style) must name records that exist, or the
// character fails later, when the scene object looks the name up.
#include <string>

#include "Source/Script/F/DefinitionData.h"

namespace Quenta::Script {

// Throws the lookup's ScriptException (name + "は存在しません。") for the first
// unknown name; `where` then names the record and field. A field whose value depends
// on the running character (its evaluation fails here) is skipped.
void checkRecordReferences(const DefinitionData& data, std::u16string* where = nullptr);

}  // namespace Quenta::Script
