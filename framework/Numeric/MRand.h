#pragma once
// The framework's random generator: an M-sequence of the trinomial x^521 + x^32 + 1,
// its 521-word state filled from a 32-bit seed by a linear congruential generator.
// The exact sequence matters: store files are scrambled with it, so a change here
// would make every saved store unreadable.
#include <array>
#include <cstdint>

namespace Arbor::Numeric {

class MRand {
public:
    static constexpr int kStateWords = 521;

    // Seeded with 0 until seed() is called.
    MRand();
    explicit MRand(std::uint32_t seed);
    MRand(const MRand&) = delete;
    MRand& operator=(const MRand&) = delete;
    virtual ~MRand() = default;

    virtual void seed(std::uint32_t seed);
    // The next 32-bit word of the sequence.
    std::uint32_t nextWord();
    // The next word scaled into [0, 1).
    virtual double next();

private:
    void refill();

    std::array<std::uint32_t, kStateWords> state_{};
    int index_ = kStateWords - 1;
};

}  // namespace Arbor::Numeric
