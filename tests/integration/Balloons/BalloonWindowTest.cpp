// A character's talking balloon on the desktop backends (X11 on a private display with a
// compositor, Win32): the text it typed reads back from what the system shows of its
// window, and a click injected as real input on its link runs the link's command.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Source/Common/FrameEnvironment.h"
#include "Source/GameComponent/BalloonManager.h"
#include "Source/GameComponent/BalloonObject.h"
#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/DesktopObject.h"
#include "Source/GameComponent/RestackQueue.h"
#include "Source/GameComponent/SceneEnvironment.h"
#include "Source/GameComponent/ScriptObject/TextLayerObject.h"
#include "Source/Interpreter/Lexer.h"
#include "Source/Interpreter/StatementRunner.h"
#include "Source/Interpreter/Value.h"
#include "Source/Interpreter/VariableTable.h"
#include "framework/Gui/LayeredWidget.h"
#include "framework/Platform/InputShape.h"
#include "framework/Platform/MessageQueue.h"
#include "support/BackendTest.h"
#include "support/TestPaths.h"
#if defined(TAVIZO_HAS_X11)
#include "framework/Platform/X11/X11Readback.h"
#endif
#if defined(TAVIZO_HAS_WIN32)
#include "framework/Platform/Win32/Win32Readback.h"
#endif

namespace {

using namespace Quenta::GameComponent;
using Arbor::Platform::Rect;

// A pixel of the colour (ARGB, straight), within what antialiasing leaves of it.
bool hasColor(std::uint32_t p, std::uint32_t color) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(int((p >> shift) & 0xFF) - int((color >> shift) & 0xFF)) > 0x50) return false;
    }
    return true;
}
// Any mark on the balloon's light fill: a channel well below it.
bool isMark(std::uint32_t p) {
    return ((p >> 16) & 0xFF) < 0xA0 || ((p >> 8) & 0xFF) < 0xA0 || (p & 0xFF) < 0xA0;
}

class BalloonWindowTest : public Testing::BackendTest {
protected:
    void SetUp() override {
        Testing::BackendTest::SetUp();
        if (IsSkipped()) return;
        if (isHeadless()) GTEST_SKIP() << "the headless desktop has its own balloon tests";
        if (GetParam() == "X11" && !std::getenv("TAVIZO_TEST_COMPOSITOR"))
            GTEST_SKIP() << "runs under run-on-private-display";
        namespace fs = std::filesystem;
        const fs::path data = program_.path() / "Data";
        fs::create_directories(data);
        fs::copy(Testing::dataDir() / "characters" / "bal-talk", data / "bal-talk", fs::copy_options::recursive);
        saved_ = SceneEnvironment::current();
        SceneEnvironment& environment = SceneEnvironment::current();
        environment.programDirectory = program_.path();
        environment.writableBase = program_.path();
        environment.fatalError = [this](std::u16string_view message) { fatal_.emplace_back(message); };
        restore_ = true;
        // The desktop as the frame loop takes it from the screen.
        const Arbor::Platform::ThreadId thread = Arbor::Platform::messageQueueService().currentThreadId();
        const Quenta::Common::DesktopGeometry g = Quenta::Common::PlatformFrameEnvironment(thread).desktopGeometry();
        DesktopObject::instance().setDesktop(g.originX, g.originY, g.width, g.height);
        c_ = &DesktopObject::instance().adopt(std::make_unique<CharacterObject>(u"bal-talk"));
        c_->start();
        // Its start order puts it at the origin, above which the balloon would be off the
        // screen: a place where both are on it.
        frame();
        c_->setBasePosition(100, 300);
    }

    void TearDown() override {
        if (restore_) {
            DesktopObject::instance().deleteChildren();
            pump();
            SceneEnvironment::current() = saved_;
            EXPECT_TRUE(fatal_.empty()) << (fatal_.empty() ? "" : std::string(fatal_[0].begin(), fatal_[0].end()));
        }
        Testing::BackendTest::TearDown();
    }

