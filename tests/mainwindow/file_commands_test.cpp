// The document commands end to end on real files: new canvas with the save window, open,
// save (with its failures), the close request, undo, restore and the snapshot tick.

#include <sys/resource.h>

#include <functional>
#include <vector>

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "MainWindowTest.h"
#include "document/errbox.h"
#include "document/frmNew.h"
#include "document/save.h"
#include "globals/Globals.h"
#include "platform/Picture.h"
#include "support/ModalAnswer.h"
#include "support/ScratchMount.h"

namespace {

// The answers the tests give.
// The process's address space in bytes, from /proc.
rlim_t virtualSize() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmSize:"))
            return line.mid(7).trimmed().split(' ')[0].toULongLong() << 10;
    return 0;
}

void decline(QWidget* m) {
    qobject_cast<save*>(m)->HScroll1->setValue(4);
}
ModalSequence::Act newCanvas(const QString& width, const QString& height, int colour) {
    return [=](QWidget* m) {
        auto* d = qobject_cast<frmNew*>(m);
        d->txtWidth->setText(width);
        d->txtHeight->setText(height);
        d->cboColor->setCurrentIndex(colour);
        d->cmdOK->click();
    };
}
void cancelNewCanvas(QWidget* m) {
    qobject_cast<frmNew*>(m)->cmdCancel->click();
}
struct ErrorShown {
    QString code, reason;
};
ModalSequence::Act readError(ErrorShown& out) {
    return [&out](QWidget* m) {
        auto* e = qobject_cast<errbox*>(m);
        out = {e->Label2->text(), e->Label3->text()};
        e->Command1->click();
    };
}

QImage readBack(const QString& path) {
    auto r = nt::loadPicture(path);
    return std::holds_alternative<QImage>(r) ? std::get<QImage>(r) : QImage();
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QImage pattern(int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) img.setPixel(x, y, qRgb(x & 255, y & 255, (x ^ y) & 255));
    return img;
}

// A started main window whose start-up dialog was accepted with its defaults (an 800 x 500
// white canvas).
class FileCommands : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ModalSequence startup({newCanvas(QStringLiteral("800"), QStringLiteral("500"), 0)});
        start([&] { return startup.finished(); });
        startupSeen = startup.seen();
    }

    QString file(const QString& name) const { return work.filePath(name); }
    // The file dialog answers `path` and keeps the request it was given.
    void answerFileDialog(const QString& path) {
        w->chooseFile = [this, path](QWidget*, const nt::FileDialogRequest& r) {
            requests.push_back(r);
            return path;
        };
    }
    void strokeLine(QPoint from, QPoint to) {
        QTest::mousePress(w->SrcDc, Qt::LeftButton, {}, from);
        QTest::mouseMove(w->SrcDc, to);
        QTest::mouseRelease(w->SrcDc, Qt::LeftButton, {}, to);
    }

    QStringList startupSeen;
    std::vector<nt::FileDialogRequest> requests;
};

TEST_F(FileCommands, StartUpAsksForTheFirstCanvasWithoutTheSaveWindow) {
    EXPECT_EQ(startupSeen, QStringList{QStringLiteral("frmNew")});
    QImage white(800, 500, QImage::Format_RGB32);
    white.fill(qRgb(255, 255, 255));
    EXPECT_EQ(canvas().Image(), white);
    EXPECT_EQ(w->SrcDc->size(), QSize(800, 500));
    EXPECT_EQ(w->statusText(3), sizeText(800, 500));
    EXPECT_EQ(nt::globals().DialogResult, nt::GlobalSettings::kIdle);
    EXPECT_EQ(w->Timer10->objectName(), QStringLiteral("Timer10"));
    EXPECT_EQ(w->Timer10->interval(), 60000);
    EXPECT_TRUE(w->Timer10->isActive());
}

