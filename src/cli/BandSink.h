#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/OutputFile.h"

namespace nt::cli {

// Takes a file's bytes a band at a time and writes them to an OutputFile. Behind the caller
// (on a thread of its own) when asked: the system's copy of one band into the page cache then
// overlaps the making of the next, which is the whole difference from copying the file.
class BandSink {
  public:
    BandSink(OutputFile& file, std::int64_t bandBytes, bool behind);
    ~BandSink();
    BandSink(const BandSink&) = delete;
    BandSink& operator=(const BandSink&) = delete;

    // A buffer of bandBytes to fill, then handed over with put().
    std::uint8_t* next();
    void put(std::int64_t bytes);
    // Waits for the writes; the reason of the first that failed.
    std::optional<std::string> finish();
    bool failed();

  private:
    void writeLoop();

    OutputFile& file_;
    std::vector<std::vector<std::uint8_t>> buffers_;
    std::size_t current_ = 0;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::pair<std::size_t, std::int64_t>> queued_;  // buffer, bytes
    std::vector<std::size_t> free_;
    std::optional<std::string> error_;
    bool closing_ = false;
    std::thread writer_;
};

}  // namespace nt::cli
