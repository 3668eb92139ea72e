#include "serial/posix/TRsLockFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The owner's pid from a lock file in the usual ASCII form; 0 when there is none to read.
pid_t LockOwner(const QByteArray& path) {
    const int fd = open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char text[32] = {};
    const ssize_t length = read(fd, text, sizeof text - 1);
    close(fd);
    if (length <= 0)
        return 0;
    bool ok = false;
    const long pid = QByteArray(text, static_cast<int>(length)).trimmed().toLong(&ok);
    return ok && pid > 0 ? static_cast<pid_t>(pid) : 0;
}

bool Running(pid_t pid) {
    return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM);
}

} // namespace

TRsLockFile::TRsLockFile(QStringList folders) : folders_(std::move(folders)) {
}

TRsLockFile::~TRsLockFile() {
    Release();
}

QString TRsLockFile::LockName(const QString& devicePath) {
    const QString dev = QStringLiteral("/dev/");
    QString name =
        devicePath.startsWith(dev) ? devicePath.mid(dev.size()) : QFileInfo(devicePath).fileName();
    return QStringLiteral("LCK..") + name.replace(QLatin1Char('/'), QLatin1Char('_'));
}

qint64 TRsLockFile::Owner(const QString& devicePath) const {
    for (const QString& folder : folders_) {
        if (!QFileInfo(folder).isDir())
            continue;
        const pid_t pid =
            LockOwner(QFile::encodeName(folder + QLatin1Char('/') + LockName(devicePath)));
        return Running(pid) ? pid : 0;
    }
    return 0;
}

QString TRsLockFile::StaleLock(const QString& devicePath) const {
    for (const QString& folder : folders_) {
        if (!QFileInfo(folder).isDir())
            continue;
        const QString path = folder + QLatin1Char('/') + LockName(devicePath);
        const QByteArray encoded = QFile::encodeName(path);
        const bool there = access(encoded.constData(), F_OK) == 0;
        return there && !Running(LockOwner(encoded)) ? path : QString();
    }
    return {};
}

int TRsLockFile::Acquire(const QString& devicePath) {
    QString folder;
    for (const QString& candidate : folders_) {
        if (QFileInfo(candidate).isDir()) {
            folder = candidate;
            break;
        }
    }
    if (folder.isEmpty())
        return 0;
    const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + LockName(devicePath));
    const bool writable = access(QFile::encodeName(folder).constData(), W_OK) == 0;

    // Two rounds: the second follows the removal of a stale lock.
    for (int round = 0; round < 2; ++round) {
        if (writable) {
            const int fd = open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            if (fd >= 0) {
                const QByteArray content = QByteArray::number(getpid()).rightJustified(10) + '\n';
                const bool written = write(fd, content.constData(), content.size()) ==
                                     static_cast<ssize_t>(content.size());
                const int error = errno;
                close(fd);
                if (!written) {
                    unlink(path.constData());
                    return error != 0 ? error : EIO;
                }
                held_ = QFile::decodeName(path);
                return 0;
            }
            if (errno != EEXIST)
                return errno;
        } else if (access(path.constData(), F_OK) != 0) {
            return 0;
        }
        if (Running(LockOwner(path)))
            return EBUSY;
        if (!writable)
            return 0;
        unlink(path.constData());
    }
    return EBUSY;
}

void TRsLockFile::Release() {
    if (held_.isEmpty())
        return;
    unlink(QFile::encodeName(held_).constData());
    held_.clear();
}
