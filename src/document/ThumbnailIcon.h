#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace nt {

// A thumbnail as a list item's icon, shown as it is when the item is selected too (styles
// tint the selected form of a plain icon).
inline QIcon thumbnailIcon(const QImage& thumbnail) {
    const QPixmap pixmap = QPixmap::fromImage(thumbnail);
    QIcon icon(pixmap);
    icon.addPixmap(pixmap, QIcon::Selected);
    return icon;
}

}  // namespace nt
