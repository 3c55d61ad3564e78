#include "document/errbox.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "document/NoticePictures.h"
#include "globals/Links.h"

namespace nt {

QString forumUrl() {
    return links::forumPage();
}

QString errorCodeLine(long number) {
    return QStringLiteral("错误代码:") + QString::number(number);
}

QString invalidPictureReason() {
    return QStringLiteral("无效图片");
}

QString badPixelCountReason() {
    return QStringLiteral("图片的像素值必须大于零的阿拉伯数字!");
}

QString adviceFor(const QString& reason) {
    if (reason != invalidPictureReason()) return {};
    return QStringLiteral(
        "请确认该文件是支持的图片文件,且没有被损坏,请确保cur光标是2色的,ico不得超过256色!");
}

void ShowError(QWidget* owner, const QString& codeLine, const QString& reason) {
    errbox* box = errbox::Instance(owner);
    box->Label2->setText(codeLine);
    box->Label3->setText(reason);
    box->exec();
}

}  // namespace nt

QPointer<errbox>& errbox::current() {
    static QPointer<errbox> instance;
    return instance;
}

errbox* errbox::Instance(QWidget* owner) {
    QPointer<errbox>& box = current();
    if (!box) {
        box = new errbox(owner);
        box->setAttribute(Qt::WA_DeleteOnClose);
    }
    return box;
}

errbox::errbox(QWidget* owner, std::function<void()> beep) : QDialog(owner) {
    setObjectName(QStringLiteral("errbox"));
    setWindowTitle(QStringLiteral("Norvaly提醒您:错误"));

    auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setWordWrap(true);
        return l;
    };
    Label1 = label("Label1", QStringLiteral("发生错误!"));
    QFont heading = Label1->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.3);
    Label1->setFont(heading);
    Label2 = label("Label2", QString());
    Label3 = label("Label3", QStringLiteral("错误原因"));
    Label4 = label("Label4", QString());
    Label4->setStyleSheet(QStringLiteral("color: #a01010;"));
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(nt::notices::errorPicture());
    Image1->setAlignment(Qt::AlignTop);

    Command1 = new QPushButton(QStringLiteral("我知道啦!"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("我要反馈"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAutoDefault(false);

    auto* texts = new QVBoxLayout;
    for (QLabel* l : {Label1, Label2, Label3, Label4}) texts->addWidget(l);
    auto* top = new QHBoxLayout;
    top->addWidget(Image1);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addLayout(buttons);
    setMinimumWidth(360);

    connect(Command1, &QPushButton::clicked, this, &errbox::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &errbox::Command2_Click);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    Timer1->setTimerType(Qt::PreciseTimer);  // the advice is promised within half a second
    connect(Timer1, &QTimer::timeout, this, &errbox::Timer1_Timer);
    Timer1->start();

    if (beep) beep();
}

errbox::~errbox() = default;

void errbox::Timer1_Timer() {
    const QString advice = nt::adviceFor(Label3->text());
    if (advice.isEmpty() || Label4->text() == advice) return;
    Label4->setText(advice);
    adjustSize();  // the window was laid out without the advice line
}

void errbox::Command1_Click() {
    close();
}

void errbox::Command2_Click() {
    // The notice always ends closed, whether or not a browser could be started.
    hide();
    QDesktopServices::openUrl(QUrl(nt::forumUrl()));
    close();
}

void errbox::closeEvent(QCloseEvent* e) {
    QDialog::closeEvent(e);
    // A closed window is on its way out: the next access must build a fresh one, not
    // reuse this one before its deferred deletion runs.
    if (e->isAccepted() && current() == this) current().clear();
}