TEST_F(FileCommands, NewCanvasAskedAfterTheSaveWindowResetsTheCanvas) {
    canvas().Line(0, 0, 50, 50, 0x000000);
    const QImage old = canvas().Image().copy();
    w->shpSelect->show();
    w->MnuDQue->setChecked(true);
    ModalSequence answers({decline, newCanvas(QStringLiteral("640"), QStringLiteral("480"), 4)});
    w->mnuNew->trigger();
    EXPECT_EQ(answers.seen(), (QStringList{QStringLiteral("save"), QStringLiteral("frmNew")}));
    QImage blue(640, 480, QImage::Format_RGB32);
    blue.fill(qRgb(0, 0, 255));
    EXPECT_EQ(canvas().Image(), blue);
    EXPECT_EQ(w->SrcDc->size(), QSize(640, 480));
    EXPECT_EQ(w->statusText(3), sizeText(640, 480));
    EXPECT_FALSE(w->MnuDQue->isChecked());
    EXPECT_TRUE(w->shpSelect->isHidden());
    EXPECT_EQ(nt::globals().DialogResult, nt::GlobalSettings::kIdle);
    EXPECT_EQ(readBack(file(QStringLiteral("backup1.bmp"))), old) << "declining keeps a backup";
}

TEST_F(FileCommands, NewCanvasCancelledChangesNothingButTheSizeText) {
    canvas().Line(0, 0, 50, 50, 0x000000);
    w->SrcDc->resizeSurface(300, 200);  // as a handle drag leaves it, text not yet written
    const QImage before = canvas().Image().copy();
    w->shpSelect->show();
    w->MnuDQue->setChecked(true);
    ModalSequence answers({decline, cancelNewCanvas});
    w->mnuNew->trigger();
    EXPECT_EQ(answers.seen(), (QStringList{QStringLiteral("save"), QStringLiteral("frmNew")}));
    EXPECT_EQ(canvas().Image(), before);
    EXPECT_FALSE(w->shpSelect->isHidden());
    EXPECT_TRUE(w->MnuDQue->isChecked());
    EXPECT_EQ(w->statusText(3), sizeText(300, 200));
    EXPECT_EQ(nt::globals().DialogResult, nt::GlobalSettings::kIdle);
}

TEST_F(FileCommands, OpenTakesThePictureAndItsSizeAndLeavesNoTool) {
    ASSERT_TRUE(QDir(work.path()).mkdir(QStringLiteral("pics")));
    const QString path = file(QStringLiteral("pics/big.bmp"));
    const QImage big = pattern(1024, 768);
    ASSERT_FALSE(nt::savePictureBmp(big, path));
    const QString startFolder = w->state.LastFolder;
    w->shpSelect->show();
    w->MnuDQue->setChecked(true);
    answerFileDialog(path);
    w->mnuOpen->trigger();

    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(requests[0].open);
    EXPECT_EQ(requests[0].title, QStringLiteral("Open"));
    EXPECT_EQ(requests[0].fileTypes, nt::pictureFileTypes());
    EXPECT_EQ(requests[0].fileTypes.size(), 8);
    EXPECT_EQ(requests[0].folder, startFolder);
    EXPECT_TRUE(requests[0].fileName.isEmpty());

    EXPECT_EQ(canvas().Image(), big);
    EXPECT_EQ(w->SrcDc->size(), QSize(1024, 768));
    EXPECT_EQ(canvas().BackColor(), 0xFFFFFFu);
    EXPECT_EQ(w->statusText(3), sizeText(1024, 768));
    EXPECT_EQ(w->statusText(1), path);
    EXPECT_EQ(w->state.CurTool, nt::kNoTool);
    for (QToolButton* b : w->Command1) EXPECT_FALSE(b->isChecked());
    EXPECT_FALSE(w->MnuDQue->isChecked());
    EXPECT_TRUE(w->shpSelect->isHidden());
    EXPECT_EQ(w->state.LastFolder, file(QStringLiteral("pics")));
    EXPECT_EQ(QDir::currentPath(), QDir(work.path()).canonicalPath()) << "working files stay put";

    // Cancelled: the next dialog starts in the picture's folder; no tool, panel 1 emptied.
    w->Command1_Click(nt::kLine);
    w->SrcDc->resizeSurface(100, 90);
    const QImage before = canvas().Image().copy();
    answerFileDialog(QString());
    w->mnuOpen->trigger();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].folder, file(QStringLiteral("pics")));
    EXPECT_EQ(canvas().Image(), before);
    EXPECT_EQ(w->state.CurTool, nt::kNoTool);
    EXPECT_TRUE(w->statusText(1).isEmpty());
    EXPECT_EQ(w->statusText(3), sizeText(100, 90));
    EXPECT_EQ(w->state.LastFolder, file(QStringLiteral("pics")));
}

