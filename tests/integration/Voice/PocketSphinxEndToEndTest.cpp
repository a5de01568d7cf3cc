// A spoken English command, end to end: espeak-ng speaks the shipped commands into a
// WAV file, the PocketSphinx recogniser (loaded by the speech engine like any
// recogniser library, configured to read that file) hears them with the shipped
// grammar pair, and each recognised text, as the frame's user input, makes the shipped
// command template's tree run the matching action.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Source/Interpreter/Lexer.h"
#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/StandaloneScriptOwner.h"
#include "Source/Interpreter/StatementRunner.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/NativePath.h"
#include "framework/Speech/SpeechRecognitionEngine.h"
#include "framework/Text/Utf.h"
#include "support/TestPaths.h"

namespace fs = std::filesystem;
using namespace Quenta::Interpreter;
using Arbor::Speech::Recognition::SpeechRecognitionEngine;

namespace {

#ifdef TAVIZO_POCKETSPHINX_PLUGIN
const char* const kPlugin = TAVIZO_POCKETSPHINX_PLUGIN;
#else
const char* const kPlugin = nullptr;
#endif
const fs::path kModel = "/usr/share/pocketsphinx/model/en-us";

struct Spoken {
    std::string words;
    std::u16string variable;  // the shortcut variable the action sets
    std::u16string value;     // to the command text of the shipped settings
};

const std::vector<Spoken> kCommands = {
    {"open the browser", u"$softPath", u"https://www.debian.org/"},
    {"open the home folder", u"$softPath", u"~"},
    {"what time is it", u"$softPath", u"time"},
    {"mute the sound", u"$keyCommand", u"VOLUME_MUTE"},
    {"quit", u"$softPath", u"exit"},
};

bool run(const std::string& command) { return std::system(command.c_str()) == 0; }

TokenBlock blockOf(const std::vector<std::u16string>& lines) {
    TokenBlock block;
    for (const std::u16string& line : cleanLines(lines)) {
        if (!line.empty()) block.push_back(tokenizeLine(line));
    }
    return block;
}

void pumpUntil(SpeechRecognitionEngine& engine, std::size_t texts) {
    Arbor::Platform::MessageQueueService& queue = Arbor::Platform::messageQueueService();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (engine.queuedTexts() < texts && std::chrono::steady_clock::now() < deadline) {
        Arbor::Platform::Message m;
        while (queue.peekMessage(m)) queue.dispatchMessage(m);
        queue.waitMessage(10);
    }
}

}  // namespace

