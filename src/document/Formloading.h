#pragma once

// Formloading: the busy notice, "加载中..." showing "操作完成!".
//
// How a whole-picture command uses it (mnuBlur, mnuGray, ... before running the operation):
//   Formloading::ShowBusy(this);   // shows without waiting; never closed by the caller
//   ...run the operation...
// The window closes itself on the first tick of its 1500 ms timer. Ticks are handled only
// once the event loop is idle again, so after a long operation it closes at once and after a
// short one 1.5 s after it opened. A second command while it is open reuses it (the timer
// is not restarted). One instance, created on first access and destroyed when closed.

#include <QDialog>
#include <QPointer>

class QLabel;
class QTimer;

class Formloading : public QDialog {
    Q_OBJECT
  public:
    static Formloading* Instance(QWidget* owner);
    // Instance(owner), shown modeless.
    static void ShowBusy(QWidget* owner);

    explicit Formloading(QWidget* owner = nullptr);
    ~Formloading() override;

    QLabel* Label1 = nullptr;  // "操作完成!"
    QLabel* Image4 = nullptr;
    QTimer* Timer1 = nullptr;  // 1500 ms, running from creation

    void Timer1_Timer();

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    static QPointer<Formloading>& current();
};
