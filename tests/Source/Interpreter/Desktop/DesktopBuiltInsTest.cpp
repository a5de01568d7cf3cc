// The system and desktop built-ins against the headless backend's recorders: their
// arguments, results and failure values, and what they asked of the platform.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "Source/Interpreter/ProgramFacts.h"
#include "Source/Interpreter/ScriptTestSupport.h"
#include "Source/Interpreter/StandaloneScriptOwner.h"
#include "framework/Platform/Clipboard.h"
#include "framework/Platform/Folders.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Headless/HeadlessEffects.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/NativePath.h"
#include "framework/Platform/Window.h"
#include "support/BackendTest.h"
#include "support/TestPaths.h"

using namespace ScriptTest;
using Arbor::Platform::fromNativePath;
using Arbor::Platform::Headless::HeadlessDesktop;
using Arbor::Platform::Headless::HeadlessEffects;

namespace {

// Records what scripts ask of the running program.
class RecordingHost : public ScriptHost {
public:
    void beginQuitting() override { ++quits; }
    void requestSystemAction(int action) override { actions.push_back(action); }
    bool launchProgram(ScriptOwner* owner, std::u16string application, std::u16string commandLine,
                       TokenLine completion) override {
        launches.push_back({owner, std::move(application), std::move(commandLine), std::move(completion)});
        return true;
    }
    struct Launch {
        ScriptOwner* owner;
        std::u16string application, commandLine;
        TokenLine completion;
    };
    int quits = 0;
    std::vector<int> actions;
    std::vector<Launch> launches;
};

class DesktopBuiltIns : public ::testing::Test {
protected:
    void SetUp() override {
        if (!scope_.selected()) GTEST_SKIP() << "no headless backend";
        HeadlessDesktop::instance().reset();
        ScriptHost::install(host_);
        facts_.programDirectory = temp_.path() / "program";
        facts_.perUserDirectory = temp_.path() / "user" / "Ostrel" / "Tavizo";
        facts_.programPath = facts_.programDirectory / "tavizo";
        facts_.displayName = u"タヴィゾー";
        facts_.productName = u"Tavizo";
        facts_.version = u"1.00";
        facts_.makerName = u"Ostrel";
        std::filesystem::create_directories(facts_.programDirectory);
        setProgramFacts(facts_);
    }
    void TearDown() override {
        ScriptHost::uninstall(host_);
        setProgramFacts({});
        HeadlessDesktop::instance().reset();
    }
    Value* eval(const std::u16string& line) { return evaluation_(line); }
    std::u16string text(const std::u16string& line) { return eval(line)->toStr(); }
    static std::u16string sys(const std::filesystem::path& path) { return fromNativePath(path); }

    Testing::BackendScope scope_{"Headless"};
    Testing::TempDir temp_;
    ProgramFacts facts_;
    RecordingHost host_;
    Parser parser_;
    Evaluation evaluation_{parser_};
};

}  // namespace