    // The window messages of this thread: the listeners queue the input they hear.
    static void pump() {
        auto& queue = Arbor::Platform::messageQueueService();
        Arbor::Platform::Message message;
        while (queue.peekMessage(message)) {
            queue.translateMessage(message);
            queue.dispatchMessage(message);
        }
    }
    void frame() {
        pump();
        DesktopObject& desktop = DesktopObject::instance();
        desktop.inputPhase();
        desktop.updatePhase();
        RestackQueue::instance().apply();
        desktop.motionPhase();
        desktop.animationPhase();
        desktop.renderPhase();
    }
    // Frames, about a hundred a second, until `done` holds or the deadline passed.
    bool runUntil(const std::function<bool()>& done, int milliseconds = 10000) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        for (;;) {
            frame();
            if (done()) return true;
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    void run(const std::u16string& code) {
        const Quenta::Interpreter::TokenLine line = Quenta::Interpreter::tokenizeLine(code);
        c_->runGuarded([&] {
            Quenta::Interpreter::Parser& parser = c_->parser();
            parser.setLine(line);
            parser.resetTemporaries();
            Quenta::Interpreter::runStatement(parser);
        });
    }
    double variable(const std::u16string& name) {
        const auto* value = c_->parser().variables().find(name);
        return value ? value->toNum() : -1.0;
    }

    // What the system shows of the area: the window's own pixels (X11, alpha included)
    // or the screen's (Win32, opaque).
    std::vector<std::uint32_t> readBack([[maybe_unused]] Arbor::Platform::WindowHandle window,
                                        [[maybe_unused]] const Rect& area) {
#if defined(TAVIZO_HAS_X11)
        if (GetParam() == "X11")
            return Arbor::Platform::X11::Inspection::windowPixels(window, area.width(), area.height());
#endif
#if defined(TAVIZO_HAS_WIN32)
        if (GetParam() == "Win32") return Arbor::Platform::Win32::Inspection::screenPixels(area);
#endif
        return {};
    }
    bool click([[maybe_unused]] int x, [[maybe_unused]] int y) {
#if defined(TAVIZO_HAS_X11)
        if (GetParam() == "X11") return Arbor::Platform::X11::Inspection::click(x, y);
#endif
#if defined(TAVIZO_HAS_WIN32)
        if (GetParam() == "Win32") return Arbor::Platform::Win32::Inspection::click(x, y);
#endif
        return false;
    }

    Testing::TempDir program_;
    SceneEnvironment saved_;
    bool restore_ = false;
    std::vector<std::u16string> fatal_;
    CharacterObject* c_ = nullptr;
};

TEST_P(BalloonWindowTest, TypedTextReadsBackAndTheLinkAnswersARealClick) {
    run(u"CallBalloon(\"Talk\")");
    BalloonObject* found = static_cast<BalloonManager*>(c_->balloons())->find(u"");
    ASSERT_NE(found, nullptr);
    BalloonObject& b = *found;
    TextLayerObject* words = nullptr;
    ASSERT_TRUE(runUntil([&] {
        words = b.order().textLayer(u"Words");
        return words && words->isFinished() && b.queuedTransitions() == 0 && b.isShown();
    })) << "the balloon did not open and finish typing";
    ASSERT_EQ(words->revealed(), words->box().charCount());
    Arbor::Gui::LayeredWidget& widget = *b.ownWidget();
    const Rect area = widget.geometry();
    ASSERT_EQ(area.width(), 200);
    ASSERT_EQ(area.height(), 80);

    // Every opaque pixel the balloon presented is what the system shows (on X11, where
    // the window keeps its alpha, every pixel).
    std::vector<std::uint32_t> shown;
    const auto matches = [&] {
        const int stride = widget.backBuffer()->width();
        const std::uint32_t* presented = widget.bits();
        shown = readBack(widget.window().handle(), area);
        if (shown.size() != std::size_t(area.width() * area.height())) return false;
        for (int y = 0; y < area.height(); ++y) {
            for (int x = 0; x < area.width(); ++x) {
                const std::uint32_t p = presented[y * stride + x];
                if ((GetParam() == "X11" || (p >> 24) == 0xFF) && shown[y * area.width() + x] != p) return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(runUntil(matches)) << "the window does not show what the balloon presented";
    ASSERT_EQ(shown.size(), std::size_t(area.width() * area.height()));

    // The typed text is on the screen: its colour in every character's cell, and no mark
    // elsewhere in the text layer but on the cells' edges (antialiasing, overhangs).
    const auto inCell = [&](int x, int y, int margin) {
        for (const auto& piece : words->box().pieces()) {
            for (const CharItem& k : piece->chars()) {
                if (k.visible && x >= k.x - margin && x < k.x + k.width + margin && y >= k.y - margin &&
                    y < k.y + k.height + margin)
                    return true;
            }
        }
        return false;
    };
    std::u16string typed;
    for (const auto& piece : words->box().pieces()) {
        for (const CharItem& k : piece->chars()) {
            if (k.code == u'\n' || k.code == u'\r') continue;
            typed += k.code;
            int ink = 0;
            for (int y = int(k.y); y < int(std::ceil(k.y + k.height)); ++y) {
                for (int x = int(k.x); x < int(std::ceil(k.x + k.width)); ++x)
                    ink += hasColor(shown[y * area.width() + x], k.color);
            }
            EXPECT_GT(ink, 0) << "no ink for character " << int(k.code) << " at " << k.x << "," << k.y;
        }
    }
    EXPECT_EQ(typed, u"こんにちは、Tavizo!Click");
    int stray = 0;
    for (int y = 10; y < 74; ++y)  // the text layer inside the balloon's outline
        for (int x = 10; x < 190; ++x) stray += isMark(shown[y * area.width() + x]) && !inCell(x, y, 2);
    EXPECT_EQ(stray, 0) << "marks outside the typed characters";

    // The link's first character, clicked as the user would.
#if defined(TAVIZO_HAS_X11)
    if (GetParam() == "X11") {
        // The window manager gives its frame the window's input shape a moment after mapping.
        const auto region =
            Arbor::Platform::opaqueRegion(widget.bits(), area.width(), area.height(), widget.backBuffer()->width());
        ASSERT_TRUE(runUntil(
            [&] { return Arbor::Platform::X11::Inspection::frameInputShape(widget.window().handle()) == region; }));
    }
#endif
    const CharItem& k = words->box().pieces().back()->chars()[0];
    ASSERT_TRUE(words->box().pieces().back()->isLink());
    EXPECT_EQ(variable(u"clicked"), 0);
    ASSERT_TRUE(click(area.left + int(k.x + k.width / 2), area.top + int(k.y + k.height / 2)));
    EXPECT_TRUE(runUntil([&] { return variable(u"clicked") == 1; })) << "the link's command did not run";
}

TAVIZO_INSTANTIATE_FOR_BACKENDS(BalloonWindowTest);

}  // namespace
