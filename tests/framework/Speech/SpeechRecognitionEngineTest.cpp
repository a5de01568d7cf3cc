// The speech engine against the test recogniser, a real shared library with the same
// exports and operation table as a production recogniser.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "Source/Common/FrameEnvironment.h"
#include "Source/Common/MainThread.h"
#include "Source/Common/UserInput.h"
#include "Source/Application/ApplicationState.h"
#include "Source/GameComponent/DesktopObject.h"
#include "framework/Platform/Folders.h"
#include "framework/Platform/Library.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/NativePath.h"
#include "framework/Platform/Window.h"
#include "framework/Speech/SpeechRecognitionEngine.h"
#include "support/TestPaths.h"

using Arbor::Speech::Recognition::SpeechRecognitionEngine;
namespace fs = std::filesystem;
namespace Platform = Arbor::Platform;

namespace {

fs::path builtRecognizer() {
    const fs::path exe = Platform::toNativePath(Platform::folderService().executablePath());
    return exe.parent_path() / "SpeechRecognition" / Platform::toNativePath(SpeechRecognitionEngine::libraryFileName());
}

std::u16string systemPath(const fs::path& p) { return Platform::fromNativePath(p); }

// A program directory's SpeechRecognition folder holding the test recogniser and,
// when texts are given, its configuration.
struct SpeechFolder {
    explicit SpeechFolder(const std::vector<std::string>* lines) {
        folder = temp.path() / "SpeechRecognition";
        fs::create_directories(folder / "dictation");
        fs::copy_file(builtRecognizer(), folder / builtRecognizer().filename());
        if (lines) {
            std::ofstream out(folder / "dictation" / "main.jconf", std::ios::binary);
            for (const auto& l : *lines) out << l << "\n";
        }
    }
    Testing::TempDir temp;
    fs::path folder;
};

// The test recogniser's record of the calls it received, read through its own export.
struct CallLog {
    explicit CallLog(const fs::path& library) {
        handle = Platform::libraryService().load(systemPath(library));
        read = Platform::libraryService().function<const char16_t* (*)()>(handle, "callLog");
        clear = Platform::libraryService().function<void (*)()>(handle, "clearCallLog");
        if (clear) clear();
    }
    ~CallLog() {
        if (handle != Platform::LibraryHandle::None) Platform::libraryService().unload(handle);
    }
    std::u16string text() const { return read ? std::u16string(read()) : u"<no log>"; }
    Platform::LibraryHandle handle = Platform::LibraryHandle::None;
    const char16_t* (*read)() = nullptr;
    void (*clear)() = nullptr;
};

void pumpUntil(const std::atomic<bool>& done) {
    Platform::MessageQueueService& queue = Platform::messageQueueService();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done && std::chrono::steady_clock::now() < deadline) {
        Platform::Message m;
        while (queue.peekMessage(m)) queue.dispatchMessage(m);
        queue.waitMessage(5);
    }
}

const std::vector<std::string> kTexts = {"# recognised in this order", "おはよう", "", "電気をつけて", "stop"};

}  // namespace

TEST(SpeechRecognitionEngine, TheBuildPlacesTheTestRecogniserBesideTheExecutables) {
    EXPECT_TRUE(fs::exists(builtRecognizer())) << builtRecognizer();
}

TEST(SpeechRecognitionEngine, LoadsCreatesInitialisesQueuesAndShutsDown) {
    SpeechFolder speech(&kTexts);
    CallLog log(speech.folder / builtRecognizer().filename());
    SpeechRecognitionEngine engine;
    ASSERT_TRUE(engine.startUp(systemPath(speech.folder)));
    EXPECT_TRUE(engine.hasRecognizer());
    // Configure with the empty string comes before initialisation, which gets the
    // configuration's path in the host's own form.
    const std::u16string config = (speech.folder / "dictation" / "main.jconf").u16string();
    EXPECT_EQ(log.text(), u"create;configure();initialize(" + config + u")");
    // Loading again keeps the recogniser it has.
    EXPECT_TRUE(engine.load(systemPath(speech.folder)));
    EXPECT_EQ(log.text(), u"create;configure();initialize(" + config + u")");

    // The hidden window is there, titled and far off-screen.
    const Platform::WindowHandle window = engine.window();
    ASSERT_NE(window, Platform::WindowHandle::None);
    EXPECT_EQ(Platform::windowService().title(window), u"SpeechRecognition");
    EXPECT_FALSE(Platform::windowService().isVisible(window));

    EXPECT_FALSE(engine.isStarted());
    ASSERT_TRUE(engine.start());
    EXPECT_TRUE(engine.isStarted());
    EXPECT_FALSE(engine.start());  // only once
    EXPECT_EQ(engine.queuedTexts(), 3u);
    EXPECT_EQ(engine.takeTextOrEmpty(), u"おはよう");
    EXPECT_EQ(engine.takeTextOrEmpty(), u"電気をつけて");
    EXPECT_EQ(engine.takeTextOrEmpty(), u"stop");
    EXPECT_EQ(engine.takeTextOrEmpty(), u"");

    engine.shutdown();
    EXPECT_FALSE(engine.hasRecognizer());
    EXPECT_FALSE(engine.isStarted());
    EXPECT_FALSE(Platform::windowService().exists(window));
    const std::u16string calls = log.text();
    EXPECT_EQ(calls.substr(calls.size() - std::u16string(u";start;stop;destroy").size()), u";start;stop;destroy");
}

