#pragma once

#include <memory>

#include <QString>

namespace nt {

// An exclusive advisory lock on a file, held while the object lives and dropped by the system
// when the process ends in any way (a crash, a kill, a power cut ends the process too), so a
// free lock tells an ended owner from a running one. Two locks on the same file conflict even
// within one process. Programs this process starts do not inherit it.
class FileLock {
  public:
    // Takes the lock on `path`, creating the file (mode 0600) when missing; null when another
    // holder has it or the file cannot be opened.
    static std::unique_ptr<FileLock> tryLock(const QString& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

  private:
    explicit FileLock(int fd) : fd_(fd) {}
    int fd_;
};

}  // namespace nt
