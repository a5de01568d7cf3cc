// The shipped characters run by the built host on the headless desktop: Pip rides on
// Tavi's head (docked, so it moves with Tavi), hops off when dragged away and falls to
// the floor, hops back on when let go over Tavi, and cheers when Tavi is poked. Each
// step is driven by an events file whose points come from the trace of a shorter run
// with the same events so far: runs are reproducible, so that run's frames are the
// longer run's first frames, and the test does not depend on where Tavi wanders.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "framework/Platform/Folders.h"
#include "framework/Platform/NativePath.h"
#include "support/ShellCommand.h"
#include "support/TestPaths.h"

namespace fs = std::filesystem;

namespace {

#if defined(_WIN32)
constexpr const char* hostName = "tavizo.exe";
#else
constexpr const char* hostName = "tavizo";
#endif
using Testing::readWholeFile;
using Testing::shellQuote;

// One character in one frame of the trace.
struct Row {
    std::string order;
    double x = 0, y = 0, w = 0, h = 0;
};

// The trace by frame (1-based) for the two characters, the frames while they wind down
// after the last one included; balloon rows are skipped.
struct Trace {
    std::string text;
    std::vector<Row> tavi{Row{}};
    std::vector<Row> pip{Row{}};
};

Trace parseTrace(const std::string& text) {
    Trace trace;
    trace.text = text;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> f;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');) f.push_back(cell);
        if (f.size() < 7 || (f[1] != "tavi" && f[1] != "pip")) continue;
        std::vector<Row>& rows = f[1] == "tavi" ? trace.tavi : trace.pip;
        rows.push_back(Row{f[2], std::stod(f[3]), std::stod(f[4]), std::stod(f[5]), std::stod(f[6])});
    }
    return trace;
}

// A fresh program folder (a copy of the host and of the shipped Data) for every run, so
// that values saved by one run (Tavi counts pokes) do not reach the next.
Trace run(const std::string& events, int frames, const std::string& tag) {
    Testing::TempDir dir;
    const fs::path host =
        Arbor::Platform::toNativePath(Arbor::Platform::folderService().executablePath()).parent_path() / hostName;
    fs::copy_file(host, dir.path() / hostName);
    fs::copy(fs::path(TAVIZO_SOURCE_DATA), dir.path() / "Data", fs::copy_options::recursive);
    std::ofstream(dir.path() / "events.txt", std::ios::binary) << events;
    std::string command = shellQuote((dir.path() / hostName).string());
    for (const std::string& a : {std::string("--headless"), std::string("--screen"), std::string("1920x1080"),
                                 std::string("--frames"), std::to_string(frames), std::string("--events"),
                                 (dir.path() / "events.txt").string(), std::string("--trace"),
                                 (dir.path() / "trace.tsv").string()}) {
        command += " " + shellQuote(a);
    }
    command += " > " + shellQuote((dir.path() / "err.txt").string()) + " 2>&1";
#if defined(_WIN32)
    command = "\"" + command + "\"";
#endif
    const int code = std::system(command.c_str());
    EXPECT_EQ(code, 0) << tag << ": " << readWholeFile(dir.path() / "err.txt");
    Trace trace = parseTrace(readWholeFile(dir.path() / "trace.tsv"));
    EXPECT_GT(static_cast<int>(trace.pip.size()), frames) << tag << ": no trace of Pip";
    EXPECT_GT(static_cast<int>(trace.tavi.size()), frames) << tag << ": no trace of Tavi";
    return trace;
}

std::string point(double x, double y) {
    return std::to_string(std::lround(x)) + " " + std::to_string(std::lround(y));
}

// Pip's place relative to Tavi in a frame.
double dx(const Trace& t, int frame) { return t.pip[frame].x - t.tavi[frame].x; }
double dy(const Trace& t, int frame) { return t.pip[frame].y - t.tavi[frame].y; }

}  // namespace

