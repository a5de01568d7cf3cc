// The library's face to the host: "create", "destroy" and the table of operations at
// the positions the host calls.
#include <filesystem>
#include <string>

#include "PocketSphinxRecognizer.h"
#include "framework/Speech/RecognizerAbi.h"
#include "framework/Text/Utf.h"

using namespace Arbor::Speech::Recognition;
using PocketSphinxPlugin::PocketSphinxRecognizer;

namespace {

struct Instance {
    RecognizerObject base;
    PocketSphinxRecognizer* recognizer;
};

PocketSphinxRecognizer& self(RecognizerObject* object) { return *reinterpret_cast<Instance*>(object)->recognizer; }

std::string text(const char16_t* value) { return value ? Arbor::Text::toUtf8(value) : std::string(); }
std::string path(const char16_t* value) {
    return value ? std::filesystem::path(std::u16string(value)).string() : std::string();
}

void reserved(RecognizerObject*) {}
bool initialize(RecognizerObject* o, const char16_t* configuration) { return self(o).initialize(path(configuration)); }
bool start(RecognizerObject* o, void* window) { return self(o).start(window); }
void stop(RecognizerObject* o) { self(o).stop(); }
// The host passes a text once at start-up; this recogniser has nothing to set by it.
void configure(RecognizerObject*, const char16_t*) {}
bool addGrammar(RecognizerObject* o, const char16_t* name, const char16_t* base, int) {
    return self(o).addGrammar(text(name), path(base));
}
bool changeGrammar(RecognizerObject* o, const char16_t* name, const char16_t* base) {
    return self(o).changeGrammar(text(name), path(base));
}
bool deleteGrammar(RecognizerObject* o, const char16_t* name) { return self(o).deleteGrammar(text(name)); }
bool deactivateGrammar(RecognizerObject* o, const char16_t* name) { return self(o).setGrammarActive(text(name), false); }
bool activateGrammar(RecognizerObject* o, const char16_t* name) { return self(o).setGrammarActive(text(name), true); }

template <typename F>
RecognizerOperation slot(F f) {
    return reinterpret_cast<RecognizerOperation>(f);
}

const RecognizerOperation operationTable[RecognizerPosition::count] = {
    slot(&reserved),          slot(&initialize),    slot(&reserved),      slot(&start),
    slot(&stop),              slot(&reserved),      slot(&reserved),      slot(&configure),
    slot(&addGrammar),        slot(&changeGrammar), slot(&deleteGrammar), slot(&deactivateGrammar),
    slot(&activateGrammar),
};

}  // namespace

#if defined(_WIN32)
#define RECOGNIZER_EXPORT extern "C" __declspec(dllexport)
#else
#define RECOGNIZER_EXPORT extern "C" __attribute__((visibility("default")))
#endif

RECOGNIZER_EXPORT RecognizerObject* create() {
    return &(new Instance{RecognizerObject{operationTable}, new PocketSphinxRecognizer})->base;
}

RECOGNIZER_EXPORT void destroy(RecognizerObject* object) {
    if (object == nullptr) return;
    auto* instance = reinterpret_cast<Instance*>(object);
    delete instance->recognizer;
    delete instance;
}

// Why the last operation failed; for tests and for people setting the recogniser up.
RECOGNIZER_EXPORT const char* lastError(RecognizerObject* object) {
    return object ? self(object).lastError().c_str() : "";
}
