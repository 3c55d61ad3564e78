// The menu tree: captions, order, shortcuts and initial states; shortcuts and the commands
// built so far.
#include <QAction>
#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QUrl>

#include "WindowFixture.h"
#include "document/save.h"
#include "document/warndywtd.h"
#include "globals/Links.h"
#include "help/frmAbout.h"
#include "imageops/dialogs/frmStroke.h"

namespace {

// One line per element in display order: depth, name, caption, shortcut.
struct Item {
    int depth;
    const char* name;
    const char* caption;
    const char* shortcut;
};
const Item kTree[] = {
    {0, "mnuFile", "文件(&F)", ""},
    {1, "mnuNew", "新建(&N)...", "Ctrl+N"},
    {1, "mnuOpen", "打开(&O)...", "Ctrl+O"},
    {1, "mnuSave", "保存(&S)...", "Ctrl+S"},
    {1, "Blank1", "-", ""},
    {1, "letter", "发送和输出(&L)", ""},
    {2, "leter", "邮件(&L)...", ""},
    {1, "fgx1", "-", ""},
    {1, "mnuClear", "删除(&D)...", ""},
    {1, "sepa6", "-", ""},
    {1, "mnuExit", "退出(&X)", ""},
    {0, "mnuEdit", "编辑(&E)", ""},
    {1, "mnuundo1", "撤销(&U)", "Ctrl+Z"},
    {1, "mnuundo", "恢复至1分钟前的状态(&H)", ""},
    {1, "mnuSnapshots", "快照历史(&T)...", ""},
    {1, "sepa11", "-", ""},
    {1, "mnuCut", "剪切(&T)", "Ctrl+X"},
    {1, "mnuCopy", "复制(&C)", "Ctrl+C"},
    {1, "mnuPaste", "粘贴(&P)", "Ctrl+V"},
    {1, "mnuPasteNew", "粘贴为新图片(&W)", ""},
    {1, "MnuDQue", "透明(&D)", ""},
    {0, "mnuImage", "画布(&I)", ""},
    {1, "mnuScale", "拉伸(&S)", "Ctrl+W"},
    {1, "sapa", "-", ""},
    {1, "mnuFlip", "翻转(&F)", ""},
    {2, "mnuFlipV", "垂直(&V)", ""},
    {2, "mnuFlipHoz", "水平(&H)", ""},
    {2, "mnuBoth", "双向(&B)", ""},
    {1, "mnuBlank2", "-", ""},
    {1, "backcolor", "背景(&B)", ""},
    {2, "mnuMask", "来自图片(&M)...", ""},
    {0, "mnuView", "查看(&V)", ""},
    {1, "mnuZoomIn", "放大(&I)", "Ctrl+="},
    {1, "mnuZoomOut", "缩小(&O)", "Ctrl+-"},
    {1, "mnuActual", "实际大小(&A)", "Ctrl+0"},
    {1, "mnuFit", "适合窗口(&F)", ""},
    {1, "sepaView", "-", ""},
    {1, "mnuGrid", "像素网格(&G)", "Ctrl+'"},
    {0, "mnuStroke", "相框(&F)", ""},
    {0, "mnuFilter", "效果(&1)", ""},
    {1, "mnuMirror", "镜像(&M)", ""},
    {1, "mnuAddNoise", "噪声(&A)", ""},
    {1, "mnuSoft", "羽化模糊(&S)", ""},
    {2, "mnuBlur", "模糊(&B)", ""},
    {2, "mnuBlureMore", "加倍模糊", ""},
    {1, "mnuSharp", "锐化(&S)", ""},
    {2, "mnuSharpen", "锐化", ""},
    {2, "mnuSharpMore", "加倍锐化", ""},
    {1, "mnuPixel", "像素化(&P)", ""},
    {1, "mnuDiffuse", "扩散(&D)", ""},
    {0, "mnucol", "色调(&C)", ""},
    {1, "mnuAdjust", "调整红/绿/蓝(&A)", ""},
    {1, "mnuBright", "亮度", ""},
    {1, "mnuInvert", "反色(&I)", "Ctrl+I"},
    {1, "mnuGray", "灰度(&G)", ""},
    {1, "mnuRemove", "移除(&R)", ""},
    {2, "mnuRed", "红色", ""},
    {2, "mnuGreen", "绿色", ""},
    {2, "mnuBlue", "蓝色", ""},
    {0, "mnuhelp", "帮助(&H)", ""},
    {1, "mnuforum", "论坛(&F)...", "F1"},
    {1, "mnuwebsite", "官方网站(&W)...", ""},
    {1, "mnuAbout", "关于 NorvalyTintora(&A)...", ""},
    {0, "mnuupdate", "检查更新(&U)", ""},
};

struct Seen {
    int depth;
    QAction* action;
};

void walk(const QList<QAction*>& actions, int depth, std::vector<Seen>& out) {
    for (QAction* a : actions) {
        out.push_back({depth, a});
        if (a->menu()) walk(a->menu()->actions(), depth + 1, out);
    }
}

using Menu = WindowTest;

TEST_F(Menu, TreeHasEveryElementInOrderWithCaptionAndShortcut) {
    std::vector<Seen> seen;
    walk(w->menuBar()->actions(), 0, seen);
    ASSERT_EQ(seen.size(), std::size(kTree));
    for (size_t i = 0; i < seen.size(); ++i) {
        const Item& want = kTree[i];
        QAction* a = seen[i].action;
        SCOPED_TRACE(want.name);
        EXPECT_EQ(seen[i].depth, want.depth);
        EXPECT_EQ(a->objectName(), QString::fromLatin1(want.name));
        // "-" marks a separator in the table; on screen a separator has no text at all.
        const bool separator = QString::fromUtf8(want.caption) == "-";
        EXPECT_EQ(a->isSeparator(), separator);
        EXPECT_EQ(a->text(), separator ? QString() : QString::fromUtf8(want.caption));
        EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromLatin1(want.shortcut)));
    }
}

