#pragma once

#include <cstdint>

#include <QString>

#include "platform/Bytes.h"

namespace nt::cli {

// A regular file mapped read-only into memory: its pages come straight from the page cache,
// never copied into a buffer of ours. Not valid for anything else (missing, a folder, a pipe,
// empty, over `maxBytes`); the reader then falls back to reading the file, which also
// gives the reason it cannot be read.
class MappedFile {
  public:
    MappedFile(const QString& path, std::int64_t maxBytes);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool valid() const { return data_ != nullptr; }
    Bytes bytes() const { return {data_, size_}; }

  private:
    const std::uint8_t* data_ = nullptr;
    std::int64_t size_ = 0;
};

}  // namespace nt::cli
