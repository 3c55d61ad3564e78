#pragma once

#include <QObject>

class QMenu;

namespace nt {

// Inside a menu, an access key that several items share moves the highlight to the next of
// them on each press and opens or runs nothing; Enter then acts on the highlighted item. A key
// only one item has keeps Qt's behaviour (it acts at once).
class SharedAccessKeys : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    void watch(QMenu* menu);

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
};

}  // namespace nt