TEST_F(DesktopBuiltIns, ProgramsAndDocumentsNeedANameAndReportOnlyThat) {
    EXPECT_FALSE(eval(u"CreateProcess()")->toBool());
    EXPECT_FALSE(eval(u"CreateProcess(\"\", \"x\", $undefined)")->toBool());  // not even captured
    EXPECT_TRUE(host_.launches.empty());
    EXPECT_TRUE(eval(u"CreateProcess(\"C:\\\\bin\\\\tool.exe\")")->toBool());
    EXPECT_TRUE(eval(u"CreateProcess(\"C:\\\\bin\\\\tool.exe\", \"-a b\")")->toBool());
    ASSERT_EQ(host_.launches.size(), 2u);
    EXPECT_EQ(host_.launches[0].application, u"C:\\bin\\tool.exe");
    EXPECT_EQ(host_.launches[0].commandLine, u"");
    EXPECT_EQ(host_.launches[1].commandLine, u"\"C:\\bin\\tool.exe\" -a b");

    EXPECT_FALSE(eval(u"Execute(\"\")")->toBool());
    EXPECT_FALSE(eval(u"Url()")->toBool());
    EXPECT_TRUE(eval(u"Execute(\"memo.txt\", \"/p\")")->toBool());
    EXPECT_TRUE(eval(u"Url(\"https://example.org/\")")->toBool());
    // A leading ~ alone or before a separator is the home folder; ~name is left alone.
    EXPECT_TRUE(eval(u"Execute(\"~\")")->toBool());
    EXPECT_TRUE(eval(u"Execute(\"~/notes\")")->toBool());
    EXPECT_TRUE(eval(u"Execute(\"~mika/notes\")")->toBool());
    const auto opens = HeadlessEffects::instance().opens();
    ASSERT_EQ(opens.size(), 5u);
    EXPECT_EQ(opens[0].target, u"memo.txt");
    EXPECT_EQ(opens[0].parameters, u"/p");
    EXPECT_EQ(opens[1].target, u"https://example.org/");
    const std::u16string home = Arbor::Platform::folderService().homeFolder();
    ASSERT_FALSE(home.empty());
    EXPECT_EQ(opens[2].target, home);
    EXPECT_EQ(opens[3].target, home + u"/notes");
    EXPECT_EQ(opens[4].target, u"~mika/notes");
}

TEST_F(DesktopBuiltIns, TheCompletionIsCapturedWithTodaysValuesNotRun) {
    StandaloneScriptOwner owner(u"Mika", temp_.path());
    Parser parser(&owner);
    Evaluation evaluation(parser);
    const TokenBlock declaration = blockOf({u"number $n = 5"});
    runBlock(parser, declaration);
    EXPECT_TRUE(evaluation(u"CreateProcess(\"app\", \"\", $n = $n + 1)")->toBool());
    EXPECT_EQ(parser.variables().find(u"$n")->toNum(), 5);
    ASSERT_EQ(host_.launches.size(), 1u);
    EXPECT_EQ(host_.launches[0].owner, &owner);
    EXPECT_EQ(host_.launches[0].commandLine, u"\"app\" ");
    // $n on the right was replaced by its value at the call.
    const TokenLine& completion = host_.launches[0].completion;
    ASSERT_EQ(completion.size(), 5u);
    EXPECT_EQ(completion[2].kind, TokenKind::Number);
    EXPECT_EQ(completion[2].number, 5);
}

TEST_F(DesktopBuiltIns, ClipboardLosesOneSentenceMarkOfEachKind) {
    EXPECT_FALSE(eval(u"SetTextInClipboard()")->toBool());
    EXPECT_FALSE(HeadlessEffects::instance().clipboardText());
    EXPECT_FALSE(eval(u"SetTextInClipboard(\"<s>メモ</s>\")")->toBool());
    EXPECT_EQ(HeadlessEffects::instance().clipboardText(), u"メモ");
    eval(u"SetTextInClipboard(\"<s><s>x</s></s>\")");
    EXPECT_EQ(HeadlessEffects::instance().clipboardText(), u"<s>x</s>");
    eval(u"SetTextInClipboard(\"a</s>b\")");
    EXPECT_EQ(HeadlessEffects::instance().clipboardText(), u"a</s>b");
}