TEST_F(FileCommands, AFileThatCannotBeOpenedIsReportedAndChangesNothing) {
    QByteArray validBmp = nt::encodeBmp(pattern(40, 30));
    struct Case {
        const char* name;
        QByteArray content;  // null: no such file
        const char* code;
        const char* reason;
    } cases[] = {
        {"notes.bmp", "these are words, not pixels", "错误代码:481", "无效图片"},
        {"empty.jpg", QByteArray(""), "错误代码:481", "无效图片"},
        {"cut.bmp", validBmp.left(validBmp.size() / 2), "错误代码:481", "无效图片"},
        {"missing.bmp", QByteArray(), "错误代码:53", "文件未找到"},
        {"nowhere/missing.bmp", QByteArray(), "错误代码:76", "路径未找到"},
    };
    canvas().Line(5, 5, 60, 40, 0x0000FF);
    const QImage before = canvas().Image().copy();
    const QString panel1 = w->statusText(1), panel3 = w->statusText(3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = file(QString::fromLatin1(c.name));
        if (!c.content.isNull()) writeBytes(path, c.content);
        answerFileDialog(path);
        ErrorShown shown;
        ModalSequence answers({readError(shown)});
        w->mnuOpen->trigger();
        EXPECT_EQ(answers.seen(), QStringList{QStringLiteral("errbox")});
        EXPECT_EQ(shown.code, QString::fromUtf8(c.code));
        EXPECT_EQ(shown.reason, QString::fromUtf8(c.reason));
        EXPECT_EQ(canvas().Image(), before);
        EXPECT_EQ(w->SrcDc->size(), QSize(800, 500));
        EXPECT_EQ(w->state.CurTool, nt::kPencil);
        EXPECT_TRUE(w->Command1[nt::kPencil]->isChecked());
        EXPECT_EQ(w->statusText(1), panel1);
        EXPECT_EQ(w->statusText(3), panel3);
    }
}

TEST_F(FileCommands, SaveWritesBmpUnderTheChosenNameReplacingWithoutAsking) {
    ASSERT_TRUE(QDir(work.path()).mkdir(QStringLiteral("out")));
    canvas().Line(3, 4, 200, 100, 0x00FF00);
    const QString jpg = file(QStringLiteral("out/picture.jpg"));
    writeBytes(jpg, "an older file that is replaced");
    answerFileDialog(jpg);
    w->mnuSave->trigger();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_FALSE(requests[0].open);
    EXPECT_EQ(requests[0].title, QStringLiteral("Save"));
    EXPECT_EQ(requests[0].fileTypes, nt::pictureFileTypes());
    EXPECT_TRUE(requests[0].fileName.isEmpty());
    EXPECT_TRUE(bytesOf(jpg).startsWith("BM"));
    EXPECT_EQ(readBack(jpg), canvas().Image());
    EXPECT_EQ(w->statusText(1), jpg);

    // No extension is added, and the next dialog starts in the folder saved to.
    const QString bare = file(QStringLiteral("out/bare"));
    answerFileDialog(bare);
    w->mnuSave->trigger();
    EXPECT_EQ(requests[1].folder, file(QStringLiteral("out")));
    EXPECT_EQ(readBack(bare), canvas().Image());
    EXPECT_EQ(QDir(file(QStringLiteral("out"))).entryList(QDir::Files),
              (QStringList{QStringLiteral("bare"), QStringLiteral("picture.jpg")}));

    // Cancelled: nothing written, panel 1 emptied.
    answerFileDialog(QString());
    w->mnuSave->trigger();
    EXPECT_TRUE(w->statusText(1).isEmpty());
    EXPECT_EQ(QDir(file(QStringLiteral("out"))).entryList(QDir::Files).size(), 2);
}

