// tavizo-tool run FILE [--character NAME] [--base DIR] [--input TEXT]: runs a script
// file as one block and lists its variables. With --character the script runs as that
// character's: its value store is loaded from, and FlushValues writes it to, the file
// the program keeps for that character under the writable base (or under DIR), and
// its data folder is Data/NAME beside the program (or under DIR). Relative paths given
// to built-ins are taken from that folder, or from the working directory without
// --character. --input sets what GetUserInput answers, as if it had been heard. With
// --character the system built-ins see DIR (or the tool's folder) as the program
// directory, and key macros the script sends play before the tool ends.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Source/Application/ApplicationDirectories.h"
#include "Source/Application/ApplicationIdentity.h"
#include "Source/Interpreter/KeyMacroQueue.h"
#include "Source/Interpreter/Lexer.h"
#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/ProgramFacts.h"
#include "Source/Interpreter/ScriptException.h"
#include "Source/Interpreter/StandaloneScriptOwner.h"
#include "Source/Interpreter/StatementRunner.h"
#include "Source/Interpreter/WordRecognition.h"
#include "framework/Speech/SpeechRecognitionEngine.h"
#include "framework/Platform/Folders.h"
#include "framework/Platform/NativePath.h"
#include "framework/Platform/ProgramLocation.h"
#include "framework/Text/Utf.h"
#include "tools/ScriptOutput.h"

namespace {

using namespace Quenta::Interpreter;

// Lines as definition files are read: split at line feeds (or at carriage returns when
// the text has no line feed), trailing carriage returns and line feeds removed.
std::vector<std::u16string> splitLines(const std::u16string& text) {
    const char16_t separator = text.find(u'\n') != std::u16string::npos ? u'\n' : u'\r';
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        std::u16string line = text.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start);
        while (!line.empty() && (line.back() == u'\r' || line.back() == u'\n')) {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        if (end == std::u16string::npos) {
            break;
        }
        start = end + 1;
    }
    return lines;
}

// The writable base of the installed program, found the way the program finds it from
// its own folder (which is the tool's).
std::filesystem::path installedWritableBase() {
    const std::filesystem::path program = Arbor::Platform::executableDirectory();
    const std::u16string perUser = Arbor::Platform::folderService().applicationDataFolder();
    if (program.empty() && perUser.empty()) {
        return {};
    }
    const Quenta::Application::ApplicationDirectories directories(program, Arbor::Platform::toNativePath(perUser));
    return directories.writableBase();
}

// A character name is one folder or package name under Data.
bool isCharacterName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\:") == std::string::npos;
}

// A script run without --character still keeps word recognition trees and hears its
// input, but has no name, folder or value store.
class ToolScriptOwner : public ScriptOwner {
public:
    explicit ToolScriptOwner(std::u16string input) : input_(std::move(input)) {}
    WordRecognitionTrees* wordRecognitionTrees() override { return &trees_; }
    Arbor::Speech::Recognition::SpeechRecognitionEngine* speechEngine() override {
        return &Arbor::Speech::Recognition::SpeechRecognitionEngine::instance();
    }
    std::u16string userInput() const override { return input_; }

private:
    WordRecognitionTrees trees_;
    std::u16string input_;
};

// The program the character's built-ins see: DIR (or the tool's own folder) stands for
// the program directory; the per-user folder and the identity are the program's.
void stateProgramFacts(const std::filesystem::path& program) {
    Quenta::Interpreter::ProgramFacts facts;
    facts.programDirectory = program;
    const std::u16string perUser = Arbor::Platform::folderService().applicationDataFolder();
    if (!perUser.empty()) {
        facts.perUserDirectory = Arbor::Platform::toNativePath(perUser) /
                                 std::filesystem::path(Quenta::Application::ApplicationIdentity::makerName) /
                                 std::filesystem::path(Quenta::Application::ApplicationIdentity::productName);
    }
    const std::u16string executable = Arbor::Platform::folderService().executablePath();
    if (!executable.empty()) facts.programPath = Arbor::Platform::toNativePath(executable);
    facts.displayName = std::u16string(Quenta::Application::ApplicationIdentity::displayName);
    facts.productName = std::u16string(Quenta::Application::ApplicationIdentity::productName);
    facts.version = std::u16string(Quenta::Application::ApplicationIdentity::version);
    facts.makerName = std::u16string(Quenta::Application::ApplicationIdentity::makerName);
    Quenta::Interpreter::setProgramFacts(std::move(facts));
}

