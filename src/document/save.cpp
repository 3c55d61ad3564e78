#include "document/save.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

#include "document/FileErrors.h"
#include "globals/Paths.h"
#include "platform/Picture.h"

namespace {

constexpr int kDeclineValue = 4;

QPixmap hintPicture() {
    QPixmap pm(40, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(230, 60, 40));
    p.setPen(Qt::NoPen);
    const QPointF arrow[] = {{2, 8}, {24, 8}, {24, 2}, {38, 12}, {24, 22}, {24, 16}, {2, 16}};
    p.drawPolygon(arrow, 7);
    return pm;
}

QPixmap decoration() {
    QPixmap pm(48, 48);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(70, 130, 200));
    p.setPen(QPen(Qt::darkBlue, 2));
    p.drawRoundedRect(QRectF(6, 4, 36, 40), 4, 4);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(13, 8, 22, 12));
    p.drawRect(QRectF(14, 28, 20, 14));
    return pm;
}

QLabel* namedLabel(const char* name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

}  // namespace

save* save::Instance(QWidget* owner) {
    static QPointer<save> instance;
    if (!instance) instance = new save(owner);
    return instance;
}

bool save::ShowModal(const QImage& canvas, QWidget* owner, const QString& backupPath) {
    save* window = Instance(owner);
    window->backupPath = backupPath;
    return window->showFor(canvas);
}

bool save::showFor(const QImage& canvas) {
    canvas_ = canvas;
    exec();
    canvas_ = QImage();
    return Tag == QLatin1String("1");
}

save::save(QWidget* owner) : QDialog(owner), beep(&QApplication::beep) {
    setObjectName(QStringLiteral("save"));
    setWindowTitle(QStringLiteral("是否保存文件 - NorvalyTintora"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    Label1 = namedLabel("Label1", this);
    Label1->setText(QStringLiteral("是否保存当前画布?"));
    Label2 = namedLabel("Label2", this);
    Label2->setText(
        QStringLiteral("如果选择\"不保存'将自动保存backup1.bmp到程序目录,下次关闭时会被删除。"));
    Label2->setWordWrap(true);
    Label3 = namedLabel("Label3", this);
    Label3->setText(QStringLiteral("向右移动下方滚动条的滑块到最右侧即为不保存"));
    Command1 = new QPushButton(QStringLiteral("保存"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setRange(0, kDeclineValue);
    HScroll1->setPageStep(1);
    // The value counts when the slider is released, not while it is dragged.
    HScroll1->setTracking(false);
    Image1 = namedLabel("Image1", this);
    Image1->setPixmap(decoration());
    Image2 = namedLabel("Image2", this);
    Image2->setPixmap(hintPicture());
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer1->start();

    auto* grid = new QGridLayout(this);
    grid->addWidget(Image1, 0, 0, 2, 1);
    grid->addWidget(Label1, 0, 1, 1, 2);
    grid->addWidget(Label2, 1, 1, 1, 2);
    grid->addWidget(Command1, 2, 1, 1, 2);
    grid->addWidget(Label3, 3, 1);
    grid->addWidget(Image2, 3, 2);
    grid->addWidget(HScroll1, 4, 0, 1, 3);
    // Fixed both ways: the design's width, and the height the texts need at that width.
    constexpr int kWidth = 380;
    setFixedSize(kWidth, grid->hasHeightForWidth() ? grid->totalHeightForWidth(kWidth)
                                                   : grid->totalSizeHint().height());

    connect(Command1, &QPushButton::clicked, this, &save::Command1_Click);
    connect(HScroll1, &QScrollBar::valueChanged, this, &save::HScroll1_Change);
    connect(Timer1, &QTimer::timeout, this, &save::Timer1_Timer);
}

void save::showEvent(QShowEvent* e) {
    // Centred on the screen, not on the main window, and at the same place every time: the
    // window's own area is placed, since move() places the frame once a window manager has
    // given it one, which set every later showing lower by the title bar.
    if (QScreen* s = screen()) {
        QRect area = geometry();
        area.moveCenter(s->availableGeometry().center());
        setGeometry(area);
    }
    if (!beeped_) {
        beeped_ = true;
        if (beep) beep();
    }
    QDialog::showEvent(e);
}

void save::closeEvent(QCloseEvent* e) {
    // There is no close box: only an answer ends the modal showing.
    if (Tag == QLatin1String("1") && !isVisible())
        e->accept();
    else
        e->ignore();
}

void save::reject() {}

void save::Timer1_Timer() {
    Image2->setVisible(!Image2->isVisible());
}

void save::Command1_Click() {
    nt::FileDialogRequest request;
    request.open = false;
    request.fileTypes = nt::pictureFileTypesWithoutAll();
    request.title = QStringLiteral("Save");
    request.folder = SaveLastFolder;
    request.fileName = QStringLiteral("未命名图片");
    const QString path = chooseFile(this, request);
    if (path.isEmpty()) return;
    SaveLastFolder = nt::ParentFolder(path);
    const nt::SaveTarget target = nt::saveTargetFor(path, request.chosenType);
    if (auto error = nt::savePicture(canvas_, target.path, target.type)) {
        nt::reportFileError(this, *error);
        return;
    }
    Tag = QStringLiteral("1");
    hide();
    done(QDialog::Accepted);
}

void save::HScroll1_Change() {
    if (adjusting_) return;
    const int value = HScroll1->value();
    if (value == kDeclineValue) {
        Tag = QStringLiteral("1");
        nt::savePictureBmp(canvas_, backupPath);  // a failure is ignored
        hide();
        done(QDialog::Accepted);
        adjusting_ = true;
        HScroll1->setValue(0);
        adjusting_ = false;
        return;
    }
    // Released short of the right end: the slider runs back to 0 one step at a time.
    if (value != 0) HScroll1->setValue(value - 1);
}
