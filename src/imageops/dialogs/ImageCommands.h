#pragma once

// The canvas commands built on the image dialogs, whole: each shows its dialog modally
// owned by `owner`, acts on the canvas only when the dialog was accepted, and puts
// DialogResult back to 2. The main window's menu handlers call them, e.g.
//   void frmmain::mnuAdjust_Click() { nt::runAdjustCommand(this, canvas()); }
//   void frmmain::mnuScale_Click() {
//       if (nt::runScaleCommand(this, canvas())) { LayoutGrips(); UpdateScrollRanges();
//                                                  SetCanvasSizeText(); }
//   }
// None of them saves an undo image; only the brightness command shows the busy window.

#include <QString>

#include "surface/Surface.h"

class QWidget;

namespace nt {

// "拉伸(&S)": proposes the canvas size, shows frmScale, stretches the canvas. True when the
// canvas took a new size (the caller then re-places the handles, recomputes the scroll
// ranges and rewrites the canvas-size text).
bool runScaleCommand(QWidget* owner, Surface& canvas);
// "调整红/绿/蓝(&A)": frmRgb, then AdjustRgb with AdjustRed / AdjustGreen / AdjustBlue.
void runAdjustCommand(QWidget* owner, Surface& canvas);
// "亮度": frmBright, then the busy window and AdjustBrightness with BrightValue.
void runBrightCommand(QWidget* owner, Surface& canvas);
// "相框(&F)": frmStroke, then DrawFrame with FrameWidth and FrameColor in the canvas's pen.
void runStrokeCommand(QWidget* owner, Surface& canvas);
// "来自图片(&M)...": frmMask, then applyPictureBackground with MaskFileName.
void runMaskCommand(QWidget* owner, Surface& canvas);

// The stretch itself (area averaging). A size the program cannot hold is reported in the
// error window and leaves the canvas as it was; true when the canvas was stretched.
bool applyStretchCommand(QWidget* owner, Surface& canvas, int width, int height);

// Lays the picture file over the whole canvas, stretched to its size with colour averaging;
// pixels of exactly (255, 0, 255) in the stretched picture leave the canvas alone. An empty
// path changes nothing; a file the picture loader refuses is reported in the error window
// and changes nothing. True when the canvas was painted.
bool applyPictureBackground(QWidget* owner, Surface& canvas, const QString& path);

}  // namespace nt
