#include "document/SessionStore.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include "platform/FileLock.h"
#include "platform/PictureGlance.h"

namespace nt {

namespace {

const QString kLockFile = QStringLiteral(".lock");
const QString kClosedFile = QStringLiteral("closed");
const QStringList kPictures = {QStringLiteral("undo.bmp"), QStringLiteral("backup.bmp")};
const QStringList kWorkingFiles = {QStringLiteral("undo.bmp"), QStringLiteral("backup.bmp"),
                                   QStringLiteral("backup1.bmp"), kClosedFile};
constexpr QFile::Permissions kPrivate = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// Start time and process: a session's folder name. Nothing else in the root is ever touched.
bool isSessionName(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral(R"(^\d{8}-\d{6}-\d{3}-\d+(-\d+)?$)"));
    return pattern.match(name).hasMatch();
}

// Makes `path` and its missing parents, each readable by the user alone.
bool makePrivateFolder(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir()) return true;
    if (info.exists()) return false;
    const QString parent = info.absolutePath();
    if (parent != info.absoluteFilePath() && !makePrivateFolder(parent)) return false;
    return QDir().mkdir(info.absoluteFilePath(), kPrivate) || QFileInfo(path).isDir();
}

std::unique_ptr<FileLock> lockOf(const QString& folder) {
    return FileLock::tryLock(QDir(folder).filePath(kLockFile));
}

void writeClosedMark(const QString& folder) {
    QSaveFile mark(QDir(folder).filePath(kClosedFile));
    if (!mark.open(QIODevice::WriteOnly)) return;
    mark.write(QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toUtf8());
    mark.commit();  // a failure only means the next start offers the session back
}

// When the session last wrote a working file or was closed; when it began, if neither.
QDateTime lastWritten(const QString& folder) {
    const QDir d(folder);
    QDateTime newest;
    for (const QString& name : kWorkingFiles) {
        const QFileInfo f(d.filePath(name));
        if (f.exists() && (!newest.isValid() || f.lastModified() > newest))
            newest = f.lastModified();
    }
    return newest.isValid() ? newest : QFileInfo(folder).lastModified();
}

std::int64_t folderBytes(const QString& folder) {
    std::int64_t bytes = 0;
    for (const QFileInfo& f : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden))
        bytes += f.size();
    return bytes;
}

// Deletes an ended session's files and folder, unless someone holds its lock.
void removeSession(const QString& folder) {
    const std::unique_ptr<FileLock> lock = lockOf(folder);
    if (!lock) return;
    QDir d(folder);
    for (const QString& name : d.entryList(QDir::Files | QDir::Hidden | QDir::System))
        d.remove(name);
    d.rmdir(folder);  // stays when something else was put there
}

// The newest working picture of a crashed session that is not a blank canvas.
std::optional<RecoveryOffer> pictureToOffer(const QString& folder, int thumbSide) {
    std::vector<QFileInfo> files;
    for (const QString& name : kPictures) {
        QFileInfo f(QDir(folder).filePath(name));
        if (f.isFile()) files.push_back(f);
    }
    std::sort(files.begin(), files.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return a.lastModified() > b.lastModified();
    });
    for (const QFileInfo& f : files) {
        std::optional<PictureGlance> glance = glancePicture(f.filePath(), thumbSide, true);
        if (glance && !glance->uniform)
            return RecoveryOffer{folder,           f.filePath(),      glance->size,
                                 f.lastModified(), glance->thumbnail, nullptr};
    }
    return std::nullopt;
}

}  // namespace

QString sessionsRootFolder() {
    const QString own = qEnvironmentVariable("NORVALYTINTORA_STATE_DIR");
    if (!own.isEmpty()) return QDir::cleanPath(QDir(own).absolutePath());
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // The XDG rules: a relative path there is invalid and ignored.
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(state + QStringLiteral("/norvalytintora"));
}

// ---- Session ----

