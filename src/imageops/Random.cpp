#include "imageops/Random.h"

namespace nt {

UniformRandom::Jump UniformRandom::Jump::draws(std::uint64_t n) {
    // Square-and-multiply over the affine step: (m, a) composed with itself doubles the jump.
    Jump acc;
    std::uint64_t m = kMul;
    std::uint64_t a = kInc;
    while (n > 0) {
        if (n & 1u) {
            acc.mul *= m;
            acc.add = acc.add * m + a;
        }
        a *= m + 1;
        m *= m;
        n >>= 1;
    }
    return acc;
}

}  // namespace nt
