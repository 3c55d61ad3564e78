#pragma once

#include <cstdint>
#include <cstring>

namespace nt {

// A read-only view of untrusted bytes. Every read is checked against the end in 64-bit
// arithmetic; a read out of range gives 0, so a missed check can never touch other memory.
class Bytes {
  public:
    Bytes() = default;
    Bytes(const std::uint8_t* data, std::int64_t size) : data_(data), size_(size < 0 ? 0 : size) {}

    const std::uint8_t* data() const { return data_; }
    std::int64_t size() const { return size_; }

    // True when [offset, offset + length) lies inside the view.
    bool has(std::int64_t offset, std::int64_t length) const {
        return offset >= 0 && length >= 0 && offset <= size_ && length <= size_ - offset;
    }

    // The part [offset, offset + length), cut to what exists.
    Bytes sub(std::int64_t offset, std::int64_t length) const {
        if (offset < 0 || offset > size_) return {};
        if (length < 0 || length > size_ - offset) length = size_ - offset;
        return {data_ + offset, length};
    }

    std::uint8_t u8(std::int64_t at) const { return has(at, 1) ? data_[at] : 0; }
    std::uint16_t u16(std::int64_t at) const {
        return has(at, 2) ? static_cast<std::uint16_t>(data_[at] | data_[at + 1] << 8) : 0;
    }
    std::uint32_t u32(std::int64_t at) const {
        if (!has(at, 4)) return 0;
        return static_cast<std::uint32_t>(data_[at]) |
               static_cast<std::uint32_t>(data_[at + 1]) << 8 |
               static_cast<std::uint32_t>(data_[at + 2]) << 16 |
               static_cast<std::uint32_t>(data_[at + 3]) << 24;
    }
    std::int32_t i32(std::int64_t at) const { return static_cast<std::int32_t>(u32(at)); }
    std::uint32_t u32be(std::int64_t at) const {
        if (!has(at, 4)) return 0;
        return static_cast<std::uint32_t>(data_[at]) << 24 |
               static_cast<std::uint32_t>(data_[at + 1]) << 16 |
               static_cast<std::uint32_t>(data_[at + 2]) << 8 |
               static_cast<std::uint32_t>(data_[at + 3]);
    }
    std::uint16_t u16be(std::int64_t at) const {
        return has(at, 2) ? static_cast<std::uint16_t>(data_[at] << 8 | data_[at + 1]) : 0;
    }
    bool startsWith(const char* magic, std::int64_t length) const {
        return has(0, length) && std::memcmp(data_, magic, static_cast<std::size_t>(length)) == 0;
    }

  private:
    const std::uint8_t* data_ = nullptr;
    std::int64_t size_ = 0;
};

}  // namespace nt
