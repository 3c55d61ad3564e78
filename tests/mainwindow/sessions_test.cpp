// Windows with sessions of their own: two at once, the start-up rule, the user's files in the
// current folder, recovery after a crash and the snapshot timeline, on the real main window.
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

#include "MainWindowTest.h"
#include "document/frmRecover.h"
#include "document/frmSnapshots.h"
#include "document/save.h"
#include "platform/Picture.h"
#include "support/ModalAnswer.h"

namespace {

using Act = ModalSequence::Act;
const Act cancel = [](QWidget* m) { m->close(); };
const Act decline = [](QWidget* m) { qobject_cast<save*>(m)->HScroll1->setValue(4); };
const Act escape = [](QWidget* m) { QTest::keyClick(m, Qt::Key_Escape); };

QImage readBack(const QString& path) {
    auto r = nt::loadPicture(path);
    return std::holds_alternative<QImage>(r) ? std::get<QImage>(r) : QImage();
}

// The fixture's state folder holds the store's sessions; `w` (working files in the current
// directory) stays unused.
class Sessions : public MainWindowTest {
  protected:
    // A window with a session of the store, started with `answers` for the windows start-up
    // shows; `seen` gets their class names.
    std::unique_ptr<frmmain> startWindow(std::vector<Act> answers, QStringList* seen = nullptr) {
        auto win = std::make_unique<frmmain>();
        win->endProgram = [] {};
        ModalSequence sequence(std::move(answers));
        QSignalSpy listed(win.get(), &frmmain::LibrariesListed);
        win->Form_Load(QStringLiteral(NT_SOURCE_DIR "/resources"));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(win.get()));
        EXPECT_TRUE(QTest::qWaitFor([&] { return sequence.finished(); }, 5000));
        if (!win->librariesListed()) {
            EXPECT_TRUE(listed.wait(5000));
        }
        QTest::qWait(50);  // time for a window start-up should not show
        if (seen) *seen = sequence.seen();
        return win;
    }
    // A line drawn with the line tool: its press writes "undo.bmp".
    static void stroke(frmmain& win, int y) {
        win.Command1_Click(nt::kLine);
        win.SrcDc_MouseDown(1, 0, 10, y);
        win.SrcDc_MouseMove(1, 0, 200, y);
        win.SrcDc_MouseUp(1, 0, 200, y);
    }
    // A window that took a snapshot of a picture marked in `colour` and then crashed: its
    // session's lock goes as with a killed process, and no close was recorded. `startup`
    // answers the windows its start shows.
    std::pair<QImage, QString> crashedSession(nt::Colour colour,
                                              std::vector<Act> startup = {cancel}) {
        auto win = startWindow(std::move(startup));
        win->canvas().Line(20, 20, 150, 120, colour);
        win->Timer10_Timer();
        win->backupImage().flush();
        return {win->canvas().Image().copy(), win->session().folder()};
    }
    QStringList offered() {
        QStringList folders;
        for (const auto& o : nt::SessionStore(sessions.path()).recoveryOffers(16))
            folders << o.folder;
        return folders;
    }
};

TEST_F(Sessions, TwoWindowsAtOnceEachUndoIntoItsOwnPicture) {
    auto a = startWindow({cancel});
    auto b = startWindow({cancel});
    EXPECT_NE(a->session().folder(), b->session().folder());
    for (frmmain* win : {a.get(), b.get()})
        EXPECT_EQ(QFileInfo(win->session().folder()).absolutePath(), sessions.path());
    a->canvas().Line(0, 0, 100, 100, 0x0000FF);
    b->canvas().Line(0, 100, 100, 0, 0x00FF00);
    const QImage beforeA = a->canvas().Image().copy(), beforeB = b->canvas().Image().copy();
    stroke(*a, 30);
    stroke(*b, 60);
    a->mnuundo1->trigger();
    b->mnuundo1->trigger();
    EXPECT_EQ(a->canvas().Image(), beforeA);
    EXPECT_EQ(b->canvas().Image(), beforeB);
}

TEST_F(Sessions, RightAfterStartUndoAndRestoreLoadTheFilesOfTheSessionThatEndedLast) {
    QImage undone, snapshot;
    {
        auto a = startWindow({cancel});
        a->canvas().Line(0, 0, 100, 100, 0x0000FF);
        undone = a->canvas().Image().copy();
        stroke(*a, 40);
        a->Timer10_Timer();
        snapshot = a->canvas().Image().copy();
        ModalSequence answers({decline});
        a->close();  // a normal close, after the save window
        EXPECT_EQ(answers.seen(), QStringList{QStringLiteral("save")});
    }
    QStringList seen;
    auto b = startWindow({cancel}, &seen);
    EXPECT_EQ(seen, QStringList{QStringLiteral("frmNew")}) << "a closed session is not offered";
    b->mnuundo1->trigger();
    EXPECT_EQ(b->canvas().Image(), undone);
    b->mnuundo->trigger();
    EXPECT_EQ(b->canvas().Image(), snapshot);
    // From the first press on, the window's own files.
    b->canvas().Line(0, 100, 100, 0, 0x00FF00);
    const QImage own = b->canvas().Image().copy();
    stroke(*b, 80);
    b->mnuundo1->trigger();
    EXPECT_EQ(b->canvas().Image(), own);
}

