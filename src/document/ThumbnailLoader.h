#pragma once

#include <atomic>
#include <functional>
#include <thread>

#include <QImage>
#include <QObject>
#include <QSize>
#include <QStringList>

namespace nt {

// Makes the thumbnails of picture files on a thread of its own, so a list of pictures of
// 10000 x 10000 opens at once and fills in as they come. Each result reaches `show` on
// `receiver`'s thread (an unreadable file gives a null image); nothing arrives once the loader
// or the receiver is gone.
class ThumbnailLoader {
  public:
    using Show = std::function<void(int index, const QImage& thumbnail, QSize size)>;

    ThumbnailLoader(QObject* receiver, QStringList paths, int side, Show show);
    ~ThumbnailLoader();  // stops after the file being read
    ThumbnailLoader(const ThumbnailLoader&) = delete;
    ThumbnailLoader& operator=(const ThumbnailLoader&) = delete;

  private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace nt
