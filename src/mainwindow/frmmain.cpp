#include "mainwindow/frmmain.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolButton>

#include "mainwindow/FittedLabel.h"
#include "mainwindow/ToolIcons.h"
#include "palette/dColorPallete.h"
#include "surface/SystemColours.h"

namespace {

constexpr int kDesignCanvasWidth = 280;
constexpr int kDesignCanvasHeight = 232;
constexpr int kCanvasInset = 3;  // canvas position inside the workspace
constexpr int kTopHeight = 43;   // the option strip
constexpr int kToolsWidth = 96;  // three columns of 32-pixel buttons
constexpr int kToolColumns = 3;
constexpr int kPanelTop = 8;               // option panels inside the strip
constexpr int kPaletteLeft = 400;          // right of the widest option panel
constexpr nt::Colour kMagenta = 0xFF00FF;  // transparent key of the brush pictures
constexpr int kBrushWidth = 32, kBrushHeight = 30;
constexpr int kClipboardWidth = 359, kClipboardHeight = 48;  // what Paste places before a Copy

const char* const kToolTips[nt::kToolCount] = {
    "选择：在画布上选择一个矩形区域，然后可以进行删除等操作。",
    "彩色铅笔/刷子",
    "直线：绘制各种粗细的笔直线条，可绘制多种样式的虚线。",
    "星形放射线：先绘制一条直线，然后以直线的起点为轴旋转，绘制星形放射状排布的直线。",
    "矩形（空心）",
    "矩形（实心）",
    "圆形（空心）",
    "圆形（实心）",
    "椭圆（空心）",
    "椭圆（实心）",
    "圆角矩形（空心）",
    "圆角矩形（实心）",
    "纯色/纹理填充",
    "喷枪",
    "自由曲线",
    "多边形",
    "魔术袋/多彩魔法笔",
    "智能橡皮：可设置橡皮尺寸和形状。",
    "取色管",
    "克隆/魔法图章",
    "渐变图形",
    "文本/艺术字",
};

template <class W>
W* named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLabel* label(QWidget* parent, const char* name, const char* caption) {
    return named(new QLabel(QString::fromUtf8(caption), parent), name);
}

QComboBox* list(QWidget* parent, const char* name, int minWidth) {
    auto* c = named(new QComboBox(parent), name);
    c->setMinimumWidth(minWidth);
    c->setMaxVisibleItems(20);
    return c;
}

// An option panel: captions and lists in a row, opaque so a panel on top hides the one below.
QWidget* panel(QWidget* strip, const char* name, std::initializer_list<QWidget*> row) {
    auto* p = named(new QWidget(strip), name);
    p->setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(p);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(4);
    for (QWidget* w : row) {
        w->setParent(p);
        layout->addWidget(w);
    }
    layout->addStretch();  // hiding the style list leaves the rest where it was
    // Sized when first shown (a child never resized takes its size hint then), so the panels
    // hidden at start-up cost nothing before the first paint.
    p->move(4, kPanelTop);
    return p;
}

}  // namespace

frmmain::frmmain(QWidget* parent) : frmmain(nullptr, parent) {}

frmmain::frmmain(std::unique_ptr<nt::Session> session, QWidget* parent)
    : QMainWindow(parent),
      session_(session ? std::move(session) : sessions_.begin()),
      undoImage_(session_->file(QStringLiteral("undo.bmp"))),
      backupImage_(session_->file(QStringLiteral("backup.bmp")),
                   [timeline = &session_->timeline()](const QImage& image, const QString& path) {
                       return timeline->write(image, path);
                   }) {
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(QStringLiteral("NorvalyTintora 2017 V3.3"));
    buildContainers();
    buildToolBox();
    buildOptionPanels();
    buildPalette();
    buildStatusBar();
    buildWorkSurfaces();
    buildWorkspace();
    buildMenu();
    buildView();
    watchTypedKeys();
    connectLibraries();
    startSnapshots();
    // However narrow the window, the whole palette stays in view; the hint beside it shrinks.
    setMinimumWidth(kPaletteLeft + dColorPallete1->width() + 8);
    setAcceptDrops(true);
    resize(1000, 640);
}

frmmain::~frmmain() = default;

