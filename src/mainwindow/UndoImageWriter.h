#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include <QImage>
#include <QString>

#include "surface/Surface.h"

namespace nt {

// Keeps the canvas image of the last press and writes it to a working file without making the
// press wait. take() only keeps a reference to the image (QImage shares its pixels); one
// background thread first gives the kept image pixels of its own, so that the canvas can draw
// again without copying them (unless it draws before that copy is done), then writes it.
// Images that are let go are freed on that thread too: freeing a huge picture is not free.
// An image not yet being written when a newer one arrives is dropped, and a write in progress
// is followed by the newer one, so the file always ends as the newest image. Write failures
// are not reported: the file then keeps its previous content.
class UndoImageWriter {
  public:
    // Writes `image` to `path`; true on success. The default writes a BMP atomically.
    using WriteFn = std::function<bool(const QImage& image, const QString& path)>;

    explicit UndoImageWriter(QString fileName, WriteFn write = {});
    ~UndoImageWriter();  // finishes the newest pending write
    UndoImageWriter(const UndoImageWriter&) = delete;
    UndoImageWriter& operator=(const UndoImageWriter&) = delete;

    // Takes the image of this press; the file name resolves against the current directory now.
    void take(const QImage& image);
    // The same for a surface's persistent image, kept in a copy of our own that is brought up
    // to date with what changed since the last press: the press costs what the last stroke
    // touched, and the canvas never shares its pixels with the writer (so drawing right after
    // the press copies nothing). Only while an earlier write is still running does the copy
    // have to be duplicated first.
    void takeFrom(Surface& surface);
    // The image of the last take (null before the first).
    QImage latest() const;
    // Blocks until the newest image taken is written (or its write failed).
    void flush();
    // How the last finished write went; true before any write.
    bool lastWriteOk() const;
    // Number of writes actually carried out (superseded images are not written).
    int writesDone() const;

    static bool writeBmp(const QImage& image, const QString& path);

  private:
    void run();

    QString fileName_;
    WriteFn write_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    QImage latest_;
    QImage pending_;
    bool pendingOwned_ = false;  // pending_ is copy_, not shared with a canvas
    QImage copy_;                // takeFrom's own copy of the canvas
    QString pendingPath_;
    std::vector<QImage> retired_;  // let go by take(), freed by the worker
    bool hasPending_ = false;
    bool writing_ = false;
    bool stop_ = false;
    bool lastOk_ = true;
    int writesDone_ = 0;
    std::thread worker_;  // started by the first take
};

}  // namespace nt
