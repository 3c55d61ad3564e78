#include "mainwindow/LibraryLister.h"

namespace nt {

LibraryLister::LibraryLister(QObject* parent) : QObject(parent) {
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &LibraryLister::step);
}

void LibraryLister::start(const QString& folder) {
    it_ = std::make_unique<QDirIterator>(folder, QStringList{QStringLiteral("*.bmp")},
                                         QDir::Files | QDir::Hidden | QDir::System);
    timer_.start();
}

void LibraryLister::step() {
    QStringList names;
    for (int i = 0; i < kChunk && it_->hasNext(); ++i) {
        it_->next();
        names << it_->fileName();
    }
    if (!names.isEmpty()) emit found(names);
    if (it_->hasNext()) return;
    timer_.stop();
    it_.reset();
    emit finished();
}

}  // namespace nt
