#include "palette/dColorPallete.h"

#include <QColorDialog>
#include <QCursor>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>

#include "surface/Gdi.h"
#include "surface/SystemColours.h"

using nt::Colour;
using nt::palette::kCell;
using nt::palette::kColumns;
using nt::palette::kRows;

namespace {

constexpr Colour kWhite = 0x00FFFFFF;

QColor toQColor(Colour c) {
    return QColor(nt::redOf(c), nt::greenOf(c), nt::blueOf(c));
}
Colour fromQColor(const QColor& c) {
    return nt::rgb(c.red(), c.green(), c.blue());
}

int buttonCode(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

// Qt's dialog has no collapsed form; without the full flag we leave out its colour
// picker so that only the basic and custom colours show, as the collapsed dialog does.
void collapseColourDialog(QColorDialog& dialog) {
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        const QByteArray cls = w->metaObject()->className();
        if (cls.endsWith("QColorPicker") || cls.endsWith("QColorLuminancePicker")) w->hide();
    }
}

}  // namespace

dColorPallete::dColorPallete(QWidget* parent, const nt::palette::PropertyBag* stored)
    : QWidget(parent),
      face_(std::make_unique<nt::Surface>(256, kCell * kRows, kWhite)),
      pSrc(std::make_unique<nt::Surface>(kCell, kCell, nt::kSysButtonFace)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    face_->setScreenListener([this](const QRect& r) { update(r); });
    UserControl_Resize();
    if (stored)
        ReadProperties(*stored);
    else
        InitProperties();
    DrawPalette();
}

dColorPallete::~dColorPallete() = default;

QSize dColorPallete::sizeHint() const {
    return nt::palette::controlSize(logicalDpiX());
}

void dColorPallete::UserControl_Resize() {
    const QSize want = nt::palette::controlSize(logicalDpiX());
    if (face_->width() != want.width() || face_->height() != want.height())
        face_->resize(want.width(), want.height());
    if (size() != want || minimumSize() != want || maximumSize() != want) setFixedSize(want);
}

void dColorPallete::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    UserControl_Resize();
}

void dColorPallete::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    DrawPalette();
}

void dColorPallete::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const QRect r = e->rect();
    p.fillRect(r, Qt::white);  // any area beyond the face
    p.drawImage(r.topLeft(), face_->screen(), r);
}

// ---------------------------------------------------------------- properties

void dColorPallete::SwapColors() {
    const Colour c1 = Color1();
    const Colour c2 = Color2();
    setColor1(c2);
    setColor2(c1);
}

void dColorPallete::setColor1(Colour c) {
    state_.Color1 = c;
    DrawCurrentColors();
    emit PropertyChanged(QStringLiteral("Color1"));
    emit Color1Changed(c);
}

void dColorPallete::setColor2(Colour c) {
    state_.Color2 = c;
    DrawCurrentColors();
    emit PropertyChanged(QStringLiteral("Color2"));
    emit Color2Changed(c);
}

void dColorPallete::setMouseIcon(const QPixmap& icon) {
    mouseIcon_ = icon;
    applyCursor();
    emit PropertyChanged(QStringLiteral("MouseIcon"));
}

void dColorPallete::setMousePointer(int code) {
    mousePointer_ = code;
    applyCursor();
    emit PropertyChanged(QStringLiteral("MousePointer"));
}

void dColorPallete::setOpenFullColorDLG(bool on) {
    openFull_ = on;
    emit PropertyChanged(QStringLiteral("OpenFullColorDLG"));
}

void dColorPallete::setEnabledProperty(bool on) {
    setEnabled(on);
    emit PropertyChanged(QStringLiteral("Enabled"));
}

void dColorPallete::applyCursor() {
    if (mousePointer_ == nt::palette::kPointerCustom && !mouseIcon_.isNull()) {
        setCursor(QCursor(mouseIcon_));
    } else if (const auto shape = nt::palette::cursorShapeFor(mousePointer_)) {
        setCursor(*shape);
    } else {
        unsetCursor();
    }
}