TEST(SpeechRecognitionEngine, FailedInitialisationDestroysAndUnloads) {
    SpeechFolder speech(nullptr);  // no dictation\main.jconf
    CallLog log(speech.folder / builtRecognizer().filename());
    SpeechRecognitionEngine engine;
    EXPECT_FALSE(engine.startUp(systemPath(speech.folder)));
    EXPECT_FALSE(engine.hasRecognizer());
    const std::u16string calls = log.text();
    EXPECT_EQ(calls.substr(0, 18), u"create;configure()");
    EXPECT_EQ(calls.substr(calls.size() - 8), u";destroy");
    // Everything fails quietly without a recogniser.
    EXPECT_FALSE(engine.start());
    EXPECT_FALSE(engine.activateGrammar(u"x"));
    engine.stop();
    engine.shutdown();
}

TEST(SpeechRecognitionEngine, MissingLibraryMeansNoRecogniser) {
    Testing::TempDir empty;
    SpeechRecognitionEngine engine;
    EXPECT_FALSE(engine.startUp(systemPath(empty.path())));
    EXPECT_FALSE(engine.hasRecognizer());
    EXPECT_EQ(engine.window(), Platform::WindowHandle::None);
}

TEST(SpeechRecognitionEngine, GrammarOperationsReachTheirPositions) {
    SpeechFolder speech(&kTexts);
    CallLog log(speech.folder / builtRecognizer().filename());
    SpeechRecognitionEngine engine;
    ASSERT_TRUE(engine.startUp(systemPath(speech.folder)));
    const fs::path base = speech.temp.path() / "grammar" / "light";
    const std::u16string basePath = systemPath(base);
    // A grammar is a .dfa and .dict pair; without both, nothing reaches the recogniser.
    EXPECT_FALSE(engine.addGrammar(u"light", basePath));
    fs::create_directories(base.parent_path());
    std::ofstream(base.string() + ".dfa") << "0 1 1 0 1\n";
    EXPECT_FALSE(engine.addGrammar(u"light", basePath));
    std::ofstream(base.string() + ".dict") << "0 [x] x\n";
    EXPECT_FALSE(engine.addGrammar(u"", basePath));
    log.clear();

    EXPECT_FALSE(engine.deactivateGrammar(u"light"));  // not added yet
    EXPECT_TRUE(engine.addGrammar(u"light", basePath));
    EXPECT_TRUE(engine.deactivateGrammar(u"light"));
    EXPECT_TRUE(engine.activateGrammar(u"light"));
    EXPECT_FALSE(engine.activateGrammar(u"other"));
    EXPECT_TRUE(engine.changeGrammar(u"dark", basePath));
    EXPECT_FALSE(engine.deleteGrammar(u"light"));
    EXPECT_TRUE(engine.deleteGrammar(u"dark"));
    const std::u16string hostBase = base.u16string();
    EXPECT_EQ(log.text(), u"deactivateGrammar(light);addGrammar(light," + hostBase + u",0);deactivateGrammar(light);"
                          u"activateGrammar(light);activateGrammar(other);changeGrammar(dark," + hostBase +
                          u");deleteGrammar(light);deleteGrammar(dark)");
    engine.shutdown();
}

TEST(SpeechRecognitionEngine, OnlyRecognitionMessagesAreQueued) {
    SpeechFolder speech(&kTexts);
    SpeechRecognitionEngine engine;
    ASSERT_TRUE(engine.startUp(systemPath(speech.folder)));
    const std::u16string text = u"ignored";
    auto lp = reinterpret_cast<std::intptr_t>(text.c_str());
    Platform::MessageQueueService& queue = Platform::messageQueueService();
    queue.sendMessage(engine.window(), 0x8006, 11, lp);
    queue.sendMessage(engine.window(), 0x8007, 12, lp);
    EXPECT_EQ(engine.queuedTexts(), 0u);
    queue.sendMessage(engine.window(), 0x8006, 12, lp);
    EXPECT_EQ(engine.takeTextOrEmpty(), u"ignored");
    engine.shutdown();
}

TEST(SpeechRecognitionEngine, TextsSentFromAnotherThreadArriveThroughTheMessageLoop) {
    SpeechFolder speech(&kTexts);
    SpeechRecognitionEngine engine;
    ASSERT_TRUE(engine.startUp(systemPath(speech.folder)));
    // Recognition started on another thread (as a script on the frame thread does):
    // the sent texts are handled while this thread pumps its messages.
    std::atomic<bool> done{false};
    bool started = false;
    std::thread starter([&] {
        started = engine.start();
        done = true;
    });
    pumpUntil(done);
    starter.join();
    EXPECT_TRUE(started);
    EXPECT_EQ(engine.queuedTexts(), 3u);
    engine.shutdown();
    EXPECT_EQ(engine.queuedTexts(), 0u);
}

TEST(SpeechRecognitionEngine, TheFrameLoopTakesOneTextPerFrame) {
    SpeechFolder speech(&kTexts);
    SpeechRecognitionEngine& engine = SpeechRecognitionEngine::instance();
    ASSERT_TRUE(engine.startUp(systemPath(speech.folder)));
    ASSERT_TRUE(engine.start());

    Quenta::Common::PlatformFrameEnvironment environment(Platform::messageQueueService().currentThreadId());
    Quenta::Application::ApplicationState state;
    Quenta::GameComponent::DesktopObject desktop;
    Quenta::Common::MainThread frames(environment, state, desktop);
    std::vector<std::u16string> inputs;
    for (int i = 0; i < 5; ++i) {
        frames.runFrame();
        inputs.push_back(Quenta::Common::UserInput::get());
    }
    EXPECT_EQ(inputs, (std::vector<std::u16string>{u"おはよう", u"電気をつけて", u"stop", u"", u""}));
    engine.shutdown();
}
