// Wave files written by another program (sox, and the sample sounds that ALSA's
// utilities install) must load exactly as that program describes them.
#include <gtest/gtest.h>

#include "ExternalTools.h"
#include "framework/Media/SoundLoader.h"
#include "framework/Platform/NativePath.h"
#include "support/TestPaths.h"

using namespace Arbor::Media;
using namespace ExternalTools;

namespace {

std::unique_ptr<Sound> load(const std::filesystem::path& p) {
    return loadSoundFile(Arbor::Platform::fromNativePath(p));
}

class SoxWave : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveSox()) GTEST_SKIP() << "sox is not installed (Debian package sox)";
    }
    // Makes a quarter-second tone with sox; `options` describe the output file.
    std::filesystem::path make(const std::string& name, const std::string& options) {
        const auto file = dir.path() / name;
        EXPECT_TRUE(run("sox -n " + options + " " + quote(file) + " synth 0.25 sine 440 2>" + nullDevice()))
            << options;
        return file;
    }
    std::string soxi(const std::string& option, const std::filesystem::path& file) {
        std::string out;
        EXPECT_TRUE(runCapture("soxi " + option + " " + quote(file), dir.path(), out));
        return out.substr(0, out.find_first_of("\r\n"));
    }
    // The sample bytes as sox itself decodes them, in the file's own encoding.
    std::vector<std::uint8_t> rawSamples(const std::filesystem::path& file) {
        const auto raw = dir.path() / "samples.raw";
        EXPECT_TRUE(run("sox " + quote(file) + " -t raw " + quote(raw)));
        return readAll(raw);
    }
    void expectAsSoxSays(const std::filesystem::path& file) {
        const auto sound = load(file);
        ASSERT_TRUE(sound) << file;
        EXPECT_EQ(std::to_string(sound->format().channels), soxi("-c", file));
        EXPECT_EQ(std::to_string(sound->format().samplesPerSecond), soxi("-r", file));
        EXPECT_EQ(std::to_string(sound->format().bitsPerSample), soxi("-b", file));
        EXPECT_EQ(std::to_string(sound->frameCount()), soxi("-s", file));
        EXPECT_EQ(sound->samples(), rawSamples(file));
    }

    Testing::TempDir dir;
};

TEST_F(SoxWave, EightBitMonoLoads) { expectAsSoxSays(make("u8m.wav", "-r 8000 -c 1 -b 8 -e unsigned-integer")); }

TEST_F(SoxWave, EightBitStereoLoads) {
    expectAsSoxSays(make("u8s.wav", "-r 11025 -c 2 -b 8 -e unsigned-integer"));
}

TEST_F(SoxWave, SixteenBitMonoLoads) { expectAsSoxSays(make("s16m.wav", "-r 22050 -c 1 -b 16 -e signed-integer")); }

TEST_F(SoxWave, SixteenBitStereoLoads) {
    expectAsSoxSays(make("s16s.wav", "-r 44100 -c 2 -b 16 -e signed-integer"));
}

TEST_F(SoxWave, FloatIsRefused) {
    const auto file = make("f32.wav", "-r 44100 -c 1 -b 32 -e floating-point");
    EXPECT_EQ(soxi("-e", file), "Floating Point PCM");
    EXPECT_FALSE(load(file));
}

TEST_F(SoxWave, ExtensibleFormatIsRefused) {
    // sox writes more than 16 bits with the extensible format tag, which is not PCM's.
    const auto file = make("s24.wav", "-r 44100 -c 2 -b 24 -e signed-integer");
    EXPECT_FALSE(load(file));
}

// Puts a chunk between "fmt " and "data" of a sox file and fixes the RIFF size.
std::vector<std::uint8_t> withChunkBeforeData(std::vector<std::uint8_t> bytes, const char* tag,
                                              const std::vector<std::uint8_t>& body) {
    // sox writes a 16-byte "fmt " for plain PCM, so "data" starts at 36.
    EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 40), "data");
    std::vector<std::uint8_t> chunk(tag, tag + 4);
    const std::uint32_t n = std::uint32_t(body.size());
    for (int i = 0; i < 4; ++i) chunk.push_back(std::uint8_t(n >> (8 * i)));
    chunk.insert(chunk.end(), body.begin(), body.end());
    bytes.insert(bytes.begin() + 36, chunk.begin(), chunk.end());
    const std::uint32_t riffSize = std::uint32_t(bytes.size() - 8);
    for (int i = 0; i < 4; ++i) bytes[4 + i] = std::uint8_t(riffSize >> (8 * i));
    return bytes;
}

TEST_F(SoxWave, ListChunkBeforeDataIsRefused) {
    const auto file = make("list.wav", "-r 8000 -c 1 -b 16");
    ASSERT_TRUE(load(file));
    const std::vector<std::uint8_t> body = {'I', 'N', 'F', 'O', 'I', 'S', 'F', 'T', 6,   0,
                                            0,   0,   't', 'a', 'v', 'i', 'z', 'o'};
    const auto listed = dir.path() / "listed.wav";
    writeAll(listed, withChunkBeforeData(readAll(file), "LIST", body));
    EXPECT_EQ(soxi("-s", listed), soxi("-s", file));  // sox itself still reads it
    EXPECT_FALSE(load(listed));

    // The same insertion with a "fact" chunk loads: only the chunk kind matters.
    const auto facted = dir.path() / "facted.wav";
    writeAll(facted, withChunkBeforeData(readAll(file), "fact", {0x10, 0, 0, 0}));
    const auto sound = load(facted);
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->samples(), rawSamples(file));
}

TEST_F(SoxWave, ToolPrintsTheFormatOrInvalid) {
    const auto tool = std::filesystem::current_path() / "tavizo-tool";
    if (!std::filesystem::exists(tool) && !std::filesystem::exists(tool.string() + ".exe"))
        GTEST_SKIP() << "tavizo-tool is not built next to the tests";
    const auto good = make("tool.wav", "-r 16000 -c 2 -b 16");
    std::string out;
    EXPECT_TRUE(runCapture(quote(tool) + " sound " + quote(good), dir.path(), out));
    EXPECT_EQ(out, "2 16000 16 4000\n");
    const auto bad = make("tool-f.wav", "-r 16000 -c 1 -b 32 -e floating-point");
    EXPECT_FALSE(runCapture(quote(tool) + " sound " + quote(bad), dir.path(), out));
    EXPECT_EQ(out, "invalid\n");
}

TEST(AlsaSampleSounds, LoadAsSoxDescribesThem) {
    const std::filesystem::path folder = "/usr/share/sounds/alsa";
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) GTEST_SKIP() << "alsa-utils' sample sounds are not installed";
    if (!haveSox()) GTEST_SKIP() << "sox is not installed (Debian package sox)";
    Testing::TempDir dir;
    int seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".wav") continue;
        ++seen;
        const auto sound = load(entry.path());
        ASSERT_TRUE(sound) << entry.path();
        std::string channels, rate, frames;
        ASSERT_TRUE(runCapture("soxi -c " + quote(entry.path()), dir.path(), channels));
        ASSERT_TRUE(runCapture("soxi -r " + quote(entry.path()), dir.path(), rate));
        ASSERT_TRUE(runCapture("soxi -s " + quote(entry.path()), dir.path(), frames));
        EXPECT_EQ(std::to_string(sound->format().channels) + "\n", channels);
        EXPECT_EQ(std::to_string(sound->format().samplesPerSecond) + "\n", rate);
        EXPECT_EQ(std::to_string(sound->frameCount()) + "\n", frames);
    }
    EXPECT_GT(seen, 0);
}

}  // namespace