TEST_F(Sessions, AUserFileNamedLikeAWorkingFileInTheCurrentFolderIsLeftAlone) {
    const QString users = work.filePath(QStringLiteral("backup.bmp"));
    const QImage mine = readBack(QStringLiteral(NT_TESTDATA_DIR "/bmp/g/rgb24.bmp"));
    ASSERT_FALSE(nt::savePictureBmp(mine, users).has_value());
    QFile f(users);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    f.close();

    auto a = startWindow({cancel});
    stroke(*a, 30);
    a->Timer10_Timer();
    a->mnuundo->trigger();
    a->mnuundo1->trigger();
    ModalSequence answers({decline});
    a->close();
    a.reset();  // every write finished
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), bytes);
    EXPECT_EQ(QDir(work.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("backup.bmp")});
}

// Enter restores the newest picture in place of the new-canvas dialog; the other crashed
// session stays offered.
TEST_F(Sessions, RecoveryRestoresTheNewestPictureUnsavedWithoutTheNewCanvasDialog) {
    const auto [older, olderFolder] = crashedSession(0x0000FF);
    for (const QFileInfo& file : QDir(olderFolder).entryInfoList(QDir::Files)) {
        QFile old(file.filePath());
        ASSERT_TRUE(old.open(QIODevice::ReadWrite));
        ASSERT_TRUE(old.setFileTime(QDateTime::currentDateTime().addSecs(-600),
                                    QFileDevice::FileModificationTime));
    }
    const auto [newer, newerFolder] = crashedSession(0x00FF00, {escape, cancel});
    QString title;
    int listed = 0;
    QStringList seen;
    auto b = startWindow({[&](QWidget* m) {
                             auto* r = qobject_cast<frmRecover*>(m);
                             title = r->windowTitle();
                             listed = r->lstPictures->count();
                             // Enter in the list, which passes it on to the window.
                             QTest::keyClick(r->lstPictures, Qt::Key_Return);
                         }},
                         &seen);
    EXPECT_EQ(seen, QStringList{QStringLiteral("frmRecover")});
    EXPECT_EQ(title, QStringLiteral("恢复未保存的图片"));
    EXPECT_EQ(listed, 2);
    EXPECT_EQ(b->canvas().Image(), newer);
    EXPECT_EQ(b->statusText(1), QStringLiteral("请及时保存您的作品"));
    EXPECT_EQ(b->statusText(3), sizeText(newer.width(), newer.height()));
    b->backupImage().flush();
    EXPECT_EQ(readBack(b->session().file(QStringLiteral("backup.bmp"))), newer)
        << "a second crash cannot lose it";
    EXPECT_EQ(offered(), QStringList{olderFolder});
    EXPECT_NE(older, newer);
}

TEST_F(Sessions, RecoveryDismissedKeepsTheSessionAndDiscardedEndsIt) {
    const QString folder = crashedSession(0x0000FF).second;
    QStringList seen;
    auto b = startWindow({escape, cancel}, &seen);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("frmRecover"), QStringLiteral("frmNew")}));
    EXPECT_EQ(b->canvas().Image().size(), QSize(280, 232)) << "the design canvas";
    EXPECT_EQ(offered(), QStringList{folder}) << "offered again at the next start";

    const Act discard = [](QWidget* m) { qobject_cast<frmRecover*>(m)->cmdDiscard->click(); };
    auto c = startWindow({discard, cancel}, &seen);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("frmRecover"), QStringLiteral("frmNew")}));
    EXPECT_TRUE(offered().isEmpty());
    EXPECT_TRUE(QDir(folder).exists()) << "an ended session, kept for the start-up rule";
}

TEST_F(Sessions, TheTimelineListsChangedSnapshotsNewestFirstAndLoadsTheOneChosen) {
    auto a = startWindow({cancel});
    std::vector<QImage> snapshots;
    for (int i = 0; i < 3; ++i) {
        a->canvas().Line(0, 20 * i, 200, 20 * i, 0x0000FF);
        a->Timer10_Timer();
        a->Timer10_Timer();  // unchanged: no further snapshot
        a->backupImage().flush();
        snapshots.push_back(a->canvas().Image().copy());
    }
    a->canvas().Line(0, 150, 200, 150, 0x00FF00);
    QStringList texts;
    ModalAnswer choose([&](QWidget* m) {
        auto* d = qobject_cast<frmSnapshots*>(m);
        ASSERT_TRUE(d);
        QListWidget* list = d->lstSnapshots;
        // Each text gains the picture's size once its thumbnail is read.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                for (int i = 0; i < list->count(); ++i)
                    if (!list->item(i)->text().contains(u'×')) return false;
                return true;
            },
            5000));
        for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
        list->setCurrentRow(2);
        d->cmdOK->click();
    });
    a->mnuSnapshots->trigger();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_TRUE(texts[0].endsWith(QStringLiteral("280 × 232")));
    EXPECT_EQ(a->canvas().Image(), snapshots[0]);
}

}  // namespace
