#pragma once

#include <functional>

#include <QApplication>
#include <QTimer>
#include <QWidget>

// Answers the next modal window: polls for it and hands it to `act`, which must close it.
class ModalAnswer {
  public:
    explicit ModalAnswer(std::function<void(QWidget*)> act) : act_(std::move(act)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                timer_.stop();
                seen_ = true;
                act_(w);
            }
        });
        timer_.start(10);
    }
    bool seen() const { return seen_; }

  private:
    std::function<void(QWidget*)> act_;
    QTimer timer_;
    bool seen_ = false;
};
