// Reproducible headless runs of the built host: a copy of the executable in a scratch
// program folder with the test character hl-hopper (a disc with transparent corners),
// driven by an events file, compared byte for byte between runs.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "framework/Graphics/PngDecoder.h"
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

void writeFile(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

struct HostRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// A program folder holding a copy of the host, a main object showing nothing, and hl-hopper.
class Program {
public:
    Program() {
        const fs::path host =
            Arbor::Platform::toNativePath(Arbor::Platform::folderService().executablePath()).parent_path() / hostName;
        fs::copy_file(host, dir_.path() / hostName);
        const fs::path characters = fs::path(TAVIZO_TEST_DATA_DIR) / "characters";
        fs::create_directories(dir_.path() / "Data");
        fs::copy(characters / "hl-main", dir_.path() / "Data" / "MAIN_OBJECT");
        fs::copy(characters / "hl-hopper", dir_.path() / "Data" / "hl-hopper");
    }
    fs::path path(const std::string& name) const { return dir_.path() / name; }

    HostRun run(const std::vector<std::string>& args) const {
        std::string command = shellQuote((dir_.path() / hostName).string());
        for (const std::string& a : args) command += " " + shellQuote(a);
        command += " > " + shellQuote(path("out.txt").string()) + " 2> " + shellQuote(path("err.txt").string());
#if defined(_WIN32)
        command = "\"" + command + "\"";  // cmd /c drops the outer quotes of a line
#endif
        HostRun result;
        const int raw = std::system(command.c_str());
#if defined(_WIN32)
        result.exitCode = raw;
#else
        result.exitCode = (raw != -1 && (raw & 0x7F) == 0) ? ((raw >> 8) & 0xFF) : -1;
#endif
        result.out = readWholeFile(path("out.txt"));
        result.err = readWholeFile(path("err.txt"));
#if defined(_WIN32)
        // Standard streams in text mode write "\r\n"; the expectations use "\n".
        std::erase(result.out, '\r');
        std::erase(result.err, '\r');
#endif
        return result;
    }

private:
    Testing::TempDir dir_;
};

// Every file of a folder by name, with its bytes.
std::map<std::string, std::string> folderBytes(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir)) files[entry.path().filename().string()] = readWholeFile(entry.path());
    return files;
}

// The trace's rows, or only those of one character.
std::vector<std::vector<std::string>> traceRows(const std::string& text, const std::string& objectId = "") {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
        if (!line.empty() && line.back() == '\t') fields.emplace_back();
        if (objectId.empty() || (fields.size() > 1 && fields[1] == objectId)) rows.push_back(fields);
    }
    return rows;
}

}  // namespace

