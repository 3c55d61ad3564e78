#pragma once

// save: the window "是否保存文件 - NorvalyTintora" shown before the canvas is discarded.
//
// How the main window uses it (close request, "退出(&X)", new canvas):
//   const bool answered = save::ShowModal(SrcDc->surface().Image(), this, backup1Path);
// It can only be left by saving through "保存" or by pushing the slider to its right end
// (which writes the canvas to `backup1Path`, the session's "backup1.bmp", and declines). One
// instance for the whole run: it is hidden, never destroyed, so its answer flag (Tag), its folder
// and its single beep belong to the run.

#include <functional>

#include <QDialog>
#include <QImage>

#include "document/FileDialogs.h"

class QLabel;
class QPushButton;
class QScrollBar;
class QTimer;

class save : public QDialog {
    Q_OBJECT
  public:
    // The one instance, created on first use.
    static save* Instance(QWidget* owner);
    // Shows the window modally for this canvas image; true when the user has answered.
    static bool ShowModal(const QImage& canvas, QWidget* owner, const QString& backupPath);

    explicit save(QWidget* owner = nullptr);

    // Shows this window modally for the canvas image; true when the user has answered.
    bool showFor(const QImage& canvas);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* Command1 = nullptr;  // "保存"
    QScrollBar* HScroll1 = nullptr;   // 0..4; the right end declines
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;  // the blinking hint
    QTimer* Timer1 = nullptr;

    QString Tag;             // "1" once the user saved or declined; never cleared
    QString SaveLastFolder;  // initial folder of this window's own file dialog
    // Where declining writes the canvas; relative names resolve against the current directory.
    QString backupPath = QStringLiteral("backup1.bmp");

    // The file dialog; tests replace it.
    std::function<QString(QWidget*, const nt::FileDialogRequest&)> chooseFile = &nt::runFileDialog;
    // Sounds once, at the first showing.
    std::function<void()> beep;

    void Command1_Click();
    void HScroll1_Change();
    void Timer1_Timer();

  protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void reject() override;  // Escape does not leave this window

  private:
    QImage canvas_;
    bool beeped_ = false;
    bool adjusting_ = false;
};
