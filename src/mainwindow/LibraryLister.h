#pragma once

#include <memory>

#include <QDirIterator>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace nt {

// Lists the "*.bmp" files of one folder (names only, in the order the file system returns
// them, the extension matched without regard to case) a few at a time from the event loop,
// so that a folder of any size leaves the window responsive. A missing folder lists nothing.
class LibraryLister : public QObject {
    Q_OBJECT
  public:
    explicit LibraryLister(QObject* parent = nullptr);

    // Starts listing `folder`; a listing still running is abandoned.
    void start(const QString& folder);
    bool running() const { return timer_.isActive(); }

    // Entries handled per turn of the event loop.
    static constexpr int kChunk = 128;

  signals:
    void found(const QStringList& names);
    void finished();

  private:
    void step();

    std::unique_ptr<QDirIterator> it_;
    QTimer timer_;
};

}  // namespace nt
