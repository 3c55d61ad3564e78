#pragma once

#include <QPixmap>

namespace nt {

inline constexpr int kBannerWidth = 483, kBannerHeight = 176;

// The about box's picture, drawn in code so the program needs no picture file: the name on
// a sky gradient with a brush stroke and the palette's colours.
QPixmap aboutBanner();

}  // namespace nt
