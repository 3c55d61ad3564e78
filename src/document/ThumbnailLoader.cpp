#include "document/ThumbnailLoader.h"

#include <QMetaObject>

#include "platform/PictureGlance.h"

namespace nt {

ThumbnailLoader::ThumbnailLoader(QObject* receiver, QStringList paths, int side, Show show) {
    thread_ = std::thread([this, receiver, paths = std::move(paths), side, show = std::move(show)] {
        for (int i = 0; i < paths.size() && !stop_; ++i) {
            const std::optional<PictureGlance> g = glancePicture(paths[i], side, false);
            const QImage thumb = g ? g->thumbnail : QImage();
            const QSize size = g ? g->size : QSize();
            // Queued on the receiver: dropped with it when it is destroyed first.
            QMetaObject::invokeMethod(
                receiver, [show, i, thumb, size] { show(i, thumb, size); }, Qt::QueuedConnection);
        }
    });
}

ThumbnailLoader::~ThumbnailLoader() {
    stop_ = true;
    thread_.join();
}

}  // namespace nt
