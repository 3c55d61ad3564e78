// Selection, the internal clipboard (copy, cut, Delete, paste placement) and the clone stamp on
// the real window, checked by their pixels.
#include <QFile>
#include <QKeySequence>
#include <QPushButton>

#include "WindowFixture.h"
#include "document/errbox.h"
#include "document/tipbox.h"
#include "mainwindow/tools/RegionTools.h"
#include "surface/Limits.h"

namespace {

constexpr nt::Colour kWhite = 0xFFFFFF, kMagenta = 0xFF00FF;

// Every pixel its own colour, so a misplaced copy shows.
QImage numbered(int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) img.setPixel(x, y, qRgb(x & 255, y & 255, 7));
    return img;
}

nt::Colour at(const QImage& img, int x, int y) {
    return nt::fromPixel(img.pixel(x, y));
}

class Clipboard : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        w->SrcDc->setPicture(numbered(280, 232), true);
        canvas().setBackColor(kWhite);
        original = canvas().Image().copy();
        chooseTool(nt::kSelect);
    }
    void select(QPoint from, QPoint to) { drag(Qt::LeftButton, from, to); }
    void command(QAction* a) { a->trigger(); }
    const QImage& clip() { return w->pSrc21->Image(); }
    QString hint() { return tipbox::Instance(w.get())->Label7->text(); }
    QImage original;
};

TEST(SelectFollow, SpansPressToPointerAndKeepsAnAxisWherePointerIsLevel) {
    const QRectF before(5, 6, 7, 8);
    struct Case {
        double sx, sy, x, y;
        QRectF want;
    } cases[] = {
        {10, 20, 30, 25, QRectF(10, 20, 20, 5)},  // down and right
        {30, 25, 10, 20, QRectF(10, 20, 20, 5)},  // up and left: the same rectangle
        {10, 20, 30, 20, QRectF(10, 6, 20, 8)},   // level row: top and height stay
        {10, 20, 10, 40, QRectF(5, 20, 7, 20)},   // level column: left and width stay
        {10, 20, 10, 20, before},                 // no movement at all
    };
    for (const Case& c : cases)
        EXPECT_EQ(nt::tools::SelectTool::follow(before, c.sx, c.sy, c.x, c.y), c.want)
            << c.sx << "," << c.sy << " -> " << c.x << "," << c.y;
}

TEST_F(Clipboard, SelectionShowsWhileDraggingAndEnablesCopyAndCutAtTheRelease) {
    press(Qt::LeftButton, {10, 20});
    moveTo({30, 25});
    EXPECT_TRUE(w->shpSelect->isVisible());
    EXPECT_EQ(w->shpSelect->area(), QRectF(10, 20, 20, 5));
    EXPECT_TRUE(tipbox::Instance(w.get())->isVisible());
    EXPECT_EQ(hint(), QStringLiteral("选择一个区域,按Del可删除或可在菜单栏里选择功能"));
    release(Qt::LeftButton, {30, 25});
    EXPECT_FALSE(tipbox::Instance(w.get())->isVisible());
    EXPECT_TRUE(w->mnuCopy->isEnabled());
    EXPECT_TRUE(w->mnuCut->isEnabled());

    // A press and release without movement leaves nothing selected.
    press(Qt::LeftButton, {50, 50});
    release(Qt::LeftButton, {50, 50});
    EXPECT_TRUE(w->shpSelect->isHidden());
    EXPECT_FALSE(w->mnuCopy->isEnabled());
    EXPECT_FALSE(w->mnuCut->isEnabled());

    select({10, 20}, {30, 25});
    chooseTool(nt::kLine);
    EXPECT_TRUE(w->shpSelect->isHidden());
}

TEST_F(Clipboard, CopyTakesOneMoreColumnAndRowAndCutClearsTheSameArea) {
    select({10, 20}, {20, 25});
    command(w->mnuCopy);
    EXPECT_TRUE(w->shpSelect->isHidden());
    ASSERT_EQ(clip().size(), QSize(11, 6));
    EXPECT_EQ(clip(), original.copy(10, 20, 11, 6));
    EXPECT_EQ(canvas().Image(), original);

    canvas().setBackColor(0x000000);
    select({40, 50}, {50, 55});
    command(w->mnuCut);
    EXPECT_EQ(clip(), original.copy(40, 50, 11, 6));
    QImage expected = original.copy();
    for (int y = 50; y <= 55; ++y)
        for (int x = 40; x <= 50; ++x) expected.setPixel(x, y, nt::toPixel(0));
    EXPECT_EQ(canvas().Image(), expected);
    EXPECT_EQ(canvas().screen(), expected);
}

