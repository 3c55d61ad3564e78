// The menu bar: captions with their access keys, shortcuts, initial states and the commands.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "document/warndywtd.h"
#include "globals/Links.h"
#include "help/HelpLinks.h"
#include "help/frmAbout.h"
#include "imageops/dialogs/ImageCommands.h"
#include "mainwindow/frmmain.h"

namespace {
QKeySequence ctrl(Qt::Key key) {
    return QKeySequence(Qt::CTRL | key);
}
const QKeySequence kNone;
}  // namespace

QMenu* frmmain::addSubmenu(QWidget* in, const char* name, const QString& caption) {
    auto* menu = new QMenu(caption, this);
    menu->setObjectName(QString::fromLatin1(name));
    accessKeys_.watch(menu);
    menu->menuAction()->setObjectName(menu->objectName());
    in->addAction(menu->menuAction());
    return menu;
}

QAction* frmmain::addCommand(QWidget* in, const char* name, const QString& caption,
                             const QKeySequence& shortcut, void (frmmain::*handler)()) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    // Shortcuts act anywhere in the main window, and not at all while the item is disabled.
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, handler);
    in->addAction(action);
    return action;
}

QAction* frmmain::addSeparator(QMenu* in, const char* name) {
    QAction* separator = in->addSeparator();
    separator->setObjectName(QString::fromLatin1(name));
    return separator;
}

