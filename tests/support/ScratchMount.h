#pragma once

#include <sys/mount.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QStorageInfo>
#include <QString>

// A small tmpfs mounted for one test; only root can have it.
class ScratchMount {
  public:
    ScratchMount(const QString& where, const char* options) : where_(where.toLocal8Bit()) {
        ok_ = geteuid() == 0 && mount("tmpfs", where_.constData(), "tmpfs", 0, options) == 0;
    }
    ~ScratchMount() {
        if (ok_) umount(where_.constData());
    }
    bool ok() const { return ok_; }
    void remountReadOnly() {
        ok_ = ok_ &&
              mount("tmpfs", where_.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    // Fills the disk with a file until only `bytes` stay free (in whole pages).
    bool leaveFree(qint64 bytes) {
        QFile filler(QString::fromLocal8Bit(where_) + QStringLiteral("/filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
        const QByteArray page(4096, 'x');
        while (QStorageInfo(QString::fromLocal8Bit(where_)).bytesAvailable() > bytes)
            if (filler.write(page) != page.size()) break;
        return QStorageInfo(QString::fromLocal8Bit(where_)).bytesAvailable() == bytes;
    }

  private:
    QByteArray where_;
    bool ok_ = false;
};