void frmmain::buildContainers() {
    auto* client = new QWidget(this);
    setCentralWidget(client);
    pTop = named(new QWidget(client), "pTop");
    pTop->setGeometry(0, 0, 887, kTopHeight);
    pTools = named(new QWidget(client), "pTools");
    pTools->setGeometry(0, kTopHeight, kToolsWidth, 300);
    pHolder = named(new QWidget(client), "pHolder");
    pHolder->move(kToolsWidth, kTopHeight);
    pHolder->setAutoFillBackground(true);
    QPalette workspace = pHolder->palette();
    workspace.setColor(QPalette::Window, QColor(128, 128, 128));
    pHolder->setPalette(workspace);

    SrcDc = named(
        new nt::CanvasView(kDesignCanvasWidth, kDesignCanvasHeight, nt::kSysWindow, zoom_, pHolder),
        "SrcDc");
    SrcDc->move(kCanvasInset, kCanvasInset);
    // The undo image and the snapshot follow the canvas from patches (see UndoImageWriter).
    SrcDc->surface().keepCopies();
    shpSelect = named(new nt::RectShape(SrcDc, &zoom_), "shpSelect");
    shpClone = named(new nt::RectShape(SrcDc, &zoom_), "shpClone");
    connect(SrcDc, &nt::PictureBox::MouseDown, this, &frmmain::SrcDc_MouseDown);
    connect(SrcDc, &nt::PictureBox::MouseMove, this, &frmmain::SrcDc_MouseMove);
    connect(SrcDc, &nt::PictureBox::MouseUp, this, &frmmain::SrcDc_MouseUp);
    connect(SrcDc, &nt::PictureBox::DblClick, this, &frmmain::SrcDc_DblClick);
    connect(SrcDc, &nt::PictureBox::KeyUp, this, &frmmain::SrcDc_KeyUp);
}

void frmmain::buildToolBox() {
    for (int i = 0; i < nt::kToolCount; ++i) {
        auto* b = new QToolButton(pTools);
        b->setObjectName(QStringLiteral("Command1(%1)").arg(i));
        b->setIcon(QIcon(nt::toolIcon(i, devicePixelRatio())));
        b->setIconSize(QSize(nt::kToolIconSize, nt::kToolIconSize));
        b->setFixedSize(nt::kToolIconSize, nt::kToolIconSize);
        b->setAutoRaise(true);
        b->setCheckable(true);
        b->setToolTip(QString::fromUtf8(kToolTips[i]));
        b->move((i % kToolColumns) * nt::kToolIconSize, (i / kToolColumns) * nt::kToolIconSize);
        // The click makes the tool current; the check mark follows CurTool, not the click.
        connect(b, &QToolButton::clicked, this, [this, i] { Command1_Click(i); });
        Command1[static_cast<size_t>(i)] = b;
    }
}

void frmmain::buildOptionPanels() {
    lbldWidth = label(pTop, "lbldWidth", "宽度:");
    cboDW = list(pTop, "cboDW", 56);
    lblStyle = label(pTop, "lblStyle", "样式:");
    cboStyle = list(pTop, "cboStyle", 72);
    pDrawWidth = panel(pTop, "pDrawWidth", {lbldWidth, cboDW, lblStyle, cboStyle});

    lblFillType = label(pTop, "lblFillType", "填充类型:");
    cboFillType = list(pTop, "cboFillType", 64);
    lblPatten = label(pTop, "lblPatten", "模板:");
    cboPatten = list(pTop, "cboPatten", 150);
    pFillType = panel(pTop, "pFillType", {lblFillType, cboFillType, lblPatten, cboPatten});

    Label1 = label(pTop, "Label1", "画笔:");
    cboBrush = list(pTop, "cboBrush", 150);
    pBrush = panel(pTop, "pBrush", {Label1, cboBrush});

    Label2 = label(pTop, "Label2", "粗度:");
    cboWidth = list(pTop, "cboWidth", 56);
    Label3 = label(pTop, "Label3", "样式:");
    cboEraseType = list(pTop, "cboEraseType", 72);
    pErase = panel(pTop, "pErase", {Label2, cboWidth, Label3, cboEraseType});

    Label4 = label(pTop, "Label4", "克隆范围:");
    cboCloneSize = list(pTop, "cboCloneSize", 56);
    pClone = panel(pTop, "pClone", {Label4, cboCloneSize});

    Label5 = label(pTop, "Label5", "方向:");
    cboGrade = list(pTop, "cboGrade", 96);
    pGrad = panel(pTop, "pGrad", {Label5, cboGrade});

    Label6 = label(pTop, "Label6", "文字样式:");
    cboTextStyle = list(pTop, "cboTextStyle", 110);
    pTextStyle = panel(pTop, "pTextStyle", {Label6, cboTextStyle});

    pErase->raise();  // the eraser's panel lies over the width panel
    for (QWidget* p : {pFillType, pBrush, pErase, pClone, pGrad, pTextStyle}) p->hide();

    using Combo = void (QComboBox::*)(int);
    const Combo changed = &QComboBox::currentIndexChanged;
    connect(cboDW, changed, this, &frmmain::cboDW_Click);
    connect(cboStyle, changed, this, &frmmain::cboStyle_Click);
    connect(cboCloneSize, changed, this, &frmmain::cboCloneSize_Click);
    connect(cboBrush, changed, this, &frmmain::cboBrush_Click);
    connect(cboPatten, changed, this, &frmmain::cboPatten_Click);
}

