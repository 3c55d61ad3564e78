#include "mainwindow/UndoImageWriter.h"

#include <QDir>

#include "platform/Picture.h"

namespace nt {

UndoImageWriter::UndoImageWriter(QString fileName, WriteFn write)
    : fileName_(std::move(fileName)), write_(write ? std::move(write) : WriteFn(&writeBmp)) {}

UndoImageWriter::~UndoImageWriter() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

bool UndoImageWriter::writeBmp(const QImage& image, const QString& path) {
    return !savePictureBmp(image, path).has_value();
}

void UndoImageWriter::take(const QImage& image) {
    {
        std::lock_guard lock(mutex_);
        retired_.push_back(std::exchange(latest_, image));
        retired_.push_back(std::exchange(pending_, image));
        pendingOwned_ = false;
        pendingPath_ = QDir::current().absoluteFilePath(fileName_);
        hasPending_ = true;
        if (!worker_.joinable()) worker_ = std::thread([this] { run(); });
    }
    wake_.notify_one();
}

void UndoImageWriter::takeFrom(Surface& surface) {
    {
        std::lock_guard lock(mutex_);
        // The worker holds a reference only while it writes; then the copy is ours alone and
        // is updated in place.
        // Let go of our other references first, so updating the copy does not duplicate it.
        for (QImage* held : {&pending_, &latest_}) {
            if (held->constBits() == copy_.constBits())
                *held = QImage();
            else
                retired_.push_back(std::exchange(*held, QImage()));
        }
        surface.updateCopy(copy_);
        latest_ = copy_;
        pending_ = copy_;
        pendingOwned_ = true;
        pendingPath_ = QDir::current().absoluteFilePath(fileName_);
        hasPending_ = true;
        if (!worker_.joinable()) worker_ = std::thread([this] { run(); });
    }
    wake_.notify_one();
}

QImage UndoImageWriter::latest() const {
    std::lock_guard lock(mutex_);
    return latest_;
}

void UndoImageWriter::flush() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !hasPending_ && !writing_; });
}

bool UndoImageWriter::lastWriteOk() const {
    std::lock_guard lock(mutex_);
    return lastOk_;
}

int UndoImageWriter::writesDone() const {
    std::lock_guard lock(mutex_);
    return writesDone_;
}

void UndoImageWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return hasPending_ || !retired_.empty() || stop_; });
        std::vector<QImage> retired = std::exchange(retired_, {});
        if (!hasPending_) {
            lock.unlock();
            retired.clear();
            lock.lock();
            if (stop_ && !hasPending_ && retired_.empty()) return;
            continue;
        }
        QImage shared = std::exchange(pending_, QImage());
        const bool owned = pendingOwned_;
        const QString path = pendingPath_;
        hasPending_ = false;
        writing_ = true;
        lock.unlock();
        retired.clear();
        QImage own;
        if (owned) {
            own = std::move(shared);  // our own copy: nobody draws into it while we write
        } else {
            own = shared.copy();
            QImage dropped;
            lock.lock();
            if (latest_.constBits() == shared.constBits()) dropped = std::exchange(latest_, own);
            lock.unlock();
            dropped = QImage();
            shared = QImage();  // the canvas no longer shares its pixels with us
        }
        const bool ok = write_(own, path);
        own = QImage();
        lock.lock();
        writing_ = false;
        lastOk_ = ok;
        ++writesDone_;
        if (!hasPending_) idle_.notify_all();
    }
}

}  // namespace nt
