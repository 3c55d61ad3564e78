#include "mainwindow/FirstPaint.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWindow>

namespace nt {
namespace {

class ExposeWatch : public QObject {
  public:
    ExposeWatch(QWindow* window, QObject* context, std::function<void()> then)
        : QObject(window), window_(window), context_(context), then_(std::move(then)) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::Expose || !window_->isExposed()) return false;
        window_->removeEventFilter(this);
        if (context_) QTimer::singleShot(0, context_, std::move(then_));
        deleteLater();
        return false;
    }

  private:
    QWindow* window_;
    QPointer<QObject> context_;
    std::function<void()> then_;
};

}  // namespace

void afterFirstPaint(QWindow* window, QObject* context, std::function<void()> then) {
    new ExposeWatch(window, context, std::move(then));  // owned by the window
}

}  // namespace nt
