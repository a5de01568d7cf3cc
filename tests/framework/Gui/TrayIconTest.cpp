// The notification-area icon of a widget's window.
#include <string>

#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "framework/Gui/LayeredWidget.h"
#include "framework/Platform/Headless/HeadlessTrayIcon.h"
#include "framework/Platform/TrayIcon.h"

using namespace Arbor::Gui;
using namespace Arbor::Platform;
namespace Headless = Arbor::Platform::Headless;

namespace {
class TrayIconTest : public GuiTesting::GuiTest {
protected:
    void SetUp() override {
        GuiTesting::GuiTest::SetUp();
        if (!IsSkipped()) Headless::resetTrayIcons();
    }
};
}  // namespace

TEST_P(TrayIconTest, OneIconPerWindowUntilRemoved) {
    LayeredWidget widget;
    // The system wants a real icon; the headless desktop takes any value.
    TrayIconPixels picture;
    picture.width = picture.height = 16;
    picture.pixels.assign(16 * 16, 0xFF3366CCu);
    auto image = trayIconService().createIcon(picture);
    ASSERT_TRUE(image);
    void* icon = reinterpret_cast<void*>(std::uintptr_t(0x5150));
    if (!isHeadless()) icon = image->handle();
    const bool added = widget.window().addTrayIcon(icon, u"タヴィゾー");
    if (!isHeadless() && !added) GTEST_SKIP() << "no notification area on this desktop";
    ASSERT_TRUE(added);
    EXPECT_TRUE(widget.window().modifyTrayIcon(image->handle(), u"changed"));
    EXPECT_TRUE(widget.window().removeTrayIcon());
    EXPECT_FALSE(widget.window().removeTrayIcon());
    if (!isHeadless()) return;

    EXPECT_TRUE(widget.window().addTrayIcon(icon, u"again"));
    EXPECT_FALSE(widget.window().addTrayIcon(icon, u"twice"));
    const auto records = Headless::trayIconRecords();
    ASSERT_EQ(records.size(), 6u);
    EXPECT_EQ(records[0].action, Headless::TrayIconRecord::Action::Add);
    EXPECT_EQ(records[0].window, widget.window().handle());
    EXPECT_EQ(records[0].identifier, 100u);
    EXPECT_EQ(records[0].callbackMessage, 0x8002u);
    EXPECT_EQ(records[0].icon, icon);
    EXPECT_EQ(records[0].tip, u"タヴィゾー");
    EXPECT_EQ(records[1].action, Headless::TrayIconRecord::Action::Modify);
    EXPECT_EQ(records[1].icon, image->handle());
    EXPECT_TRUE(records[2].accepted);
    EXPECT_FALSE(records[3].accepted);
    EXPECT_FALSE(records[5].accepted);
    EXPECT_EQ(Headless::trayIconWindows(), std::vector<WindowHandle>{widget.window().handle()});
}

TEST_P(TrayIconTest, LongTipsAreCutToTheField) {
    if (!isHeadless()) GTEST_SKIP() << "the cut tip is read back on the headless desktop";
    LayeredWidget widget;
    std::u16string tip(200, u'x');
    tip[126] = u'y';
    tip[127] = u'z';
    ASSERT_TRUE(widget.window().addTrayIcon(nullptr, tip));
    const auto records = Headless::trayIconRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].tip.size(), 127u);
    EXPECT_EQ(records[0].tip.back(), u'y');
}

TEST_P(TrayIconTest, AWindowThatIsGoneGetsNoIcon) {
    LayeredWidget widget;
    widget.window().destroyWindow();
    drainQueue();
    EXPECT_FALSE(widget.window().addTrayIcon(nullptr, u"tip"));
    EXPECT_FALSE(trayIconService().addIcon(WindowHandle::None, nullptr, u"tip"));
}

TEST_P(TrayIconTest, IconsComeFromValidPicturesOnly) {
    TrayIconPixels picture;
    picture.width = 2;
    picture.height = 2;
    picture.pixels = {0xFFFF0000u, 0, 0, 0x80000000u};
    auto icon = trayIconService().createIcon(picture);
    ASSERT_TRUE(icon);
    EXPECT_NE(icon->handle(), nullptr);

    TrayIconPixels shortOfWords = picture;
    shortOfWords.pixels.pop_back();
    EXPECT_FALSE(trayIconService().createIcon(shortOfWords));
    TrayIconPixels empty;
    EXPECT_FALSE(trayIconService().createIcon(empty));
    TrayIconPixels huge;
    huge.width = TrayIconMaxSide + 1;
    huge.height = 1;
    huge.pixels.assign(std::size_t(huge.width), 0);
    EXPECT_FALSE(trayIconService().createIcon(huge));
}

TEST_P(TrayIconTest, ModifyChangesOnlyAnIconThatIsShown) {
    if (!isHeadless()) GTEST_SKIP() << "the calls are read back on the headless desktop";
    LayeredWidget widget;
    EXPECT_FALSE(widget.window().modifyTrayIcon(nullptr, u"none yet"));
    ASSERT_TRUE(widget.window().addTrayIcon(nullptr, u"first"));
    EXPECT_TRUE(widget.window().modifyTrayIcon(nullptr, u"second"));
    const auto records = Headless::trayIconRecords();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].action, Headless::TrayIconRecord::Action::Modify);
    EXPECT_FALSE(records[0].accepted);
    EXPECT_EQ(records[2].action, Headless::TrayIconRecord::Action::Modify);
    EXPECT_TRUE(records[2].accepted);
    EXPECT_EQ(records[2].tip, u"second");
}

TAVIZO_INSTANTIATE_FOR_BACKENDS(TrayIconTest);
