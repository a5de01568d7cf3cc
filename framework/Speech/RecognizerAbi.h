#pragma once
// The binary interface of a speech recogniser library, shared by the host and the
// recognisers the project builds. The library exports
//     RecognizerObject* create();            // null when it cannot make one
//     void destroy(RecognizerObject*);
// The object begins with a pointer to a table of operations. Each operation takes the
// object as its first argument, which is how a C++ virtual call passes "this" on x64,
// so a recogniser written as a C++ class with virtual functions fits the same table.
// Strings are NUL-terminated UTF-16.
//
// A recogniser reports a recognised text by sending the window given to "start" the
// message recognitionMessage with wParam recognitionWParam and lParam pointing to the
// text; the text need only stay valid until the send returns.
#include <cstdint>

namespace Arbor::Speech::Recognition {

extern "C" {

struct RecognizerObject;
using RecognizerOperation = void (*)();

struct RecognizerObject {
    const RecognizerOperation* operations;
};

using RecognizerCreate = RecognizerObject* (*)();
using RecognizerDestroy = void (*)(RecognizerObject*);

// Operations by position in the table.
using InitializeOperation = bool (*)(RecognizerObject*, const char16_t* configurationPath);
using StartOperation = bool (*)(RecognizerObject*, void* window);
using StopOperation = void (*)(RecognizerObject*);
using ConfigureOperation = void (*)(RecognizerObject*, const char16_t* text);
using AddGrammarOperation = bool (*)(RecognizerObject*, const char16_t* name, const char16_t* basePath, int flags);
using ChangeGrammarOperation = bool (*)(RecognizerObject*, const char16_t* name, const char16_t* basePath);
using GrammarOperation = bool (*)(RecognizerObject*, const char16_t* name);

}  // extern "C"

struct RecognizerPosition {
    static constexpr int initialize = 1;
    static constexpr int start = 3;
    static constexpr int stop = 4;
    static constexpr int configure = 7;
    static constexpr int addGrammar = 8;
    static constexpr int changeGrammar = 9;
    static constexpr int deleteGrammar = 10;
    static constexpr int deactivateGrammar = 11;
    static constexpr int activateGrammar = 12;
    // Entries a table must have (positions 0 ... 12).
    static constexpr int count = 13;
};

// Application message base plus 6, with wParam 12: "here is a recognised text".
inline constexpr std::uint32_t recognitionMessage = 0x8006;
inline constexpr std::uintptr_t recognitionWParam = 12;

}  // namespace Arbor::Speech::Recognition
