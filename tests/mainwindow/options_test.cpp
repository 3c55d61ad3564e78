// Start-up state, the tool box with its option panels and lists, the libraries, the palette
// hook and the swap key, on the real window.
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QToolButton>

#include "WindowFixture.h"
#include "document/tipbox.h"
#include "mainwindow/FittedLabel.h"
#include "mainwindow/ToolIcons.h"
#include "palette/PaletteLogic.h"

namespace {

QStringList items(const QComboBox* c) {
    QStringList out;
    for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
    return out;
}

QStringList numbers(int last) {
    QStringList out;
    for (int i = 1; i <= last; ++i) out << QString::number(i);
    return out;
}

using Startup = WindowTest;

TEST_F(Startup, LeavesThePencilWidthOneEraserTenBlackAndRedOpaquePasting) {
    EXPECT_EQ(w->windowTitle(), QStringLiteral("NorvalyTintora 2017 V3.3"));
    EXPECT_EQ(w->state.CurTool, nt::kPencil);
    EXPECT_TRUE(w->Command1[nt::kPencil]->isChecked());
    EXPECT_EQ(w->cboDW->currentText(), QStringLiteral("1"));
    EXPECT_EQ(canvas().DrawWidth, 1);
    EXPECT_EQ(canvas().DrawStyle, 0);
    EXPECT_EQ(w->cboWidth->currentText(), QStringLiteral("10"));
    EXPECT_EQ(w->dColorPallete1->Color1(), 0x000000u);
    EXPECT_EQ(w->dColorPallete1->Color2(), 0x0000FFu);
    EXPECT_FALSE(w->MnuDQue->isChecked());
    EXPECT_EQ(w->shpClone->area().size(), QSizeF(6, 6));
    EXPECT_EQ(nt::globals().DialogResult, 2);
}

// Work surfaces that carry pictures with see-through areas start see-through (magenta).
TEST_F(Startup, WorkSurfacesForPicturesAreSeeThrough) {
    for (const nt::Surface* s :
         {w->SrcBrush1.get(), w->SrcBrush2.get(), w->pSrc21.get(), w->pMask.get()}) {
        EXPECT_EQ(s->BackColor(), 0xFF00FFu);
        EXPECT_EQ(nt::fromPixel(s->Image().pixel(0, 0)), 0xFF00FFu);
    }
}

TEST_F(Startup, FoldersStatusBarAndCanvasOfTheDesign) {
    const QString app = QStringLiteral(NT_SOURCE_DIR "/resources/");
    EXPECT_EQ(w->state.LastFolder, app);
    EXPECT_EQ(nt::globals().DataPath, app + QStringLiteral("Data/"));
    EXPECT_EQ(w->statusText(1), QStringLiteral("请及时保存您的作品"));
    EXPECT_EQ(w->statusText(3), QStringLiteral("画布大小:宽 280 高 232"));
    EXPECT_EQ(w->SrcDc->parentWidget(), w->pHolder);
    EXPECT_EQ(w->SrcDc->pos(), QPoint(3, 3));
    EXPECT_EQ(w->SrcDc->size(), QSize(280, 232));
    for (const char* name :
         {"pTop", "pTools", "pHolder", "SrcDc", "dColorPallete1", "Label11", "sbar1", "cboDW",
          "cboStyle", "cboWidth", "cboEraseType", "cboFillType", "cboGrade", "cboPatten",
          "cboBrush", "cboCloneSize", "cboTextStyle", "shpSelect", "shpClone"}) {
        EXPECT_NE(w->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    }
    EXPECT_TRUE(w->Label11->text().startsWith(QStringLiteral("左键定义颜色1,右键定义颜色2.")));
}

TEST_F(Startup, OptionListsHoldExactlyTheirItems) {
    EXPECT_EQ(items(w->cboFillType), (QStringList{"颜色", "模板"}));
    EXPECT_EQ(items(w->cboStyle), (QStringList{"\u2014", "- -", ".", "- .", "- . ."}));
    EXPECT_EQ(items(w->cboEraseType), (QStringList{"正方形", "圆形"}));
    EXPECT_EQ(items(w->cboGrade), (QStringList{"从左到右", "从上到下"}));
    EXPECT_EQ(items(w->cboTextStyle), (QStringList{"正常", "3D 重影特效"}));
    EXPECT_EQ(items(w->cboDW), numbers(100));
    EXPECT_EQ(items(w->cboWidth), numbers(100));
    EXPECT_EQ(items(w->cboCloneSize), numbers(30));
    EXPECT_EQ(w->cboCloneSize->currentIndex(), 5);
    for (QComboBox* c :
         {w->cboFillType, w->cboStyle, w->cboEraseType, w->cboGrade, w->cboTextStyle, w->cboDW})
        EXPECT_EQ(c->currentIndex(), 0) << c->objectName().toStdString();
}

TEST_F(Startup, ToolButtonsCarryTheirTipsAndPictures) {
    EXPECT_EQ(w->Command1[0]->toolTip(),
              QStringLiteral("选择：在画布上选择一个矩形区域，然后可以进行删除等操作。"));
    EXPECT_EQ(w->Command1[14]->toolTip(), QStringLiteral("自由曲线"));
    EXPECT_EQ(w->Command1[21]->toolTip(), QStringLiteral("文本/艺术字"));
    std::vector<QImage> icons;
    for (int i = 0; i < nt::kToolCount; ++i) {
        QToolButton* b = w->Command1[static_cast<size_t>(i)];
        EXPECT_EQ(b->objectName(), QStringLiteral("Command1(%1)").arg(i));
        EXPECT_EQ(b->iconSize(), QSize(32, 32));
        EXPECT_FALSE(b->toolTip().isEmpty());
        icons.push_back(nt::toolIcon(i).toImage());
        EXPECT_EQ(icons.back().size(), QSize(32, 32));
    }
    for (size_t i = 0; i < icons.size(); ++i)  // every tool has a picture of its own
        for (size_t j = i + 1; j < icons.size(); ++j)
            EXPECT_NE(icons[i], icons[j]) << i << " " << j;
}

// ---- option panels per tool ----

struct PanelCase {
    int tool;
    const char* shown;  // panels shown, in the order below
};
// pDrawWidth, pFillType, pBrush, pErase, pClone, pGrad, pTextStyle
const PanelCase kPanels[] = {
    {0, "-------"},  {1, "W------"},  {2, "W------"},  {3, "W------"},  {4, "W------"},
    {5, "W------"},  {6, "W------"},  {7, "W------"},  {8, "W------"},  {9, "W------"},
    {10, "W------"}, {11, "W------"}, {12, "-F-----"}, {13, "W------"}, {14, "W------"},
    {15, "W------"}, {16, "--B----"}, {17, "W--E---"}, {18, "-------"}, {19, "----C--"},
    {20, "-----G-"}, {21, "------T"},
};

class Panels : public WindowTest, public ::testing::WithParamInterface<PanelCase> {};

TEST_P(Panels, ToolShowsExactlyItsOptionPanel) {
    const PanelCase c = GetParam();
    chooseTool(c.tool);
    EXPECT_EQ(w->state.CurTool, c.tool);
    const QWidget* panels[] = {w->pDrawWidth, w->pFillType, w->pBrush,    w->pErase,
                               w->pClone,     w->pGrad,     w->pTextStyle};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(panels[i]->isVisibleTo(w->pTop), c.shown[i] != '-')
            << panels[i]->objectName().toStdString();
    const bool style = c.tool != nt::kPencil && c.tool != nt::kFreeCurve;
    EXPECT_EQ(w->cboStyle->isVisibleTo(w->pDrawWidth), style);
    EXPECT_EQ(w->lblStyle->isVisibleTo(w->pDrawWidth), style);
    for (int i = 0; i < nt::kToolCount; ++i)
        EXPECT_EQ(w->Command1[static_cast<size_t>(i)]->isChecked(), i == c.tool);
}

INSTANTIATE_TEST_SUITE_P(EveryTool, Panels, ::testing::ValuesIn(kPanels),
                         [](const auto& info) { return "Tool" + std::to_string(info.param.tool); });

using Options = WindowTest;

TEST_F(Options, EraserPanelLiesOverTheWidthPanel) {
    chooseTool(nt::kEraser);
    const QList<QWidget*> order = w->pTop->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    EXPECT_GT(order.indexOf(w->pErase), order.indexOf(w->pDrawWidth));
    EXPECT_TRUE(w->pErase->geometry().intersects(w->pDrawWidth->geometry()));
}

TEST_F(Options, WidthAndStyleActAtOnceAndTheLineUsesThem) {
    chooseTool(nt::kLine);
    w->cboDW->setCurrentIndex(6);
    EXPECT_EQ(canvas().DrawWidth, 7);
    w->cboStyle->setCurrentIndex(3);
    EXPECT_EQ(canvas().DrawStyle, 3);
    w->cboStyle->setCurrentIndex(0);
    const nt::Colour back = nt::fromPixel(canvas().Image().pixel(0, 0));
    drag(Qt::LeftButton, {20, 100}, {200, 100}, QPoint(100, 100));
    auto at = [&](int y) { return nt::fromPixel(canvas().Image().pixel(100, y)); };
    EXPECT_EQ(at(97), 0u);  // 7 pixels across: 97 .. 103
    EXPECT_EQ(at(103), 0u);
    EXPECT_EQ(at(96), back);
    EXPECT_EQ(at(104), back);
}

TEST_F(Options, PencilHidesTheStyleListButKeepsTheStyle) {
    chooseTool(nt::kLine);
    w->cboStyle->setCurrentIndex(2);
    chooseTool(nt::kPencil);
    EXPECT_FALSE(w->cboStyle->isVisibleTo(w->pTop));
    EXPECT_EQ(canvas().DrawStyle, 2);
}

TEST_F(Options, ChoosingAToolHidesTheShapesAndShowsTheCloneAndTextHints) {
    w->shpSelect->show();
    w->shpClone->show();
    w->state.CloneNewSource = true;
    w->state.IsPasting = true;
    chooseTool(nt::kCloneStamp);
    EXPECT_TRUE(w->shpSelect->isHidden());
    EXPECT_TRUE(w->shpClone->isHidden());
    EXPECT_FALSE(w->state.CloneNewSource);
    EXPECT_TRUE(w->state.IsPasting);  // a pending paste survives a tool change
    tipbox* hint = tipbox::Instance(w.get());
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->Label7->text(), QStringLiteral("请按Alt或Ctrl+鼠标左键,定义新克隆的范围"));
    chooseTool(nt::kText);
    EXPECT_EQ(hint->Label7->text(),
              QStringLiteral("请先在上方主面板选择文字样式,然后单击需要放置文字的区域开始设置"));
}

TEST_F(Options, CloneSizeSetsTheMarkerSquare) {
    w->cboCloneSize->setCurrentIndex(29);
    EXPECT_EQ(w->shpClone->area().size(), QSizeF(30, 30));
}

// ---- libraries ----

TEST_F(Options, LibrariesAreListedAndTheirFirstEntriesLoaded) {
    ASSERT_GE(w->cboBrush->count(), 8);
    ASSERT_GE(w->cboPatten->count(), 8);
    EXPECT_EQ(w->cboBrush->currentIndex(), 0);
    EXPECT_EQ(w->cboPatten->currentIndex(), 0);
    for (const QString& name : items(w->cboBrush)) EXPECT_TRUE(name.endsWith(".bmp"));
    EXPECT_FALSE(w->ImgPatten.isNull());
    // The shipped brushes are black shapes on magenta, about 32 x 30.
    const QImage brush = w->SrcBrush1->Image();
    EXPECT_EQ(brush.size(), QSize(32, 30));
    int black = 0, magenta = 0;
    for (int y = 0; y < brush.height(); ++y)
        for (int x = 0; x < brush.width(); ++x) {
            const nt::Colour c = nt::fromPixel(brush.pixel(x, y));
            black += c == 0;
            magenta += c == 0xFF00FF;
        }
    EXPECT_GT(black, 50);
    EXPECT_EQ(black + magenta, 32 * 30);
}

TEST_F(Options, ChoosingABrushOrPatternLoadsIt) {
    const int last = w->cboPatten->count() - 1;
    const QImage first = w->ImgPatten;
    w->cboPatten->setCurrentIndex(last);
    EXPECT_NE(w->ImgPatten, first);
    const QImage brush = w->SrcBrush1->Image().copy();
    w->cboBrush->setCurrentIndex(w->cboBrush->count() - 1);
    EXPECT_NE(w->SrcBrush1->Image(), brush);
}

// Start-up in an application folder of the test's own.
class Libraries : public MainWindowTest {
  protected:
    void startIn(const QString& folder) {
        ModalAnswer cancelStartup([](QWidget* m) { m->close(); });
        start([&] { return cancelStartup.seen(); }, folder);
    }
    QTemporaryDir app;
};

// The window is on screen before the libraries are listed and the new-canvas dialog opens.
TEST_F(Libraries, ListingAndTheNewCanvasDialogWaitForTheFirstPaint) {
    // Whether the canvas had been painted when the first dialog showed.
    class Order : public QObject {
      public:
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Paint && o->objectName() == QLatin1String("SrcDc"))
                canvasPainted = true;
            if (e->type() == QEvent::Show && qobject_cast<QDialog*>(o) && !dialogShown) {
                dialogShown = true;
                paintedBeforeDialog = canvasPainted;
            }
            return false;
        }
        bool canvasPainted = false, dialogShown = false, paintedBeforeDialog = false;
    } order;
    qApp->installEventFilter(&order);
    startIn(app.path());
    qApp->removeEventFilter(&order);
    EXPECT_TRUE(order.dialogShown);
    EXPECT_TRUE(order.paintedBeforeDialog);
}

