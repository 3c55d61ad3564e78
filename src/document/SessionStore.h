#pragma once

// The session store: every running window keeps its working files ("undo.bmp", "backup.bmp",
// "backup1.bmp" and the older snapshots) in a folder of its own under the per-user state
// folder, locked while the window runs. A later start tells a crashed session (lock free, never
// marked closed) from a running one and offers its picture back; a normal close marks the
// folder closed and keeps it, so the next start's Undo and Restore find its files.
//
// How the main window uses it:
//   nt::SessionStore store;                        // sessionsRootFolder()
//   std::unique_ptr<nt::Session> session = store.begin();
//   session->file("undo.bmp");                     // where to write
//   session->fileToRead("undo.bmp");               // where Undo reads before the first write
//   store.recoveryOffers(side);                    // at start-up, before the new canvas
//   session->markClosed(); store.prune(*session);  // on a normal close

#include <cstdint>
#include <memory>
#include <vector>

#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>

#include "document/SnapshotTimeline.h"
#include "platform/FileLock.h"

namespace nt {

// The folder holding the sessions' folders: $NORVALYTINTORA_STATE_DIR when set, else
// "norvalytintora" in $XDG_STATE_HOME when that is an absolute path, else in ~/.local/state.
QString sessionsRootFolder();

// One window's working files.
class Session {
  public:
    // Working files in `folder` ("" for the current directory, resolved at each use). A
    // session of a store holds the lock of its folder and knows the session that ended last
    // before it began (`previous`, may be empty).
    explicit Session(QString folder, QString previous = {}, std::unique_ptr<FileLock> lock = {});
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const QString& folder() const { return folder_; }
    // Where this session writes the working file `name`.
    QString file(const QString& name) const;
    // Where `name` is read from: this session's file once written, before that the file the
    // previous session left (or this session's path when there is none).
    QString fileToRead(const QString& name) const;
    SnapshotTimeline& timeline() { return timeline_; }
    // Records a normal close: a later start does not offer this session back. Only a session
    // of a store has anything to record.
    void markClosed();

  private:
    QString folder_;
    QString previous_;
    std::unique_ptr<FileLock> lock_;
    SnapshotTimeline timeline_;
};

// The picture of a crashed session, offered back at start-up.
struct RecoveryOffer {
    QString folder;   // the crashed session's
    QString picture;  // its newest working picture other than a blank canvas
    QSize size;
    QDateTime written;
    QImage thumbnail;
    std::shared_ptr<FileLock> lock;  // while held, no other start offers it too
};

class SessionStore {
  public:
    static constexpr int kKeptSessions = 5;
    static constexpr std::int64_t kKeptBytes = std::int64_t{2} << 30;

    explicit SessionStore(QString root = sessionsRootFolder());
    const QString& root() const { return root_; }

    // A new session folder (mode 0700, locked). When none can be made, a session whose files
    // cannot be written: working-file failures are silent, and Undo keeps its image in memory.
    std::unique_ptr<Session> begin();

    // The sessions that ended without a normal close and left a picture other than a blank
    // canvas, newest first; crashed sessions with blank canvases only are moved to the ended
    // ones here. Reads the files: the uniform check goes through a blank picture once.
    std::vector<RecoveryOffer> recoveryOffers(int thumbSide);
    // Moves an offered session to the ended ones.
    static void endOffered(const RecoveryOffer& offer);

    // Removes the oldest closed sessions beyond the newest `keep` and `bytes` together;
    // `current`'s folder always stays. Running and crashed sessions are left alone.
    void prune(const Session& current, int keep = kKeptSessions,
               std::int64_t bytes = kKeptBytes) const;

  private:
    struct Ended {
        QString folder;
        QDateTime lastWritten;
        bool closed;
    };
    // The sessions whose lock is free, newest first.
    std::vector<Ended> ended() const;

    QString root_;
};

}  // namespace nt
