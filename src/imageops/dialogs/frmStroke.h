#pragma once

// frmStroke: the frame dialog "图像边框".
//
// What "相框(&F)" (mnuStroke_Click) does around it (runStrokeCommand in ImageCommands.h does
// all of it):
//   frmStroke::ShowModal(this);
//   if DialogResult == 1: DrawFrame on the canvas with FrameWidth and FrameColor, in the
//       canvas's current line width and style (no busy window);
//   DialogResult := 2.
// The width box starts at "1" and becomes "1" again when it loses the focus reading as 0;
// the swatch starts black and a click on it opens the colour dialog (cancelling keeps the
// colour, silently). OK stores the swatch colour and the width rounded half to even, and
// sets DialogResult := 1; a width too large to matter is refused in the error window and
// the dialog stays open. Cancel (also Esc) sets 2. Created per showing and destroyed on
// close.

#include <functional>
#include <optional>

#include <QDialog>

#include "surface/Colour.h"
#include "surface/PictureBox.h"

class QLabel;
class QLineEdit;
class QPushButton;

class frmStroke : public QDialog {
    Q_OBJECT
  public:
    static void ShowModal(QWidget* owner);

    explicit frmStroke(QWidget* owner = nullptr);
    ~frmStroke() override;

    QLabel* Label1 = nullptr;  // "边框宽度:"
    QLineEdit* txtWidth = nullptr;
    QLabel* lblColor = nullptr;        // "边框颜色:"
    nt::PictureBox* pColor = nullptr;  // the swatch; its background is the frame colour
    QPushButton* cmdok = nullptr;
    QPushButton* cmdCancel = nullptr;

    // The colour dialog; tests replace it.
    std::function<std::optional<nt::Colour>(QWidget*, nt::Colour)> chooseColour;

    void pColor_Click();
    void txtWidth_LostFocus();
    void cmdok_Click();
    void cmdCancel_Click();

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void reject() override;  // Esc is the cancel button
};