TEST_F(Clipboard, DeleteOnTheCanvasCutsAVisibleSelectionAndOtherwiseDoesNothing) {
    select({10, 10}, {12, 12});
    QTest::keyClick(w->SrcDc, Qt::Key_Delete);
    EXPECT_EQ(clip(), original.copy(10, 10, 3, 3));
    EXPECT_EQ(picture(11, 11), kWhite);
    const QImage afterCut = canvas().Image().copy();
    // Nothing selected now: Delete and Cut change nothing and show nothing.
    QTest::keyClick(w->SrcDc, Qt::Key_Delete);
    command(w->mnuCut);
    command(w->mnuCopy);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(canvas().Image(), afterCut);
    EXPECT_EQ(clip().size(), QSize(3, 3));
}

TEST_F(Clipboard, SelectionPartlyOffTheCanvasCopiesBackgroundThere) {
    // Dragged out past the right edge: the columns beyond it are background.
    select({270, 0}, {285, 3});
    command(w->mnuCopy);
    ASSERT_EQ(clip().size(), QSize(16, 4));
    EXPECT_EQ(at(clip(), 9, 2), at(original, 279, 2));
    EXPECT_EQ(at(clip(), 10, 2), kWhite);
    EXPECT_EQ(at(clip(), 15, 3), kWhite);
}

TEST_F(Clipboard, ClipboardBeyondTheLimitIsRefusedByCutAndIgnoredByCopy) {
    w->SrcDc->resizeSurface(static_cast<int>(nt::kMaxSide), 2);
    const QImage before = canvas().Image().copy();
    const QImage clipBefore = clip().copy();
    // The whole canvas, set by hand (no release enabled the commands): one column more than
    // any picture may have.
    w->shpSelect->setArea(QRectF(0, 0, nt::kMaxSide, 1));
    w->shpSelect->show();
    QString code, reason;
    ModalAnswer readError([&](QWidget* m) {
        auto* e = qobject_cast<errbox*>(m);
        ASSERT_NE(e, nullptr);
        code = e->Label2->text();
        reason = e->Label3->text();
        e->Command1->click();
    });
    w->mnuCut_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return readError.seen(); }, 5000));
    EXPECT_EQ(code, QStringLiteral("错误代码:7"));
    EXPECT_EQ(reason, QStringLiteral("内存不足"));
    EXPECT_EQ(canvas().Image(), before);  // nothing erased
    EXPECT_EQ(clip(), clipBefore);
    EXPECT_TRUE(w->shpSelect->isVisible());

    w->mnuCopy_Click();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(clip(), clipBefore);
    EXPECT_TRUE(w->shpSelect->isHidden());
}

TEST_F(Clipboard, PasteBeforeAnyCopyPlacesTheMagentaBlockCentredOnTheRelease) {
    ASSERT_EQ(clip().size(), QSize(359, 48));
    command(w->mnuPaste);
    EXPECT_TRUE(w->state.IsPasting);
    EXPECT_EQ(w->state.CurTool, nt::kNoTool);
    EXPECT_EQ(hint(), QStringLiteral("按住鼠标不放,粘贴的图片会出现,继续移动鼠标改变位置"));
    press(Qt::LeftButton, {140, 100});
    release(Qt::LeftButton, {140, 100});
    EXPECT_FALSE(w->state.IsPasting);
    // 359 \ 2 = 179 and 48 \ 2 = 24: columns -39..319 and rows 76..123, clipped.
    EXPECT_EQ(picture(0, 76), kMagenta);
    EXPECT_EQ(picture(279, 123), kMagenta);
    EXPECT_EQ(picture(0, 75), at(original, 0, 75));
    EXPECT_EQ(picture(279, 124), at(original, 279, 124));
    // One Paste places once: the next press draws nothing.
    drag(Qt::LeftButton, {140, 200}, {140, 200});
    EXPECT_EQ(picture(140, 200), at(original, 140, 200));
}