// Macros the script queued play to their end (a minute at most) before the tool ends,
// a frame's step at a time as in the program.
void playQueuedMacros(Quenta::Interpreter::KeyMacroQueue& queue) {
    for (int frame = 0; queue.size() > 0 && frame < 30 * 60; ++frame) {
        queue.step();
        std::this_thread::sleep_for(std::chrono::milliseconds(33));
    }
}

struct RunOptions {
    std::string file;
    std::string character;
    std::string base;
    std::string input;
    bool hasCharacter = false;
    bool hasBase = false;
    bool hasInput = false;
};

bool parseOptions(const std::vector<std::string>& args, RunOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--character" && i + 1 < args.size() && !options.hasCharacter) {
            options.character = args[++i];
            options.hasCharacter = true;
        } else if (args[i] == "--base" && i + 1 < args.size() && !options.hasBase) {
            options.base = args[++i];
            options.hasBase = true;
        } else if (args[i] == "--input" && i + 1 < args.size() && !options.hasInput) {
            options.input = args[++i];
            options.hasInput = true;
        } else if (options.file.empty() && !args[i].empty() && args[i].rfind("--", 0) != 0) {
            options.file = args[i];
        } else {
            return false;
        }
    }
    return !options.file.empty() && (!options.hasBase || options.hasCharacter);
}

int runRun(const std::vector<std::string>& arguments) {
    RunOptions options;
    if (!parseOptions(arguments, options)) {
        std::fprintf(stderr, "usage: tavizo-tool run FILE [--character NAME [--base DIR]] [--input TEXT]\n");
        return 2;
    }
    if (options.hasCharacter && !isCharacterName(options.character)) {
        std::fprintf(stderr, "tavizo-tool: '%s' is not a character name\n", options.character.c_str());
        return 2;
    }
    const std::vector<std::string> args{options.file};
    std::ifstream in(args[0], std::ios::binary | std::ios::ate);
    std::string bytes;
    if (in) {
        bytes.resize(static_cast<std::size_t>(in.tellg()));
        in.seekg(0);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    if (!in) {
        std::fprintf(stderr, "tavizo-tool: cannot read '%s'\n", args[0].c_str());
        return 2;
    }
    try {
        TokenBlock block;
        for (const std::u16string& line : cleanLines(splitLines(Arbor::Text::fromUtf8(Arbor::Text::skipUtf8Bom(bytes))))) {
            if (!line.empty()) {
                block.push_back(tokenizeLine(line));
            }
        }
        const std::u16string input = Arbor::Text::fromUtf8(options.input);
        std::unique_ptr<StandaloneScriptOwner> character;
        ToolScriptOwner anonymous(input);
        if (options.hasCharacter) {
            const std::filesystem::path base = options.hasBase ? std::filesystem::path(Arbor::Text::fromUtf8(options.base))
                                                               : installedWritableBase();
            const std::filesystem::path program = options.hasBase ? base : Arbor::Platform::executableDirectory();
            if (base.empty()) {
                std::fprintf(stderr, "tavizo-tool: no writable base directory\n");
                return 2;
            }
            const std::u16string name = Arbor::Text::fromUtf8(options.character);
            character = std::make_unique<StandaloneScriptOwner>(name, base, program / "Data" / std::filesystem::path(name));
            stateProgramFacts(program);
            character->loadValueStore();
            character->setSpeechEngine(&Arbor::Speech::Recognition::SpeechRecognitionEngine::instance());
            character->setUserInput(input);
        }
        Parser parser(character ? static_cast<ScriptOwner*>(character.get()) : &anonymous);
        if (character) {
            character->setVariableTable(&parser.variables());
        }
        runBlock(parser, block);
        if (character) playQueuedMacros(*character->keyMacroQueue());
        for (const auto& [name, value] : parser.variables().entries()) {
            std::printf("%s\t%s\n", Arbor::Text::toUtf8(name).c_str(), Tool::describeValue(*value).c_str());
        }
        return 0;
    } catch (const ScriptException& e) {
        std::printf("error\t%s\n", e.what());
        return 1;
    }
}

}  // namespace

TAVIZO_TOOL_COMMAND(run, "run FILE [--character NAME [--base DIR]] [--input TEXT]",
                    "runs a script file as one block (as a character's, with its value store) and lists its variables",
                    runRun);
