// A stand-in speech recogniser. Its configuration file (given to "initialise") lists
// the texts it will "recognise", one per line, UTF-8; blank lines and lines beginning
// with '#' are skipped. When recognition starts it sends every text, in order, to the
// window it was given, the way a recogniser reports results. Grammar operations keep
// a set of grammar names so that callers can tell the operations apart.
//
// Every call is also written to a log that tests read through the export "callLog".
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "framework/Platform/MessageQueue.h"
#include "framework/Speech/RecognizerAbi.h"

using namespace Arbor::Speech::Recognition;

namespace {

std::u16string decodeUtf8(const std::string& bytes) {
    std::u16string out;
    for (size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        char32_t cp = 0xFFFD;
        size_t length = 1;
        if (b < 0x80) {
            cp = b;
        } else if ((b >> 5) == 0x6 && i + 1 < bytes.size()) {
            cp = ((b & 0x1Fu) << 6) | (static_cast<unsigned char>(bytes[i + 1]) & 0x3Fu);
            length = 2;
        } else if ((b >> 4) == 0xE && i + 2 < bytes.size()) {
            cp = ((b & 0x0Fu) << 12) | ((static_cast<unsigned char>(bytes[i + 1]) & 0x3Fu) << 6) |
                 (static_cast<unsigned char>(bytes[i + 2]) & 0x3Fu);
            length = 3;
        } else if ((b >> 3) == 0x1E && i + 3 < bytes.size()) {
            cp = ((b & 0x07u) << 18) | ((static_cast<unsigned char>(bytes[i + 1]) & 0x3Fu) << 12) |
                 ((static_cast<unsigned char>(bytes[i + 2]) & 0x3Fu) << 6) |
                 (static_cast<unsigned char>(bytes[i + 3]) & 0x3Fu);
            length = 4;
        }
        if (cp > 0xFFFF) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i += length;
    }
    return out;
}

struct TestRecognizer {
    std::vector<std::u16string> texts;
    std::set<std::u16string> grammars;
    std::set<std::u16string> active;
    bool initialized = false;
    bool running = false;
};

// What "create" hands out: the table pointer first, as the interface requires, and the
// state behind a pointer so that the object stays standard-layout.
struct Instance {
    RecognizerObject base;
    TestRecognizer* state;
};

std::u16string& log() {
    static std::u16string text;
    return text;
}

void note(std::u16string_view call) {
    if (!log().empty()) log() += u';';
    log() += call;
}

TestRecognizer& self(RecognizerObject* object) { return *reinterpret_cast<Instance*>(object)->state; }

void reserved(RecognizerObject*) {}

bool initialize(RecognizerObject* object, const char16_t* path) {
    note(u"initialize(" + std::u16string(path) + u")");
    std::ifstream in(std::filesystem::path(std::u16string(path)), std::ios::binary);
    if (!in) return false;
    TestRecognizer& r = self(object);
    r.texts.clear();
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (first && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        first = false;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        r.texts.push_back(decodeUtf8(line));
    }
    r.initialized = true;
    return true;
}

bool start(RecognizerObject* object, void* window) {
    note(u"start");
    TestRecognizer& r = self(object);
    if (!r.initialized || window == nullptr) return false;
    r.running = true;
    const auto handle = static_cast<Arbor::Platform::WindowHandle>(reinterpret_cast<std::uintptr_t>(window));
    for (const std::u16string& text : r.texts) {
        Arbor::Platform::messageQueueService().sendMessage(handle, recognitionMessage, recognitionWParam,
                                                    reinterpret_cast<std::intptr_t>(text.c_str()));
    }
    return true;
}

void stop(RecognizerObject* object) {
    note(u"stop");
    self(object).running = false;
}

void configure(RecognizerObject*, const char16_t* text) { note(u"configure(" + std::u16string(text) + u")"); }

bool addGrammar(RecognizerObject* object, const char16_t* name, const char16_t* base, int flags) {
    note(u"addGrammar(" + std::u16string(name) + u"," + std::u16string(base) + u"," +
         static_cast<char16_t>(u'0' + (flags & 7)) + u")");
    TestRecognizer& r = self(object);
    r.grammars.insert(name);
    r.active.insert(name);
    return true;
}

bool changeGrammar(RecognizerObject* object, const char16_t* name, const char16_t* base) {
    note(u"changeGrammar(" + std::u16string(name) + u"," + std::u16string(base) + u")");
    TestRecognizer& r = self(object);
    r.grammars = {name};
    r.active = {name};
    return true;
}

bool deleteGrammar(RecognizerObject* object, const char16_t* name) {
    note(u"deleteGrammar(" + std::u16string(name) + u")");
    TestRecognizer& r = self(object);
    r.active.erase(name);
    return r.grammars.erase(name) > 0;
}

bool deactivateGrammar(RecognizerObject* object, const char16_t* name) {
    note(u"deactivateGrammar(" + std::u16string(name) + u")");
    return self(object).active.erase(name) > 0;
}

bool activateGrammar(RecognizerObject* object, const char16_t* name) {
    note(u"activateGrammar(" + std::u16string(name) + u")");
    TestRecognizer& r = self(object);
    if (r.grammars.count(name) == 0) return false;
    r.active.insert(name);
    return true;
}

template <typename F>
RecognizerOperation slot(F f) {
    return reinterpret_cast<RecognizerOperation>(f);
}

const RecognizerOperation operationTable[RecognizerPosition::count] = {
    slot(&reserved),          // 0
    slot(&initialize),        // 1
    slot(&reserved),          // 2
    slot(&start),             // 3
    slot(&stop),              // 4
    slot(&reserved),          // 5
    slot(&reserved),          // 6
    slot(&configure),         // 7
    slot(&addGrammar),        // 8
    slot(&changeGrammar),     // 9
    slot(&deleteGrammar),     // 10
    slot(&deactivateGrammar), // 11
    slot(&activateGrammar),   // 12
};

}  // namespace

#if defined(_WIN32)
#define RECOGNIZER_EXPORT extern "C" __declspec(dllexport)
#else
#define RECOGNIZER_EXPORT extern "C" __attribute__((visibility("default")))
#endif

RECOGNIZER_EXPORT RecognizerObject* create() {
    note(u"create");
    auto* instance = new Instance{RecognizerObject{operationTable}, new TestRecognizer};
    return &instance->base;
}

RECOGNIZER_EXPORT void destroy(RecognizerObject* object) {
    note(u"destroy");
    if (object == nullptr) return;
    auto* instance = reinterpret_cast<Instance*>(object);
    delete instance->state;
    delete instance;
}

// The calls made so far, separated by ';'. Only the test recogniser has this.
RECOGNIZER_EXPORT const char16_t* callLog() { return log().c_str(); }

RECOGNIZER_EXPORT void clearCallLog() { log().clear(); }
