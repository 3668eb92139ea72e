#include "serial/PortAccess.h"

#include "serial/posix/TRsLockFile.h"

#include <QFile>
#include <grp.h>
#include <sys/stat.h>

namespace {

QString ProcessName(qint64 pid) {
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(comm.readAll()).trimmed();
}

} // namespace

QString GroupToJoin(const QString& device) {
    struct stat status {};
    if (device.isEmpty() || stat(QFile::encodeName(device).constData(), &status) != 0)
        return {};
    if ((status.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP) || status.st_gid == 0)
        return {};
    const group* owner = getgrgid(status.st_gid);
    return owner != nullptr ? QString::fromLocal8Bit(owner->gr_name) : QString();
}

TPortHolder FindPortHolder(const QString& device) {
    const TRsLockFile lockFile;
    TPortHolder holder;
    holder.Pid = lockFile.Owner(device);
    if (holder.Pid > 0)
        holder.Name = ProcessName(holder.Pid);
    else
        holder.StaleLock = lockFile.StaleLock(device);
    return holder;
}
