// tavizo-tool preview: the test character hl-walker (a 64 x 64 disc) as an animated PNG
// and as numbered frames, cut to what it covered, the same on every run.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

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

std::string walker() { return (fs::path(TAVIZO_TEST_DATA_DIR) / "characters" / "hl-walker").string(); }

std::uint32_t u32(const std::string& s, std::size_t at) {
    return std::uint32_t(std::uint8_t(s[at])) << 24 | std::uint32_t(std::uint8_t(s[at + 1])) << 16 |
           std::uint32_t(std::uint8_t(s[at + 2])) << 8 | std::uint8_t(s[at + 3]);
}

}  // namespace

TEST(PreviewTool, WritesAnAnimationOrFramesOfWhatTheCharacterShowed) {
    Testing::TempDir dir;
    const std::string apng = (dir.path() / "walk.png").string();
    auto r = runTool({"preview", walker(), "--frames", "4", "--screen", "640x480", "--out", apng}, dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.out;
    const std::string first = readFile(apng);
    ASSERT_GT(first.size(), 41u);
    EXPECT_EQ(first.substr(37, 4), "acTL");
    EXPECT_EQ(u32(first, 41), 4u) << "four frames";

    r = runTool({"preview", walker(), "--frames", "4", "--screen", "640x480", "--out", apng}, dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(readFile(apng), first) << "the same run gives the same file";

    const fs::path frames = dir.path() / "frames";
    r = runTool({"preview", walker(), "--frames", "4", "--screen", "640x480", "--out", frames.string()}, dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.out;
    for (const char* name : {"frame-00001.png", "frame-00004.png"}) {
        const auto image = Arbor::Graphics::decodePngFile(frames / name);
        ASSERT_TRUE(image) << name;
        // The disc walks one pixel a frame: the cut is a little wider than it.
        EXPECT_GE(image->width(), 64);
        EXPECT_LT(image->width(), 80);
        EXPECT_EQ(image->height(), 64);
    }
    EXPECT_FALSE(fs::exists(frames / "frame-00005.png"));
}

TEST(PreviewTool, RefusesWhatItCannotRun) {
    Testing::TempDir dir;
    const std::string out = (dir.path() / "x.png").string();
    EXPECT_EQ(runTool({"preview", walker(), "--out", out}, dir.path()).exitCode, 2) << "no frame count";
    EXPECT_EQ(runTool({"preview", walker(), "--frames", "0", "--out", out}, dir.path()).exitCode, 2);
    EXPECT_EQ(runTool({"preview", walker(), "--frames", "2", "--screen", "big", "--out", out}, dir.path()).exitCode, 2);
    EXPECT_EQ(runTool({"preview", (dir.path() / "none").string(), "--frames", "2", "--out", out}, dir.path()).exitCode,
              2);
    const auto r = runTool({"preview", walker(), "--frames", "2", "--bogus", "--out", out}, dir.path());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.out.find("unknown option --bogus"), std::string::npos) << r.out;
    EXPECT_FALSE(fs::exists(out));
}