void frmmain::buildPalette() {
    // The window's stored properties of its palette: colour 2 red and the arrow pointer.
    nt::palette::PropertyBag design;
    design.write(QStringLiteral("Color2"), 0x000000FF);
    design.write(QStringLiteral("MousePointer"), nt::palette::kPointerArrow);
    dColorPallete1 = named(new dColorPallete(pTop, &design), "dColorPallete1");
    dColorPallete1->move(kPaletteLeft, (kTopHeight - 32) / 2);
    // Direct: the listener runs before the palette applies the pressed swatch.
    connect(
        dColorPallete1, &dColorPallete::ItemClick, this,
        [this](nt::Colour&, int&) { dColorPallete1_ItemClick(); }, Qt::DirectConnection);

    Label10 = named(new QLabel(pTop), "Label10");
    Label10->hide();  // only its caption matters
    Label11 = named(new nt::FittedLabel(pTop), "Label11");
    Label11->setText(QStringLiteral(
        "左键定义颜色1,右键定义颜色2.在绘画时用左键画颜色1,右键画颜色2.双击左键自定义颜色1,"
        "右键自定义颜色2(单击该消息隐藏)."));
    Label11->setToolTip(Label11->text());
    Label11->setWordWrap(true);
    Label11->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont small = Label11->font();
    small.setPixelSize(11);
    Label11->setFont(small);
    // The hint asks to be clicked away, so a click hides it.
    Label11->installEventFilter(this);
}

void frmmain::buildStatusBar() {
    sbar1 = named(new QStatusBar(this), "sbar1");
    sbar1->setSizeGripEnabled(true);
    setStatusBar(sbar1);
    const int minWidths[] = {200, 90, 180};
    for (int i = 0; i < 3; ++i) {
        auto* p = new QLabel(sbar1);
        p->setObjectName(QStringLiteral("sbar1Panel%1").arg(i + 1));
        p->setMinimumWidth(minWidths[i]);
        p->setFrameShape(QFrame::Panel);
        p->setFrameShadow(QFrame::Sunken);
        sbar1->addPermanentWidget(p, i == 0 ? 1 : 0);
        sbar1Panels[static_cast<size_t>(i)] = p;
    }
    sbar1Panels[0]->setText(QStringLiteral("请及时保存您的作品"));
    sbar1Panels[0]->setToolTip(sbar1Panels[0]->text());
}

void frmmain::buildWorkSurfaces() {
    SrcBrush1 = std::make_unique<nt::Surface>(kBrushWidth, kBrushHeight, kMagenta);
    SrcBrush2 = std::make_unique<nt::Surface>(kBrushWidth, kBrushHeight, kMagenta);
    pSrc21 = std::make_unique<nt::Surface>(kClipboardWidth, kClipboardHeight, kMagenta);
    pMask = std::make_unique<nt::Surface>(kBrushWidth, kBrushHeight, kMagenta);
    pSrc2 = std::make_unique<nt::Surface>(kBrushWidth, kBrushHeight, nt::kSysButtonFace);
}

