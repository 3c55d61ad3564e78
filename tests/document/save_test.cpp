// The save window: its two ways out, the slider that runs back, and the files it writes.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "document/errbox.h"
#include "document/save.h"
#include "platform/Picture.h"
#include "support/ModalAnswer.h"

namespace {

QImage canvasImage() {
    QImage img(5, 3, QImage::Format_RGB32);
    img.fill(0xFF102030u);
    img.setPixel(4, 0, 0xFFFF0000u);
    return img;
}

QImage loaded(const QString& path) {
    auto r = nt::loadPicture(path);
    return std::holds_alternative<QImage>(r) ? std::get<QImage>(r) : QImage();
}

class SaveWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        w.beep = [this] { ++beeps; };
    }
    void TearDown() override { QDir::setCurrent(previous); }

    // Shows the window for the canvas and runs `drive` once it is up; a window that is
    // still open afterwards is a failure (and is closed so the test cannot hang).
    bool run(std::function<void()> drive) {
        QTimer::singleShot(0, [&] {
            drive();
            if (w.isVisible()) {
                stuckOpen = true;
                w.done(QDialog::Rejected);
            }
        });
        return w.showFor(canvasImage());
    }

    QTemporaryDir dir;
    QString previous;
    save w;
    int beeps = 0;
    bool stuckOpen = false;
};

}  // namespace

TEST_F(SaveWindow, DesignTextsBlinkingAndASingleBeep) {
    EXPECT_EQ(w.windowTitle(), QStringLiteral("是否保存文件 - NorvalyTintora"));
    EXPECT_EQ(w.Label1->text(), QStringLiteral("是否保存当前画布?"));
    EXPECT_EQ(
        w.Label2->text(),
        QStringLiteral("如果选择\"不保存'将自动保存backup1.bmp到程序目录,下次关闭时会被删除。"));
    EXPECT_EQ(w.Command1->text(), QStringLiteral("保存"));
    EXPECT_EQ(w.HScroll1->minimum(), 0);
    EXPECT_EQ(w.HScroll1->maximum(), 4);
    EXPECT_EQ(w.Timer1->interval(), 1000);
    w.show();
    w.hide();
    w.show();
    EXPECT_EQ(beeps, 1);
    const bool before = w.Image2->isVisible();
    w.Timer1_Timer();
    EXPECT_NE(w.Image2->isVisible(), before);
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible()) << "Escape is no way out";
    w.hide();
}

TEST_F(SaveWindow, SizeIsFixedInBothDirections) {
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QSize shown = w.size();
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    for (const QSize change : {QSize(0, 60), QSize(0, -40), QSize(50, 0), QSize(-50, -50)}) {
        w.resize(shown + change);
        EXPECT_EQ(w.size(), shown) << change.width() << "," << change.height();
    }
    EXPECT_GE(w.height(), w.sizeHint().height());  // every control has its room
    w.hide();
}

TEST_F(SaveWindow, SliderShortOfTheEndRunsBackAndSavesNothing) {
    w.show();
    for (int v : {1, 2, 3}) {
        w.HScroll1->setValue(v);
        EXPECT_EQ(w.HScroll1->value(), 0);
    }
    EXPECT_TRUE(w.Tag.isEmpty());
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(QFile::exists(QStringLiteral("backup1.bmp")));
    w.hide();
}

TEST_F(SaveWindow, SliderAtTheEndDeclinesAndWritesBackup1) {
    const bool answered = run([&] { w.HScroll1->setValue(4); });
    EXPECT_FALSE(stuckOpen);
    EXPECT_TRUE(answered);
    EXPECT_EQ(w.Tag, QStringLiteral("1"));
    EXPECT_EQ(w.HScroll1->value(), 0);
    EXPECT_EQ(loaded(dir.filePath(QStringLiteral("backup1.bmp"))), canvasImage());
}

TEST_F(SaveWindow, SaveButtonWritesABmpUnderTheChosenNameAndRemembersTheFolder) {
    nt::FileDialogRequest seen;
    const QString target = dir.filePath(QStringLiteral("picture.jpg"));
    w.chooseFile = [&](QWidget*, const nt::FileDialogRequest& r) {
        seen = r;
        return target;
    };
    const bool answered = run([&] { QTest::mouseClick(w.Command1, Qt::LeftButton); });
    EXPECT_FALSE(stuckOpen);
    EXPECT_TRUE(answered);
    EXPECT_FALSE(seen.open);
    EXPECT_EQ(seen.fileName, QStringLiteral("未命名图片"));
    EXPECT_EQ(seen.title, QStringLiteral("Save"));
    ASSERT_EQ(seen.fileTypes.size(), 6);
    EXPECT_TRUE(seen.fileTypes.first().startsWith(QStringLiteral("位图")));
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(2), QByteArray("BM"));  // BMP whatever the extension says
    EXPECT_EQ(loaded(target), canvasImage());
    EXPECT_EQ(w.SaveLastFolder, dir.path());
}

TEST_F(SaveWindow, CancelledDialogKeepsTheWindowAndAFailedWriteReportsIt) {
    w.chooseFile = [](QWidget*, const nt::FileDialogRequest&) { return QString(); };
    w.show();
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.Tag.isEmpty());

    const QString bad = dir.filePath(QStringLiteral("missing-folder/x.bmp"));
    w.chooseFile = [&](QWidget*, const nt::FileDialogRequest&) { return bad; };
    QString code;
    ModalAnswer answer([&](QWidget* m) {
        if (auto* box = qobject_cast<errbox*>(m)) code = box->Label2->text();
        m->close();
    });
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_TRUE(answer.seen());
    EXPECT_TRUE(code.startsWith(QStringLiteral("错误代码:"))) << code.toStdString();
    EXPECT_TRUE(w.isVisible()) << "the save window stays open after a failed save";
    EXPECT_TRUE(w.Tag.isEmpty());
    w.hide();
}

TEST_F(SaveWindow, ANameEndingInPngIsWrittenAsPng) {
    const QString target = dir.filePath(QStringLiteral("picture.png"));
    w.chooseFile = [&](QWidget*, const nt::FileDialogRequest&) { return target; };
    EXPECT_TRUE(run([&] { QTest::mouseClick(w.Command1, Qt::LeftButton); }));
    EXPECT_FALSE(stuckOpen);
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(loaded(target), canvasImage());
}
