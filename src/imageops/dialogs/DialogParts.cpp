#include "imageops/dialogs/DialogParts.h"

#include <QColorDialog>
#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>

#include "document/errbox.h"
#include "surface/Gdi.h"
#include "surface/SystemColours.h"

namespace nt::dialogs {

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    // Only the button a dialog names as its default answers Enter.
    b->setAutoDefault(false);
    return b;
}

QLineEdit* makeTextBox(QWidget* parent, const QString& name, const QString& text) {
    auto* t = new QLineEdit(text, parent);
    t->setObjectName(name);
    return t;
}

void usePlainFrame(QDialog& dialog, const QString& name, const QString& title) {
    dialog.setObjectName(name);
    dialog.setWindowTitle(title);
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
    if (dialog.layout()) dialog.layout()->setSizeConstraint(QLayout::SetFixedSize);
}

ShrunkCanvas::ShrunkCanvas(Surface& canvas, int side)
    : square_(std::make_unique<Surface>(side, side)) {
    SetStretchBltMode(hDC(*square_), HALFTONE);
    StretchBlt(hDC(*square_), 0, 0, side, side, hDC(canvas), 0, 0, canvas.width(), canvas.height(),
               SRCCOPY);
}

void ShrunkCanvas::drawInto(Surface& box) {
    BitBlt(hDC(box), 0, 0, square_->width(), square_->height(), hDC(*square_), 0, 0, SRCCOPY);
    box.Refresh();
}

std::optional<Colour> askColour(QWidget* owner, Colour start) {
    const Colour c = plainColour(start);
    QColorDialog dialog(QColor(redOf(c), greenOf(c), blueOf(c)), owner);
    dialog.setObjectName(QStringLiteral("colourDialog"));
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QColor chosen = dialog.selectedColor();
    return rgb(chosen.red(), chosen.green(), chosen.blue());
}

void showRefusal(QWidget* owner, const InputError& error) {
    ShowError(owner, QString::fromStdString(error.code), QString::fromStdString(error.reason));
}

}  // namespace nt::dialogs
