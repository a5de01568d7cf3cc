// tavizo-tool preview: the test character hl-hopper (a 64 x 64 disc) as an animated PNG
// and as numbered frames, cut to what it covered, the same on every run.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "ToolRunner.h"
#include "framework/Graphics/PngDecoder.h"
#include "support/TestPaths.h"

namespace fs = std::filesystem;
using ToolTesting::runTool;

namespace {

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string hopper() { return (fs::path(TAVIZO_TEST_DATA_DIR) / "characters" / "hl-hopper").string(); }

std::uint32_t u32(const std::string& s, std::size_t at) {
    return std::uint32_t(std::uint8_t(s[at])) << 24 | std::uint32_t(std::uint8_t(s[at + 1])) << 16 |
           std::uint32_t(std::uint8_t(s[at + 2])) << 8 | std::uint8_t(s[at + 3]);
}

}  // namespace

TEST(PreviewTool, WritesAnAnimationOrFramesOfWhatTheCharacterShowed) {
    Testing::TempDir dir;
    const std::string apng = (dir.path() / "walk.png").string();
    auto r = runTool({"preview", hopper(), "--frames", "4", "--screen", "640x480", "--out", apng}, dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.out;
    const std::string first = readFile(apng);
    ASSERT_GT(first.size(), 41u);
    EXPECT_EQ(first.substr(37, 4), "acTL");
    EXPECT_EQ(u32(first, 41), 4u) << "four frames";

    r = runTool({"preview", hopper(), "--frames", "4", "--screen", "640x480", "--out", apng}, dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(readFile(apng), first) << "the same run gives the same file";

    // A click on the disc in frame 2: it hops (blue, a pixel up, jittered sideways) for
    // that frame and lands (orange) in the next.
    const fs::path frames = dir.path() / "frames";
    const fs::path events = dir.path() / "events.txt";
    std::ofstream(events) << "2 click 330 230\n";
    r = runTool({"preview", hopper(), "--frames", "4", "--screen", "640x480", "--events", events.string(), "--out",
                 frames.string()},
                dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.out;
    std::vector<std::uint32_t> middles;
    for (const char* name : {"frame-00001.png", "frame-00002.png", "frame-00004.png"}) {
        const auto image = Arbor::Graphics::decodePngFile(frames / name);
        ASSERT_TRUE(image) << name;
        // The disc is 56 pixels across; the cut holds it wherever it stood.
        EXPECT_GE(image->width(), 56);
        EXPECT_LE(image->width(), 60);
        EXPECT_EQ(image->height(), 57);
        middles.push_back(image->pixels()[30 * image->width() + image->width() / 2]);
    }
    EXPECT_EQ(middles[0], 0xFFE67828u) << "orange";
    EXPECT_EQ(middles[1], 0xFF2878E6u) << "blue";
    EXPECT_EQ(middles[2], 0xFFE67828u);
    EXPECT_FALSE(fs::exists(frames / "frame-00005.png"));
}

TEST(PreviewTool, RefusesWhatItCannotRun) {
    Testing::TempDir dir;
    const std::string out = (dir.path() / "x.png").string();
    EXPECT_EQ(runTool({"preview", hopper(), "--out", out}, dir.path()).exitCode, 2) << "no frame count";
    EXPECT_EQ(runTool({"preview", hopper(), "--frames", "0", "--out", out}, dir.path()).exitCode, 2);
    EXPECT_EQ(runTool({"preview", hopper(), "--frames", "2", "--screen", "big", "--out", out}, dir.path()).exitCode, 2);
    EXPECT_EQ(runTool({"preview", (dir.path() / "none").string(), "--frames", "2", "--out", out}, dir.path()).exitCode,
              2);
    const auto r = runTool({"preview", hopper(), "--frames", "2", "--bogus", "--out", out}, dir.path());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.out.find("unknown option --bogus"), std::string::npos) << r.out;
    EXPECT_FALSE(fs::exists(out));
}
