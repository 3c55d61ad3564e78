#pragma once

// frmRecover: the window "恢复未保存的图片", shown at start-up before the new-canvas dialog when
// earlier sessions ended without a normal close and left a picture.
//
// How start-up uses it:
//   std::optional<QImage> picture = frmRecover::ShowModal(store.recoveryOffers(side), this);
//   if (picture) { ...the picture becomes the canvas, unsaved; no new-canvas dialog... }
// "恢复(&R)" (Enter) gives the selected picture (the newest at first) and moves its session to the
// ended ones; "放弃(&D)" moves the selected session there without a picture; Escape or the close
// box leaves every session for the next start.

#include <optional>
#include <vector>

#include <QDialog>
#include <QImage>

#include "document/SessionStore.h"

class QLabel;
class QListWidget;
class QPushButton;

class frmRecover : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kThumbSide = 128;

    static std::optional<QImage> ShowModal(std::vector<nt::RecoveryOffer> offers, QWidget* owner);

    explicit frmRecover(std::vector<nt::RecoveryOffer> offers, QWidget* owner = nullptr);

    QLabel* Label1 = nullptr;
    QListWidget* lstPictures = nullptr;
    QPushButton* cmdRestore = nullptr;  // "恢复(&R)"
    QPushButton* cmdDiscard = nullptr;  // "放弃(&D)"

    void cmdRestore_Click();
    void cmdDiscard_Click();

    // The picture restored, once "恢复(&R)" succeeded.
    const std::optional<QImage>& restored() const { return restored_; }

  private:
    std::vector<nt::RecoveryOffer> offers_;  // in the order of the list
    std::optional<QImage> restored_;
};
