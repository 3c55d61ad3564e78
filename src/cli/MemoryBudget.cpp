#include "cli/MemoryBudget.h"

#include <algorithm>
#include <fstream>
#include <string>

#include <unistd.h>

namespace nt::cli {

std::int64_t MemoryBudget::halfOfAvailable() {
    std::ifstream info("/proc/meminfo");
    const std::string key = "MemAvailable:";
    for (std::string line; std::getline(info, line);)
        if (line.starts_with(key)) return std::stoll(line.substr(key.size())) * 1024 / 2;  // kB
    // Without /proc: the free pages alone, which leaves out the page cache.
    return std::int64_t{sysconf(_SC_AVPHYS_PAGES)} * sysconf(_SC_PAGESIZE) / 2;
}

void MemoryBudget::take(std::int64_t bytes) {
    std::unique_lock lock(mutex_);
    freed_.wait(lock, [&] { return held_ == 0 || held_ + bytes <= limit_; });
    held_ += bytes;
    peak_ = std::max(peak_, held_);
}

void MemoryBudget::give(std::int64_t bytes) {
    const std::lock_guard lock(mutex_);
    held_ -= bytes;
    freed_.notify_all();
}

void MemoryBudget::change(std::int64_t from, std::int64_t to) {
    const std::lock_guard lock(mutex_);
    held_ += to - from;
    peak_ = std::max(peak_, held_);
    freed_.notify_all();
}

std::int64_t MemoryBudget::peak() {
    const std::lock_guard lock(mutex_);
    return peak_;
}

}  // namespace nt::cli
