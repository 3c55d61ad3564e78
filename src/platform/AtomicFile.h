#pragma once

#include <cstdint>
#include <optional>

#include <QSaveFile>
#include <QString>

#include "platform/Picture.h"

namespace nt {

// A picture file written through a temporary file in the same folder, renamed over the
// target only once every byte is written and the size is what was announced: a failure
// leaves an existing file as it was. The writers stream into it and report its reason.
class AtomicFile {
  public:
    // `expectedBytes` is the whole file's size (checked at commit, and what a full disk is
    // measured against).
    AtomicFile(const QString& path, std::int64_t expectedBytes);

    // False once any write has failed; later writes do nothing.
    bool write(const void* bytes, std::int64_t count);
    // Renames the file into place; the reason when it, or any write before, failed.
    std::optional<PictureError> commit();

  private:
    PictureError failure() const;

    QString path_;
    std::int64_t expected_;
    QSaveFile file_;
    bool ok_ = false;
};

}  // namespace nt
