#pragma once

#include <QString>
#include <QStringList>

// The "LCK..<device>" lock file that Linux serial programs use to keep off each other's
// devices. The first existing folder of the list is used: a lock there whose owner still
// runs is honoured, and one whose owner is gone is taken over; the lock is created only
// where the folder is writable.
class TRsLockFile {
public:
    explicit TRsLockFile(QStringList folders = {QStringLiteral("/run/lock"),
                                                QStringLiteral("/var/lock")});
    ~TRsLockFile();
    TRsLockFile(const TRsLockFile&) = delete;
    TRsLockFile& operator=(const TRsLockFile&) = delete;

    // Locks the device (its resolved path). Returns 0, EBUSY when a running process (this
    // one included) holds it, or errno when the lock file cannot be made.
    int Acquire(const QString& devicePath);
    // Removes the lock file this object made, if any.
    void Release();

    // "LCK..ttyS0" for /dev/ttyS0, "LCK..pts_3" for /dev/pts/3.
    static QString LockName(const QString& devicePath);
    // The process that holds the device's lock file and still runs (0: none).
    qint64 Owner(const QString& devicePath) const;
    // The device's lock file when its owner is gone but it is still there (another user's
    // file in a sticky folder cannot be taken over); empty otherwise.
    QString StaleLock(const QString& devicePath) const;

private:
    QStringList folders_;
    QString held_;
};