Colour dColorPallete::PaletteColors(int index) const {
    if (index < 0 || index >= nt::palette::kSwatchCount) return 0;
    return state_.PaletteColors[static_cast<std::size_t>(index)];
}

void dColorPallete::InitProperties() {
    setColor1(state_.PaletteColors[0]);
    setColor2(state_.PaletteColors[1]);
    openFull_ = true;
}

namespace {
Colour colourValue(const QVariant& v) {
    return static_cast<Colour>(v.toLongLong());
}
}  // namespace

void dColorPallete::ReadProperties(const nt::palette::PropertyBag& bag) {
    const auto& colors = state_.PaletteColors;
    setColor1(colourValue(bag.read(QStringLiteral("Color1"), qlonglong(colors[0]))));
    setColor2(colourValue(bag.read(QStringLiteral("Color2"), qlonglong(colors[1]))));
    setMouseIcon(bag.read(QStringLiteral("MouseIcon"), QPixmap()).value<QPixmap>());
    mousePointer_ = bag.read(QStringLiteral("MousePointer"), 0).toInt();
    applyCursor();
    openFull_ = bag.read(QStringLiteral("OpenFullColorDLG"), true).toBool();
    setEnabled(bag.read(QStringLiteral("Enabled"), true).toBool());
}

void dColorPallete::WriteProperties(nt::palette::PropertyBag& bag) const {
    const auto& colors = state_.PaletteColors;
    if (Color1() != colors[0]) bag.write(QStringLiteral("Color1"), qlonglong(Color1()));
    if (Color2() != colors[1]) bag.write(QStringLiteral("Color2"), qlonglong(Color2()));
    if (!mouseIcon_.isNull()) bag.write(QStringLiteral("MouseIcon"), mouseIcon_);
    if (mousePointer_ != 0) bag.write(QStringLiteral("MousePointer"), mousePointer_);
    if (!openFull_) bag.write(QStringLiteral("OpenFullColorDLG"), false);
    if (!isEnabled()) bag.write(QStringLiteral("Enabled"), false);
}

// ---------------------------------------------------------------- pointer

void dColorPallete::mousePressEvent(QMouseEvent* e) {
    const QPointF pos = e->position();
    UserControl_MouseDown(buttonCode(e->button()), pos.x(), pos.y());
    e->accept();
}

void dColorPallete::mouseDoubleClickEvent(QMouseEvent* e) {
    // The second press of a double click is not a press of its own.
    UserControl_DblClick();
    e->accept();
}

void dColorPallete::UserControl_MouseDown(int button, double x, double y) {
    if (!state_.press(x, y, button)) return;
    const auto index = static_cast<std::size_t>(state_.SelectedIndex);
    emit ItemClick(state_.PaletteColors[index], state_.LastButton);
    if (state_.appliesToColor1())
        setColor1(state_.PaletteColors[index]);
    else
        setColor2(state_.PaletteColors[index]);
    DrawCurrentColors();
}

void dColorPallete::UserControl_DblClick() {
    if (state_.SelectedIndex < 0) return;
    const int index = state_.SelectedIndex;
    QPointer<dColorPallete> self(this);
    const auto chosen = PickColor(state_.PaletteColors[static_cast<std::size_t>(index)], openFull_);
    if (!self || !chosen) return;
    const auto s = nt::palette::SplitColor(*chosen);
    state_.PaletteColors[static_cast<std::size_t>(index)] = nt::rgb(s.red, s.green, s.blue);
    DrawPalette();
    if (state_.appliesToColor1())
        setColor1(*chosen);
    else
        setColor2(*chosen);
    DrawCurrentColors();
}