TEST(Companion, PipRidesOnTaviHopsOffWhenDraggedAndBackOnWhenLetGoOverTavi) {
    // Where the two start: Pip on Tavi's head.
    const Trace start = run("", 4, "start");
    if (HasFailure()) return;
    const double seatX = dx(start, 4);
    const double seatY = dy(start, 4);
    EXPECT_EQ(start.pip[4].order, "Sit");
    EXPECT_GT(seatY, -start.pip[4].h) << "Pip sits low enough to be on the head";
    EXPECT_LT(seatY, start.tavi[4].h / 2);

    // Carry Tavi off by its belly and let go: Pip stays on its head all the way, through
    // Tavi's fall and landing.
    const Row& tavi = start.tavi[4];
    std::string events = "5 down " + point(tavi.x + tavi.w / 2, tavi.y + tavi.h * 0.8) + "\n" +
                         "7 move " + point(tavi.x + tavi.w / 2 - 300, tavi.y + tavi.h * 0.8 - 150) + "\n" +
                         "9 up " + point(tavi.x + tavi.w / 2 - 300, tavi.y + tavi.h * 0.8 - 150) + "\n";
    const Trace carried = run(events, 48, "Tavi carried");
    if (HasFailure()) return;
    EXPECT_EQ(carried.tavi[8].order, "Held");
    EXPECT_LT(carried.tavi[48].x, tavi.x - 250) << "Tavi was carried";
    for (int frame = 2; frame <= 48; ++frame) {
        EXPECT_NEAR(dx(carried, frame), seatX, 0.01) << "frame " << frame;
        EXPECT_NEAR(dy(carried, frame), seatY, 0.01) << "frame " << frame;
    }

    // Pick Pip off Tavi's head (its chest, in front of Tavi's head) and drop it far from
    // Tavi: it is held on its own, then falls to the bottom of the screen and waits.
    const Row pip = carried.pip[48];
    const double awayX = carried.tavi[48].x > 960 ? 200.0 : 1700.0;
    events += "50 down " + point(pip.x + pip.w / 2, pip.y + pip.h * 0.8) + "\n" +  //
              "52 move " + point(awayX, 700) + "\n" +                              //
              "54 up " + point(awayX, 700) + "\n";
    const Trace dropped = run(events, 110, "Pip dropped away");
    if (HasFailure()) return;
    EXPECT_EQ(dropped.pip[53].order, "Held");
    EXPECT_NE(dropped.tavi[53].order, "Held") << "the press was Pip's, not Tavi's";
    EXPECT_NEAR(dropped.pip[53].x + pip.w / 2, awayX, 2.0) << "Pip follows the cursor, not Tavi";
    EXPECT_EQ(dropped.pip[110].order, "Wait");
    EXPECT_NEAR(dropped.pip[110].y + dropped.pip[110].h, 1080.0, 2.0) << "on the floor";
    EXPECT_GT(std::abs(dx(dropped, 110) - seatX), 100.0) << "Pip is no longer on Tavi";

    // Pick it up from the floor and let go over Tavi's head: it hops back on and is
    // docked again, so it keeps its seat while Tavi goes on with its life.
    const Row floor = dropped.pip[110];
    const Row taviNow = dropped.tavi[110];
    events += "111 down " + point(floor.x + floor.w / 2, floor.y + floor.h * 0.8) + "\n" +
              "113 move " + point(taviNow.x + taviNow.w / 2, taviNow.y) + "\n" +
              "115 up " + point(taviNow.x + taviNow.w / 2, taviNow.y) + "\n";
    const Trace back = run(events, 210, "Pip let go over Tavi");
    if (HasFailure()) return;
    bool climbed = false;
    for (int frame = 116; frame <= 210; ++frame) climbed = climbed || back.pip[frame].order == "Climb";
    EXPECT_TRUE(climbed) << "Pip hops back rather than jumping";
    for (int frame = 160; frame <= 210; ++frame) {
        EXPECT_EQ(back.pip[frame].order, "Sit") << "frame " << frame;
        EXPECT_NEAR(dx(back, frame), seatX, 0.01) << "frame " << frame;
        EXPECT_NEAR(dy(back, frame), seatY, 0.01) << "frame " << frame;
    }

    // Poke Tavi: Tavi tells Pip (a command posted from Tavi's script), and Pip cheers on
    // its seat.
    const Row taviLater = back.tavi[179];
    events += "180 click " + point(taviLater.x + taviLater.w / 2, taviLater.y + taviLater.h * 0.8) + "\n";
    const Trace poked = run(events, 210, "Tavi poked");
    if (HasFailure()) return;
    bool happy = false;
    bool cheered = false;
    for (int frame = 180; frame <= 210; ++frame) {
        happy = happy || poked.tavi[frame].order == "Happy";
        cheered = cheered || poked.pip[frame].order == "Cheer";
        EXPECT_NEAR(dx(poked, frame), seatX, 0.01) << "frame " << frame;
    }
    EXPECT_TRUE(happy);
    EXPECT_TRUE(cheered);

    // The same program folder contents and events give the same trace, byte for byte.
    EXPECT_EQ(run(events, 210, "again").text, poked.text);
}
