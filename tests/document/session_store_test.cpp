// The session store: where the sessions' folders are, their locks and crash detection (a child
// process killed with SIGKILL), the start-up rule's previous session, recovery offers, pruning,
// the snapshot timeline's budget and the thumbnails.
#include <sys/stat.h>

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "document/SessionStore.h"
#include "document/SnapshotTimeline.h"
#include "platform/FileLock.h"
#include "platform/Picture.h"
#include "platform/PictureGlance.h"

namespace {

// White with a block of `mark`: no blank canvas.
QImage drawn(int width, int height, QRgb mark) {
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int y = height / 4; y < height / 2; ++y)
        for (int x = width / 5; x < width / 2; ++x) img.setPixel(x, y, mark);
    return img;
}
QImage blank(int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(qRgb(0, 0, 255));
    return img;
}
QImage readBack(const QString& path) {
    auto r = nt::loadPicture(path);
    return std::holds_alternative<QImage>(r) ? std::get<QImage>(r) : QImage();
}
void write(const QString& path, const QImage& image, int secondsAgo = 0) {
    ASSERT_FALSE(nt::savePictureBmp(image, path).has_value());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-secondsAgo),
                              QFileDevice::FileModificationTime));
}
// Every file of the session as if last written `secondsAgo`.
void age(const QString& folder, int secondsAgo) {
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden)) {
        QFile f(info.filePath());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-secondsAgo),
                                  QFileDevice::FileModificationTime));
    }
}
bool locked(const QString& folder) {
    return !nt::FileLock::tryLock(QDir(folder).filePath(QStringLiteral(".lock")));
}
QStringList foldersOf(const std::vector<nt::RecoveryOffer>& offers) {
    QStringList out;
    for (const auto& o : offers) out << o.folder;
    return out;
}
int permissionBits(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 0777) : -1;
}

// Sets the environment variable for the life of the object.
class Env {
  public:
    Env(const char* name, const QByteArray& value) : name_(name), old_(qgetenv(name)) {
        had_ = qEnvironmentVariableIsSet(name);
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~Env() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

  private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

TEST(SessionsRoot, OverrideThenAbsoluteXdgStateHomeThenHome) {
    const QString cwd = QDir::currentPath();
    struct Case {
        const char* own;
        const char* xdg;
        QString want;
    };
    const Case cases[] = {
        {"/srv/portable/state", "/x/state", QStringLiteral("/srv/portable/state")},
        {"portable", nullptr, cwd + QStringLiteral("/portable")},
        {nullptr, "/x/state", QStringLiteral("/x/state/norvalytintora")},
        {nullptr, "x/relative", QStringLiteral("/home/someone/.local/state/norvalytintora")},
        {nullptr, nullptr, QStringLiteral("/home/someone/.local/state/norvalytintora")},
        {"", "", QStringLiteral("/home/someone/.local/state/norvalytintora")},
    };
    const Env home("HOME", "/home/someone");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.want.toStdString());
        const Env own("NORVALYTINTORA_STATE_DIR", c.own ? QByteArray(c.own) : QByteArray());
        const Env xdg("XDG_STATE_HOME", c.xdg ? QByteArray(c.xdg) : QByteArray());
        EXPECT_EQ(nt::sessionsRootFolder(), c.want);
    }
}

