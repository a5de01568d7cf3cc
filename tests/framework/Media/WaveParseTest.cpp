#include <gtest/gtest.h>

#include <fstream>

#include "WaveBytes.h"
#include "framework/Media/SoundLoader.h"
#include "framework/Platform/NativePath.h"
#include "framework/Platform/ProgramLocation.h"
#include "framework/Text/Utf.h"
#include "support/TestPaths.h"

using namespace Arbor::Media;
using namespace WaveBytes;

namespace {

std::unique_ptr<Sound> parse(const std::vector<std::uint8_t>& bytes) { return parseWave(bytes.data(), bytes.size()); }

TEST(WaveParse, SixteenByteFormatChunkLoads) {
    const auto sound = parse(simpleWave({1, 2, 22050, 16}, 400));
    ASSERT_TRUE(sound);
    EXPECT_TRUE(sound->isLoaded());
    EXPECT_EQ(sound->format().formatTag, 1);
    EXPECT_EQ(sound->format().channels, 2);
    EXPECT_EQ(sound->format().samplesPerSecond, 22050u);
    EXPECT_EQ(sound->format().averageBytesPerSecond, 22050u * 4);
    EXPECT_EQ(sound->format().blockAlign, 4);
    EXPECT_EQ(sound->format().bitsPerSample, 16);
    EXPECT_EQ(sound->format().extraSize, 0);  // the two bytes after 16 belong to "data"
    EXPECT_EQ(sound->frameCount(), 100u);
    EXPECT_EQ(sound->samples(), samples(400));
}

TEST(WaveParse, HeaderTemplateDescribesTheWholeBlock) {
    const auto sound = parse(simpleWave({}, 123));
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->header().data, sound->samples().data());
    EXPECT_EQ(sound->header().bufferLength, 123u);
    EXPECT_EQ(sound->header().flags, 12u);
    EXPECT_EQ(sound->header().loops, 1u);
}

TEST(WaveParse, EighteenByteFormatChunkWithNoExtraLoads) {
    std::vector<std::uint8_t> chunks;
    putChunk(chunks, "fmt ", fmtBody({}, true, 0));
    putChunk(chunks, "data", samples(50));
    const auto sound = parse(riff(chunks));
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->samples(), samples(50));
}

TEST(WaveParse, ExtraFormatBytesAreSkipped) {
    std::vector<std::uint8_t> chunks;
    putChunk(chunks, "fmt ", fmtBody({}, true, 6));
    putChunk(chunks, "data", samples(10));
    const auto sound = parse(riff(chunks));
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->format().extraSize, 6);
    EXPECT_EQ(sound->samples(), samples(10));
}

TEST(WaveParse, FactChunkIsAllowedBeforeData) {
    std::vector<std::uint8_t> fact;
    put32(fact, 77);
    for (bool extraSize : {false, true}) {
        std::vector<std::uint8_t> chunks;
        putChunk(chunks, "fmt ", fmtBody({}, extraSize, 0));
        putChunk(chunks, "fact", fact);
        putChunk(chunks, "data", samples(77));
        const auto sound = parse(riff(chunks));
        ASSERT_TRUE(sound) << extraSize;
        EXPECT_EQ(sound->samples(), samples(77));
    }
}

TEST(WaveParse, OtherChunkBeforeDataIsRefused) {
    std::vector<std::uint8_t> info = {'I', 'N', 'F', 'O', 'I', 'S', 'F', 'T', 2, 0, 0, 0, 'x', 0};
    std::vector<std::uint8_t> chunks;
    putChunk(chunks, "fmt ", fmtBody({}, false));
    putChunk(chunks, "LIST", info);
    putChunk(chunks, "data", samples(20));
    EXPECT_FALSE(parse(riff(chunks)));
}

TEST(WaveParse, FloatAndOtherFormatTagsAreRefused) {
    for (unsigned tag : {0u, 2u, 3u, 6u, 0xFFFEu}) {
        std::vector<std::uint8_t> chunks;
        putChunk(chunks, "fmt ", fmtBody({tag, 1, 8000, 32}, true, 0));
        putChunk(chunks, "data", samples(64));
        EXPECT_FALSE(parse(riff(chunks))) << tag;
    }
}

TEST(WaveParse, ShortDataBlockIsRefused) {
    auto bytes = simpleWave({}, 100);
    EXPECT_TRUE(parse(bytes));
    bytes.pop_back();
    EXPECT_FALSE(parse(bytes));
}

TEST(WaveParse, DataSizeBeyondFourGigabytesOfFileIsRefusedWithoutAllocating) {
    std::vector<std::uint8_t> chunks;
    putChunk(chunks, "fmt ", fmtBody({}, false));
    putTag(chunks, "data");
    put32(chunks, 0xFFFFFFF0u);
    EXPECT_FALSE(parse(riff(chunks)));
}

TEST(WaveParse, EmptyDataBlockLoads) {
    const auto sound = parse(simpleWave({}, 0));
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->header().bufferLength, 0u);
    EXPECT_EQ(sound->frameCount(), 0u);
}