TEST_F(Clipboard, PastePreviewFollowsThePointerOnTheScreenAndTheReleaseStampsIt) {
    select({10, 20}, {20, 25});
    command(w->mnuCopy);
    command(w->mnuPaste);
    press(Qt::LeftButton, {60, 60});
    moveTo({150, 150});
    EXPECT_EQ(canvas().Image(), original);  // a preview only
    EXPECT_EQ(at(canvas().screen(), 145, 147), at(original, 10, 20));
    moveTo({153, 150});  // overlapping the last preview: what it uncovers is repainted
    EXPECT_EQ(at(canvas().screen(), 147, 147), at(original, 147, 147));
    EXPECT_EQ(at(canvas().screen(), 148, 147), at(original, 10, 20));
    moveTo({200, 150});
    release(Qt::LeftButton, {100, 100});
    // Centred on the release: an 11 x 6 block has its top-left at (95, 97).
    QImage expected = original.copy();
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 11; ++x)
            expected.setPixel(95 + x, 97 + y, original.pixel(10 + x, 20 + y));
    EXPECT_EQ(canvas().Image(), expected);
    EXPECT_EQ(canvas().screen(), expected);
}

TEST_F(Clipboard, TransparentPasteSkipsTheBackgroundColour) {
    // A cut leaves a background hole; its copy then carries background pixels.
    select({10, 10}, {13, 11});
    command(w->mnuCut);
    select({9, 10}, {14, 11});  // background in the middle, picture at both ends
    command(w->mnuCopy);
    const QImage hole = canvas().Image().copy();
    for (bool transparent : {true, false}) {
        w->MnuDQue->setChecked(transparent);
        command(w->mnuPaste);
        press(Qt::LeftButton, {103, 150});  // columns 100..105, rows 149..150
        release(Qt::LeftButton, {103, 150});
        EXPECT_EQ(picture(100, 149), at(hole, 9, 10)) << transparent;
        EXPECT_EQ(picture(102, 149), transparent ? at(original, 102, 149) : kWhite);
        EXPECT_EQ(picture(105, 150), at(hole, 14, 11)) << transparent;
    }
}

TEST_F(Clipboard, ToolChosenWhileAPasteIsPendingActsAndThePreviewNeverReachesThePicture) {
    command(w->mnuPaste);
    chooseTool(nt::kPencil);  // its moves turn persistence on
    press(Qt::LeftButton, {140, 30});
    moveTo({141, 30});
    moveTo({142, 30});
    EXPECT_EQ(picture(10, 30), at(original, 10, 30));  // inside the preview
    EXPECT_EQ(picture(141, 30), 0x000000u);            // the pencil's stroke
    release(Qt::LeftButton, {142, 30});
    EXPECT_EQ(picture(10, 30), kMagenta);
    EXPECT_EQ(w->state.CurTool, nt::kPencil);
    EXPECT_FALSE(w->state.IsPasting);
}

TEST_F(Clipboard, ClipboardOutlivesANewPicture) {
    select({10, 20}, {20, 25});
    command(w->mnuCopy);
    const QImage copied = clip().copy();
    const QString path = work.filePath(QStringLiteral("other.bmp"));
    QImage other(30, 20, QImage::Format_RGB32);
    other.fill(Qt::green);
    ASSERT_TRUE(other.save(path, "BMP"));
    w->chooseFile = [path](QWidget*, const nt::FileDialogRequest&) { return path; };
    w->mnuOpen_Click();
    ASSERT_EQ(canvas().width(), 30);
    EXPECT_EQ(clip(), copied);
}

TEST_F(Clipboard, StrayEventsLeaveThePictureAndTheStateConsistent) {
    // A release with no press and nothing pending draws nothing.
    release(Qt::LeftButton, {50, 50});
    // A paste dropped wholly off the canvas changes nothing and ends the paste.
    command(w->mnuPaste);
    w->SrcDc_MouseDown(1, 0, -5000, -5000);
    w->SrcDc_MouseMove(1, 0, 1e12, -1e12);
    w->SrcDc_MouseUp(1, 0, -5000, 1e9);
    EXPECT_FALSE(w->state.IsPasting);
    // Repeated paste commands while a paste is dragged (a held Ctrl+V) place it once.
    command(w->mnuPaste);
    press(Qt::LeftButton, {140, 100});
    for (int i = 0; i < 5; ++i) command(w->mnuPaste);
    moveTo({141, 100});
    release(Qt::LeftButton, {141, 100});
    EXPECT_FALSE(w->state.IsPasting);
    EXPECT_EQ(picture(141, 100), kMagenta);
    EXPECT_EQ(picture(141, 10), at(original, 141, 10));
    EXPECT_EQ(canvas().screen(), canvas().Image());
}