TEST(SessionStore, FoldersArePrivateAndLockedWhileTheirSessionLives) {
    QTemporaryDir tmp;
    const QString root = tmp.filePath(QStringLiteral("state/norvalytintora"));
    nt::SessionStore store(root);
    QString folder;
    {
        const auto a = store.begin();
        const auto b = store.begin();
        folder = a->folder();
        EXPECT_NE(a->folder(), b->folder());
        EXPECT_EQ(QFileInfo(folder).absolutePath(), root);
        for (const QString& p : {tmp.filePath(QStringLiteral("state")), root, folder})
            EXPECT_EQ(permissionBits(p), 0700) << p.toStdString();
        EXPECT_TRUE(locked(folder));
        EXPECT_EQ(a->file(QStringLiteral("undo.bmp")), folder + QStringLiteral("/undo.bmp"));
    }
    EXPECT_FALSE(locked(folder)) << "the lock goes with the session";

    // A store that cannot make its folder still gives a session; its files cannot be written.
    QFile blocker(tmp.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const auto nowhere = nt::SessionStore(blocker.fileName() + QStringLiteral("/sub")).begin();
    EXPECT_TRUE(
        nt::savePictureBmp(drawn(8, 8, qRgb(1, 2, 3)), nowhere->file(QStringLiteral("undo.bmp")))
            .has_value());
}

// A window's process killed outright: its lock goes with it, and the next start offers its
// picture back; until then it is a running session that nobody touches.
TEST(SessionStore, ASessionKilledWithSigkillIsOfferedBack) {
    QTemporaryDir tmp;
    nt::SessionStore store(tmp.path());
    QProcess holder;
    holder.start(QStringLiteral(NT_SESSION_HOLDER), {tmp.path()});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    const QString folder = QString::fromLocal8Bit(holder.readLine()).trimmed();
    ASSERT_TRUE(QFile::exists(folder + QStringLiteral("/backup.bmp")));

    EXPECT_TRUE(locked(folder));
    EXPECT_TRUE(store.recoveryOffers(64).empty()) << "a running session is not offered";
    EXPECT_NE(store.begin()->fileToRead(QStringLiteral("backup.bmp")),
              folder + QStringLiteral("/backup.bmp"))
        << "nor read by the start-up rule";

    holder.kill();  // SIGKILL
    ASSERT_TRUE(holder.waitForFinished(10000));
    EXPECT_FALSE(locked(folder));
    const std::vector<nt::RecoveryOffer> offers = store.recoveryOffers(64);
    ASSERT_EQ(foldersOf(offers), QStringList{folder});
    EXPECT_EQ(offers[0].picture, folder + QStringLiteral("/backup.bmp"));
    EXPECT_EQ(offers[0].size, QSize(64, 48));
    EXPECT_EQ(offers[0].thumbnail.size(), QSize(64, 48));
    EXPECT_TRUE(locked(folder)) << "held while offered, so no other start offers it too";
    EXPECT_TRUE(store.recoveryOffers(64).empty());

    nt::SessionStore::endOffered(offers[0]);
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/closed")));
}

// The start-up rule: a new session reads the files of the session that ended last, normally or
// not, until it has written its own.
TEST(SessionStore, ANewSessionReadsTheFilesOfTheLastEndedOneUntilItWritesItsOwn) {
    QTemporaryDir tmp;
    nt::SessionStore store(tmp.path());
    QString newer;
    {
        const auto a = store.begin();
        write(a->file(QStringLiteral("undo.bmp")), drawn(20, 20, qRgb(1, 1, 1)));
        a->markClosed();
        age(a->folder(), 120);
        const auto b = store.begin();  // crashes: never closed
        write(b->file(QStringLiteral("undo.bmp")), drawn(20, 20, qRgb(2, 2, 2)), 60);
        newer = b->folder();
    }
    const auto running = store.begin();  // runs on: not an ended session
    write(running->file(QStringLiteral("undo.bmp")), drawn(20, 20, qRgb(3, 3, 3)));
    const auto c = store.begin();
    const QString undo = QStringLiteral("undo.bmp");
    EXPECT_EQ(c->fileToRead(undo), newer + u'/' + undo);
    write(c->file(undo), drawn(20, 20, qRgb(4, 4, 4)));
    EXPECT_EQ(c->fileToRead(undo), c->file(undo));
    EXPECT_EQ(c->fileToRead(QStringLiteral("backup.bmp")), newer + QStringLiteral("/backup.bmp"));
    EXPECT_EQ(nt::Session(QString()).fileToRead(undo), undo) << "no store: the current directory";
}

TEST(SessionStore, OffersNewestFirstTheNewestPictureThatIsNoBlankCanvas) {
    QTemporaryDir tmp;
    nt::SessionStore store(tmp.path());
    QString blankOnly, closed, undoNewer, backupOnly;
    {
        const auto s1 = store.begin();
        write(s1->file(QStringLiteral("backup.bmp")), blank(30, 20), 50);
        write(s1->file(QStringLiteral("undo.bmp")), blank(30, 20), 40);
        blankOnly = s1->folder();
        const auto s2 = store.begin();
        write(s2->file(QStringLiteral("backup.bmp")), drawn(30, 20, qRgb(9, 9, 9)));
        s2->markClosed();
        age(s2->folder(), 30);
        closed = s2->folder();
        const auto s3 = store.begin();
        write(s3->file(QStringLiteral("backup.bmp")), drawn(30, 20, qRgb(9, 0, 0)), 300);
        write(s3->file(QStringLiteral("undo.bmp")), drawn(40, 25, qRgb(0, 9, 0)), 200);
        undoNewer = s3->folder();
        const auto s4 = store.begin();
        write(s4->file(QStringLiteral("undo.bmp")), blank(30, 20), 5);  // newest, but blank
        write(s4->file(QStringLiteral("backup.bmp")), drawn(50, 10, qRgb(0, 0, 9)), 10);
        backupOnly = s4->folder();
    }
    std::vector<nt::RecoveryOffer> offers = store.recoveryOffers(16);
    EXPECT_EQ(foldersOf(offers), (QStringList{backupOnly, undoNewer}));
    ASSERT_EQ(offers.size(), 2u);
    EXPECT_EQ(offers[0].picture, backupOnly + QStringLiteral("/backup.bmp"));
    EXPECT_EQ(offers[0].size, QSize(50, 10));
    EXPECT_EQ(offers[0].thumbnail.size(), QSize(16, 3));
    EXPECT_EQ(offers[1].picture, undoNewer + QStringLiteral("/undo.bmp"));
    EXPECT_TRUE(QFile::exists(blankOnly + QStringLiteral("/closed")))
        << "a crash with blank canvases only is an ended session like any";
    offers.clear();  // dismissed: offered again at the next start
    EXPECT_EQ(store.recoveryOffers(16).size(), 2u);
}

TEST(SessionStore, PruningKeepsTheNewestClosedSessionsWithinCountAndBytes) {
    QTemporaryDir tmp;
    nt::SessionStore store(tmp.path());
    const QImage picture = drawn(100, 100, qRgb(5, 5, 5));  // 30054 bytes as a BMP
    QStringList closed;                                     // newest first
    QString crashed;
    for (int i = 0; i < 7; ++i) {
        const auto s = store.begin();
        write(s->file(QStringLiteral("backup.bmp")), picture);
        s->markClosed();
        age(s->folder(), 1000 - i * 100);
        closed.prepend(s->folder());
    }
    {
        const auto s = store.begin();
        write(s->file(QStringLiteral("undo.bmp")), picture, 5000);
        crashed = s->folder();
    }
    const auto other = store.begin();  // another window, running
    const auto current = store.begin();
    write(current->file(QStringLiteral("backup.bmp")), picture);
    const auto remaining = [&] {
        QStringList out;
        for (const QString& f : closed)
            if (QFileInfo::exists(f)) out << f;
        return out;
    };

    store.prune(*current, 5, std::int64_t{1} << 30);
    EXPECT_EQ(remaining(), closed.mid(0, 4)) << "with the current one, five";
    store.prune(*current, 5, 3 * 31000);
    EXPECT_EQ(remaining(), closed.mid(0, 2)) << "three sessions' bytes";
    store.prune(*current, 5, 1000);
    EXPECT_TRUE(remaining().isEmpty());
    for (const QString& stays : {crashed, other->folder(), current->folder()})
        EXPECT_TRUE(QFileInfo::exists(stays)) << stays.toStdString();
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 3);
}