TEST_F(FileCommands, SaveIntoAMissingOrReadOnlyFolderIsReportedAndWritesNothing) {
    const QString panel1 = w->statusText(1);
    const QString missing = file(QStringLiteral("nowhere/a.bmp"));
    answerFileDialog(missing);
    ErrorShown shown;
    {
        ModalSequence answers({readError(shown)});
        w->mnuSave->trigger();
        EXPECT_EQ(answers.seen(), QStringList{QStringLiteral("errbox")});
    }
    EXPECT_EQ(shown.code, QStringLiteral("错误代码:76"));  // a path error, not a missing file
    EXPECT_EQ(shown.reason, QStringLiteral("路径未找到"));
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_EQ(w->statusText(1), panel1);

    // Root writes through permissions, so it gets a read-only file system instead.
    ASSERT_TRUE(QDir(work.path()).mkdir(QStringLiteral("locked")));
    const QString locked = file(QStringLiteral("locked"));
    ScratchMount mount(locked, "size=64k");
    if (mount.ok()) {
        mount.remountReadOnly();
    } else {
        ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
    }
    if (QFileInfo(locked).isWritable()) GTEST_SKIP() << "cannot make a folder read-only here";
    answerFileDialog(locked + QStringLiteral("/a.bmp"));
    {
        ModalSequence answers({readError(shown)});
        w->mnuSave->trigger();
        EXPECT_EQ(answers.seen(), QStringList{QStringLiteral("errbox")});
    }
    EXPECT_EQ(shown.code, QStringLiteral("错误代码:70"));
    EXPECT_EQ(shown.reason, QStringLiteral("拒绝的权限"));
    EXPECT_TRUE(QDir(locked).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(w->statusText(1), panel1);
}

TEST_F(FileCommands, AFullDiskIsReportedAndKeepsTheOldFile) {
    ASSERT_TRUE(QDir(work.path()).mkdir(QStringLiteral("small")));
    const QString small = file(QStringLiteral("small"));
    ScratchMount mount(small, "size=256k");
    if (!mount.ok()) GTEST_SKIP() << "mounting a small tmpfs needs root and a working mount";
    const QString path = small + QStringLiteral("/keep.bmp");
    ASSERT_FALSE(nt::savePictureBmp(pattern(20, 10), path));
    const QByteArray old = bytesOf(path);
    // 800 x 500 needs 1.2 MB: more than the disk holds.
    answerFileDialog(path);
    ErrorShown shown;
    ModalSequence answers({readError(shown)});
    w->mnuSave->trigger();
    EXPECT_EQ(answers.seen(), QStringList{QStringLiteral("errbox")});
    EXPECT_EQ(shown.code, QStringLiteral("错误代码:61"));
    EXPECT_EQ(shown.reason, QStringLiteral("磁盘已满"));
    EXPECT_EQ(bytesOf(path), old);
    EXPECT_EQ(QDir(small).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("keep.bmp")});
}

TEST_F(FileCommands, UndoTakesBackTheLastStrokeAndOnlyThat) {
    w->Command1_Click(nt::kLine);
    const QImage before = canvas().Image().copy();
    strokeLine({10, 10}, {100, 10});
    ASSERT_EQ(canvas().Point(50, 10), 0x000000u);
    w->mnuundo1->trigger();
    EXPECT_EQ(canvas().Image(), before);
    w->mnuundo1->trigger();
    EXPECT_EQ(canvas().Image(), before) << "a second undo changes nothing more";

    // A size the undo image brings back is followed by the widget and the size text.
    strokeLine({10, 20}, {100, 20});
    const QImage stroked = canvas().Image().copy();
    strokeLine({5, 5}, {6, 6});
    w->SrcDc->resizeSurface(300, 200);
    w->SetCanvasSizeText();
    w->mnuundo1->trigger();
    EXPECT_EQ(canvas().Image(), stroked);
    EXPECT_EQ(w->SrcDc->size(), QSize(800, 500));
    EXPECT_EQ(w->statusText(3), sizeText(800, 500));
}

TEST_F(FileCommands, UndoAndRestoreWithoutAReadableFileDoNothing) {
    canvas().Line(0, 0, 30, 30, 0x0000FF);
    const QImage before = canvas().Image().copy();
    ModalSequence anyWindow({[](QWidget* m) { m->close(); }});
    ASSERT_FALSE(QFile::exists(file(QStringLiteral("undo.bmp"))));
    w->mnuundo1->trigger();
    w->mnuundo->trigger();
    EXPECT_EQ(canvas().Image(), before);
    writeBytes(file(QStringLiteral("undo.bmp")), "not a picture");
    writeBytes(file(QStringLiteral("backup.bmp")), QByteArray());
    w->mnuundo1->trigger();
    w->mnuundo->trigger();
    EXPECT_EQ(canvas().Image(), before);
    EXPECT_TRUE(anyWindow.seen().isEmpty()) << "nothing is reported";
}

