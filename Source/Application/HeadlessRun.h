#pragma once
// A run on the virtual desktop that gives the same result every time: the desktop's
// size, the cursor at its bottom-right pixel, fixed memory figures, the random seed and,
// unless real time is asked for, the virtual clock (a fixed start, exactly 1000/30 ms
// per frame, frames back to back). Around each frame it applies the scripted input and
// writes the screenshot, the recorded frames and the trace.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "Source/Application/CommandLine.h"
#include "Source/Application/EventScript.h"
#include "Source/Common/FrameHooks.h"

namespace Quenta::Common {
class QuitControl;
}

namespace Quenta::Application {

class HeadlessRun : public Common::FrameHooks, private EventInput {
public:
    // The tick count of the first frame, and the seed when none is given.
    static constexpr std::uint32_t startTick = 1000000;
    static constexpr std::uint32_t defaultSeed = 20260101;

    // Reads the events file and makes the output folder; null with the reason (naming
    // the file, and the line of a malformed event) when either fails. Sets nothing up.
    static std::unique_ptr<HeadlessRun> create(const CommandLine& commandLine, Common::QuitControl& quit,
                                               std::string& error);
    ~HeadlessRun() override;

    // Sets the virtual desktop up; call before anything reads the clock, the screen or
    // the random source.
    void prepare();
    bool paced() const { return commandLine_.realtime; }

    void beforeFrame(std::uint64_t frame) override;
    void afterRender(std::uint64_t frame) override;

    // After the run: puts the trace in place. False, with the reasons on standard
    // error, when an output file could not be written.
    bool finish();

    // "frame-00001.png" for frame 1: the name of a recorded frame.
    static std::string recordedFrameName(std::uint64_t frame);

    // The tick count of the frame (counted from 1) on the virtual clock.
    static std::uint32_t tickOfFrame(std::uint64_t frame);

private:
    HeadlessRun(const CommandLine& commandLine, EventScript events, Common::QuitControl& quit);
    void moveMouse(int x, int y) override;
    void pressButton(int x, int y, bool rightButton, bool down) override;
    void doubleClick(int x, int y) override;
    void say(const std::u16string& text) override;
    void quit() override;
    void chooseMenuItem(const std::u16string& text) override;
    void escapeMenu() override;

    void takeScreenshot();
    bool writePicture(const std::filesystem::path& file);
    void failed(const std::string& what);

    CommandLine commandLine_;
    EventScript events_;
    Common::QuitControl& quit_;
    bool screenshotTaken_ = false;
    std::filesystem::path traceFile_;
    std::filesystem::path traceTemporary_;
    std::ofstream trace_;
    bool ok_ = true;
};

}  // namespace Quenta::Application