TEST_F(DesktopBuiltIns, DirectoriesFollowTheProgramAndItsWritability) {
    EXPECT_EQ(text(u"GetProcessDirectory()"), sys(facts_.programDirectory));
    EXPECT_EQ(text(u"GetAppDataDirectory()"), sys(facts_.perUserDirectory));
    EXPECT_EQ(text(u"GetStoreDirectory()"), sys(facts_.programDirectory));
    EXPECT_EQ(text(u"GetObjectDirectory()"), u"");
    EXPECT_EQ(text(u"GetObjectStoreDirectory()"), u"");

    StandaloneScriptOwner owner(u"Mika", temp_.path(), facts_.programDirectory / "Data" / "Mika");
    Parser parser(&owner);
    Evaluation evaluation(parser);
    EXPECT_EQ(evaluation(u"GetObjectDirectory()")->toStr(), sys(facts_.programDirectory / "Data" / "Mika"));
    EXPECT_EQ(evaluation(u"GetObjectStoreDirectory()")->toStr(), sys(facts_.programDirectory / "Data" / "Mika"));

    // An installed program directory keeps nothing of the user's, writable or not.
    std::ofstream(facts_.programDirectory / "INSTALLED") << "installed\n";
    EXPECT_EQ(text(u"GetStoreDirectory()"), sys(facts_.perUserDirectory));
    EXPECT_EQ(evaluation(u"GetObjectStoreDirectory()")->toStr(), sys(facts_.perUserDirectory / "Data" / "Mika"));
    std::filesystem::remove(facts_.programDirectory / "INSTALLED");
    EXPECT_EQ(text(u"GetStoreDirectory()"), sys(facts_.programDirectory));

    HeadlessDesktop::instance().markUnwritable(sys(facts_.programDirectory));
    EXPECT_EQ(text(u"GetStoreDirectory()"), sys(facts_.perUserDirectory));
    EXPECT_EQ(evaluation(u"GetObjectStoreDirectory()")->toStr(), sys(facts_.perUserDirectory / "Data" / "Mika"));
}

TEST_F(DesktopBuiltIns, DefaultApplicationsAreTheRegisteredHandlers) {
    HeadlessEffects::instance().setDefaultHandler(u"http", u"C:\\Browser\\browser.exe");
    EXPECT_EQ(text(u"GetDefaultBrowserPath()"), u"C:\\Browser\\browser.exe");
    EXPECT_EQ(text(u"GetDefaultMailerPath()"), u"");
}

TEST_F(DesktopBuiltIns, MemoryFiguresInMebibytesAndTheLoadForUnknownKeys) {
    Arbor::Platform::MemoryStatus status;
    status.memoryLoad = 42;
    status.totalPhysical = 8ull << 30;
    status.availablePhysical = (3ull << 30) + 12345;
    status.totalPageFile = 10ull << 30;
    status.availablePageFile = 4ull << 30;
    status.totalVirtual = 128ull << 40;
    status.availableVirtual = (128ull << 40) - (1ull << 30);
    HeadlessDesktop::instance().setMemoryStatus(status);
    EXPECT_EQ(eval(u"GetMemoryStatus()")->toNum(), 42);
    EXPECT_EQ(eval(u"GetMemoryStatus(\"total\")")->toNum(), 42);
    EXPECT_EQ(eval(u"GetMemoryStatus(\"Total\")")->toNum(), 8192);
    EXPECT_EQ(eval(u"GetMemoryStatus(\"Free\")")->toNum(), 3072);
    EXPECT_EQ(eval(u"GetMemoryStatus(\"Used\")")->toNum(), 5119);
    EXPECT_EQ(eval(u"GetMemoryStatus(\"UsedPageFile\")")->toNum(), 6144);
    EXPECT_EQ(eval(u"GetMemoryStatus(\"UsedVirtual\")")->toNum(), 1024);
    EXPECT_EQ(eval(u"GetCPUStatus(\"x\")")->toNum(), 0);
}

TEST_F(DesktopBuiltIns, DisplayPowerAndMasterVolume) {
    EXPECT_FALSE(eval(u"DisplayOff()")->toBool());
    EXPECT_FALSE(eval(u"DisplayOn()")->toBool());
    EXPECT_EQ(HeadlessEffects::instance().displayPowerRequests(), (std::vector<bool>{false, true}));
    // Waking the monitors moves the pointer by nothing first.
    const auto input = HeadlessEffects::instance().inputBatches();
    ASSERT_EQ(input.size(), 1u);
    EXPECT_EQ(input[0], (std::vector{Arbor::Platform::InjectedInput::mouse(Arbor::Platform::MouseMove)}));

    EXPECT_FALSE(eval(u"SetMasterVolume()")->toBool());
    EXPECT_TRUE(eval(u"SetMasterVolume(1.5)")->toBool());
    EXPECT_EQ(eval(u"GetMasterVolume()")->toNum(), 1);
    EXPECT_TRUE(eval(u"SetMasterVolume(-1)")->toBool());
    EXPECT_EQ(eval(u"GetMasterVolume()")->toNum(), 0);
    EXPECT_TRUE(eval(u"MasterMute()")->toBool());
    EXPECT_TRUE(eval(u"IsMasterMuted()")->toBool());
    EXPECT_TRUE(eval(u"MasterUnmute()")->toBool());
    EXPECT_FALSE(eval(u"IsMasterMuted()")->toBool());
}

