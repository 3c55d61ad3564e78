#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace nt::cli {

// Bytes shared by the pictures in flight: a worker takes what its picture will need before it
// starts and gives it back when done, so the run never holds more than the budget. A picture
// larger than the whole budget still runs, alone.
class MemoryBudget {
  public:
    explicit MemoryBudget(std::int64_t bytes) : limit_(bytes) {}

    // Half of what the system reports available (MemAvailable), as the run's budget.
    static std::int64_t halfOfAvailable();

    void take(std::int64_t bytes);
    void give(std::int64_t bytes);
    // Adjusts a holding once the real need is known; never waits.
    void change(std::int64_t from, std::int64_t to);
    // The most held at once so far.
    std::int64_t peak();

  private:
    std::int64_t limit_;
    std::int64_t held_ = 0;
    std::int64_t peak_ = 0;
    std::mutex mutex_;
    std::condition_variable freed_;
};

// One picture's holding, given back when it ends.
class Reservation {
  public:
    Reservation(MemoryBudget& budget, std::int64_t bytes) : budget_(budget), bytes_(bytes) {
        budget_.take(bytes_);
    }
    ~Reservation() { budget_.give(bytes_); }
    Reservation(const Reservation&) = delete;
    Reservation& operator=(const Reservation&) = delete;

    void change(std::int64_t bytes) {
        budget_.change(bytes_, bytes);
        bytes_ = bytes;
    }

  private:
    MemoryBudget& budget_;
    std::int64_t bytes_;
};

}  // namespace nt::cli
