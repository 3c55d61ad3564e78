#pragma once

#include <cstdint>

namespace nt {

// The program's one uniform generator, shared by the airbrush and the noise and diffuse
// filters. It is never seeded: every run starts from kStartState, so a sequence of commands
// gives the same picture every time.
//
// A permuted 64-bit linear congruential generator: the state steps as s * kMul + kInc and
// each draw is a scrambled function of the state before the step. Because the step is
// affine, any number of draws can be skipped in O(log n) (Jump), which lets the bulk
// filters hand out the draws of the defined visiting order to rows and threads in any
// order while every pixel still gets exactly the draw the sequence assigns to it.
class UniformRandom {
  public:
    static constexpr std::uint64_t kStartState = 0x4d595df4d0f33173ull;
    static constexpr std::uint64_t kMul = 6364136223846793005ull;
    static constexpr std::uint64_t kInc = 1442695040888963407ull;
    // Draws are multiples of 2^-24, so every one is exact as a float and as a double.
    static constexpr int kBits = 24;
    static constexpr std::uint32_t kOne = std::uint32_t{1} << kBits;

    // The affine map that advances the state by a fixed number of draws.
    struct Jump {
        std::uint64_t mul = 1;
        std::uint64_t add = 0;
        std::uint64_t operator()(std::uint64_t s) const { return s * mul + add; }
        static Jump draws(std::uint64_t n);
    };

    // The next value r, 0 <= r < 1.
    float next() { return static_cast<float>(nextBits()) * (1.0f / kOne); }
    // The same draw as next() as the integer r * 2^24.
    std::uint32_t nextBits() {
        const std::uint64_t s = state_;
        state_ = step(s);
        return bitsAt(s);
    }
    void discard(std::uint64_t n) { state_ = Jump::draws(n)(state_); }

    std::uint64_t state() const { return state_; }
    void setState(std::uint64_t s) { state_ = s; }

    static std::uint64_t step(std::uint64_t s) { return s * kMul + kInc; }
    // The draw a state yields, as r * 2^24.
    static std::uint32_t bitsAt(std::uint64_t s) {
        const auto x = static_cast<std::uint32_t>(((s >> 18) ^ s) >> 27);
        const auto rot = static_cast<unsigned>(s >> 59);
        const std::uint32_t mixed = (x >> rot) | (x << ((32u - rot) & 31u));
        return mixed >> (32 - kBits);
    }

  private:
    std::uint64_t state_ = kStartState;
};

}  // namespace nt
