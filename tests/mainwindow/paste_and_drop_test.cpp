// Escape gives up a pending paste; a file dropped on the window opens as the open command
// opens it, and other dropped data is ignored.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "WindowFixture.h"
#include "document/errbox.h"
#include "document/tipbox.h"
#include "platform/Picture.h"

namespace {

constexpr nt::Colour kMagenta = 0xFF00FF;

class PasteAndDrop : public WindowTest {
  protected:
    // Drags `data` over `target` and drops it there; whether the window took the drag.
    bool drop(QWidget* target, QMimeData* data) {
        const QPointF at(20, 20);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent dropped(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        return dropped.isAccepted();
    }
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = work.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
};

TEST_F(PasteAndDrop, EscapeGivesUpAPendingPasteAndTakesAwayItsPreview) {
    const QImage before = canvas().Image().copy();
    w->mnuPaste->trigger();
    ASSERT_TRUE(tipbox::Instance(w.get())->isVisible());
    QTest::keyClick(w->SrcDc, Qt::Key_Escape);
    EXPECT_FALSE(w->state.IsPasting);
    EXPECT_FALSE(tipbox::Instance(w.get())->isVisible());
    drag(Qt::LeftButton, {140, 100}, {150, 100});
    EXPECT_EQ(canvas().Image(), before);  // no placement

    // In the middle of the drag: the preview goes at once, the release places nothing.
    w->mnuPaste->trigger();
    press(Qt::LeftButton, {140, 100});
    moveTo({150, 100});
    ASSERT_EQ(screen(150, 100), kMagenta);
    QTest::keyClick(w->SrcDc, Qt::Key_Escape);
    EXPECT_EQ(canvas().screen(), before);
    moveTo({160, 100});
    release(Qt::LeftButton, {160, 100});
    EXPECT_EQ(canvas().Image(), before);
    EXPECT_EQ(canvas().screen(), before);

    // With nothing pending Escape changes nothing; a later Paste works as before.
    QTest::keyClick(w->SrcDc, Qt::Key_Escape);
    w->mnuPaste->trigger();
    drag(Qt::LeftButton, {140, 100}, {140, 100});
    EXPECT_EQ(picture(140, 100), kMagenta);
}

TEST_F(PasteAndDrop, TheFirstDroppedFileOpensAsOpenOpensIt) {
    QImage red(30, 20, QImage::Format_RGB32), green(10, 10, QImage::Format_RGB32);
    red.fill(Qt::red);
    green.fill(Qt::green);
    const QString first = work.filePath(QStringLiteral("first.png"));
    const QString second = work.filePath(QStringLiteral("second.bmp"));
    ASSERT_FALSE(nt::savePicturePng(red, first));
    ASSERT_FALSE(nt::savePictureBmp(green, second));
    w->shpSelect->show();
    w->MnuDQue->setChecked(true);
    const QString folder = w->state.LastFolder;

    QMimeData data;
    data.setUrls({QUrl(QStringLiteral("https://example.org/x.png")), QUrl::fromLocalFile(first),
                  QUrl::fromLocalFile(second)});
    data.setText(QStringLiteral("words"));
    ASSERT_TRUE(drop(w->SrcDc, &data));  // the canvas hands it to the window
    ASSERT_TRUE(QTest::qWaitFor([&] { return canvas().width() == 30; }, 5000));
    EXPECT_EQ(canvas().Image(), red);
    EXPECT_EQ(w->statusText(1), first);
    EXPECT_EQ(w->statusText(3), sizeText(30, 20));
    EXPECT_EQ(w->state.CurTool, nt::kNoTool);
    EXPECT_TRUE(w->shpSelect->isHidden());
    EXPECT_FALSE(w->MnuDQue->isChecked());
    EXPECT_EQ(w->state.LastFolder, folder);
}

TEST_F(PasteAndDrop, OtherDataIsIgnoredAndANonPictureIsReported) {
    const QImage before = canvas().Image().copy();
    QMimeData text, web;
    text.setText(QStringLiteral("/tmp/not-a-link.png"));
    web.setUrls({QUrl(QStringLiteral("https://example.org/x.png"))});
    EXPECT_FALSE(drop(w->SrcDc, &text));
    EXPECT_FALSE(drop(w.get(), &web));

    QMimeData notes;
    notes.setUrls({QUrl::fromLocalFile(write(QStringLiteral("notes.png"), "not a picture"))});
    QString shown;
    ModalAnswer readError([&](QWidget* m) {
        auto* e = qobject_cast<errbox*>(m);
        shown = e->Label2->text() + u' ' + e->Label3->text();
        e->Command1->click();
    });
    EXPECT_TRUE(drop(w->SrcDc, &notes));
    ASSERT_TRUE(QTest::qWaitFor([&] { return readError.seen(); }, 5000));
    EXPECT_EQ(shown, QStringLiteral("错误代码:481 无效图片"));
    EXPECT_EQ(canvas().Image(), before);
    EXPECT_EQ(w->state.CurTool, nt::kPencil);
}

}  // namespace