void frmmain::buildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    using F = frmmain;

    mnuFile = addSubmenu(bar, "mnuFile", QStringLiteral("文件(&F)"));
    mnuNew = addCommand(mnuFile, "mnuNew", QStringLiteral("新建(&N)..."), ctrl(Qt::Key_N),
                        &F::mnuNew_Click);
    mnuOpen = addCommand(mnuFile, "mnuOpen", QStringLiteral("打开(&O)..."), ctrl(Qt::Key_O),
                         &F::mnuOpen_Click);
    mnuSave = addCommand(mnuFile, "mnuSave", QStringLiteral("保存(&S)..."), ctrl(Qt::Key_S),
                         &F::mnuSave_Click);
    Blank1 = addSeparator(mnuFile, "Blank1");
    letter = addSubmenu(mnuFile, "letter", QStringLiteral("发送和输出(&L)"));
    leter = addCommand(letter, "leter", QStringLiteral("邮件(&L)..."), kNone, &F::leter_Click);
    fgx1 = addSeparator(mnuFile, "fgx1");
    mnuClear =
        addCommand(mnuFile, "mnuClear", QStringLiteral("删除(&D)..."), kNone, &F::mnuClear_Click);
    sepa6 = addSeparator(mnuFile, "sepa6");
    mnuExit = addCommand(mnuFile, "mnuExit", QStringLiteral("退出(&X)"), kNone, &F::mnuExit_Click);

    mnuEdit = addSubmenu(bar, "mnuEdit", QStringLiteral("编辑(&E)"));
    mnuundo1 = addCommand(mnuEdit, "mnuundo1", QStringLiteral("撤销(&U)"), ctrl(Qt::Key_Z),
                          &F::mnuundo1_Click);
    mnuundo = addCommand(mnuEdit, "mnuundo", QStringLiteral("恢复至1分钟前的状态(&H)"), kNone,
                         &F::mnuundo_Click);
    mnuSnapshots = addCommand(mnuEdit, "mnuSnapshots", QStringLiteral("快照历史(&T)..."), kNone,
                              &F::mnuSnapshots_Click);
    sepa11 = addSeparator(mnuEdit, "sepa11");
    mnuCut = addCommand(mnuEdit, "mnuCut", QStringLiteral("剪切(&T)"), ctrl(Qt::Key_X),
                        &F::mnuCut_Click);
    mnuCopy = addCommand(mnuEdit, "mnuCopy", QStringLiteral("复制(&C)"), ctrl(Qt::Key_C),
                         &F::mnuCopy_Click);
    mnuPaste = addCommand(mnuEdit, "mnuPaste", QStringLiteral("粘贴(&P)"), ctrl(Qt::Key_V),
                          &F::mnuPaste_Click);
    mnuPasteNew = addCommand(mnuEdit, "mnuPasteNew", QStringLiteral("粘贴为新图片(&W)"), kNone,
                             &F::mnuPasteNew_Click);
    // The toggle's own check flips it; its command is to trigger it (see MnuDQue_Click).
    MnuDQue = new QAction(QStringLiteral("透明(&D)"), this);
    MnuDQue->setObjectName(QStringLiteral("MnuDQue"));
    MnuDQue->setCheckable(true);
    mnuEdit->addAction(MnuDQue);
    mnuCut->setEnabled(false);
    mnuCopy->setEnabled(false);
    MnuDQue->setChecked(true);

    mnuImage = addSubmenu(bar, "mnuImage", QStringLiteral("画布(&I)"));
    mnuScale = addCommand(mnuImage, "mnuScale", QStringLiteral("拉伸(&S)"), ctrl(Qt::Key_W),
                          &F::mnuScale_Click);
    sapa = addSeparator(mnuImage, "sapa");
    mnuFlip = addSubmenu(mnuImage, "mnuFlip", QStringLiteral("翻转(&F)"));
    mnuFlipV =
        addCommand(mnuFlip, "mnuFlipV", QStringLiteral("垂直(&V)"), kNone, &F::mnuFlipV_Click);
    mnuFlipHoz =
        addCommand(mnuFlip, "mnuFlipHoz", QStringLiteral("水平(&H)"), kNone, &F::mnuFlipHoz_Click);
    mnuBoth = addCommand(mnuFlip, "mnuBoth", QStringLiteral("双向(&B)"), kNone, &F::mnuBoth_Click);
    mnuBlank2 = addSeparator(mnuImage, "mnuBlank2");
    backcolor = addSubmenu(mnuImage, "backcolor", QStringLiteral("背景(&B)"));
    mnuMask = addCommand(backcolor, "mnuMask", QStringLiteral("来自图片(&M)..."), kNone,
                         &F::mnuMask_Click);

    mnuStroke =
        addCommand(bar, "mnuStroke", QStringLiteral("相框(&F)"), kNone, &F::mnuStroke_Click);

    mnuFilter = addSubmenu(bar, "mnuFilter", QStringLiteral("效果(&1)"));
    mnuMirror =
        addCommand(mnuFilter, "mnuMirror", QStringLiteral("镜像(&M)"), kNone, &F::mnuMirror_Click);
    mnuAddNoise = addCommand(mnuFilter, "mnuAddNoise", QStringLiteral("噪声(&A)"), kNone,
                             &F::mnuAddNoise_Click);
    mnuSoft = addSubmenu(mnuFilter, "mnuSoft", QStringLiteral("羽化模糊(&S)"));
    mnuBlur = addCommand(mnuSoft, "mnuBlur", QStringLiteral("模糊(&B)"), kNone, &F::mnuBlur_Click);
    mnuBlureMore = addCommand(mnuSoft, "mnuBlureMore", QStringLiteral("加倍模糊"), kNone,
                              &F::mnuBlureMore_Click);
    mnuSharp = addSubmenu(mnuFilter, "mnuSharp", QStringLiteral("锐化(&S)"));
    mnuSharpen =
        addCommand(mnuSharp, "mnuSharpen", QStringLiteral("锐化"), kNone, &F::mnuSharpen_Click);
    mnuSharpMore = addCommand(mnuSharp, "mnuSharpMore", QStringLiteral("加倍锐化"), kNone,
                              &F::mnuSharpMore_Click);
    mnuPixel =
        addCommand(mnuFilter, "mnuPixel", QStringLiteral("像素化(&P)"), kNone, &F::mnuPixel_Click);
    mnuDiffuse = addCommand(mnuFilter, "mnuDiffuse", QStringLiteral("扩散(&D)"), kNone,
                            &F::mnuDiffuse_Click);

    mnucol = addSubmenu(bar, "mnucol", QStringLiteral("色调(&C)"));
    mnuAdjust = addCommand(mnucol, "mnuAdjust", QStringLiteral("调整红/绿/蓝(&A)"), kNone,
                           &F::mnuAdjust_Click);
    mnuBright = addCommand(mnucol, "mnuBright", QStringLiteral("亮度"), kNone, &F::mnuBright_Click);
    mnuInvert = addCommand(mnucol, "mnuInvert", QStringLiteral("反色(&I)"), ctrl(Qt::Key_I),
                           &F::mnuInvert_Click);
    mnuGray = addCommand(mnucol, "mnuGray", QStringLiteral("灰度(&G)"), kNone, &F::mnuGray_Click);
    mnuRemove = addSubmenu(mnucol, "mnuRemove", QStringLiteral("移除(&R)"));
    mnuRed = addCommand(mnuRemove, "mnuRed", QStringLiteral("红色"), kNone, &F::mnuRed_Click);
    mnuGreen = addCommand(mnuRemove, "mnuGreen", QStringLiteral("绿色"), kNone, &F::mnuGreen_Click);
    mnuBlue = addCommand(mnuRemove, "mnuBlue", QStringLiteral("蓝色"), kNone, &F::mnuBlue_Click);

    mnuhelp = addSubmenu(bar, "mnuhelp", QStringLiteral("帮助(&H)"));
    mnuforum = addCommand(mnuhelp, "mnuforum", QStringLiteral("论坛(&F)..."),
                          QKeySequence(Qt::Key_F1), &F::mnuforum_Click);
    mnuwebsite = addCommand(mnuhelp, "mnuwebsite", QStringLiteral("官方网站(&W)..."), kNone,
                            &F::mnuwebsite_Click);
    mnuAbout = addCommand(mnuhelp, "mnuAbout", QStringLiteral("关于 NorvalyTintora(&A)..."), kNone,
                          &F::mnuAbout_Click);

    mnuupdate =
        addCommand(bar, "mnuupdate", QStringLiteral("检查更新(&U)"), kNone, &F::mnuupdate_Click);
}

// ---- commands built here ----

void frmmain::mnuClear_Click() {
    warndywtd::ShowModal(canvas(), this);
}

void frmmain::MnuDQue_Click() {
    MnuDQue->trigger();
}

// The image dialogs that keep the canvas size: each shows its dialog and acts on an accept.
void frmmain::mnuAdjust_Click() {
    nt::runAdjustCommand(this, canvas());
}
void frmmain::mnuBright_Click() {
    nt::runBrightCommand(this, canvas());
}
void frmmain::mnuStroke_Click() {
    nt::runStrokeCommand(this, canvas());
}
void frmmain::mnuMask_Click() {
    nt::runMaskCommand(this, canvas());
}

// ---- help: the pages handed to the desktop and the about box ----

void frmmain::leter_Click() {
    nt::openLink(nt::links::mailTarget());
}
void frmmain::mnuforum_Click() {
    nt::openLink(nt::links::forumPage());
}
void frmmain::mnuwebsite_Click() {
    nt::openLink(nt::links::productPage());
}
// The update check is the product page, where the newest version is offered.
void frmmain::mnuupdate_Click() {
    nt::openLink(nt::links::productPage());
}
void frmmain::mnuAbout_Click() {
    frmAbout::ShowModal(this);
}