// Ten snapshots at most, only after a change, and only as many as the budget holds.
TEST(SnapshotTimeline, KeepsTheNewestChangedSnapshotsWithinCountAndBudget) {
    struct Case {
        int pictures;
        std::int64_t budget;
        int kept;
    };
    const std::int64_t bytes = 30054;  // a 100 x 100 BMP
    for (const Case c : {Case{6, bytes * 7 / 2, 3}, Case{13, std::int64_t{1} << 30, 10}}) {
        SCOPED_TRACE(c.kept);
        QTemporaryDir tmp;
        nt::SnapshotTimeline timeline(tmp.path(), c.budget);
        const QString backup = tmp.filePath(QStringLiteral("backup.bmp"));
        std::vector<QImage> pictures;
        for (int i = 0; i < c.pictures; ++i) {
            pictures.push_back(drawn(100, 100, qRgb(i * 10, 0, 0)));
            ASSERT_TRUE(timeline.write(pictures.back(), backup));
            ASSERT_TRUE(timeline.write(pictures.back(), backup)) << "unchanged: no new snapshot";
        }
        const auto snapshots = timeline.snapshots();
        ASSERT_EQ(static_cast<int>(snapshots.size()), c.kept);
        EXPECT_EQ(snapshots[0].path, backup);
        for (int k = 0; k < c.kept; ++k)
            EXPECT_EQ(readBack(snapshots[static_cast<size_t>(k)].path),
                      pictures[static_cast<size_t>(c.pictures - 1 - k)])
                << k;
        for (size_t k = 1; k < snapshots.size(); ++k)
            EXPECT_LE(snapshots[k].written, snapshots[k - 1].written);
    }
}

TEST(PictureGlance, ReadsWorkingFilesInPlaceAndOtherPicturesWhole) {
    QTemporaryDir tmp;
    const QString own = tmp.filePath(QStringLiteral("own.bmp"));
    QImage picture(301, 97, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, qRgb(x, y, x ^ y));
    write(own, picture);
    const QString plain = tmp.filePath(QStringLiteral("plain.bmp"));
    write(plain, blank(33, 7));
    const QString suite = QStringLiteral(NT_TESTDATA_DIR "/bmp/g/pal8.bmp");

    for (const QString& path : {own, plain, suite}) {
        SCOPED_TRACE(path.toStdString());
        const QImage whole = readBack(path);
        const auto g = nt::glancePicture(path, 40, true);
        ASSERT_TRUE(g.has_value());
        EXPECT_EQ(g->size, whole.size());
        EXPECT_EQ(g->thumbnail, nt::thumbnailOf(whole, 40));
        EXPECT_EQ(g->uniform, path == plain);
        EXPECT_LE(std::max(g->thumbnail.width(), g->thumbnail.height()), 40);
    }
    // A working file cut short is no picture.
    QFile f(own);
    ASSERT_TRUE(f.resize(f.size() - 10));
    EXPECT_FALSE(nt::glancePicture(own, 40, false).has_value());
}

}  // namespace
