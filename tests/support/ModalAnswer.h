#pragma once

#include <functional>
#include <vector>

#include <QApplication>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

// Answers the next modal window (the next one `match` accepts, when given): polls for it and
// hands it to `act`, which must close it. Nested modal windows each get their own answer.
class ModalAnswer {
  public:
    explicit ModalAnswer(std::function<void(QWidget*)> act,
                         std::function<bool(QWidget*)> match = {})
        : act_(std::move(act)), match_(std::move(match)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* w = QApplication::activeModalWidget();
            if (w && (!match_ || match_(w))) {
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
    std::function<bool(QWidget*)> match_;
    QTimer timer_;
    bool seen_ = false;
};

// Answers the modal windows that come up, one action each, in order, and remembers the class
// names of the windows it answered; each action must close its window.
class ModalSequence {
  public:
    using Act = std::function<void(QWidget*)>;
    explicit ModalSequence(std::vector<Act> acts) : acts_(std::move(acts)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(10);
    }
    bool finished() const { return next_ == acts_.size(); }
    const QStringList& seen() const { return seen_; }

  private:
    void poll() {
        QWidget* m = QApplication::activeModalWidget();
        // A window answered before may come back (the save window is only hidden).
        if (!m || finished() || (m == last_ && m->isVisible())) return;
        last_ = m;
        seen_ << QString::fromLatin1(m->metaObject()->className());
        acts_[next_++](m);
        if (finished()) timer_.stop();
    }
    std::vector<Act> acts_;
    size_t next_ = 0;
    QPointer<QWidget> last_;
    QStringList seen_;
    QTimer timer_;
};
