// Message boxes: recorded on the virtual desktop; real and answered on Win32.
#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/MessageBox.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/Window.h"
#include "support/BackendTest.h"

using namespace Arbor::Platform;

namespace {

class MessageBoxTest : public Testing::BackendTest {};

}  // namespace

TEST_P(MessageBoxTest, HeadlessRecordsTheBoxAndWritesOneLine) {
    if (!isHeadless()) GTEST_SKIP() << "the record belongs to the virtual desktop";
    auto& desktop = Headless::HeadlessDesktop::instance();
    desktop.reset();
    ::testing::internal::CaptureStderr();
    const int answer = messageBoxService().show(WindowHandle::None, u"多重起動はできません", u"エラー", MB_OK);
    const std::string line = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(line, "エラー: 多重起動はできません\n");
    desktop.setMessageBoxReply(IDNO);
    EXPECT_EQ(messageBoxService().show(WindowHandle::None, u"Really?", u"Question", MB_YESNO | MB_ICONQUESTION),
              IDNO);
    auto boxes = desktop.messageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, u"多重起動はできません");
    EXPECT_EQ(boxes[0].caption, u"エラー");
    EXPECT_EQ(boxes[0].type, MB_OK);
    EXPECT_EQ(boxes[1].type, MB_YESNO | MB_ICONQUESTION);
    desktop.reset();
    EXPECT_TRUE(desktop.messageBoxes().empty());
}

TEST_P(MessageBoxTest, Win32BoxAppearsWithItsCaptionAndIsAnswered) {
    if (GetParam() != "Win32") GTEST_SKIP() << "a real message box needs the system";
    // The box blocks this thread: a helper finds it among the desktop's windows by its
    // caption and presses OK, as a user would.
    const std::u16string caption = u"Arbor box test エラー";
    std::atomic<bool> found{false};
    std::atomic<bool> done{false};
    std::thread presser([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!done && std::chrono::steady_clock::now() < deadline) {
            for (WindowHandle window : windowService().topLevelWindows()) {
                if (windowService().title(window) == caption) {
                    found = true;
                    messageQueueService().postMessage(window, WM_COMMAND, IDOK, 0);
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    const int answer = messageBoxService().show(WindowHandle::None, u"Error text", caption, MB_OK | MB_ICONERROR);
    done = true;
    presser.join();
    EXPECT_TRUE(found.load());
    EXPECT_EQ(answer, IDOK);
}

TAVIZO_INSTANTIATE_FOR_BACKENDS(MessageBoxTest);