TEST(WaveParse, BadMagicIsRefused) {
    const auto good = simpleWave({}, 8);
    for (std::size_t at : {0u, 8u, 12u, 36u}) {
        auto bad = good;
        bad[at] = 'X';
        EXPECT_FALSE(parse(bad)) << at;
    }
}

TEST(WaveParse, EveryTruncationIsRefusedAndStaysInBounds) {
    std::vector<std::uint8_t> fact;
    put32(fact, 5);
    std::vector<std::uint8_t> chunks;
    putChunk(chunks, "fmt ", fmtBody({1, 1, 8000, 8}, true, 4));
    putChunk(chunks, "fact", fact);
    putChunk(chunks, "data", samples(5));
    const auto whole = riff(chunks);
    ASSERT_TRUE(parse(whole));
    for (std::size_t n = 0; n < whole.size(); ++n) {
        // An exact-size copy, so that a read past the end shows under the sanitizers.
        std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + long(n));
        EXPECT_FALSE(parseWave(cut.empty() ? nullptr : cut.data(), cut.size())) << n;
    }
}

TEST(WaveParse, SixteenByteFormatAtTheVeryEndIsRefused) {
    std::vector<std::uint8_t> chunks;
    putChunk(chunks, "fmt ", fmtBody({}, false));
    EXPECT_FALSE(parse(riff(chunks)));
}

TEST(WaveParse, ExtraSizeBeyondTheFileIsRefused) {
    std::vector<std::uint8_t> chunks;
    putChunk(chunks, "fmt ", fmtBody({}, true, 0));
    chunks[8 + 16] = 0xFF;
    chunks[8 + 17] = 0xFF;  // extra size 65535
    putChunk(chunks, "data", samples(4));
    EXPECT_FALSE(parse(riff(chunks)));
}

TEST(WaveExtension, OnlyWavInAnyCase) {
    EXPECT_TRUE(hasWaveExtension(u"a.wav"));
    EXPECT_TRUE(hasWaveExtension(u"Data\\x.y\\A.WaV"));
    EXPECT_FALSE(hasWaveExtension(u"a.wave"));
    EXPECT_FALSE(hasWaveExtension(u"a.wav.bak"));
    EXPECT_FALSE(hasWaveExtension(u"wav"));
    EXPECT_FALSE(hasWaveExtension(u""));
    EXPECT_FALSE(hasWaveExtension(u"a.mp3"));
}

TEST(WaveLoad, MemoryFormChecksTheName) {
    const auto bytes = simpleWave({}, 16);
    EXPECT_TRUE(loadSoundMemory(bytes.data(), bytes.size(), u"voice\\hello.WAV"));
    EXPECT_FALSE(loadSoundMemory(bytes.data(), bytes.size(), u"hello.ogg"));
    EXPECT_FALSE(loadSoundMemory(bytes.data(), bytes.size(), u"hello"));
}

TEST(WaveLoad, FileFormMatchesMemoryForm) {
    Testing::TempDir dir;
    const auto bytes = simpleWave({1, 2, 11025, 8}, 300);
    std::ofstream(dir.path() / "s.wav", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    std::ofstream(dir.path() / "s.txt", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    const std::u16string base = Arbor::Platform::fromNativePath(dir.path());
    const auto sound = loadSoundFile(base + u"\\s.wav");
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->samples(), samples(300));
    EXPECT_EQ(sound->format().channels, 2);
    EXPECT_FALSE(loadSoundFile(base + u"\\s.txt"));
    EXPECT_FALSE(loadSoundFile(base + u"\\missing.wav"));
    std::filesystem::create_directory(dir.path() / "folder.wav");
    EXPECT_FALSE(loadSoundFile(base + u"\\folder.wav"));
}

TEST(WaveLoad, TruncatedFileIsRefused) {
    Testing::TempDir dir;
    auto bytes = simpleWave({}, 300);
    bytes.resize(bytes.size() - 1);
    std::ofstream(dir.path() / "cut.wav", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    EXPECT_FALSE(loadSoundFile(Arbor::Platform::fromNativePath(dir.path()) + u"\\cut.wav"));
}

}  // namespace

namespace {

TEST(WaveLoad, RelativePathIsRetriedBelowTheProgramDirectory) {
    const auto programDir = Arbor::Platform::executableDirectory();
    ASSERT_FALSE(programDir.empty());
    const std::string name = "wave-retry-" + std::to_string(std::hash<std::string>{}(programDir.string()) % 100000);
    const auto file = programDir / (name + ".wav");
    {
        const auto bytes = simpleWave({}, 24);
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    // Stand somewhere else, so that only the retry can find the file.
    Testing::TempDir elsewhere;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere.path());
    const auto sound = loadSoundFile(Arbor::Text::fromUtf8(name + ".wav"));
    const auto missing = loadSoundFile(Arbor::Text::fromUtf8(name + "-not-there.wav"));
    std::filesystem::current_path(previous);
    std::filesystem::remove(file);
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->samples(), samples(24));
    EXPECT_FALSE(missing);
}

}  // namespace
