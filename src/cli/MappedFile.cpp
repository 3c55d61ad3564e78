#include "cli/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

namespace nt::cli {

MappedFile::MappedFile(const QString& path, std::int64_t maxBytes) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 && st.st_size <= maxBytes) {
        void* p = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ,
                         MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (p != MAP_FAILED) {
            // Read ahead of the decoder, which goes through the file once.
            ::madvise(p, static_cast<std::size_t>(st.st_size), MADV_SEQUENTIAL);
            data_ = static_cast<const std::uint8_t*>(p);
            size_ = st.st_size;
        }
    }
    ::close(fd);
}

MappedFile::~MappedFile() {
    if (data_) ::munmap(const_cast<std::uint8_t*>(data_), static_cast<std::size_t>(size_));
}

}  // namespace nt::cli
