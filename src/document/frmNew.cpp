#include "document/frmNew.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include "document/NewCanvas.h"
#include "document/errbox.h"
#include "globals/Globals.h"

namespace {

QLabel* namedLabel(const char* name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

// The notice picture beside the promotional text: a small painted emblem.
QPixmap emblem() {
    QPixmap pm(64, 64);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colours[] = {Qt::red, QColor(0, 160, 0), Qt::blue, QColor(255, 170, 0)};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(colours[i]);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(6 + (i % 2) * 26, 6 + (i / 2) * 26, 26, 26));
    }
    return pm;
}

}  // namespace

void frmNew::ShowModal(QWidget* owner) {
    frmNew dialog(owner);
    dialog.exec();
}

frmNew::frmNew(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmNew"));
    setWindowTitle(QStringLiteral("新建画布"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose, false);

    lblWidth = namedLabel("lblWidth", QStringLiteral("宽度:"), this);
    lblHeight = namedLabel("lblHeight", QStringLiteral("高度:"), this);
    txtWidth = new QLineEdit(QStringLiteral("800"), this);
    txtWidth->setObjectName(QStringLiteral("txtWidth"));
    txtHeight = new QLineEdit(QStringLiteral("500"), this);
    txtHeight->setObjectName(QStringLiteral("txtHeight"));
    lblImagebk = namedLabel("lblImagebk", QStringLiteral("画布颜色"), this);
    cboColor = new QComboBox(this);
    cboColor->setObjectName(QStringLiteral("cboColor"));
    for (int i = 0; i < nt::kCanvasColourCount; ++i)
        cboColor->addItem(QString::fromUtf8(nt::canvasColourChoices()[i].name));
    cboColor->setCurrentIndex(0);
    cmdOK = new QPushButton(QStringLiteral("新建图片,开始绘画"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("取消"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    Label8 =
        namedLabel("Label8",
                   QStringLiteral("小贴士：在调色时，左键定颜色1,右键定颜色2.绘画用左键画颜色1,"
                                  "右键画颜色2.双击左键自定义颜色1,右键自定义颜色2."),
                   this);
    Label8->setWordWrap(true);
    Label1 = namedLabel("Label1", QStringLiteral("NorvalyTintora:画你所想,随手就画。"), this);
    Label1->setWordWrap(true);
    Image1 = namedLabel("Image1", QString(), this);
    Image1->setPixmap(emblem());

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblWidth, 0, 0);
    grid->addWidget(txtWidth, 0, 1);
    grid->addWidget(namedLabel("lblPixel", QStringLiteral("像素"), this), 0, 2);
    grid->addWidget(lblHeight, 1, 0);
    grid->addWidget(txtHeight, 1, 1);
    grid->addWidget(namedLabel("lblPixel", QStringLiteral("像素"), this), 1, 2);
    grid->addWidget(lblImagebk, 2, 0);
    grid->addWidget(cboColor, 2, 1, 1, 2);
    grid->addWidget(Image1, 0, 3, 3, 1);
    grid->addWidget(Label1, 3, 0, 1, 4);
    grid->addWidget(Label8, 4, 0, 1, 4);
    grid->addWidget(cmdOK, 5, 0, 1, 3);
    grid->addWidget(cmdCancel, 5, 3);
    setTabOrder(txtWidth, txtHeight);
    setTabOrder(txtHeight, cboColor);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, &frmNew::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmNew::cmdCancel_Click);
}

void frmNew::showEvent(QShowEvent* e) {
    // Centred on the screen, not on the main window.
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    QDialog::showEvent(e);
}

void frmNew::cmdOK_Click() {
    const nt::NewCanvasSize size = nt::readNewCanvasSize(txtWidth->text(), txtHeight->text());
    if (auto refusal = nt::refuseCanvasSize(size.width, size.height)) {
        // The dialog stays open with the user's text.
        nt::ShowError(this, refusal->codeLine, refusal->reason);
        return;
    }
    auto& g = nt::globals();
    g.NewCanvasHeight = static_cast<std::int32_t>(size.height);
    g.NewCanvasWidth = static_cast<std::int32_t>(size.width);
    g.NewCanvasColor = nt::canvasColourChoices()[std::max(0, cboColor->currentIndex())].colour;
    g.DialogResult = nt::GlobalSettings::kAccepted;
    accept();
}

void frmNew::cmdCancel_Click() {
    nt::globals().DialogResult = nt::GlobalSettings::kIdle;
    reject();
}