TEST_F(DesktopBuiltIns, StartupEntryStartsTheProgramInItsFolder) {
    EXPECT_FALSE(eval(u"IsStartupRegistered()")->toBool());
    EXPECT_FALSE(eval(u"RegisterStartup()")->toBool());
    EXPECT_TRUE(eval(u"IsStartupRegistered()")->toBool());
    const auto entry = HeadlessEffects::instance().startupEntry();
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->first, sys(facts_.programPath));
    EXPECT_EQ(entry->second, sys(facts_.programDirectory));
    EXPECT_FALSE(eval(u"UnregisterStartup()")->toBool());
    EXPECT_FALSE(eval(u"IsStartupRegistered()")->toBool());
}

TEST_F(DesktopBuiltIns, ForegroundProgramAndBringingOneToTheFront) {
    using namespace Arbor::Platform;
    auto& windows = windowService();
    WindowDescription description;
    description.style = WS_POPUP | WS_VISIBLE;
    description.bounds = {0, 0, 100, 100};
    const WindowHandle editor = windows.create(description);
    const WindowHandle other = windows.create(description);
    HeadlessDesktop::instance().setWindowProcessId(editor, 4242);
    HeadlessDesktop::instance().setWindowProcessId(other, 4343);
    HeadlessEffects::instance().setProgram(4242, {u"C:\\Apps\\editor.exe", u"Editor"});

    windows.setForeground(editor);
    EXPECT_EQ(text(u"GetForegroundProcessFileName()"), u"C:\\Apps\\editor.exe");
    EXPECT_EQ(text(u"GetForegroundProcessName()"), u"editor.exe");
    EXPECT_EQ(text(u"GetForegroundProductName()"), u"Editor");

    // A process that cannot be inspected: no name, and the program's own path.
    windows.setForeground(other);
    EXPECT_EQ(text(u"GetForegroundProcessName()"), u"");
    EXPECT_EQ(text(u"GetForegroundProductName()"), u"");
    EXPECT_EQ(text(u"GetForegroundProcessFileName()"), sys(facts_.programPath));

    EXPECT_FALSE(eval(u"SetForegroundWindow(\"\")")->toBool());
    EXPECT_TRUE(eval(u"SetForegroundWindow(\"C:\\\\Apps\\\\editor.exe\")")->toBool());
    EXPECT_EQ(HeadlessDesktop::instance().foregroundWindow(), editor);
    windows.destroy(editor);
    windows.destroy(other);
}

TEST_F(DesktopBuiltIns, ExitAndTheSystemActionsGoToTheProgram) {
    EXPECT_FALSE(eval(u"Exit()")->toBool());
    EXPECT_FALSE(eval(u"SystemShutdown()")->toBool());
    EXPECT_FALSE(eval(u"SystemReboot()")->toBool());
    EXPECT_EQ(host_.quits, 1);
    EXPECT_EQ(host_.actions, (std::vector<int>{1, 2}));
    // Nothing reached the session itself.
    EXPECT_TRUE(HeadlessDesktop::instance().sessionRequests().empty());
}

TEST_F(DesktopBuiltIns, AboutBoxNamesTheProgramItsVersionAndMaker) {
    EXPECT_EQ(eval(u"EmptyRecycleBin()")->toNum(), 0);
    EXPECT_EQ(HeadlessEffects::instance().recycleBinEmptied(), 1);
    eval(u"ShowAboutDialog()");
    const auto boxes = HeadlessDesktop::instance().messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, u"タヴィゾー");
    EXPECT_NE(boxes[0].text.find(u"1.00"), std::u16string::npos);
    EXPECT_NE(boxes[0].text.find(u"Ostrel"), std::u16string::npos);
}