std::optional<Colour> dColorPallete::PickColor(Colour start, bool openFull) {
    const auto request = nt::palette::makeColourRequest(start, openFull);
    // The dialog's custom colours are process-wide; ours belong to this one call.
    std::array<QColor, nt::palette::kCustomCount> saved;
    for (int k = 0; k < nt::palette::kCustomCount; ++k) {
        saved[k] = QColorDialog::customColor(k);
        QColorDialog::setCustomColor(k, toQColor(request.custom[k]));
    }
    QPointer<QColorDialog> dialog = new QColorDialog(this);
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    dialog->setCurrentColor(toQColor(request.initial));
    if (!request.fullOpen()) collapseColourDialog(*dialog);
    const int answer = dialog->exec();
    std::optional<Colour> chosen;
    if (dialog) {
        if (answer == QDialog::Accepted) chosen = fromQColor(dialog->selectedColor());
        delete dialog;
    }
    for (int k = 0; k < nt::palette::kCustomCount; ++k) QColorDialog::setCustomColor(k, saved[k]);
    return chosen;
}

// ---------------------------------------------------------------- drawing

void dColorPallete::DrawSwatch(Colour c) {
    pSrc->resize(15, 15);
    pSrc->Cls();
    const int w = 15, h = 15;
    pSrc->Line(0, 0, w, 0, kWhite);
    pSrc->Line(0, 0, 0, h, kWhite);
    pSrc->Line(1, 1, w - 2, h - 2, pSrc->BackColor(), nt::BoxMode::Outline);
    pSrc->Line(w - 1, 1, w - 1, h, nt::kSysButtonShadow);
    pSrc->Line(1, h - 1, w - 1, h - 1, nt::kSysButtonShadow);
    pSrc->Line(2, 2, w - 3, h - 3, c, nt::BoxMode::Filled);
}

void dColorPallete::DrawCurrentColors() {
    DrawSwatch(Color1());
    nt::BitBlt(nt::hDC(*face_), 3, 4, 15, 15, nt::hDC(*pSrc), 0, 0, nt::SRCCOPY);
    DrawSwatch(Color2());
    nt::BitBlt(nt::hDC(*face_), 10, 11, 15, 15, nt::hDC(*pSrc), 0, 0, nt::SRCCOPY);
    face_->Refresh();
}

void dColorPallete::DrawPalette() {
    nt::Surface& f = *face_;
    f.Cls();

    pSrc->resize(kCell, kCell);
    pSrc->setBackColor(nt::kSysButtonFace);
    pSrc->Cls();
    const int w = kCell, h = kCell;
    pSrc->Line(0, 0, w, 0, nt::kSysButtonShadow);
    pSrc->Line(0, 0, 0, h, nt::kSysButtonShadow);
    pSrc->Line(w - 1, 0, w - 1, h - 1, kWhite);
    pSrc->Line(1, 1, w - 2, 1, kWhite);
    pSrc->Line(1, 1, 1, h - 2, kWhite);
    pSrc->Line(0, h - 1, w, h - 1, kWhite);

    f.Line(0, 0, 31, 31, kWhite, nt::BoxMode::Outline);
    f.Line(0, 0, 31, 0, nt::kSysButtonShadow);
    f.Line(0, 0, 0, 31, nt::kSysButtonShadow);
    f.Line(1, 1, 30, 1, kWhite);
    f.Line(1, 30, 1, 1, kWhite);
    for (int x = 2; x <= 30; x += 2)
        for (int y = 2; y <= 30; y += 2) f.PSet(x, y, nt::kSysButtonFace);
    f.Line(30, 1, 30, 30, nt::kSysButtonFace);
    f.Line(1, 30, 30, 30, nt::kSysButtonFace);

    int index = 0;
    for (int column = 0; column < kColumns; ++column) {
        for (int row = 0; row < kRows; ++row, ++index) {
            pSrc->Line(2, 2, 13, 13, state_.PaletteColors[static_cast<std::size_t>(index)],
                       nt::BoxMode::Filled);
            nt::BitBlt(nt::hDC(f), 32 + kCell * column, kCell * row, kCell, kCell, nt::hDC(*pSrc),
                       0, 0, nt::SRCCOPY);
        }
    }
    DrawCurrentColors();
}
