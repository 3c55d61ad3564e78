#include "cli/OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

namespace nt::cli {

namespace {

std::string systemReason(int error) {
    return std::error_code(error, std::generic_category()).message();
}

// ".NAME.xxxxxxxx" in the folder of `path`: hidden, and on the same file system for the rename.
std::string temporaryName(const std::string& path, std::uint32_t salt) {
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%08x", salt);
    return folder + "." + name + suffix;
}

}  // namespace

OutputFile::OutputFile(const QString& path) {
    // A link is followed: its target gets the new picture, as a save through QSaveFile does.
    QFileInfo info(path);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth) info.setFile(info.symLinkTarget());
    path_ = QFile::encodeName(info.isSymLink() ? path : info.filePath()).toStdString();
}

OutputFile::~OutputFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!temp_.empty()) ::unlink(temp_.c_str());
}

std::optional<std::string> OutputFile::open() {
    std::random_device seed;
    std::minstd_rand salt(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = temporaryName(path_, static_cast<std::uint32_t>(salt()));
        // 0666 less the umask, as any new file gets.
        fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            temp_ = name;
            struct stat old {};
            if (::stat(path_.c_str(), &old) == 0 && S_ISREG(old.st_mode))
                ::fchmod(fd_, old.st_mode & 07777);
            return std::nullopt;
        }
        if (errno != EEXIST) return systemReason(errno);
    }
    return systemReason(EEXIST);
}

std::optional<std::string> OutputFile::write(const std::uint8_t* data, std::int64_t bytes) {
    const off_t start = written_;
    while (bytes > 0) {
        const ssize_t n = ::write(fd_, data, static_cast<std::size_t>(bytes));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return systemReason(n < 0 ? errno : ENOSPC);
        data += n;
        bytes -= n;
        written_ += n;
    }
    // The rename over an existing file makes ext4 start writing the new one out; starting each
    // piece as it comes spreads that over the writing instead of the rename. Only a hint: it
    // neither waits nor fails the write.
    ::sync_file_range(fd_, start, written_ - start, SYNC_FILE_RANGE_WRITE);
    return std::nullopt;
}

std::optional<std::string> OutputFile::commit() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return systemReason(errno);
    if (::rename(temp_.c_str(), path_.c_str()) != 0) return systemReason(errno);
    temp_.clear();
    return std::nullopt;
}

}  // namespace nt::cli
