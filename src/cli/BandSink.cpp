#include "cli/BandSink.h"

namespace nt::cli {

namespace {
// Three buffers: one being filled, one being written, one ready in between.
constexpr std::size_t kBuffersBehind = 3;
}  // namespace

BandSink::BandSink(OutputFile& file, std::int64_t bandBytes, bool behind) : file_(file) {
    buffers_.resize(behind ? kBuffersBehind : 1,
                    std::vector<std::uint8_t>(static_cast<std::size_t>(bandBytes)));
    if (!behind) return;
    for (std::size_t i = 1; i < buffers_.size(); ++i) free_.push_back(i);
    writer_ = std::thread([this] { writeLoop(); });
}

BandSink::~BandSink() {
    finish();
}

std::uint8_t* BandSink::next() {
    return buffers_[current_].data();
}

void BandSink::put(std::int64_t bytes) {
    if (!writer_.joinable()) {
        if (!error_) error_ = file_.write(buffers_[current_].data(), bytes);
        return;
    }
    std::unique_lock lock(mutex_);
    queued_.emplace_back(current_, bytes);
    changed_.notify_all();
    changed_.wait(lock, [this] { return !free_.empty(); });
    current_ = free_.back();
    free_.pop_back();
}

std::optional<std::string> BandSink::finish() {
    if (writer_.joinable()) {
        {
            const std::lock_guard lock(mutex_);
            closing_ = true;
            changed_.notify_all();
        }
        writer_.join();
    }
    return error_;
}

bool BandSink::failed() {
    const std::lock_guard lock(mutex_);
    return error_.has_value();
}

void BandSink::writeLoop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return closing_ || !queued_.empty(); });
        if (queued_.empty()) return;
        const auto [buffer, bytes] = queued_.front();
        queued_.pop_front();
        const bool skip = error_.has_value();
        lock.unlock();
        // After a failed write the rest is dropped: the file will not be committed.
        auto error = skip ? std::nullopt : file_.write(buffers_[buffer].data(), bytes);
        lock.lock();
        if (error) error_ = std::move(error);
        free_.push_back(buffer);
        changed_.notify_all();
    }
}

}  // namespace nt::cli
