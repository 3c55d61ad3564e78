#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include <QImage>
#include <QString>

#include "surface/ImagePatch.h"
#include "surface/Surface.h"

namespace nt {

// Keeps the canvas image of the last press (or snapshot) and writes it to a working file
// without making the press wait. The user-interface thread only hands over what changed; one
// background thread owns the image, brings it up to date and writes it, so the canvas never
// shares pixels it is about to draw into, and huge images are copied and freed off that thread.
// Changes that arrive while a write is running are applied after it and written once more, so
// the file always ends as the newest image. Write failures are not reported: the file then
// keeps its previous content.
class UndoImageWriter {
  public:
    // Writes `image` to `path`; true on success. The default writes a BMP atomically.
    using WriteFn = std::function<bool(const QImage& image, const QString& path)>;

    explicit UndoImageWriter(QString fileName, WriteFn write = {});
    ~UndoImageWriter();  // finishes the newest pending write
    UndoImageWriter(const UndoImageWriter&) = delete;
    UndoImageWriter& operator=(const UndoImageWriter&) = delete;

    // Takes `image` (shared; the background thread copies it); the file name resolves against
    // the current directory now.
    void take(const QImage& image);
    // The same for a surface's persistent image, from what changed since this writer last took
    // from `slot` (one slot per writer, and no take() mixed in): the press costs what the last
    // stroke touched.
    void takeFrom(Surface& surface, int slot);
    // The image of the last take (null before the first); waits until it is brought up to date.
    QImage latest() const;
    // Blocks until the newest image taken is written (or its write failed).
    void flush();
    // How the last finished write went; true before any write.
    bool lastWriteOk() const;
    // Number of writes actually carried out (superseded images are not written).
    int writesDone() const;

    static bool writeBmp(const QImage& image, const QString& path);

  private:
    void push(ImagePatch patch);
    void run();

    QString fileName_;
    WriteFn write_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    mutable std::condition_variable idle_;
    std::vector<ImagePatch> patches_;  // taken and not yet applied, oldest first
    QImage image_;                     // the worker's; written only while applying_
    QString pendingPath_;
    bool applying_ = false;
    bool writing_ = false;
    bool stop_ = false;
    bool lastOk_ = true;
    int writesDone_ = 0;
    std::thread worker_;  // started by the first take
};

}  // namespace nt
