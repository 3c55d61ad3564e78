#pragma once

#include <atomic>
#include <thread>

namespace nt::cli {

// Turns Ctrl+C (SIGINT) and SIGTERM into a flag the work looks at between bands and between
// pictures, so an interrupted run removes its temporary files and writes no partial picture
// instead of dying mid-write. Construct it before any other thread starts: they inherit the
// blocked signals, and only this watch receives them.
class InterruptWatch {
  public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    const std::atomic<bool>& flag() const { return interrupted_; }
    // The exit status of a run that the signal stopped: 128 plus the signal's number.
    int exitStatus() const { return 128 + signal_.load(); }

  private:
    std::atomic<bool> interrupted_{false};
    std::atomic<bool> closing_{false};
    std::atomic<int> signal_{0};
    std::thread watcher_;
};

}  // namespace nt::cli
