#pragma once

// warndywtd: the whole-picture delete window, "是否清空画布 - NorvalyTintora".
//
// How the main window uses it (mnuClear_Click, "删除(&D)..."):
//   warndywtd::ShowModal(SrcDc->surface(), this);   // nothing to do after it returns
// The user must first click the shredder picture (Image2), which reveals "删除" (Command2);
// "删除" clears the canvas to its background colour at its current size (no undo image is
// taken) and sets the shared DialogResult to 2. "取消" (Command1) or Escape at either step
// closes the window and leaves the canvas untouched. Created per use, destroyed on close.

#include <QDialog>

#include "surface/Surface.h"

class QLabel;
class QPushButton;

class warndywtd : public QDialog {
    Q_OBJECT
  public:
    // Shows a new instance modally, owned by `owner`, acting on `canvas`.
    static void ShowModal(nt::Surface& canvas, QWidget* owner);

    warndywtd(nt::Surface& canvas, QWidget* owner = nullptr);
    ~warndywtd() override;

    QLabel* Label1 = nullptr;  // the question
    QLabel* Label2 = nullptr;  // advice for deleting a part only
    QLabel* Label3 = nullptr;  // the step instruction
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;  // the shredder, clickable: first step
    QLabel* Image3 = nullptr;  // shown with the second step
    QLabel* Image4 = nullptr;
    QPushButton* Command1 = nullptr;  // "取消"
    QPushButton* Command2 = nullptr;  // "删除", hidden until Image2 is clicked

    void Form_Load();
    void Image2_Click();
    void Command1_Click();
    void Command2_Click();

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    nt::Surface& canvas_;
};
