#include "framework/Numeric/MRand.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framework/Numeric/GlobalRandom.h"
#include "framework/Numeric/Scramble.h"

using Arbor::Numeric::MRand;

// The expected words below come from a separate Python model of the generator, written
// from the algorithm's description (LCG seeding of 17 words, the shift spreading to 521
// words, three warm-up refills, x[j] ^= x[j+489] / x[j-32] refills) and run once; they
// were not taken from this implementation.

TEST(MRand, FirstWordsAfterSeedOne) {
    MRand random(1);
    const std::vector<std::uint32_t> expected{1108741070u, 2997198034u, 153029924u, 764396051u, 2953623497u};
    for (auto word : expected) {
        EXPECT_EQ(random.nextWord(), word);
    }
}

TEST(MRand, WordsAcrossTheSecondRefill) {
    MRand random(1);
    for (int i = 0; i < 520; ++i) {
        random.nextWord();
    }
    EXPECT_EQ(random.nextWord(), 2191472271u);
    EXPECT_EQ(random.nextWord(), 1185335675u);
    EXPECT_EQ(random.nextWord(), 2989651626u);
    EXPECT_EQ(random.nextWord(), 3157845042u);
}

TEST(MRand, OtherSeeds) {
    MRand zero(0);
    EXPECT_EQ(zero.nextWord(), 658119067u);
    EXPECT_EQ(zero.nextWord(), 1197358342u);
    EXPECT_EQ(zero.nextWord(), 1913192518u);
    MRand big(0xDEADBEEFu);
    EXPECT_EQ(big.nextWord(), 829523475u);
    EXPECT_EQ(big.nextWord(), 1296559153u);
    EXPECT_EQ(big.nextWord(), 1823899888u);
}

TEST(MRand, ReseedingRestartsTheSequence) {
    MRand random(7);
    random.seed(1);
    EXPECT_EQ(random.nextWord(), 1108741070u);
    EXPECT_DOUBLE_EQ(random.next(), 2997198034.0 / 4294967296.0);
}

TEST(MRand, NextStaysInTheUnitInterval) {
    MRand random(12345);
    for (int i = 0; i < 5000; ++i) {
        const double u = random.next();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
    }
}

TEST(Scramble, MatchesTheIndependentModel) {
    // Same Python model: byte ^= trunc(word / 2^32 * 255) & 0xFF.
    std::vector<std::uint8_t> bytes(16);
    for (int i = 0; i < 16; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i);
    }
    Arbor::Numeric::scramble(bytes.data(), bytes.size(), 1);
    const std::vector<std::uint8_t> expected{0x41, 0xb0, 0x0b, 0x2e, 0xab, 0xf2, 0xab, 0x07,
                                             0xf2, 0x5d, 0xa5, 0x58, 0x12, 0x04, 0x7a, 0x62};
    EXPECT_EQ(bytes, expected);
}

TEST(Scramble, TwiceWithTheSameSeedRestores) {
    std::vector<std::uint8_t> original;
    for (int i = 0; i < 3000; ++i) {
        original.push_back(static_cast<std::uint8_t>(i * 37 + 11));
    }
    auto bytes = original;
    Arbor::Numeric::scramble(bytes.data(), bytes.size(), 0x18bb5e10u);
    EXPECT_NE(bytes, original);
    Arbor::Numeric::scramble(bytes.data(), bytes.size(), 0x18bb5e10u);
    EXPECT_EQ(bytes, original);
}

TEST(Scramble, ZeroLengthTouchesNothing) {
    std::vector<std::uint8_t> bytes{1, 2, 3};
    Arbor::Numeric::scramble(bytes.data(), 0, 5);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{1, 2, 3}));
    Arbor::Numeric::scramble(nullptr, 0, 5);  // nor needs a buffer
}

TEST(GlobalRandom, IsOneSharedSource) {
    EXPECT_EQ(&Arbor::Numeric::globalRandom(), &Arbor::Numeric::globalRandom());
    const double u = Arbor::Numeric::globalUniform();
    EXPECT_GE(u, 0.0);
    EXPECT_LT(u, 1.0);
}
