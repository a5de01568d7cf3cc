#pragma once
// Loads a character's definition: every ".func" entry of its data source, in the
// source's order, read into one element tree; the records built and linked; every
// image, sound and cursor they name loaded; then the value store.
//
// Failures throw ScriptException with the host's message. Beyond the message, the
// loader remembers where the failure arose (file and line, record and field), which
// the host does not show but authoring tools do.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "Source/Script/F/DefinitionData.h"
#include "Source/Script/F/DefinitionSource.h"

namespace Arbor::Secure {
class ResourceCache;
}

namespace Quenta::Interpreter {
class BuiltInTable;
class ValueStore;
}

namespace Quenta::Script {

class DefinitionLoader {
public:
    explicit DefinitionLoader(DefinitionSource& source) : source_(source) {}
    DefinitionLoader(const DefinitionLoader&) = delete;
    DefinitionLoader& operator=(const DefinitionLoader&) = delete;

    // Runs after the resource checks (the character's value store load).
    void setValueStoreLoader(std::function<void()> load) { loadValueStore_ = std::move(load); }

    // The built-in functions the resource checks' field evaluation may call: the shared
    // table unless replaced (a fuzzer gives an empty one so that no script input can
    // reach the system). It must outlive load().
    void setBuiltIns(const Interpreter::BuiltInTable& table) { builtIns_ = &table; }

    // Throws ScriptException.
    std::unique_ptr<DefinitionData> load();

    // Where the last failure arose; empty when unknown or when nothing failed.
    const std::u16string& where() const { return where_; }
    // The ".func" entries read by the last load, in order.
    const std::vector<std::u16string>& files() const { return files_; }

private:
    void checkResources(DefinitionData& data);

    DefinitionSource& source_;
    std::function<void()> loadValueStore_;
    const Interpreter::BuiltInTable* builtIns_ = nullptr;
    std::u16string where_;
    std::vector<std::u16string> files_;
};

// The host's form: the character's data source is its resource cache (folder and
// packages); `loadValueStore` loads its value store last. Throws ScriptException.
std::unique_ptr<DefinitionData> loadDefinition(Arbor::Secure::ResourceCache& cache,
                                               std::function<void()> loadValueStore = {});

// The same, loading `store` from its file (a missing file leaves it empty).
std::unique_ptr<DefinitionData> loadDefinition(Arbor::Secure::ResourceCache& cache, Interpreter::ValueStore& store,
                                               const std::filesystem::path& storeFile);

// Whether an entry name is a definition file.
bool isDefinitionFile(std::u16string_view name);

}  // namespace Quenta::Script
