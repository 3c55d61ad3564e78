#include "text/frmText.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "globals/Globals.h"
#include "surface/NumberText.h"
#include "surface/PictureBox.h"
#include "text/TextLogic.h"

namespace {

constexpr int kPreviewWidth = 280, kPreviewHeight = 80;

template <class W>
W* named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QComboBox* list(QWidget* parent, const char* name, bool editable) {
    auto* box = named(new QComboBox(parent), name);
    box->setEditable(editable);
    // A typed size is a value, never a new list entry.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(20);
    return box;
}

// The decoration: a shadowed gradient letter, the art text the dialog makes.
QPixmap artTextPicture() {
    QPixmap pm(48, 48);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(40);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(160, 160, 160));
    p.drawText(QRect(4, 4, 44, 44), Qt::AlignCenter, QStringLiteral("A"));
    QLinearGradient g(0, 0, 0, 48);
    g.setColorAt(0, QColor(230, 60, 40));
    g.setColorAt(1, QColor(40, 80, 200));
    p.setPen(QPen(QBrush(g), 1));
    p.drawText(QRect(0, 0, 44, 44), Qt::AlignCenter, QStringLiteral("A"));
    return pm;
}

// Fills a list without selecting anything, as a freshly filled list is.
void fill(QComboBox* box, const QStringList& items) {
    const QSignalBlocker quiet(box);
    box->addItems(items);
    box->setCurrentIndex(-1);
}

}  // namespace

void frmText::ShowModal(QWidget* owner) {
    frmText dialog(owner);
    dialog.exec();
}

frmText::frmText(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmText"));
    setWindowTitle(QStringLiteral("文本/艺术字"));
    // Title and close box, no icon.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    txtText = named(new QPlainTextEdit(this), "txtText");
    txtText->setTabChangesFocus(true);
    txtText->setFixedHeight(txtText->fontMetrics().lineSpacing() * 4 + 12);
    txtText->installEventFilter(this);
    cboFont = list(this, "cboFont", false);
    cboSize = list(this, "cboSize", true);
    // A typed "3" is 3 points: completing it inline from the list would store 30.
    cboSize->setCompleter(nullptr);
    // Room for a four-digit size.
    cboSize->setMinimumContentsLength(4);
    cboStyle = list(this, "cboStyle", false);
    pPreview = named(new nt::PictureBox(kPreviewWidth, kPreviewHeight, 0xFFFFFF, this), "pPreview");
    cmdOK = named(new QPushButton(QStringLiteral("确定"), this), "cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = named(new QPushButton(QStringLiteral("取消"), this), "cmdCancel");
    Label1 =
        named(new QLabel(QStringLiteral("您可以先设置字体颜色和多种效果,它们在主面板上设置"), this),
              "Label1");
    Label1->setWordWrap(true);
    Image2 = named(new QLabel(this), "Image2");
    Image2->setPixmap(artTextPicture());
    buildLayout();

    connect(cboFont, &QComboBox::currentIndexChanged, this, &frmText::cboFont_Click);
    connect(cboSize, &QComboBox::currentIndexChanged, this, &frmText::cboSize_Click);
    connect(cboStyle, &QComboBox::currentIndexChanged, this, &frmText::cboStyle_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmText::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmText::cmdCancel_Click);
    Form_Load();
}

void frmText::buildLayout() {
    auto* grid = new QGridLayout(this);
    grid->addWidget(Image2, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(txtText, 0, 1, 1, 6);
    grid->addWidget(new QLabel(QStringLiteral("字体:"), this), 1, 1);
    grid->addWidget(cboFont, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("大小:"), this), 1, 3);
    grid->addWidget(cboSize, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("样式:"), this), 1, 5);
    grid->addWidget(cboStyle, 1, 6);
    grid->addWidget(pPreview, 2, 1, 2, 3);
    grid->addWidget(Label1, 2, 4, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 3, 4, 1, 3, Qt::AlignBottom);
    cboFont->setMinimumWidth(160);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

int frmText::FindListItem(const QComboBox* box, const QString& text) {
    QStringList items;
    items.reserve(box->count());
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return nt::text::FindListItem(items, text);
}

void frmText::Form_Load() {
    const nt::GlobalSettings& g = nt::globals();
    fill(cboFont, nt::text::plainFamilies(QFontDatabase::families()));
    fill(cboSize, nt::text::sizeItems());
    fill(cboStyle, nt::text::styleItems());
    txtText->setPlainText(g.TextString);
    cboFont->setCurrentIndex(FindListItem(cboFont, g.TextFontName));
    cboSize->setCurrentIndex(FindListItem(cboSize, QString::number(g.TextFontSize)));
    cboStyle->setCurrentIndex(
        g.TextFontStyle >= 0 && g.TextFontStyle < cboStyle->count() ? g.TextFontStyle : 0);
}

void frmText::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    txtText->setFocus();
}

// Enter in the text box accepts; line breaks only come in by pasting.
bool frmText::eventFilter(QObject* watched, QEvent* e) {
    if (watched == txtText && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cmdOK_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void frmText::cboFont_Click() {
    DrawPreview();
}
void frmText::cboSize_Click() {
    DrawPreview();
}
void frmText::cboStyle_Click() {
    DrawPreview();
}

void frmText::DrawPreview() {
    nt::Surface& box = pPreview->surface();
    box.Cls();
    box.Font.size = nt::readNumber(cboSize->currentText());
    box.Font.name = cboFont->currentText();
    nt::text::applyStyle(box.Font, cboStyle->currentIndex());
    const QString sample = QString::fromUtf16(nt::text::kSample);
    const QPoint at = nt::text::centredOrigin(
        QSize(box.width(), box.height()), QSizeF(box.TextWidth(sample), box.TextHeight(sample)));
    box.CurrentX = at.x();
    box.CurrentY = at.y();
    box.Print(sample);
    ++previewsDrawn_;
}

void frmText::cmdOK_Click() {
    nt::GlobalSettings& g = nt::globals();
    g.DialogResult = nt::GlobalSettings::kAccepted;
    g.TextFontName = cboFont->currentText();
    g.TextFontSize = nt::text::storedSize(cboSize->currentText());
    g.TextString = txtText->toPlainText();
    g.TextFontStyle = static_cast<std::int16_t>(std::max(cboStyle->currentIndex(), 0));
    accept();
}

void frmText::cmdCancel_Click() {
    nt::globals().DialogResult = nt::GlobalSettings::kIdle;
    reject();
}