class CloneStamp : public Clipboard {
  protected:
    void SetUp() override {
        Clipboard::SetUp();
        chooseTool(nt::kCloneStamp);
    }
    void altPress(QPoint p) { press(Qt::LeftButton, p, Qt::AltModifier); }
    // The block of `side` pixels at `to` holds the original pixels from `from`.
    void expectBlock(QPoint to, QPoint from, int side) {
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                ASSERT_EQ(picture(to.x() + x, to.y() + y), at(original, from.x() + x, from.y() + y))
                    << x << "," << y;
    }
};

TEST_F(CloneStamp, AltPressSetsTheSourceTheFirstMoveTheOffsetAndLaterMovesStamp) {
    EXPECT_EQ(w->shpClone->area().size(), QSizeF(6, 6));  // the start-up size
    altPress({20, 30});
    EXPECT_TRUE(w->state.CloneNewSource);
    EXPECT_TRUE(w->shpClone->isVisible());
    EXPECT_EQ(w->shpClone->area(), QRectF(17, 27, 6, 6));
    release(Qt::LeftButton, {20, 30});

    press(Qt::LeftButton, {100, 100});
    moveTo({101, 100});  // fixes the offset (81, 70), draws nothing
    EXPECT_EQ(canvas().Image(), original);
    EXPECT_EQ(w->state.CloneOffsetX, 81);
    EXPECT_EQ(w->state.CloneOffsetY, 70);
    moveTo({110, 105});
    expectBlock({110, 105}, {29, 35}, 6);
    EXPECT_EQ(w->shpClone->area(), QRectF(29, 35, 6, 6));
    release(Qt::LeftButton, {110, 105});

    // The offset holds for the next drag; the size follows the list.
    w->cboCloneSize->setCurrentIndex(9);
    press(Qt::LeftButton, {200, 150});
    moveTo({200, 151});
    expectBlock({200, 151}, {119, 81}, 10);
    release(Qt::LeftButton, {200, 151});
}

// Where the window manager takes Alt presses, Ctrl alone sets the source; with other keys
// beside it a press sets nothing.
TEST_F(CloneStamp, CtrlPressSetsTheSourceAsAltDoes) {
    press(Qt::LeftButton, {20, 30}, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(w->state.CloneNewSource);
    release(Qt::LeftButton, {20, 30});
    press(Qt::RightButton, {20, 30}, Qt::ControlModifier);
    EXPECT_TRUE(w->state.CloneNewSource);
    EXPECT_EQ(w->shpClone->area(), QRectF(17, 27, 6, 6));
    release(Qt::RightButton, {20, 30});
    press(Qt::LeftButton, {100, 100});
    moveTo({101, 100});
    moveTo({110, 105});
    expectBlock({110, 105}, {29, 35}, 6);
    release(Qt::LeftButton, {110, 105});
}

TEST_F(CloneStamp, SourcePartlyOffTheCanvasLeavesThoseDestinationPixelsAlone) {
    altPress({1, 1});  // (QTest takes (0, 0) for the widget's centre)
    release(Qt::LeftButton, {1, 1});
    press(Qt::LeftButton, {100, 100});
    moveTo({101, 101});  // offset (100, 100)
    const QImage before = canvas().Image().copy();
    moveTo({98, 102});  // source (-2, 2): its first two columns are off the canvas
    release(Qt::LeftButton, {98, 102});
    EXPECT_EQ(picture(98, 102), at(before, 98, 102));
    EXPECT_EQ(picture(99, 107), at(before, 99, 107));
    EXPECT_EQ(picture(100, 102), at(before, 0, 2));
    EXPECT_EQ(picture(103, 107), at(before, 3, 7));
}

TEST_F(CloneStamp, AltPressesAtTheCornersStampAndKeepTheMarker) {
    for (QPoint corner : {QPoint(1, 1), QPoint(279, 231)}) {
        altPress(corner);
        moveTo(corner + QPoint(1, 0));  // fixes a one-pixel offset: copies from just behind
        moveTo(corner + QPoint(2, 0));
        release(Qt::LeftButton, corner + QPoint(2, 0));
        EXPECT_TRUE(w->shpClone->isVisible());
        EXPECT_EQ(w->shpClone->area().topLeft(), QPointF(corner + QPoint(1, 0)));  // the source
    }
    EXPECT_EQ(picture(3, 1), at(original, 2, 1));
}

}  // namespace
