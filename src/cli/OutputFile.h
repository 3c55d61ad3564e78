#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <QString>

namespace nt::cli {

// A file written under a temporary name beside `path` and renamed over it only when complete,
// so `path` holds either what it held before or the whole new file, whatever happens to the
// run: the temporary file is removed unless committed. An existing file's permissions are
// kept. Errors are the system's reasons ("No space left on device").
//
// Not synced to the disk before the rename, as cp or a compiler does not: the sync costs more
// than writing the file does, and the rename still replaces the file whole (ext4 and the
// other journalled file systems write the new data before they commit such a rename).
class OutputFile {
  public:
    explicit OutputFile(const QString& path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    std::optional<std::string> open();
    std::optional<std::string> write(const std::uint8_t* data, std::int64_t bytes);
    std::optional<std::string> commit();

  private:
    std::string path_, temp_;
    int fd_ = -1;
    std::int64_t written_ = 0;
};

}  // namespace nt::cli
