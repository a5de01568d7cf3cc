// The desktop services on every backend that can run here: the clipboard read back,
// the start-up entry read back with its target, and (on Win32, under Wine) injected
// keys reaching a window of the test as key and character messages.
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "framework/Platform/Clipboard.h"
#include "framework/Platform/Folders.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/KeyInput.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/Startup.h"
#include "framework/Platform/Window.h"
#include "support/BackendTest.h"

using namespace Arbor::Platform;

namespace {

class DesktopServicesTest : public Testing::BackendTest {
protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (isHeadless()) Headless::HeadlessDesktop::instance().reset();
    }
};

// Handles this thread's messages, translated, until the condition holds.
bool pumpUntil(const std::function<bool()>& done, int milliseconds = 10000) {
    auto& queue = messageQueueService();
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        Message message;
        while (queue.peekMessage(message)) {
            queue.translateMessage(message);
            queue.dispatchMessage(message);
        }
        if (!done()) queue.waitMessage(10);
    }
    return true;
}

}  // namespace

TEST_P(DesktopServicesTest, ClipboardTextReadsBack) {
    const std::u16string text = u"クリップ\r\nboard";
    ASSERT_TRUE(clipboardService().setText(text));
    EXPECT_EQ(clipboardService().text(), text);
    ASSERT_TRUE(clipboardService().setText(u""));
    EXPECT_EQ(clipboardService().text().value_or(u"?"), u"");
}

TEST_P(DesktopServicesTest, StartupEntryReadsBackWithItsTarget) {
    // The Linux entry is tested in a temporary home (LinuxDesktopTest); here it would
    // be the user's own.
    if (GetParam() == "X11") GTEST_SKIP() << "writes the user's autostart folder";
    const std::u16string program = folderService().executablePath();
    ASSERT_FALSE(program.empty());
    const std::u16string folder = program.substr(0, program.find_last_of(u"\\/"));
    ASSERT_TRUE(startupService().registerProgram(program, folder));
    EXPECT_TRUE(startupService().isProgramRegistered(program));
    EXPECT_EQ(startupService().registeredTarget(program), program);
    ASSERT_TRUE(startupService().unregisterProgram(program));
    EXPECT_FALSE(startupService().isProgramRegistered(program));
    EXPECT_EQ(startupService().registeredTarget(program), u"");
}

TEST_P(DesktopServicesTest, InjectedKeysReachTheForegroundWindow) {
    if (GetParam() != "Win32") GTEST_SKIP() << "X11 has its own test on a private display; headless only records";
    struct Seen {
        std::uint32_t message;
        std::uintptr_t wParam;
    };
    std::vector<Seen> seen;
    WindowDescription description;
    description.title = u"ArborKeyTarget";
    description.bounds = {100, 100, 300, 300};
    description.style = WS_POPUP | WS_VISIBLE;
    description.procedure = [&seen](WindowHandle, std::uint32_t m, std::uintptr_t wp,
                                    std::intptr_t) -> std::optional<std::intptr_t> {
        seen.push_back({m, wp});
        return std::nullopt;
    };
    const WindowHandle window = windowService().create(description);
    ASSERT_NE(window, WindowHandle::None);
    windowService().setForeground(window);
    auto heard = [&](std::uint32_t message, std::uintptr_t value) {
        return std::any_of(seen.begin(), seen.end(), [&](const Seen& s) { return s.message == message && s.wParam == value; });
    };
    const InjectedInput stroke[] = {InjectedInput::key('W', false), InjectedInput::key('W', true)};
    const bool arrived = pumpUntil([&] {
        EXPECT_EQ(keyInputService().send(stroke), 2u);
        return heard(WM_CHAR, 'w');
    });
    EXPECT_TRUE(arrived);
    EXPECT_TRUE(heard(WM_KEYDOWN, 'W'));
    windowService().destroy(window);
}

TAVIZO_INSTANTIATE_FOR_BACKENDS(DesktopServicesTest);
