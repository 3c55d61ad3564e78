// The system clipboard against another program on a real X server (run under xvfb-run with
// xclip as the other program): what we copy is read back by xclip pixel by pixel, a picture
// xclip puts there is pasted, and the owner rule decides between the two clipboards.
#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>

#include "WindowFixture.h"
#include "document/SystemClipboard.h"
#include "document/errbox.h"
#include "document/save.h"
#include "platform/Picture.h"
#include "surface/Limits.h"

namespace {

constexpr nt::Colour kWhite = 0xFFFFFF;

// Every pixel its own colour, so a misplaced copy shows.
QImage numbered(int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) img.setPixel(x, y, qRgb(x & 255, y & 255, 7));
    return img;
}

QByteArray pngOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return bytes;
}

class SystemClipboard : public WindowTest {
  protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "run under xvfb-run";
        WindowTest::SetUp();
        w->SrcDc->setPicture(numbered(280, 232), true);
        canvas().setBackColor(kWhite);
        original = canvas().Image().copy();
    }

    // Runs xclip with the event loop going, since it may be asking this program for data.
    QByteArray xclip(const QStringList& arguments) {
        QProcess p;
        p.start(QStringLiteral("xclip"), QStringList{"-selection", "clipboard"} + arguments);
        EXPECT_TRUE(QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 10000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return p.readAllStandardOutput();
    }
    // xclip takes the clipboard with `bytes` of `type` and serves them from the background.
    void otherProgramPuts(const QByteArray& bytes, const char* type = "image/png") {
        const QString path = work.filePath(QStringLiteral("put"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        QSignalSpy changed(QGuiApplication::clipboard(), &QClipboard::dataChanged);
        ASSERT_EQ(QProcess::execute(QStringLiteral("sh"),
                                    {"-c", QStringLiteral("xclip -selection clipboard -t %1 -i "
                                                          "'%2' >/dev/null 2>&1")
                                               .arg(QLatin1String(type), path)}),
                  0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return changed.count() > 0; }, 5000));
        ASSERT_FALSE(QGuiApplication::clipboard()->ownsClipboard());
    }
    void select(QPoint from, QPoint to) {
        chooseTool(nt::kSelect);
        drag(Qt::LeftButton, from, to);
    }
    // Paste, then a click at `at` places it.
    void pasteAt(QPoint at) {
        w->mnuPaste->trigger();
        drag(Qt::LeftButton, at, at);
    }
    // The canvas holds `block` with its top-left at `corner`.
    void expectBlockAt(const QImage& block, QPoint corner) {
        EXPECT_EQ(canvas().Image().copy(QRect(corner, block.size())), block);
    }
    QString errorOf(const std::function<void()>& command) {
        QString shown;
        ModalAnswer readError([&](QWidget* m) {
            auto* e = qobject_cast<errbox*>(m);
            shown = e->Label2->text() + u' ' + e->Label3->text();
            e->Command1->click();
        });
        command();
        return shown;
    }
    QImage original;
};

TEST_F(SystemClipboard, CopyAndCutOfferTheBlockAsPngMadeOnlyWhenAsked) {
    select({10, 20}, {20, 25});
    w->mnuCopy->trigger();
    const auto* offered =
        qobject_cast<const nt::ClipboardPicture*>(QGuiApplication::clipboard()->mimeData());
    ASSERT_NE(offered, nullptr);
    EXPECT_FALSE(offered->encoded());
    EXPECT_TRUE(xclip({"-t", "TARGETS", "-o"}).contains("image/png"));
    EXPECT_FALSE(offered->encoded());  // listing the types encodes nothing
    const QImage block = original.copy(10, 20, 11, 6);
    QImage back = QImage::fromData(xclip({"-t", "image/png", "-o"}), "png");
    EXPECT_TRUE(offered->encoded());
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), block);
    // Qt offers its other image types beside it.
    EXPECT_EQ(QImage::fromData(xclip({"-t", "image/bmp", "-o"}), "bmp")
                  .convertToFormat(QImage::Format_RGB32),
              block);

    select({40, 50}, {44, 52});
    w->mnuCut->trigger();
    back = QImage::fromData(xclip({"-t", "image/png", "-o"}), "png");
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), original.copy(40, 50, 5, 3));
    EXPECT_EQ(picture(42, 51), kWhite);
}

