#pragma once

// The internal clipboard's work on pictures: copying a selection out of the canvas, clearing
// it, and placing the clipboard back centred on the pointer. Window-free: the main window's
// edit commands and its pointer pipeline call these with its surfaces.

#include <cstdint>

#include <QImage>
#include <QRectF>

#include "surface/Surface.h"

namespace nt {

// A selection in whole canvas pixels. Like the rectangle shape that shows it, it covers both
// corner pixels: width + 1 columns from left, height + 1 rows from top.
struct SelectionPixels {
    std::int64_t left = 0, top = 0, width = 0, height = 0;

    static SelectionPixels of(const QRectF& area);
    std::int64_t columns() const { return width + 1; }
    std::int64_t rows() const { return height + 1; }
};

// The selection as a picture of columns() x rows(), taken from the canvas's persistent image;
// what lies outside the canvas takes the canvas's background colour. Throws SurfaceSizeError,
// before allocating, when that size is beyond the project's limit.
QImage copySelectionPicture(const Surface& canvas, const SelectionPixels& selection);

// Fills the selection, both corners included, with the canvas's background colour in its
// persistent image.
void eraseSelection(Surface& canvas, const SelectionPixels& selection);

// Draws the clipboard centred on (x, y) into the canvas's persistent image, or onto its
// screen only (a preview that the next Refresh takes away). Transparent skips the clipboard's
// pixels that equal the canvas's background colour. Whatever falls outside is clipped.
void placeClipboard(Surface& canvas, bool persistent, Surface& clipboard, double x, double y,
                    bool transparent);
// The preview of a paste at (x, y): the last preview taken away, this one put on the screen.
void previewClipboard(Surface& canvas, Surface& clipboard, double x, double y, bool transparent);

}  // namespace nt
