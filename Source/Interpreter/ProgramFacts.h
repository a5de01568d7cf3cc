#pragma once
// What scripts may learn of the program they run in: its folders, its own path and its
// identity strings. The program states them once at start-up (the tool when it runs a
// script); until then every one is empty and the built-ins that read them answer their
// failure values. Safe from any thread.
#include <filesystem>
#include <string>

namespace Quenta::Interpreter {

struct ProgramFacts {
    std::filesystem::path programDirectory;  // holds Data/
    std::filesystem::path perUserDirectory;  // <application data>/Ostrel/Tavizo
    std::filesystem::path programPath;       // the executable
    std::u16string displayName;
    std::u16string productName;
    std::u16string version;
    std::u16string makerName;
};

void setProgramFacts(ProgramFacts facts);
ProgramFacts programFacts();

}  // namespace Quenta::Interpreter
