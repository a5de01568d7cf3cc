#include "Source/Interpreter/StandaloneScriptOwner.h"

namespace Quenta::Interpreter {

StandaloneScriptOwner::StandaloneScriptOwner(std::u16string name, std::filesystem::path writableBase,
                                             std::filesystem::path dataDirectory)
    : name_(std::move(name)), writableBase_(std::move(writableBase)), dataDirectory_(std::move(dataDirectory)) {}

std::filesystem::path StandaloneScriptOwner::valueStoreFile() const {
    return ValueStore::storeFilePath(writableBase_, name_);
}

bool StandaloneScriptOwner::loadValueStore() {
    return store_.loadFile(valueStoreFile());
}

}  // namespace Quenta::Interpreter
