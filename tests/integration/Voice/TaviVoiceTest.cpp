// The shipped main character carries out its English voice commands: the words heard
// in a frame go through its template's conditions to the shortcut variables, the
// character starts what they name (the shell, key strokes, the program's end) and
// answers in its balloon. Its menu turns listening on and off, and says so when there
// is nothing to listen with, and shows or hides its companion. Tavi runs on the headless desktop, where every reach
// into the system is only recorded.
#include <gtest/gtest.h>

#include <optional>

#include "Source/GameComponent/CharacterObject.h"
#include "framework/Platform/Folders.h"
#include "framework/Platform/Headless/HeadlessEffects.h"
#include "framework/Platform/Headless/HeadlessPopupMenu.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Text/Utf.h"
#include "tests/Source/GameComponent/SceneFixture.h"

using namespace SceneTesting;
namespace Headless = Arbor::Platform::Headless;

namespace {

// What the frame would give the scripts: the words heard and a fixed clock.
class VoiceHost : public CursorHost {
public:
    std::u16string userInput() const override { return heard; }
    Interpreter::ClockReading clock() const override {
        Interpreter::ClockReading reading;
        reading.year = 2026;
        reading.month = 5;
        reading.day = 1;
        reading.hour = 9;
        reading.minute = 5;
        return reading;
    }
    void beginQuitting() override { ++quitRequests; }
    std::u16string heard;
    int quitRequests = 0;
};

class TaviVoice : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        Interpreter::ScriptHost::uninstall(host);
        Interpreter::ScriptHost::install(voiceHost);
        Headless::resetPopupMenus();
        for (const char* character : {"MAIN_OBJECT", "PIP"}) {
            std::filesystem::remove_all(program.path() / "Data" / character);
            std::filesystem::copy(std::filesystem::path(TAVIZO_SOURCE_DATA) / character,
                                  program.path() / "Data" / character, std::filesystem::copy_options::recursive);
        }
    }
    void TearDown() override {
        Headless::resetPopupMenus();
        Interpreter::ScriptHost::uninstall(voiceHost);
        Interpreter::ScriptHost::install(host);
        SceneFixture::TearDown();
    }
    static void pump() {
        auto& queue = Arbor::Platform::messageQueueService();
        Arbor::Platform::Message message;
        while (queue.peekMessage(message)) queue.dispatchMessage(message);
    }
    void step(int count = 1) {
        for (int i = 0; i < count; ++i) {
            frame();
            pump();
        }
    }
    // The words are heard in one frame only, as the frame loop hands them out.
    std::u16string say(CharacterObject& tavi, std::u16string words) {
        voiceHost.heard = std::move(words);
        step();
        voiceHost.heard.clear();
        step();
        return text(tavi, u"$reply");
    }
    // Right-clicks Tavi's belly until its menu opens (a click is lost when Tavi changes
    // orders in the same frame, as a PostEvent outranks it), and reads the state of the
    // item with that text. Each click is a little beside the last, so that two are never
    // a double click.
    std::optional<bool> menuItemChecked(CharacterObject& tavi, std::u16string_view item) {
        auto& screen = Headless::HeadlessDesktop::instance();
        for (int attempt = 0; attempt < 3 && Headless::openPopupMenus().empty(); ++attempt) {
            const double scale = tavi.scale();
            const int aside = (++rightClicks % 2) * 20;
            const Arbor::Platform::Point belly{static_cast<int>(tavi.absoluteX() + 128 * scale) + aside,
                                               static_cast<int>(tavi.absoluteY() + 160 * scale)};
            screen.pressButton(belly, Headless::MouseButton::Right, true);
            screen.pressButton(belly, Headless::MouseButton::Right, false);
            step(2);
        }
        const auto open = Headless::openPopupMenus();
        if (open.size() != 1) return std::nullopt;
        for (const auto& entry : open.front().menu.entries) {
            if (entry.text == item) return entry.isChecked();
        }
        return std::nullopt;
    }

    VoiceHost voiceHost;
    int rightClicks = 0;
};

}  // namespace

