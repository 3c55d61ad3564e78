#pragma once

// frmAbout: "关于 NorvalyTintora", the product's name and version over its banner.
//
// The main window's "关于 NorvalyTintora(&A)..." shows it modally (frmAbout::ShowModal); it is
// made for each showing and goes with "确定(&O)". "系统信息(&S)..." runs StartSysInfo: this
// platform registers no system-information tool, so it says "此时系统信息不可用".

#include <QDialog>

class QLabel;
class QPushButton;

class frmAbout : public QDialog {
    Q_OBJECT
  public:
    static void ShowModal(QWidget* owner);
    // The width a window needs to show its whole title beside the window manager's icon and
    // three buttons.
    static int titleWidth(const QWidget& window);

    explicit frmAbout(QWidget* owner = nullptr);

    QLabel* Picture = nullptr;  // the window picture
    QLabel* lblVersion = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdsysinfo = nullptr;

    void cmdOK_Click();
    void cmdsysinfo_Click();
    // Starts the system-information tool where the platform has one; otherwise (here,
    // always) tells the user it is not available.
    void StartSysInfo();
};
