#pragma once

#include <QLabel>

namespace nt {

// A label whose text wraps at its width and, where the lines do not all fit its height, shows
// as many as fit with the last one ending in "…". The text itself stays whole (the tool tip
// and text() give all of it).
class FittedLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;
    // The lines shown at the current size, the last perhaps elided.
    QStringList visibleLines() const;

  protected:
    void paintEvent(QPaintEvent* e) override;
};

}  // namespace nt