TEST_F(TaviVoice, CommandsStartWhatTheyNameAndTaviAnswersEach) {
    CharacterObject& tavi = load(u"MAIN_OBJECT");
    step(45);  // past the greeting's start
    ASSERT_TRUE(fatal.empty()) << Arbor::Text::toUtf8(fatal.front());
    auto& effects = Headless::HeadlessEffects::instance();

    EXPECT_EQ(say(tavi, u"what time is it"), u"Let me look at the clock.\nIt's 9:05.");

    EXPECT_EQ(say(tavi, u"open the home folder"), u"Opening your home folder.");
    const std::u16string home = Arbor::Platform::folderService().homeFolder();
    ASSERT_FALSE(home.empty());
    ASSERT_EQ(effects.opens().size(), 1u);
    EXPECT_EQ(effects.opens().back().target, home) << "the settings' ~ is the user's home";

    EXPECT_EQ(say(tavi, u"open the browser"), u"Opening your browser.");
    ASSERT_EQ(effects.opens().size(), 2u);
    EXPECT_EQ(effects.opens().back().target, u"https://www.debian.org/");

    // A key command: the mute key pressed and released in the program in front.
    EXPECT_EQ(say(tavi, u"mute the sound"), u"Sound off.");
    const auto batches = effects.inputBatches();
    ASSERT_EQ(batches.size(), 2u);
    ASSERT_EQ(batches[0].size(), 1u);
    EXPECT_EQ(batches[0][0].virtualKey, 0xAD);
    EXPECT_FALSE(batches[0][0].keyUp);
    EXPECT_TRUE(batches[1][0].keyUp);

    // Words that match no command start nothing; the answer says what was heard. A
    // command's words with a word it excludes are not that command.
    EXPECT_EQ(say(tavi, u"sing a song"), u"Sorry, I didn't catch that.\n(I heard \"sing a song\".)");
    EXPECT_EQ(say(tavi, u"unmute the sound"), u"Sorry, I didn't catch that.\n(I heard \"unmute the sound\".)");
    EXPECT_EQ(effects.opens().size(), 2u);
    EXPECT_EQ(effects.inputBatches().size(), 2u);

    // The answer is the balloon's text, typed out there.
    int typed = 0;
    for (int i = 0; i < 60 && typed == 0; ++i) {
        step();
        run(tavi, {u"number $line = GetTextLineNum(\"\", \"VoiceText\")"});
        typed = static_cast<int>(number(tavi, u"$line"));
    }
    EXPECT_GT(typed, 1) << "the answer's balloon types its lines";

    EXPECT_EQ(voiceHost.quitRequests, 0);
    EXPECT_EQ(say(tavi, u"quit"), u"Goodbye!");
    EXPECT_EQ(voiceHost.quitRequests, 1);
    EXPECT_TRUE(fatal.empty());
}

TEST_F(TaviVoice, TheMenuHidesAndShowsPipAndSaysWhenThereIsNothingToListenWith) {
    // Both characters are made before either starts, as at start-up, so that Tavi's
    // menu lists Pip.
    CharacterObject& tavi = desktop.adopt(std::make_unique<CharacterObject>(u"MAIN_OBJECT"));
    CharacterObject& pip = desktop.adopt(std::make_unique<CharacterObject>(u"PIP"));
    tavi.start();
    pip.start();
    step(45);
    ASSERT_TRUE(pip.isShowing());

    // Friends: Pip hides and comes back; Tavi stays.
    for (const bool shown : {false, true}) {
        EXPECT_EQ(menuItemChecked(tavi, u"Friends"), std::optional<bool>(false));
        EXPECT_EQ(Headless::choosePopupMenuItem(u"Friends"), Headless::PopupChoice::OpenedSubMenu);
        EXPECT_EQ(Headless::choosePopupMenuItem(u"Tavi"), Headless::PopupChoice::NotFound) << "Tavi cannot hide itself";
        EXPECT_EQ(Headless::choosePopupMenuItem(u"Pip"), Headless::PopupChoice::Chosen);
        pump();
        step(2);
        EXPECT_EQ(pip.isShowing(), shown);
        EXPECT_TRUE(tavi.isShowing());
    }

    EXPECT_EQ(menuItemChecked(tavi, u"Voice commands"), std::optional<bool>(false));
    // No recogniser is installed here: turning listening on says so and stays off.
    EXPECT_EQ(Headless::choosePopupMenuItem(u"Voice commands"), Headless::PopupChoice::Chosen);
    pump();
    step();
    EXPECT_EQ(text(tavi, u"$reply"), u"I can't hear a thing: there\nis no microphone or no\nspeech recogniser.");
    run(tavi, {u"bool $kept = LoadValue(\"voice\")"});
    EXPECT_EQ(text(tavi, u"$kept"), u"false");
    EXPECT_EQ(menuItemChecked(tavi, u"Voice commands"), std::optional<bool>(false)) << "the item went back off";
    EXPECT_TRUE(fatal.empty()) << Arbor::Text::toUtf8(fatal.front());
}