TEST_F(Libraries, MissingFoldersLeaveEmptyListsAndNoSelection) {
    startIn(app.path());
    EXPECT_EQ(w->cboBrush->count(), 0);
    EXPECT_EQ(w->cboPatten->count(), 0);
    EXPECT_TRUE(w->ImgPatten.isNull());
    EXPECT_EQ(w->SrcBrush1->width(), 32);
}

TEST_F(Libraries, UnreadableFirstEntryKeepsThePreviousPicture) {
    QDir(app.path()).mkpath("Data/brushs");
    QFile junk(app.filePath("Data/brushs/junk.bmp"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("BM this is no picture");
    junk.close();
    startIn(app.path());
    EXPECT_EQ(w->cboBrush->count(), 1);
    EXPECT_EQ(w->SrcBrush1->width(), 32);
    EXPECT_EQ(nt::fromPixel(w->SrcBrush1->Image().pixel(0, 0)), 0xFF00FFu);
}

// ---- palette hook and the swap key ----

TEST_F(Options, SwatchPressShowsColourOneAsItWasBefore) {
    const QPoint grey(nt::palette::swatchLeft(2) + 8, nt::palette::swatchTop(2) + 8);
    QTest::mouseClick(w->dColorPallete1, Qt::LeftButton, {}, grey);
    EXPECT_EQ(w->Label10->text(), QStringLiteral("0"));
    EXPECT_EQ(w->dColorPallete1->Color1(), 0x464646u);
    const QPoint white(nt::palette::swatchLeft(1) + 8, nt::palette::swatchTop(1) + 8);
    QTest::mouseClick(w->dColorPallete1, Qt::RightButton, {}, white);
    EXPECT_EQ(w->Label10->text(), QString::number(0x464646));
    EXPECT_EQ(w->dColorPallete1->Color2(), 0xFFFFFFu);
}

TEST_F(Options, LowerCaseXSwapsTheColoursWhereverTheFocusIs) {
    QTest::keyClick(w->SrcDc, Qt::Key_X, Qt::NoModifier);
    EXPECT_EQ(w->dColorPallete1->Color1(), 0x0000FFu);
    EXPECT_EQ(w->dColorPallete1->Color2(), 0x000000u);
    QTest::keyClick(w->cboDW, Qt::Key_X, Qt::NoModifier);
    EXPECT_EQ(w->dColorPallete1->Color1(), 0x000000u);
    EXPECT_EQ(w->cboDW->currentIndex(), 0);
    QKeyEvent upper(QEvent::KeyPress, Qt::Key_X, Qt::ShiftModifier, QStringLiteral("X"));
    QApplication::sendEvent(w->SrcDc, &upper);
    EXPECT_EQ(w->dColorPallete1->Color1(), 0x000000u);
    QTest::keyClick(w->SrcDc, Qt::Key_Y, Qt::NoModifier);
    EXPECT_EQ(w->dColorPallete1->Color1(), 0x000000u);
}

TEST_F(Options, HeldXRepeatsSwapOncePerTypedCharacter) {
    for (int i = 0; i < 7; ++i) {
        QKeyEvent e(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"), i > 0);
        QApplication::sendEvent(w->SrcDc, &e);
    }
    EXPECT_EQ(w->dColorPallete1->Color1(), 0x0000FFu);  // seven swaps
    EXPECT_EQ(w->dColorPallete1->Color2(), 0x000000u);
}

TEST_F(Options, ClickingThePaletteHintHidesIt) {
    QTest::mouseClick(w->Label11, Qt::LeftButton);
    EXPECT_TRUE(w->Label11->isHidden());
}

}  // namespace

TEST_F(WindowTest, OptionStripStaysReadableAtEveryWidth) {
    const auto* hint = static_cast<nt::FittedLabel*>(w->Label11);
    const int lineSpacing = QFontMetrics(hint->font()).lineSpacing();
    for (int width : {1400, 850, 0}) {  // 0: the smallest the window allows
        w->resize(width, 640);
        QCoreApplication::processEvents();
        SCOPED_TRACE(w->width());
        const QRect palette = w->dColorPallete1->geometry();
        EXPECT_LE(w->dColorPallete1->mapTo(w.get(), QPoint(palette.width(), 0)).x(), w->width());
        const QStringList lines = hint->visibleLines();
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_LE(lines.size() * lineSpacing, hint->contentsRect().height());
        const bool whole = lines.join(QString()) == hint->text();
        EXPECT_TRUE(whole || lines.back().endsWith(QChar(0x2026)));  // cut short with "…"
    }
    EXPECT_EQ(w->Label11->text().left(4), QStringLiteral("左键定义"));  // the text stays whole
}