TEST_F(Menu, InitialStatesAfterStartUp) {
    std::vector<Seen> seen;
    walk(w->menuBar()->actions(), 0, seen);
    for (const Seen& s : seen) {
        const QString name = s.action->objectName();
        // The pixel grid waits for a zoom of 400 %.
        EXPECT_EQ(s.action->isEnabled(), name != "mnuCut" && name != "mnuCopy" && name != "mnuGrid")
            << name.toStdString();
        EXPECT_EQ(s.action->isChecked(), false) << name.toStdString();
    }
    EXPECT_TRUE(w->MnuDQue->isCheckable());
    // The two commands on the bar itself open no drop-down.
    EXPECT_EQ(w->mnuStroke->menu(), nullptr);
    EXPECT_EQ(w->mnuupdate->menu(), nullptr);
}

TEST(MenuDesign, TransparentIsCheckedWhenTheWindowIsCreated) {
    frmmain w;
    EXPECT_TRUE(w.MnuDQue->isChecked());
    EXPECT_FALSE(w.mnuCut->isEnabled());
    w.MnuDQue_Click();
    EXPECT_FALSE(w.MnuDQue->isChecked());
    w.MnuDQue_Click();
    EXPECT_TRUE(w.MnuDQue->isChecked());
}

// Catches what the desktop is asked to open, without starting a browser or mail program.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    UrlCatcher() {
        for (const char* scheme : {"https", "http", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    ~UrlCatcher() override {
        for (const char* scheme : {"https", "http", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QStringList opened;
  public slots:
    void open(const QUrl& url) { opened << url.toString(); }
};

class Shortcuts : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    UrlCatcher desktop;  // the link commands open nothing for real
    int fired(QAction* a, QKeyCombination key) {
        QSignalSpy spy(a, &QAction::triggered);
        QTest::keyClick(w.get(), key.key(), key.keyboardModifiers());
        return static_cast<int>(spy.count());
    }
};

TEST_F(Shortcuts, RunTheirCommandsAndNothingWhileDisabled) {
    EXPECT_EQ(fired(w->mnuundo1, Qt::CTRL | Qt::Key_Z), 1);
    EXPECT_EQ(fired(w->mnuforum, QKeyCombination(Qt::Key_F1)), 1);
    EXPECT_EQ(fired(w->mnuInvert, Qt::CTRL | Qt::Key_I), 1);
    {
        ModalAnswer closeStretch([](QWidget* m) { m->close(); });
        EXPECT_EQ(fired(w->mnuScale, Qt::CTRL | Qt::Key_W), 1);
        EXPECT_TRUE(closeStretch.seen());
    }
    // Shortcuts act only in the active window; the closed dialog may have taken activation.
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    EXPECT_EQ(fired(w->mnuforum, Qt::CTRL | Qt::Key_F), 0);
    EXPECT_EQ(fired(w->mnuCut, Qt::CTRL | Qt::Key_X), 0);
    EXPECT_EQ(fired(w->mnuCopy, Qt::CTRL | Qt::Key_C), 0);
    w->mnuCut->setEnabled(true);
    EXPECT_EQ(fired(w->mnuCut, Qt::CTRL | Qt::Key_X), 1);
    // Ctrl+X is no typed x: the colours stay.
    EXPECT_EQ(w->dColorPallete1->Color1(), 0u);
}

TEST_F(Shortcuts, AltFOpensTheFileMenuEveryTimeAndNeverRunsTheFrame) {
    QSignalSpy frame(w->mnuStroke, &QAction::triggered);
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(w.get(), Qt::Key_F, Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitFor([&] { return w->mnuFile->isVisible(); }, 1000)) << i;
        QTest::keyClick(w->mnuFile, Qt::Key_Escape);
        QTest::keyClick(w->menuBar(), Qt::Key_Escape);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !w->mnuFile->isVisible(); }, 1000)) << i;
    }
    EXPECT_EQ(frame.count(), 0);
}