void frmmain::connectLibraries() {
    const auto append = [](QComboBox* list) {
        return [list](const QStringList& names) {
            // Quiet: the first entry is chosen, and loaded, only when the list is complete.
            QSignalBlocker quiet(list);
            list->addItems(names);
        };
    };
    connect(&patternLister_, &nt::LibraryLister::found, this, append(cboPatten));
    connect(&brushLister_, &nt::LibraryLister::found, this, append(cboBrush));
    connect(&patternLister_, &nt::LibraryLister::finished, this, [this] {
        finishLibrary(cboPatten, &frmmain::cboPatten_Click);
        LoadBrushList();
    });
    connect(&brushLister_, &nt::LibraryLister::finished, this, [this] {
        finishLibrary(cboBrush, &frmmain::cboBrush_Click);
        librariesListed_ = true;
        emit LibrariesListed();
    });
}

QString frmmain::statusText(int panel) const {
    if (panel < 1 || panel > 3) return {};
    return sbar1Panels[static_cast<size_t>(panel - 1)]->text();
}

void frmmain::setStatusText(int panel, const QString& text) {
    if (panel < 1 || panel > 3) return;
    sbar1Panels[static_cast<size_t>(panel - 1)]->setText(text);
}

// Typed characters reach Form_KeyPress whichever control of the window has the focus.
// Open menus keep their keys: x is the access key of "退出(&X)".
void frmmain::watchTypedKeys() {
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>()) {
        if (qobject_cast<QMenu*>(w) || qobject_cast<QMenuBar*>(w)) continue;
        w->installEventFilter(this);
    }
}

bool frmmain::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::Wheel && (watched == pHolder || watched == SrcDc))
        return zoomWheel(static_cast<QWidget*>(watched), e);
    if (watched == Label11 && e->type() == QEvent::MouseButtonPress) {
        Label11->hide();
        return false;
    }
    if (e->type() != QEvent::KeyPress && e->type() != QEvent::ShortcutOverride) return false;
    const auto* key = static_cast<QKeyEvent*>(e);
    // Alt+F belongs to "文件(&F)" every time, though "相框(&F)" shares the key: taken before
    // Qt's shortcuts, which would take turns between the two and run the frame every other time.
    if (QAction* menu = sharedMenuBarAccessKey(*key)) {
        if (e->type() == QEvent::KeyPress) menuBar()->setActiveAction(menu);
        e->accept();
        return true;
    }
    if (e->type() != QEvent::KeyPress) return false;
    if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier && state.IsPasting) {
        DropPaste();
        return true;
    }
    // With Ctrl or Alt held the key is a command, not a typed character.
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString text = key->text();
    if (text.size() != 1) return false;
    const int code = text.at(0).unicode();
    Form_KeyPress(code);
    // The swap key is used up here, so it is not handed on to the parents as well.
    return code == 'x';
}

QAction* frmmain::sharedMenuBarAccessKey(const QKeyEvent& key) const {
    if (key.modifiers() != Qt::AltModifier || key.key() == Qt::Key_Alt) return nullptr;
    const QKeySequence pressed(QKeyCombination(Qt::AltModifier, static_cast<Qt::Key>(key.key())));
    QAction* first = nullptr;
    int sharing = 0;
    for (QAction* a : menuBar()->actions()) {
        if (!a->isVisible() || !a->isEnabled() || QKeySequence::mnemonic(a->text()) != pressed)
            continue;
        if (!first) first = a;
        ++sharing;
    }
    return sharing > 1 ? first : nullptr;
}

void frmmain::Form_KeyPress(int keyAscii) {
    if (keyAscii == 'x') dColorPallete1->SwapColors();
}

void frmmain::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    LayoutWorkspace();
}

void frmmain::LayoutWorkspace() {
    QWidget* client = centralWidget();
    if (!client) return;
    const int w = client->width(), h = client->height();
    pTop->resize(std::max(w, 887), kTopHeight);
    const int hintLeft = kPaletteLeft + dColorPallete1->width() + 8;
    Label11->setGeometry(hintLeft, 1, std::max(w - hintLeft - 4, 120), kTopHeight - 2);
    pHolder->resize(std::max(w - pHolder->x(), 0), std::max(h - pHolder->y(), 0));
    pTools->resize(kToolsWidth, pHolder->height() + 2);
    placeScrollBars();
}
