#include "document/warndywtd.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/NoticePictures.h"
#include "globals/Globals.h"

void warndywtd::ShowModal(nt::Surface& canvas, QWidget* owner) {
    auto* window = new warndywtd(canvas, owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->exec();
}

warndywtd::warndywtd(nt::Surface& canvas, QWidget* owner) : QDialog(owner), canvas_(canvas) {
    setObjectName(QStringLiteral("warndywtd"));
    setWindowTitle(QStringLiteral("是否清空画布 - NorvalyTintora"));

    auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setWordWrap(true);
        return l;
    };
    auto picture = [this](const char* name, const QPixmap& pix) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setPixmap(pix);
        return l;
    };
    Label1 = label("Label1", QStringLiteral("是否真的要删除当前整个图片?"));
    QFont question = Label1->font();
    question.setBold(true);
    Label1->setFont(question);
    Label2 = label("Label2",
                   QStringLiteral("如果您要删除一个区域,请先选择一个区域,然后按Delete(删除)键"));
    Label3 = label("Label3", QString());
    Image1 = picture("Image1", nt::notices::warningPicture());
    Image4 = picture("Image4", nt::notices::hintPicture());
    Image2 = picture("Image2", nt::notices::shredderPicture());
    Image2->setCursor(Qt::PointingHandCursor);
    Image2->installEventFilter(this);
    Image3 = picture("Image3", nt::notices::arrowPicture());
    Image3->hide();

    Command2 = new QPushButton(QStringLiteral("删除"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAutoDefault(false);
    Command2->hide();
    Command1 = new QPushButton(QStringLiteral("取消"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);

    auto* texts = new QGridLayout;
    texts->addWidget(Image1, 0, 0, Qt::AlignTop);
    texts->addWidget(Label1, 0, 1);
    texts->addWidget(Image4, 1, 0, Qt::AlignTop);
    texts->addWidget(Label2, 1, 1);
    texts->addWidget(Label3, 2, 1);
    texts->setColumnStretch(1, 1);
    auto* steps = new QHBoxLayout;
    steps->addWidget(Image2);
    steps->addWidget(Image3);
    steps->addWidget(Command2);
    steps->addStretch(1);
    steps->addWidget(Command1);
    auto* all = new QVBoxLayout(this);
    all->addLayout(texts);
    all->addLayout(steps);
    setMinimumWidth(380);

    connect(Command1, &QPushButton::clicked, this, &warndywtd::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &warndywtd::Command2_Click);
    Form_Load();
}

warndywtd::~warndywtd() = default;

bool warndywtd::eventFilter(QObject* watched, QEvent* e) {
    if (watched == Image2 && e->type() == QEvent::MouseButtonRelease) {
        const auto* me = static_cast<QMouseEvent*>(e);
        if (me->button() == Qt::LeftButton && Image2->rect().contains(me->position().toPoint())) {
            Image2_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void warndywtd::Form_Load() {
    Label3->setText(QStringLiteral("要删除,先点击下面左边的文件粉碎图标"));
}

void warndywtd::Image2_Click() {
    Label3->setText(QStringLiteral("然后点击右边的删除"));
    Command2->show();
    Image3->show();
}

void warndywtd::Command1_Click() {
    close();
}

void warndywtd::Command2_Click() {
    hide();
    // No undo image: the delete window is the confirmation.
    canvas_.Cls();
    nt::globals().DialogResult = nt::GlobalSettings::kIdle;
    close();
}
