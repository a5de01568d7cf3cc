#include "framework/Numeric/MRand.h"

namespace Arbor::Numeric {

MRand::MRand() {
    seed(0);
}

MRand::MRand(std::uint32_t seedValue) {
    seed(seedValue);
}

void MRand::seed(std::uint32_t s) {
    auto& x = state_;
    // The first 17 words take the top bit of 32 successive LCG states each.
    std::uint32_t u = 0;
    for (int i = 0; i <= 16; ++i) {
        for (int bit = 0; bit < 32; ++bit) {
            s = s * 1566083941u + 1u;
            u = (u >> 1) | (s & 0x80000000u);
        }
        x[i] = u;
    }
    // The rest are spread from them by shifts, so no two seeds share a long prefix.
    x[16] = (x[16] << 23) ^ (x[0] >> 9) ^ x[15];
    for (int i = 17; i < kStateWords; ++i) {
        x[i] = (x[i - 17] << 23) ^ (x[i - 16] >> 9) ^ x[i - 1];
    }
    // Warm up: the first refills still show the seeding pattern.
    refill();
    refill();
    refill();
    index_ = kStateWords - 1;
}

void MRand::refill() {
    auto& x = state_;
    for (int j = 0; j < 32; ++j) {
        x[j] ^= x[j + 489];
    }
    for (int j = 32; j < kStateWords; ++j) {
        x[j] ^= x[j - 32];
    }
}

std::uint32_t MRand::nextWord() {
    ++index_;
    if (index_ >= kStateWords) {
        refill();
        index_ = 0;
    }
    return state_[index_];
}

double MRand::next() {
    return static_cast<double>(nextWord()) * (1.0 / 4294967296.0);
}

}  // namespace Arbor::Numeric
