// The whole start-up, frame loop and exit sequence, in this process, on the headless
// desktop.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "Source/Application/Application.h"
#include "Source/Application/ApplicationIdentity.h"
#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/CharacterRegistry.h"
#include "Source/GameComponent/DesktopObject.h"
#include "framework/Platform/Backend.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/MessageBox.h"
#include "framework/Platform/Process.h"
#include "framework/Platform/Window.h"
#include "support/TestPaths.h"

using namespace Quenta::Application;
using Arbor::Platform::Headless::HeadlessDesktop;
namespace fs = std::filesystem;

namespace {

struct ApplicationLife : ::testing::Test {
    void SetUp() override {
        if (Arbor::Platform::currentBackendName() != "Headless") {
            GTEST_SKIP() << "runs the application on the headless desktop";
        }
        HeadlessDesktop::instance().reset();
    }

    int runWith(std::vector<std::u16string> args) {
        args.push_back(u"--headless");
        ApplicationDirectories dirs(program.path(), appData.path());
        Application app(CommandLine::parse(args), std::move(dirs), state);
        return app.run();
    }

    // Another window titled like a running copy's main window (or character window).
    Arbor::Platform::WindowHandle makeWindow(const std::u16string& title) {
        Arbor::Platform::WindowDescription d;
        d.title = title;
        return Arbor::Platform::windowService().create(d);
    }

    std::vector<std::u16string> boxTexts() {
        std::vector<std::u16string> texts;
        for (const auto& b : HeadlessDesktop::instance().messageBoxes()) {
            EXPECT_EQ(b.caption, u"エラー");
            texts.push_back(b.text);
        }
        return texts;
    }

    // A scene test character copied into the program's Data folder under `name`.
    void installCharacter(const std::string& name, const std::string& from = "MAIN_OBJECT") {
        fs::create_directories(program.path() / "Data");
        fs::copy(Testing::dataDir() / "characters" / "scene" / from, program.path() / "Data" / name,
                 fs::copy_options::recursive);
    }

    Testing::TempDir program;
    Testing::TempDir appData;
    ApplicationState state;
};

// Notes, in the first frame it takes part in, every registered character and whether
// each was started.
class FirstFrameProbe : public Quenta::GameComponent::GameObject {
public:
    FirstFrameProbe(std::vector<std::u16string>& names, bool& allStarted) : names_(names), allStarted_(allStarted) {}
    void inputPhase() override {
        if (done_) return;
        done_ = true;
        Quenta::GameComponent::CharacterRegistry::instance().forEach([&](Quenta::GameComponent::CharacterObject& c) {
            names_.push_back(c.name());
            allStarted_ = allStarted_ && c.isShown();
        });
    }

private:
    std::vector<std::u16string>& names_;
    bool& allStarted_;
    bool done_ = false;
};

}  // namespace

TEST_F(ApplicationLife, MainObjectOnlyStartsRunsFramesAndQuits) {
    installCharacter("MAIN_OBJECT");
    EXPECT_EQ(runWith({u"--frames", u"5"}), 0);
    EXPECT_TRUE(boxTexts().empty());
    EXPECT_TRUE(state.isQuitting());
    // The exit sequence deleted every character and closed the main window.
    EXPECT_EQ(Quenta::GameComponent::CharacterRegistry::instance().size(), 0u);
    EXPECT_TRUE(Quenta::GameComponent::DesktopObject::instance().children().empty());
    EXPECT_TRUE(Arbor::Platform::windowService().topLevelTitles().empty());
}

TEST_F(ApplicationLife, CharactersAreCreatedAndWoundDown) {
    installCharacter("MAIN_OBJECT");
    installCharacter("beta", "c2");
    installCharacter("alpha", "c1");
    // Looks at the characters in the first frame, on the frame thread, which runs only
    // after start-up; the exit sequence deletes the probe with the desktop's children.
    std::vector<std::u16string> seen;
    bool allStarted = true;
    Quenta::GameComponent::DesktopObject::instance().adopt(std::make_unique<FirstFrameProbe>(seen, allStarted));
    EXPECT_EQ(runWith({u"--frames", u"3"}), 0);
    EXPECT_TRUE(boxTexts().empty());
    // The main object first, then the others in the order of their names.
    EXPECT_EQ(seen, (std::vector<std::u16string>{u"MAIN_OBJECT", u"alpha", u"beta"}));
    EXPECT_TRUE(allStarted);
    EXPECT_EQ(Quenta::GameComponent::CharacterRegistry::instance().size(), 0u);
}

TEST_F(ApplicationLife, NoDataIsRefused) {
    EXPECT_EQ(runWith({u"--frames", u"1000000"}), 0);
    EXPECT_EQ(boxTexts(), std::vector<std::u16string>{u"データが見つかりません。"});
    EXPECT_EQ(HeadlessDesktop::instance().messageBoxes()[0].type, Arbor::Platform::MB_OK);
    EXPECT_FALSE(state.isQuitting());  // it never ran, so it never began quitting
}

TEST_F(ApplicationLife, EmptyDataFolderIsRefused) {
    fs::create_directories(program.path() / "Data");
    std::ofstream(program.path() / "Data" / "readme.txt") << "x";
    EXPECT_EQ(runWith({}), 0);
    EXPECT_EQ(boxTexts(), std::vector<std::u16string>{u"データが見つかりません。"});
}

TEST_F(ApplicationLife, ASecondCopyIsRefused) {
    installCharacter("MAIN_OBJECT");
    const auto other = makeWindow(ApplicationIdentity::mainWindowTitle());
    EXPECT_EQ(runWith({}), 0);
    EXPECT_EQ(boxTexts(), std::vector<std::u16string>{u"多重起動はできません"});
    // The other copy's window is untouched.
    EXPECT_TRUE(Arbor::Platform::windowService().exists(other));
    Arbor::Platform::windowService().destroy(other);
}

TEST_F(ApplicationLife, MoreThan255CharacterWindowsAreRefused) {
    installCharacter("MAIN_OBJECT");
    std::vector<Arbor::Platform::WindowHandle> windows;
    for (int i = 0; i < 255; ++i) windows.push_back(makeWindow(ApplicationIdentity::objectWindowTitle()));
    // 255 is still allowed.
    EXPECT_EQ(runWith({u"--frames", u"1"}), 0);
    EXPECT_TRUE(boxTexts().empty());

    HeadlessDesktop::instance().reset();
    ApplicationState second;
    for (int i = 0; i < 256; ++i) makeWindow(ApplicationIdentity::objectWindowTitle());
    ApplicationDirectories dirs(program.path(), appData.path());
    Application app(CommandLine::parse({u"--headless"}), std::move(dirs), second);
    EXPECT_EQ(app.run(), 0);
    EXPECT_EQ(boxTexts(), std::vector<std::u16string>{u"キャラクターの起動数は255体までです"});
}

TEST_F(ApplicationLife, WaitForAPredecessorThatHasEnded) {
    installCharacter("MAIN_OBJECT");
    // An id that no process has: it "has already ended", so start-up goes on.
    EXPECT_EQ(runWith({u"/waitterminate", u"4000000000", u"--frames", u"2"}), 0);
    EXPECT_TRUE(state.isQuitting());
}
