#include "Source/Interpreter/ProgramFacts.h"

#include <mutex>

namespace Quenta::Interpreter {

namespace {
std::mutex mutex;
ProgramFacts& stored() {
    static ProgramFacts facts;
    return facts;
}
}  // namespace

void setProgramFacts(ProgramFacts facts) {
    std::lock_guard lock(mutex);
    stored() = std::move(facts);
}

ProgramFacts programFacts() {
    std::lock_guard lock(mutex);
    return stored();
}

}  // namespace Quenta::Interpreter
