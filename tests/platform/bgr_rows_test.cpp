// The 24-bit row conversions at every width around their 16-pixel steps, with the row's end
// at the end of readable memory, so a read or write past the row faults.
#include <cstring>
#include <vector>

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include "platform/BgrRows.h"

namespace {

// `bytes` of memory whose end is followed by a page that cannot be touched.
class Fenced {
  public:
    explicit Fenced(std::size_t bytes) {
        const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        size_ = (bytes + page - 1) / page * page + page;
        base_ = static_cast<std::uint8_t*>(
            mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        mprotect(base_ + size_ - page, page, PROT_NONE);
        data_ = base_ + size_ - page - bytes;
    }
    ~Fenced() { munmap(base_, size_); }
    std::uint8_t* data() { return data_; }

  private:
    std::uint8_t* base_;
    std::uint8_t* data_;
    std::size_t size_;
};

TEST(BgrRows, EveryWidthBothWaysWithinTheRow) {
    for (std::int64_t width = 0; width <= 100; width += width < 40 ? 1 : 7) {
        const auto n = static_cast<std::size_t>(width);
        Fenced bgr(3 * n), words(4 * n);
        auto* pixels = reinterpret_cast<nt::Pixel*>(words.data());
        for (std::size_t i = 0; i < 3 * n; ++i)
            bgr.data()[i] = static_cast<std::uint8_t>(i * 37 + 11);
        nt::bgrToPixels(bgr.data(), pixels, width);
        for (std::size_t x = 0; x < n; ++x) {
            const std::uint8_t* p = bgr.data() + 3 * x;
            ASSERT_EQ(pixels[x], 0xFF000000u | p[2] << 16 | p[1] << 8 | p[0])
                << "width " << width << " pixel " << x;
        }
        // Back, with alpha bytes that must not show.
        for (std::size_t x = 0; x < n; ++x) pixels[x] ^= static_cast<nt::Pixel>(x) << 24;
        const std::vector<std::uint8_t> before(bgr.data(), bgr.data() + 3 * n);
        std::memset(bgr.data(), 0xEE, 3 * n);
        nt::pixelsToBgr(pixels, bgr.data(), width);
        EXPECT_TRUE(std::equal(before.begin(), before.end(), bgr.data())) << "width " << width;
    }
}

}  // namespace
