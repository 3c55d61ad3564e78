#pragma once

// frmScale: the stretch dialog "图像拉伸".
//
// What "拉伸(&S)" (mnuScale_Click) does around it; runScaleCommand (ImageCommands.h) does
// steps 1 to 4 and returns true when the canvas took the new size:
//   1. NewCanvasHeight := canvas height, NewCanvasWidth := canvas width;
//   2. frmScale::ShowModal(this);
//   3. if DialogResult == 1: StretchCanvas to NewCanvasWidth x NewCanvasHeight
//      (applyStretchCommand), then LayoutGrips, UpdateScrollRanges and the canvas-size text
//      of status panel 3;
//   4. DialogResult := 2.
// The dialog shows NewCanvasWidth / NewCanvasHeight, and on OK stores the typed size into
// them at once; a size below 1 or beyond the picture limit shows "错误代码:Ne12" in the
// error window and keeps the dialog open; otherwise DialogResult := 1. Cancel sets 2; the
// close box leaves DialogResult alone. Created per showing and destroyed on close.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class frmScale : public QDialog {
    Q_OBJECT
  public:
    static void ShowModal(QWidget* owner);

    explicit frmScale(QWidget* owner = nullptr);

    QLabel* lblWidth = nullptr;
    QLineEdit* txtWidth = nullptr;
    QLabel* lblheight = nullptr;
    QLineEdit* txtHeight = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();
};
