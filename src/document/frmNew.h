#pragma once

// frmNew: the new-canvas dialog "新建画布".
//
// How a command uses it:
//   frmNew::ShowModal(this);
//   if (nt::globals().DialogResult == nt::GlobalSettings::kAccepted) { ...reset the canvas from
//       NewCanvasWidth / NewCanvasHeight / NewCanvasColor... }
//   nt::globals().DialogResult = nt::GlobalSettings::kIdle;
// Created per showing (so it always starts from "800", "500" and "白色") and destroyed on close.

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmNew : public QDialog {
    Q_OBJECT
  public:
    static void ShowModal(QWidget* owner);

    explicit frmNew(QWidget* owner = nullptr);

    QLabel* lblWidth = nullptr;
    QLineEdit* txtWidth = nullptr;
    QLabel* lblHeight = nullptr;
    QLineEdit* txtHeight = nullptr;
    QLabel* lblImagebk = nullptr;
    QComboBox* cboColor = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Image1 = nullptr;

    void cmdOK_Click();
    void cmdCancel_Click();

  protected:
    void showEvent(QShowEvent* e) override;
};