TEST(HeadlessRun, TheSameOptionsGiveTheSameScreenshotRecordAndTrace) {
    Program program;
    // Onto the disc (at 300, 200), clicks in its middle (it hops each time), and speech.
    writeFile(program.path("events.txt"),
              "# frame action arguments\n"
              "3 move 330 230\n"
              "6 click 333 233\n"
              "8 say こんにちは\n"
              "10 click 333 233\n"
              "14 click 333 233 left\n"
              "18 down 333 233\n");
    auto once = [&](const std::string& tag) {
        const HostRun r = program.run({"--headless", "--screen", "640x480", "--frames", "20", "--events", program.path("events.txt").string(),
                                   "--screenshot", program.path(tag + ".png").string(), "--record",
                                   program.path(tag + "-frames").string(), "--trace",
                                   program.path(tag + ".tsv").string()});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return r;
    };
    once("a");
    once("b");
    const std::string screenshot = readWholeFile(program.path("a.png"));
    ASSERT_FALSE(screenshot.empty());
    EXPECT_EQ(screenshot, readWholeFile(program.path("b.png")));
    // Every frame, also those after quitting began while the characters wind down.
    const auto framesA = folderBytes(program.path("a-frames"));
    EXPECT_GE(framesA.size(), 20u);
    EXPECT_TRUE(framesA.count("frame-00001.png") && framesA.count("frame-00020.png"));
    EXPECT_EQ(framesA, folderBytes(program.path("b-frames")));
    const std::string trace = readWholeFile(program.path("a.tsv"));
    EXPECT_EQ(trace, readWholeFile(program.path("b.tsv")));
    EXPECT_EQ(screenshot, framesA.at("frame-00020.png")) << "the screenshot is the last frame's picture";

    // One row per frame and character: frame, id, order, x, y, w, h, shown, life; and
    // after it one per balloon: frame, id/balloon, order, x, y, w, h, shown, open, alpha.
    for (const auto& row : traceRows(trace)) {
        const bool balloon = row.size() > 1 && row[1].find('/') != std::string::npos;
        EXPECT_EQ(row.size(), balloon ? 10u : 9u) << trace;
    }
    const auto balloonRows = traceRows(trace, "hl-hopper/#bal00");
    ASSERT_EQ(balloonRows.size(), traceRows(trace, "hl-hopper").size()) << trace;
    EXPECT_EQ(balloonRows[0][7], "0");  // closed: hidden, size and opacity 0
    EXPECT_EQ(balloonRows[0][8], "0");
    const auto rows = traceRows(trace, "hl-hopper");
    ASSERT_GE(rows.size(), 20u) << trace;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 9u) << trace;
        EXPECT_EQ(rows[i][0], std::to_string(i + 1));
        EXPECT_EQ(rows[i][1], "hl-hopper");
    }
    EXPECT_EQ(rows[4][2], "Walk");
    EXPECT_EQ(rows[4][3], "300");
    EXPECT_EQ(rows[4][4], "200");
    EXPECT_EQ(rows[4][5], "64");
    EXPECT_EQ(rows[4][6], "64");
    EXPECT_EQ(rows[4][7], "1");
    EXPECT_EQ(rows[4][8], "0");
    // The button went down before frame 6 ran, so frame 6 itself hopped.
    EXPECT_EQ(rows[5][2], "Hop") << "the click on an opaque pixel reached the character";
    EXPECT_EQ(rows[5][4], "199");
    EXPECT_EQ(rows[19][4], "196") << "four hops";
    EXPECT_EQ(rows.back()[8], "3") << "terminated at the end";

    // The picture shows the disc where the trace puts it: opaque in the middle,
    // transparent in the corner.
    const auto image = Arbor::Graphics::decodePngMemory(reinterpret_cast<const std::uint8_t*>(screenshot.data()),
                                                        screenshot.size());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width(), 640);
    const int x = std::stoi(rows[19][3]), y = std::stoi(rows[19][4]);
    auto alphaAt = [&](int px, int py) { return image->pixels()[py * image->width() + px] >> 24; };
    EXPECT_EQ(alphaAt(x + 32, y + 32), 255u);
    EXPECT_EQ(alphaAt(x + 1, y + 1), 0u);

    // Another seed gives other sideways jitters while hopping.
    const HostRun other = program.run({"--headless", "--screen", "640x480", "--frames", "20", "--events", program.path("events.txt").string(),
                                   "--seed", "12345", "--trace", program.path("c.tsv").string()});
    EXPECT_EQ(other.exitCode, 0) << other.err;
    EXPECT_NE(readWholeFile(program.path("c.tsv")), trace);
}

TEST(HeadlessRun, AClickOnATransparentPixelReachesNoCharacter) {
    Program program;
    // Find where the disc stands before frame 6, then click its transparent corner there.
    ASSERT_EQ(program.run({"--headless", "--screen", "640x480", "--frames", "5", "--trace", program.path("where.tsv").string()}).exitCode, 0);
    const auto where = traceRows(readWholeFile(program.path("where.tsv")), "hl-hopper");
    ASSERT_GE(where.size(), 5u);
    ASSERT_EQ(where[4].size(), 9u);
    const int x = std::stoi(where[4][3]), y = std::stoi(where[4][4]);
    writeFile(program.path("corner.txt"), "6 click " + std::to_string(x + 1) + " " + std::to_string(y + 1) + "\n");
    const HostRun r = program.run({"--headless", "--screen", "640x480", "--frames", "12", "--events", program.path("corner.txt").string(),
                               "--trace", program.path("corner.tsv").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto rows = traceRows(readWholeFile(program.path("corner.tsv")), "hl-hopper");
    ASSERT_GE(rows.size(), 12u);
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 9u);
        EXPECT_EQ(row[2], "Walk") << "frame " << row[0];
    }
}

