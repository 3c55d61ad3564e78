#pragma once

// frmMask: the picture background dialog "图片背景".
//
// What "来自图片(&M)..." (mnuMask_Click) does around it (runMaskCommand in ImageCommands.h
// does all of it):
//   frmMask::ShowModal(this, canvas());
//   if DialogResult == 1: ApplyPictureBackground with MaskFileName (applyPictureBackground:
//       the picture stretched over the whole canvas, pure magenta see-through; a file that
//       cannot be loaded is reported in the error window and changes nothing; an empty name
//       changes nothing);
//   DialogResult := 2.
// pView shows the canvas shrunk to 160 x 160. "..." asks for a file ("Open", no filter):
// a cancelled dialog shows "错误代码:32755" in the error window; a chosen file goes into the
// name box, and when the picture loader takes it, it is laid over the preview (magenta
// see-through, not reset first, so pictures pile up); when the loader refuses it the error
// window shows the loader's code and the preview stays. "复位" redraws the plain canvas but
// keeps the name. OK stores the name box's text into MaskFileName and sets DialogResult :=
// 1; Cancel sets 2; the close box leaves it alone. Created per showing and destroyed on
// close.

#include <functional>
#include <memory>

#include <QDialog>
#include <QImage>

#include "document/FileDialogs.h"
#include "imageops/dialogs/DialogParts.h"
#include "surface/PictureBox.h"

class QLabel;
class QLineEdit;
class QPushButton;

class frmMask : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kPreviewSide = 160;

    static void ShowModal(QWidget* owner, nt::Surface& canvas);

    frmMask(nt::Surface& canvas, QWidget* owner = nullptr);
    ~frmMask() override;

    QLabel* lblMask = nullptr;         // "图片背景文件:"
    QLineEdit* txtFilename = nullptr;  // read-only; only "..." fills it
    QPushButton* cmdOpen = nullptr;    // "..."
    nt::PictureBox* pView = nullptr;   // 160 x 160
    QPushButton* cmdReset = nullptr;   // "复位"
    QPushButton* cmdOK = nullptr;
    QPushButton* CmdCancel = nullptr;

    // The file dialog; tests replace it.
    std::function<QString(QWidget*, const nt::FileDialogRequest&)> chooseFile = &nt::runFileDialog;

    void Form_Load();
    void cmdOpen_Click();
    void cmdReset_Click();
    void cmdOK_Click();
    void CmdCancel_Click();

  private:
    void ResetPreview();
    void ComposePreview();

    nt::dialogs::ShrunkCanvas shrunk_;
    // The loaded picture, held only from the load to the preview it makes. A plain image
    // rather than a picture box: a large picture is not worth a second, screen copy.
    QImage pMask;
    std::unique_ptr<nt::Surface> pTmp;  // the picture stretched to the preview's size
};