Session::Session(QString folder, QString previous, std::unique_ptr<FileLock> lock)
    : folder_(std::move(folder)),
      previous_(std::move(previous)),
      lock_(std::move(lock)),
      timeline_(folder_) {}

Session::~Session() = default;

QString Session::file(const QString& name) const {
    return folder_.isEmpty() ? name : QDir(folder_).filePath(name);
}

QString Session::fileToRead(const QString& name) const {
    const QString own = file(name);
    if (previous_.isEmpty() || QFile::exists(own)) return own;
    return QDir(previous_).filePath(name);
}

void Session::markClosed() {
    if (lock_) writeClosedMark(folder_);
}

// ---- SessionStore ----

SessionStore::SessionStore(QString root) : root_(std::move(root)) {}

std::unique_ptr<Session> SessionStore::begin() {
    const std::vector<Ended> before = ended();
    const QString previous = before.empty() ? QString() : before.front().folder;
    const QString base =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) + u'-' +
        QString::number(QCoreApplication::applicationPid());
    QDir root(root_);
    QString name = base;
    for (int k = 1; root.exists(name); ++k) name = base + QStringLiteral("-%1").arg(k);
    if (makePrivateFolder(root_)) {
        // Made under a name no start looks at, locked, then renamed: a folder under a
        // session's name never lacks its lock while its window runs.
        const QString hidden = QStringLiteral(".new-") + name;
        if (root.mkdir(hidden, kPrivate)) {
            std::unique_ptr<FileLock> lock = lockOf(root.filePath(hidden));
            if (lock && root.rename(hidden, name))
                return std::make_unique<Session>(root.filePath(name), previous, std::move(lock));
            lock.reset();
            removeSession(root.filePath(hidden));
        }
    }
    return std::make_unique<Session>(root.filePath(name), previous);
}

std::vector<SessionStore::Ended> SessionStore::ended() const {
    std::vector<Ended> list;
    const QDir root(root_);
    for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!isSessionName(name)) continue;
        const QString folder = root.filePath(name);
        if (!lockOf(folder)) continue;  // its window runs (or another start offers it)
        list.push_back(
            {folder, lastWritten(folder), QFile::exists(QDir(folder).filePath(kClosedFile))});
    }
    std::sort(list.begin(), list.end(), [](const Ended& a, const Ended& b) {
        return a.lastWritten != b.lastWritten ? a.lastWritten > b.lastWritten : a.folder > b.folder;
    });
    return list;
}

std::vector<RecoveryOffer> SessionStore::recoveryOffers(int thumbSide) {
    std::vector<RecoveryOffer> offers;
    const QDir root(root_);
    for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = root.filePath(name);
        if (!isSessionName(name) || QFile::exists(QDir(folder).filePath(kClosedFile))) continue;
        std::shared_ptr<FileLock> lock = lockOf(folder);
        if (!lock) continue;  // running
        std::optional<RecoveryOffer> offer = pictureToOffer(folder, thumbSide);
        if (!offer) {
            writeClosedMark(folder);  // nothing worth offering: an ended session like any
            continue;
        }
        offer->lock = std::move(lock);
        offers.push_back(std::move(*offer));
    }
    std::sort(offers.begin(), offers.end(),
              [](const RecoveryOffer& a, const RecoveryOffer& b) { return a.written > b.written; });
    return offers;
}

void SessionStore::endOffered(const RecoveryOffer& offer) {
    writeClosedMark(offer.folder);
}

void SessionStore::prune(const Session& current, int keep, std::int64_t bytes) const {
    int kept = 1;  // the current session, which always stays
    std::int64_t total = current.folder().isEmpty() ? 0 : folderBytes(current.folder());
    bool full = false;  // once one goes, every older one goes too
    for (const Ended& e : ended()) {
        if (!e.closed || e.folder == current.folder()) continue;
        const std::int64_t size = folderBytes(e.folder);
        full = full || kept >= keep || total + size > bytes;
        if (full) {
            removeSession(e.folder);
        } else {
            ++kept;
            total += size;
        }
    }
}

}  // namespace nt
