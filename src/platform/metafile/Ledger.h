#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

// The memory a metafile's player holds (decoded bitmaps, pattern brushes, clips, saved states,
// the path), counted against one cap. Whatever would pass the cap is refused before it is
// made, and playing ends there: a crafted file cannot take gigabytes.

namespace nt::mf {

class Ledger {
  public:
    explicit Ledger(std::int64_t cap) : cap_(cap) {}

    bool fits(std::int64_t bytes) const { return bytes >= 0 && bytes <= cap_ - held_; }
    // Takes `bytes` when they fit; otherwise takes nothing and marks the ledger refused.
    bool take(std::int64_t bytes) {
        if (!fits(bytes)) {
            refused_ = true;
            return false;
        }
        held_ += bytes;
        peak_ = std::max(peak_, held_);
        return true;
    }
    void give(std::int64_t bytes) { held_ -= bytes; }
    // Marks the ledger refused without taking anything: something could not be made.
    void refuse() { refused_ = true; }

    std::int64_t held() const { return held_; }
    std::int64_t peak() const { return peak_; }
    bool refused() const { return refused_; }

  private:
    std::int64_t cap_;
    std::int64_t held_ = 0, peak_ = 0;
    bool refused_ = false;
};

// Bytes taken from a ledger for as long as this lives; empty when they did not fit.
class Hold {
  public:
    Hold() = default;
    Hold(std::shared_ptr<Ledger> ledger, std::int64_t bytes) {
        if (ledger->take(bytes)) {
            ledger_ = std::move(ledger);
            bytes_ = bytes;
        }
    }
    Hold(Hold&& other) noexcept
        : ledger_(std::move(other.ledger_)), bytes_(std::exchange(other.bytes_, 0)) {}
    Hold& operator=(Hold&& other) noexcept {
        std::swap(ledger_, other.ledger_);
        std::swap(bytes_, other.bytes_);
        return *this;
    }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
    ~Hold() {
        if (ledger_) ledger_->give(bytes_);
    }
    explicit operator bool() const { return ledger_ != nullptr; }
    // Changes what is held to `bytes`; false (holding what it held) when the growth does not
    // fit.
    bool resize(std::int64_t bytes) {
        if (!ledger_) return false;
        if (bytes > bytes_ && !ledger_->take(bytes - bytes_)) return false;
        if (bytes < bytes_) ledger_->give(bytes_ - bytes);
        bytes_ = bytes;
        return true;
    }

  private:
    std::shared_ptr<Ledger> ledger_;
    std::int64_t bytes_ = 0;
};

}  // namespace nt::mf