TEST_F(Shortcuts, ASharedAccessKeyInAMenuMovesBetweenItsItemsUntilEnter) {
    QTest::keyClick(w.get(), Qt::Key_1, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->mnuFilter->isVisible(); }, 1000));
    QTest::keyClick(w->mnuFilter, Qt::Key_S);
    EXPECT_EQ(w->mnuFilter->activeAction(), w->mnuSoft->menuAction());
    EXPECT_FALSE(w->mnuSoft->isVisible());
    QTest::keyClick(w->mnuFilter, Qt::Key_S);
    EXPECT_EQ(w->mnuFilter->activeAction(), w->mnuSharp->menuAction());
    EXPECT_FALSE(w->mnuSharp->isVisible());
    QTest::keyClick(w->mnuFilter, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->mnuSharp->isVisible(); }, 1000));
    w->mnuSharp->close();
    w->mnuFilter->close();
}

TEST_F(Shortcuts, XInAnOpenFileMenuIsTheExitAccessKeyNotTheSwap) {
    QSignalSpy exit(w->mnuExit, &QAction::triggered);
    ModalAnswer decline([](QWidget* m) { qobject_cast<save*>(m)->HScroll1->setValue(4); });
    w->mnuFile->popup(w->mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w->mnuFile));
    QTest::keyClick(w->mnuFile, Qt::Key_X);
    EXPECT_EQ(exit.count(), 1);
    EXPECT_EQ(w->dColorPallete1->Color1(), 0u);
}

TEST_F(Menu, DeleteShowsTheDeleteWindowModally) {
    const QImage before = canvas().Image().copy();
    bool wasDeleteWindow = false;
    ModalAnswer answer([&](QWidget* m) {
        wasDeleteWindow = qobject_cast<warndywtd*>(m) != nullptr;
        m->close();
    });
    w->mnuClear->trigger();
    EXPECT_TRUE(wasDeleteWindow);
    EXPECT_EQ(canvas().Image(), before);
}

TEST_F(Menu, FrameOnTheMenuBarOpensItsDialogAndCancelChangesNothing) {
    const QImage before = canvas().Image().copy();
    bool wasFrameDialog = false;
    ModalAnswer answer([&](QWidget* m) {
        wasFrameDialog = qobject_cast<frmStroke*>(m) != nullptr;
        m->close();
    });
    w->mnuStroke->trigger();
    EXPECT_TRUE(wasFrameDialog);
    EXPECT_EQ(canvas().Image(), before);
    EXPECT_EQ(nt::globals().DialogResult, 2);
}

TEST_F(Menu, HelpLinksHandTheirPagesToTheDesktopAndTheAboutBoxShows) {
    UrlCatcher desktop;
    for (QAction* a : {w->leter, w->mnuforum, w->mnuwebsite, w->mnuupdate}) a->trigger();
    ASSERT_EQ(desktop.opened.size(), 4);
    EXPECT_EQ(desktop.opened[0], QStringLiteral("mailto:?"));
    EXPECT_EQ(desktop.opened[1], nt::links::forumPage());
    EXPECT_EQ(desktop.opened[2], nt::links::productPage());
    EXPECT_EQ(desktop.opened[3], desktop.opened[2]);  // the update check is the product page
    EXPECT_TRUE(desktop.opened[2].startsWith(QStringLiteral("https://norvalytintora.example/")));

    QString title, version;
    ModalAnswer about([&](QWidget* m) {
        auto* box = qobject_cast<frmAbout*>(m);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        version = box->lblVersion->text();
        box->cmdOK->click();
    });
    w->mnuAbout->trigger();
    ASSERT_TRUE(about.seen());
    EXPECT_EQ(title, QStringLiteral("关于 NorvalyTintora"));
    EXPECT_EQ(version, QStringLiteral("版本:V3.9.0.12  2017年3月出品"));
}

TEST(AboutBox, BannerLabelsAndTheSystemInformationMessage) {
    frmAbout box;
    EXPECT_EQ(box.size(), QSize(483, 176));
    EXPECT_EQ(box.Picture->pixmap().size(), QSize(483, 176));
    EXPECT_FALSE(box.Label1->text().isEmpty());
    EXPECT_EQ(box.cmdOK->text(), QStringLiteral("确定(&O)"));
    EXPECT_EQ(box.cmdsysinfo->text(), QStringLiteral("系统信息(&S)..."));
    QString text, title;
    QMessageBox::StandardButtons buttons;
    int width = 0, needed = 0;
    ModalAnswer message([&](QWidget* m) {
        auto* msg = qobject_cast<QMessageBox*>(m);
        ASSERT_NE(msg, nullptr);
        text = msg->text();
        title = msg->windowTitle();
        buttons = msg->standardButtons();
        width = msg->width();
        needed = frmAbout::titleWidth(*msg);
        msg->accept();
    });
    box.cmdsysinfo->click();
    ASSERT_TRUE(message.seen());
    EXPECT_EQ(text, QStringLiteral("此时系统信息不可用"));
    EXPECT_EQ(title, QStringLiteral("NorvalyTintora"));
    EXPECT_EQ(buttons, QMessageBox::Ok);
    EXPECT_GE(width, needed);  // the whole title shows, not "No...ra"
}

}  // namespace

#include "menu_test.moc"
