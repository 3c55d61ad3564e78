#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>

namespace nt {

std::unique_ptr<FileLock> FileLock::tryLock(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    // Close-on-exec: a browser started from the help menu must not keep the lock of a crashed
    // window alive.
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return nullptr;
    // flock, not fcntl: its locks belong to the open file, so a second open conflicts even in
    // the same process, and the kernel drops them with the last descriptor.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<FileLock>(new FileLock(fd));
}

FileLock::~FileLock() {
    ::close(fd_);
}

}  // namespace nt
