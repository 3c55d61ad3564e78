#pragma once

// frmRgb: the colour adjustment dialog "红/蓝/绿 调整", with a live preview.
//
// What "调整红/绿/蓝(&A)" (mnuAdjust_Click) does around it (runAdjustCommand in
// ImageCommands.h does all of it):
//   frmRgb::ShowModal(this, canvas());
//   if DialogResult == 1: AdjustRgb on the canvas with AdjustRed, AdjustGreen, AdjustBlue
//       (no busy window);
//   DialogResult := 2.
// The three bars run -100..100 from 0. Every change redraws the left 80 x 80 square of
// pView from the canvas and runs AdjustRgb with the three values over the whole box, so
// the rest of the box, never redrawn, is shifted again by every change. OK stores the three
// values and sets DialogResult := 1; Cancel sets 2; the close box leaves it alone.
// Created per showing (all bars at 0) and destroyed on close.

#include <array>
#include <memory>

#include <QDialog>

#include "imageops/dialogs/DialogParts.h"
#include "surface/PictureBox.h"

class QLabel;
class QPushButton;
class QScrollBar;

class frmRgb : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kPreviewSide = 80;

    static void ShowModal(QWidget* owner, nt::Surface& canvas);

    frmRgb(nt::Surface& canvas, QWidget* owner = nullptr);
    ~frmRgb() override;

    std::array<QLabel*, 3> lblrgb{};     // "红色:", "绿色:", "蓝色:"
    std::array<QScrollBar*, 3> sbRgb{};  // red, green, blue: -100 .. 100
    std::array<QLabel*, 3> lblValue{};   // each bar's value
    nt::PictureBox* pView = nullptr;     // 336 x 80
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    void Form_Load();
    void sbRgb_Change(int Index);
    void cmdOK_Click();
    void cmdCancel_Click();

  private:
    void RefreshPreview();

    nt::dialogs::ShrunkCanvas shrunk_;
};
