#pragma once

// errbox: the error notice, "Norvaly提醒您:错误".
//
// How a command reports a failure (error handlers of the file and canvas commands):
//   nt::ShowError(this, nt::errorCodeLine(481), QStringLiteral("无效图片"));
//   nt::ShowError(this, QStringLiteral("错误代码:Ne1"), nt::badPixelCountReason());
// which does the three steps in order: set Label2 (code line), set Label3 (reason), show the
// window modally owned by `owner`. The window beeps once when it is created, adds the
// advice line for "无效图片" within 500 ms, closes on "我知道啦!" (also Enter) and on
// "我要反馈" opens the forum page in the system's browser and closes. One instance at a
// time, created on first access and destroyed when closed.

#include <functional>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QString>

class QLabel;
class QPushButton;
class QTimer;

class errbox : public QDialog {
    Q_OBJECT
  public:
    // The one instance, created (with its beep) on first access.
    static errbox* Instance(QWidget* owner);

    // `beep` sounds once, here; the default is the system beep.
    explicit errbox(QWidget* owner = nullptr, std::function<void()> beep = &QApplication::beep);
    ~errbox() override;

    QLabel* Label1 = nullptr;  // "发生错误!"
    QLabel* Label2 = nullptr;  // code line, set by the caller
    QLabel* Label3 = nullptr;  // reason, set by the caller
    QLabel* Label4 = nullptr;  // advice, set by the window itself
    QLabel* Image1 = nullptr;
    QTimer* Timer1 = nullptr;         // 500 ms advice check
    QPushButton* Command1 = nullptr;  // "我知道啦!"
    QPushButton* Command2 = nullptr;  // "我要反馈"

    void Timer1_Timer();
    void Command1_Click();
    void Command2_Click();

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    static QPointer<errbox>& current();
};

namespace nt {

// The product's forum page, opened by the feedback button.
QString forumUrl();
// "错误代码:" followed by the failure number.
QString errorCodeLine(long number);
// The description of an unreadable or unsupported picture: "无效图片".
QString invalidPictureReason();
// The reason shown with the fixed codes "错误代码:Ne1" and "错误代码:Ne12".
QString badPixelCountReason();
// The advice line the window adds for a reason: only "无效图片" has one.
QString adviceFor(const QString& reason);

// Sets the code line and the reason and shows errbox modally, owned by `owner`.
void ShowError(QWidget* owner, const QString& codeLine, const QString& reason);

}  // namespace nt
