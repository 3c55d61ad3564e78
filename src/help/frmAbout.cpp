#include "help/frmAbout.h"

#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "help/Banner.h"

namespace {

QLabel* textOn(QWidget* parent, const char* name, const QString& text, const QRect& where) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(where);
    return label;
}

QPushButton* buttonOn(QWidget* parent, const char* name, const QString& text, const QRect& where) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(where);
    return button;
}

// A message box sizes itself to its text, which leaves a short text's title cut ("No...ra"):
// a spacer holds it open as wide as the title needs.
void fitTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    grid->addItem(new QSpacerItem(frmAbout::titleWidth(box), 0, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

int frmAbout::titleWidth(const QWidget& window) {
    QFont bold = window.font();  // title bars mostly use a bold face of about this size
    bold.setBold(true);
    const QFontMetrics fm(bold);
    const int button = fm.height() + 8;  // a title bar's icon and buttons are about this square
    return fm.horizontalAdvance(window.windowTitle()) + 4 * button;
}

void frmAbout::ShowModal(QWidget* owner) {
    frmAbout dialog(owner);
    dialog.exec();
}

frmAbout::frmAbout(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("关于 NorvalyTintora"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(nt::kBannerWidth, nt::kBannerHeight);
    Picture = textOn(this, "Picture", QString(), rect());
    Picture->setPixmap(nt::aboutBanner());
    lblVersion = textOn(this, "lblVersion", QStringLiteral("版本:V3.9.0.12  2017年3月出品"),
                        QRect(24, 118, 300, 20));
    Label1 = textOn(this, "Label1",
                    QStringLiteral("新版本的消息会在我们的官方网站和微博上发布,欢迎关注。"),
                    QRect(24, 142, 330, 20));
    cmdOK = buttonOn(this, "cmdOK", QStringLiteral("确定(&O)"), QRect(370, 108, 100, 28));
    cmdOK->setDefault(true);
    cmdsysinfo =
        buttonOn(this, "cmdsysinfo", QStringLiteral("系统信息(&S)..."), QRect(370, 140, 100, 28));
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdsysinfo, &QPushButton::clicked, this, &frmAbout::cmdsysinfo_Click);
}

void frmAbout::cmdOK_Click() {
    accept();
}

void frmAbout::cmdsysinfo_Click() {
    StartSysInfo();
}

void frmAbout::StartSysInfo() {
    // A desktop without a registry offers no system-information tool to look up and start.
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("NorvalyTintora"),
                    QStringLiteral("此时系统信息不可用"), QMessageBox::Ok, this);
    fitTitle(box);
    box.exec();
}
