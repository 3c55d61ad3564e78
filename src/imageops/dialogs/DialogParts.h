#pragma once

// Pieces the image dialogs share: named controls (tests find them by the design's names),
// the plain dialog frame, the shrunken-canvas previews and the refusal notice.

#include <memory>
#include <optional>

#include <QString>

#include "imageops/InputChecks.h"
#include "surface/PictureBox.h"
#include "surface/Surface.h"

class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace nt::dialogs {

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text);
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& text);
QLineEdit* makeTextBox(QWidget* parent, const QString& name, const QString& text);

// Title and close box only: no window icon, no minimise or maximise, fixed size.
void usePlainFrame(QDialog& dialog, const QString& name, const QString& title);

// The whole canvas shrunk into a side x side square with the halftone stretch. The canvas
// cannot change while a modal dialog is open, so the square is computed once and every
// preview refresh copies it: the same pixels as stretching the canvas again each time.
class ShrunkCanvas {
  public:
    ShrunkCanvas(Surface& canvas, int side);
    // Copies the square to (0, 0) of the box.
    void drawInto(Surface& box);

  private:
    std::unique_ptr<Surface> square_;
};

// The colour dialog, starting from `start`; nothing when it was cancelled.
std::optional<Colour> askColour(QWidget* owner, Colour start);

// Shows a refused value in the error window, owned by `owner`.
void showRefusal(QWidget* owner, const InputError& error);

}  // namespace nt::dialogs
