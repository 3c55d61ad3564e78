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
    push(ImagePatch(image));
}

void UndoImageWriter::takeFrom(Surface& surface, int slot) {
    push(surface.takeChanges(slot));
}

void UndoImageWriter::push(ImagePatch patch) {
    {
        std::lock_guard lock(mutex_);
        patches_.push_back(std::move(patch));
        pendingPath_ = QDir::current().absoluteFilePath(fileName_);
        if (!worker_.joinable()) worker_ = std::thread([this] { run(); });
    }
    wake_.notify_one();
}

QImage UndoImageWriter::latest() const {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return patches_.empty() && !applying_; });
    return image_;
}

void UndoImageWriter::flush() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return patches_.empty() && !applying_ && !writing_; });
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
        wake_.wait(lock, [this] { return !patches_.empty() || stop_; });
        if (patches_.empty()) return;  // stopping, and everything is written
        std::vector<ImagePatch> patches = std::exchange(patches_, {});
        const QString path = pendingPath_;
        applying_ = true;
        lock.unlock();
        for (const ImagePatch& p : patches) p.applyTo(image_);
        patches.clear();  // a whole picture taken is let go here, not on the canvas's thread
        lock.lock();
        applying_ = false;
        idle_.notify_all();               // latest() waits for this
        if (!patches_.empty()) continue;  // newer changes: write only the newest image
        writing_ = true;
        lock.unlock();
        const bool ok = write_(image_, path);
        lock.lock();
        writing_ = false;
        lastOk_ = ok;
        ++writesDone_;
        if (patches_.empty()) idle_.notify_all();
    }
}

}  // namespace nt
