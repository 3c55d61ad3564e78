#include "document/Formloading.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>

#include "document/NoticePictures.h"

QPointer<Formloading>& Formloading::current() {
    static QPointer<Formloading> instance;
    return instance;
}

Formloading* Formloading::Instance(QWidget* owner) {
    QPointer<Formloading>& form = current();
    if (!form) {
        form = new Formloading(owner);
        form->setAttribute(Qt::WA_DeleteOnClose);
    }
    return form;
}

void Formloading::ShowBusy(QWidget* owner) {
    Formloading* form = Instance(owner);
    form->show();
}

Formloading::Formloading(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("Formloading"));
    setWindowTitle(QStringLiteral("加载中..."));
    setModal(false);
    // A notice only: the keyboard stays where it was, so a shortcut pressed while it shows
    // still reaches the main window.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);

    Image4 = new QLabel(this);
    Image4->setObjectName(QStringLiteral("Image4"));
    Image4->setPixmap(nt::notices::donePicture());
    Label1 = new QLabel(QStringLiteral("操作完成!"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    auto* row = new QHBoxLayout(this);
    row->addWidget(Image4);
    row->addWidget(Label1, 1);
    setMinimumWidth(200);

    // The timer runs from creation; its tick waits for an idle event loop, which is what
    // keeps the window up until the operation that opened it has finished.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1500);
    Timer1->setTimerType(Qt::PreciseTimer);  // a coarse timer may fire up to 5% early
    connect(Timer1, &QTimer::timeout, this, &Formloading::Timer1_Timer);
    Timer1->start();
}

Formloading::~Formloading() = default;

void Formloading::Timer1_Timer() {
    Timer1->stop();
    close();
}

void Formloading::closeEvent(QCloseEvent* e) {
    QDialog::closeEvent(e);
    // A closed window is on its way out: the next access must build a fresh one, not
    // reuse this one before its deferred deletion runs.
    if (e->isAccepted() && current() == this) current().clear();
}