TEST_F(FileCommands, RestoreReturnsToTheLastSnapshot) {
    canvas().Line(0, 0, 300, 200, 0x0000FF);
    w->Timer10_Timer();
    const QImage snapshot = canvas().Image().copy();
    canvas().Line(0, 200, 300, 0, 0x00FF00);
    w->mnuundo->trigger();
    EXPECT_EQ(canvas().Image(), snapshot);
    EXPECT_EQ(readBack(file(QStringLiteral("backup.bmp"))), snapshot);
}

TEST_F(FileCommands, UndoAndRestoreTakeTheImageItselfWhenItsFileCouldNotBeWritten) {
    ASSERT_TRUE(QDir(work.path()).mkdir(QStringLiteral("wd")));
    const QString wd = file(QStringLiteral("wd"));
    ScratchMount disk(wd, "size=4m");
    if (!disk.ok()) GTEST_SKIP() << "mounting a small tmpfs needs root";
    QDir::setCurrent(wd);
    w->Command1_Click(nt::kLine);
    strokeLine({10, 10}, {100, 10});  // its press writes "undo.bmp"
    w->Timer10_Timer();               // and this "backup.bmp"
    w->undoImage().flush();
    w->backupImage().flush();
    disk.remountReadOnly();  // from here on no working file can be written
    const QImage afterFirst = canvas().Image().copy();
    strokeLine({10, 20}, {100, 20});
    w->mnuundo1->trigger();
    EXPECT_EQ(canvas().Image(), afterFirst) << "the image of the last press, not the older file";
    strokeLine({10, 30}, {100, 30});
    w->Timer10_Timer();
    const QImage snapshot = canvas().Image().copy();
    strokeLine({10, 40}, {100, 40});
    w->mnuundo->trigger();
    EXPECT_EQ(canvas().Image(), snapshot);
    w->undoImage().flush();
    w->backupImage().flush();
    QDir::setCurrent(work.path());  // so the scratch disk can go
}

TEST_F(FileCommands, NewCanvasThatCannotBeAllocatedIsReportedAndChangesNothing) {
    canvas().Line(0, 0, 50, 50, 0x000000);
    const QImage before = canvas().Image().copy();
    const nt::Colour backBefore = canvas().BackColor();
    // Room for the program as it is, not for a 9000 x 9000 picture.
    rlimit saved{};
    getrlimit(RLIMIT_AS, &saved);
    rlimit tight = saved;
    tight.rlim_cur = virtualSize() + (rlim_t{160} << 20);
    ErrorShown shown;
    {
        ModalSequence answers({decline,
                               newCanvas(QStringLiteral("9000"), QStringLiteral("9000"), 4),
                               readError(shown)});
        ASSERT_EQ(setrlimit(RLIMIT_AS, &tight), 0);
        w->mnuNew->trigger();
        setrlimit(RLIMIT_AS, &saved);
        EXPECT_EQ(answers.seen(), (QStringList{QStringLiteral("save"), QStringLiteral("frmNew"),
                                               QStringLiteral("errbox")}));
    }
    EXPECT_EQ(shown.code, QStringLiteral("错误代码:7"));
    EXPECT_EQ(shown.reason, QStringLiteral("内存不足"));
    EXPECT_EQ(canvas().Image(), before);
    EXPECT_EQ(canvas().BackColor(), backBefore);
    EXPECT_EQ(w->statusText(3), sizeText(800, 500));
}

TEST_F(FileCommands, ClosingAsksTheSaveWindowAndEndsOnlyAfterAnAnswer) {
    canvas().Line(0, 0, 100, 100, 0xFF0000);
    const QImage picture = canvas().Image().copy();
    {
        ModalSequence answers({decline});
        EXPECT_FALSE(w->close()) << "the close itself is always refused";
        EXPECT_EQ(answers.seen(), QStringList{QStringLiteral("save")});
    }
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(readBack(file(QStringLiteral("backup1.bmp"))), picture);

    // "退出(&X)" takes the same road; this time the user saves through "保存".
    const QString kept = file(QStringLiteral("kept.bmp"));
    save::Instance(w.get())->chooseFile = [&](QWidget*, const nt::FileDialogRequest&) {
        return kept;
    };
    ModalSequence answers({[](QWidget* m) { qobject_cast<save*>(m)->Command1->click(); }});
    w->mnuExit->trigger();
    EXPECT_EQ(answers.seen(), QStringList{QStringLiteral("save")});
    EXPECT_EQ(ends, 2);
    EXPECT_EQ(readBack(kept), picture);
}

}  // namespace