TEST_F(SystemClipboard, PasteTakesAnotherProgramsPictureLaidOnWhite) {
    QImage shot(40, 30, QImage::Format_ARGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) shot.setPixel(x, y, qRgba(x * 6, y * 8, 100, x < 5 ? 0 : 255));
    otherProgramPuts(pngOf(shot));
    pasteAt({100, 100});  // 40 x 30 centred: top-left (80, 85)
    QImage onWhite = shot.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 5; ++x) onWhite.setPixel(x, y, 0xFFFFFFFF);
    EXPECT_EQ(w->pSrc21->Image(), onWhite);
    expectBlockAt(onWhite, {80, 85});
    EXPECT_EQ(picture(79, 85), nt::fromPixel(original.pixel(79, 85)));
}

TEST_F(SystemClipboard, PasteTakesTheNewerOfOurCopyAndAnotherProgramsPicture) {
    QImage a(6, 4, QImage::Format_RGB32), b(8, 2, QImage::Format_RGB32);
    a.fill(0xFF1020F0);
    b.fill(0xFFE0C010);
    otherProgramPuts(pngOf(a));
    select({10, 20}, {12, 21});  // our Copy is newer
    w->mnuCopy->trigger();
    pasteAt({100, 100});
    expectBlockAt(original.copy(10, 20, 3, 2), {99, 99});

    otherProgramPuts(pngOf(b));  // now theirs is
    pasteAt({150, 150});
    expectBlockAt(b, {146, 149});
    pasteAt({200, 50});  // still theirs, now our internal clipboard
    expectBlockAt(b, {196, 49});

    otherProgramPuts("just words", "UTF8_STRING");  // no picture: ours stays
    pasteAt({50, 200});
    expectBlockAt(b, {46, 199});
    EXPECT_FALSE(w->state.IsPasting);
}

TEST_F(SystemClipboard, ATooLargeOrDamagedPictureIsReportedAndChangesNothing) {
    // 30001 x 1: one column past the limit, complete and well-formed.
    otherProgramPuts(pngOf(QImage(static_cast<int>(nt::kMaxSide) + 1, 1, QImage::Format_RGB32)));
    const QImage clip = w->pSrc21->Image().copy();
    EXPECT_EQ(errorOf([&] { w->mnuPaste->trigger(); }), QStringLiteral("错误代码:7 内存不足"));
    EXPECT_FALSE(w->state.IsPasting);
    EXPECT_EQ(w->state.CurTool, nt::kPencil);
    EXPECT_EQ(errorOf([&] { w->mnuPasteNew->trigger(); }), QStringLiteral("错误代码:7 内存不足"));
    EXPECT_EQ(w->pSrc21->Image(), clip);
    EXPECT_EQ(canvas().Image(), original);

    const QByteArray png = pngOf(numbered(20, 20));
    otherProgramPuts(png.left(png.size() - 20));
    EXPECT_EQ(errorOf([&] { w->mnuPaste->trigger(); }), QStringLiteral("错误代码:481 无效图片"));
    EXPECT_FALSE(w->state.IsPasting);
    EXPECT_EQ(w->pSrc21->Image(), clip);
}

TEST_F(SystemClipboard, PasteAsNewMakesACanvasOfThePictureAfterTheSaveWindow) {
    const QImage shot = numbered(90, 70);
    otherProgramPuts(pngOf(shot));
    w->shpSelect->show();
    w->MnuDQue->setChecked(true);
    ModalSequence answers({[](QWidget* m) { qobject_cast<save*>(m)->HScroll1->setValue(4); }});
    w->mnuPasteNew->trigger();
    EXPECT_EQ(answers.seen(), QStringList{QStringLiteral("save")});
    EXPECT_EQ(canvas().Image(), shot);
    EXPECT_EQ(w->SrcDc->size(), QSize(90, 70));
    EXPECT_EQ(w->statusText(3), sizeText(90, 70));
    EXPECT_TRUE(w->shpSelect->isHidden());
    EXPECT_FALSE(w->MnuDQue->isChecked());

    // Our own copy, when it is the newer.
    select({10, 10}, {14, 12});
    w->mnuCopy->trigger();
    ModalSequence again({[](QWidget* m) { qobject_cast<save*>(m)->HScroll1->setValue(4); }});
    w->mnuPasteNew->trigger();
    EXPECT_EQ(canvas().Image(), shot.copy(10, 10, 5, 3));
    EXPECT_EQ(w->statusText(3), sizeText(5, 3));
}

}  // namespace
