#include <gtest/gtest.h>

#include "ExternalTools.h"
#include "WaveBytes.h"
#include "framework/Media/SoundResource.h"
#include "framework/Platform/NativePath.h"
#include "framework/Secure/PackageWriter.h"
#include "support/TestPaths.h"

using namespace Arbor::Media;
using Arbor::Secure::PackageWriter;
using Arbor::Secure::ResourceCache;
using Arbor::Secure::ResourceSlot;

namespace {

class SoundResource : public ::testing::Test {
protected:
    void SetUp() override {
        data = dir.path() / "Data" / "Mika";
        std::filesystem::create_directories(data / "voice");
    }
    std::unique_ptr<ResourceCache> cache() {
        return std::make_unique<ResourceCache>(Arbor::Platform::fromNativePath(data),
                                               std::u16string(Arbor::Secure::kPackagePassword));
    }
    Testing::TempDir dir;
    std::filesystem::path data;
};

TEST_F(SoundResource, PlainFileLoadsOnceAndIsShared) {
    ExternalTools::writeAll(data / "voice" / "hi.wav", WaveBytes::simpleWave({1, 2, 8000, 16}, 64));
    auto c = cache();
    const auto first = cachedSound(*c, u"voice\\hi.wav");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->format().channels, 2);
    EXPECT_EQ(first->samples(), WaveBytes::samples(64));
    EXPECT_TRUE(c->isCached(ResourceSlot::Sound, u"voice\\hi.wav"));
    std::filesystem::remove(data / "voice" / "hi.wav");
    EXPECT_EQ(cachedSound(*c, u"voice\\hi.wav"), first);
}

TEST_F(SoundResource, PackageEntryLoadsWhenNoPlainFileExists) {
    PackageWriter writer(std::u16string(Arbor::Secure::kPackagePassword));
    const auto packed = WaveBytes::simpleWave({1, 1, 11025, 8}, 300);
    ASSERT_TRUE(writer.add(u"voice\\packed.wav", packed, true, true));
    ASSERT_TRUE(writer.add(u"voice\\broken.wav", std::vector<std::uint8_t>(packed.begin(), packed.end() - 1), true,
                           true));
    ASSERT_TRUE(writer.writeTo(dir.path() / "Data" / "Mika.qnd"));
    auto c = cache();
    const auto sound = cachedSound(*c, u"voice\\packed.wav");
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->samples(), WaveBytes::samples(300));
    EXPECT_FALSE(cachedSound(*c, u"voice\\broken.wav"));
    EXPECT_FALSE(c->isCached(ResourceSlot::Sound, u"voice\\broken.wav"));
    EXPECT_FALSE(cachedSound(*c, u"voice\\PACKED.wav"));  // entry names match exactly
}

TEST_F(SoundResource, OnlyWaveFilesAreSounds) {
    const auto bytes = WaveBytes::simpleWave({}, 10);
    ExternalTools::writeAll(data / "a.bin", bytes);
    ExternalTools::writeAll(data / "b.WAV", bytes);
    auto c = cache();
    EXPECT_FALSE(cachedSound(*c, u"a.bin"));
    EXPECT_TRUE(cachedSound(*c, u"b.WAV"));
    EXPECT_FALSE(cachedSound(*c, u"missing.wav"));
}

}  // namespace
