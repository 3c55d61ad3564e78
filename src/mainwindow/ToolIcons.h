#pragma once

#include <QPixmap>

namespace nt {

// The 32 x 32 picture of a tool button, drawn on demand (index 0..21; null otherwise) at
// `scale` device pixels per pixel.
QPixmap toolIcon(int index, qreal scale = 1);

inline constexpr int kToolIconSize = 32;

}  // namespace nt