TEST(PocketSphinxEndToEnd, SpokenCommandsEndInTheirTreeActions) {
    if (!kPlugin) GTEST_SKIP() << "the offline recogniser is not built in this configuration";
    if (!fs::exists(kModel) || !run("command -v espeak-ng >/dev/null && command -v sox >/dev/null")) {
        GTEST_SKIP() << "espeak-ng, sox or pocketsphinx-en-us is missing (scripts/setup installs them)";
    }
    Testing::TempDir temp;
    const fs::path& dir = temp.path();

    // One WAV file: every command, and a sentence that is none, with a second of
    // silence after each, 16 kHz mono.
    std::vector<std::string> sentences;
    for (const Spoken& command : kCommands) sentences.push_back(command.words);
    sentences.insert(sentences.begin() + 1, "please sing a song about bananas");
    std::string parts;
    ASSERT_TRUE(run("sox -n -r 22050 -c 1 -b 16 '" + (dir / "pause.wav").string() + "' trim 0 1.0"));
    for (std::size_t i = 0; i < sentences.size(); ++i) {
        const fs::path spoken = dir / ("spoken" + std::to_string(i) + ".wav");
        ASSERT_TRUE(run("espeak-ng -v en-us -w '" + spoken.string() + "' '" + sentences[i] + "'"));
        parts += " '" + spoken.string() + "' '" + (dir / "pause.wav").string() + "'";
    }
    // A grammar pair with a word neither it nor the model can pronounce.
    std::ofstream(dir / "unknown.dfa", std::ios::binary) << "0 1 1 0 0\n1 -1 -1 1 0\n";
    std::ofstream(dir / "unknown.dict", std::ios::binary) << "1 [zzqxvk]\n";
    const fs::path commands = dir / "commands.wav";
    ASSERT_TRUE(run("sox" + parts + " -r 16000 -c 1 -b 16 '" + commands.string() + "'"));

    // A program folder: the recogniser under SpeechRecognition, reading the WAV file.
    const fs::path speech = dir / "SpeechRecognition";
    fs::create_directories(speech / "dictation");
    fs::copy_file(kPlugin, speech / fs::path(kPlugin).filename());
    std::ofstream(speech / "dictation" / "main.jconf", std::ios::binary)
        << "model " << (kModel / "en-us").string() << "\ndictionary " << (kModel / "cmudict-en-us.dict").string()
        << "\ninput " << commands.string() << "\nmin-confidence 0.3\n";

    SpeechRecognitionEngine engine;
    ASSERT_TRUE(engine.startUp(Arbor::Platform::fromNativePath(speech)));

    // The character's scripts: the shipped voice data, and the built-ins that drive it.
    StandaloneScriptOwner owner(u"MAIN_OBJECT", dir, fs::path(TAVIZO_SOURCE_DATA) / "MAIN_OBJECT");
    owner.setSpeechEngine(&engine);
    Parser parser(&owner);
    owner.setVariableTable(&parser.variables());
    const TokenBlock setUp = blockOf({
        u"string $softPath = \"\"", u"string $keyCommand = \"\"", u"string $toastMessage = \"\"",
        u"bool $canNumberOfTimes = false", u"number $inputKeyType__ = 0",
        u"bool $loaded = SetVariablesFromFile(\"ShortcutTemplate.ctpl\") & SetVariablesFromFile(\"ShortcutSettings.cnf\")",
        u"bool $tree = WRAddConditionsFromCommandTemplate(\"voice\", \"ShortcutTemplate.ctpl\")",
        u"bool $absent = AddGrammarSpeechRecognition(\"absent\", \"voice\\\\absent\")",
        u"bool $unknown = AddGrammarSpeechRecognition(\"unknown\", \"" +
            Arbor::Text::fromUtf8((dir / "unknown").generic_string()) + u"\")",
        u"bool $grammar = AddGrammarSpeechRecognition(\"commands\", \"voice\\\\commands\")",
        u"bool $started = StartSpeechRecognition()",
    });
    runBlock(parser, setUp);
    for (const char16_t* name : {u"$loaded", u"$tree", u"$grammar", u"$started"}) {
        EXPECT_TRUE(parser.variables().find(name)->toBool()) << Arbor::Text::toUtf8(name);
    }
    EXPECT_FALSE(parser.variables().find(u"$absent")->toBool());
    EXPECT_FALSE(parser.variables().find(u"$unknown")->toBool());

    pumpUntil(engine, kCommands.size());
    const TokenBlock frame = blockOf({u"$softPath = \"\"", u"$keyCommand = \"\"",
                                      u"bool $heard = WRRecognize(\"voice\", GetUserInput())"});
    for (const Spoken& command : kCommands) {
        const std::u16string text = engine.takeTextOrEmpty();
        EXPECT_EQ(Arbor::Text::toUtf8(text), command.words);
        owner.setUserInput(text);
        runBlock(parser, frame);
        EXPECT_TRUE(parser.variables().find(u"$heard")->toBool()) << command.words;
        EXPECT_EQ(parser.variables().find(command.variable)->toStr(), command.value) << command.words;
    }
    // The sentence that is no command was heard as nothing.
    EXPECT_EQ(engine.queuedTexts(), 0u);
    const TokenBlock tearDown = blockOf({u"StopSpeechRecognition()", u"bool $still = IsSpeechRecognitionStarted()"});
    runBlock(parser, tearDown);
    EXPECT_FALSE(parser.variables().find(u"$still")->toBool());
    engine.shutdown();
}
