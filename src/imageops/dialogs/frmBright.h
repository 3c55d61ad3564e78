#pragma once

// frmBright: the brightness dialog "亮度", with a live preview.
//
// What "亮度" (mnuBright_Click) does around it (runBrightCommand in ImageCommands.h does all
// of it):
//   frmBright::ShowModal(this, canvas());
//   if DialogResult == 6: Formloading::ShowBusy(this), then AdjustBrightness on the canvas
//       with BrightValue;
//   DialogResult := 2.
// The vertical bar runs from -100 at the top to 100 at the bottom, from 0. Every change
// redraws pView (130 x 130) from the canvas and runs AdjustBrightness over it. OK sets
// DialogResult := 6 and BrightValue; Cancel sets 2; the close box leaves it alone.
// Created per showing (bar at 0) and destroyed on close.

#include <QDialog>

#include "imageops/dialogs/DialogParts.h"
#include "surface/PictureBox.h"

class QLabel;
class QPushButton;
class QScrollBar;

class frmBright : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kPreviewSide = 130;

    static void ShowModal(QWidget* owner, nt::Surface& canvas);

    frmBright(nt::Surface& canvas, QWidget* owner = nullptr);
    ~frmBright() override;

    QLabel* lblBrightness = nullptr;  // "亮度"
    QScrollBar* sBar = nullptr;       // -100 (top) .. 100 (bottom)
    QLabel* lblValue = nullptr;
    nt::PictureBox* pView = nullptr;  // 130 x 130
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    void Form_Load();
    void sBar_Change();
    void cmdOK_Click();
    void cmdCancel_Click();

  private:
    void RefreshPreview();

    nt::dialogs::ShrunkCanvas shrunk_;
};