TEST(HeadlessRun, AQuitEventEndsTheRunAndTakesTheScreenshotAsQuittingBegins) {
    Program program;
    writeFile(program.path("quit.txt"), "4 click 333 233\n7 quit\n");
    const HostRun r = program.run({"--headless", "--screen", "640x480", "--events", program.path("quit.txt").string(),
                                   "--screenshot", program.path("end.png").string(), "--record",
                                   program.path("frames").string(), "--trace", program.path("end.tsv").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto rows = traceRows(readWholeFile(program.path("end.tsv")), "hl-hopper");
    ASSERT_GE(rows.size(), 7u);
    EXPECT_EQ(rows[5][8], "0") << "running until the quit";
    EXPECT_NE(rows[6][8], "0") << "winding down from frame 7";
    EXPECT_EQ(rows.back()[8], "3");
    // Taken before frame 7 ran: the picture of frame 6.
    EXPECT_EQ(readWholeFile(program.path("end.png")), readWholeFile(program.path("frames") / "frame-00006.png"));
}

TEST(HeadlessRun, BadCommandLinesAndEventFilesStopBeforeTheFirstFrame) {
    Program program;
    writeFile(program.path("bad.txt"), "# fine\n3 move 1 2\n4 jump 1 2\n");
    const std::string shot = program.path("never.png").string();
    HostRun r = program.run({"--headless", "--frames", "3", "--events", program.path("bad.txt").string(), "--screenshot", shot});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(fs::exists(shot)) << "no frame ran";
    r = program.run({"--headless", "--events", program.path("missing.txt").string()});
    EXPECT_EQ(r.exitCode, 2);
    r = program.run({"--headless", "--frobnicate"});
    EXPECT_EQ(r.exitCode, 2);
    r = program.run({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    r = program.run({"--headless", "--events", program.path("bad.txt").string()});
    EXPECT_EQ(r.err, "tavizo: " + program.path("bad.txt").string() + ":3: unknown action \"jump\"\n");
    r = program.run({"--headless", "--frobnicate"});
    EXPECT_EQ(r.err, "tavizo: unknown option \"--frobnicate\" (tavizo --help lists the options)\n");
    r = program.run({"--help"});
    EXPECT_NE(r.out.find("\n  --screenshot FILE "), std::string::npos) << r.out;
    r = program.run({"--version"});
    EXPECT_EQ(r.out, "タヴィゾー 1.00\n");
    // A fatal error: its message-box line on standard error, the program's exit code.
    fs::remove(program.path("Data/MAIN_OBJECT/main.func"));
    r = program.run({"--headless", "--frames", "3", "--trace", program.path("t.tsv").string()});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "Error: Initial 関数が存在しません。\n");
    EXPECT_FALSE(fs::exists(program.path("t.tsv")));
}

TEST(HeadlessRun, MenuEventsChooseFromTheMenuARightClickOpened) {
    Program program;
    fs::copy(fs::path(TAVIZO_TEST_DATA_DIR) / "characters" / "hl-menus", program.path("Data/hl-menus"));
    writeFile(program.path("events.txt"),
              "2 escape\n"              // no menu yet: a warning only
              "3 click 132 132 right\n"  // the disc's menu opens
              "6 menu More\n"
              "7 menu Deep\n"            // disabled: nothing happens, the menu stays
              "8 menu Move away\n"
              "10 menu Stay\n");         // closed by now: a warning only
    const HostRun r = program.run({"--headless", "--screen", "640x480", "--frames", "14", "--events",
                                   program.path("events.txt").string(), "--trace", program.path("m.tsv").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("escape: no menu is open"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("menu Stay: no menu is open"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("Deep"), std::string::npos) << r.err;
    const auto rows = traceRows(readWholeFile(program.path("m.tsv")), "hl-menus");
    ASSERT_GE(rows.size(), 14u);
    // Where the disc sat before the choice, and where the chosen action moved it.
    EXPECT_EQ(rows[6][3], "100");  // frame 7
    EXPECT_EQ(rows.back()[3], "200");
    EXPECT_EQ(rows.back()[4], "150");
}
