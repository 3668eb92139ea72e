#include "serial/posix/TRsLockFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// The pid of a process that has ended and been reaped.
pid_t DeadPid() {
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

} // namespace

TEST(SerialLockFile, NamesFollowTheDevicePathBelowDev) {
    EXPECT_EQ(TRsLockFile::LockName("/dev/ttyS0"), QStringLiteral("LCK..ttyS0"));
    EXPECT_EQ(TRsLockFile::LockName("/dev/pts/3"), QStringLiteral("LCK..pts_3"));
    EXPECT_EQ(TRsLockFile::LockName("/tmp/x/ttyV1"), QStringLiteral("LCK..ttyV1"));
}

TEST(SerialLockFile, HeldLockRefusesOthersUntilReleased) {
    QTemporaryDir folder;
    const QString lock = folder.path() + "/LCK..ttyS4";
    TRsLockFile first({folder.path()});
    ASSERT_EQ(first.Acquire("/dev/ttyS4"), 0);
    EXPECT_EQ(ReadAll(lock), QByteArray::number(getpid()).rightJustified(10) + '\n');

    TRsLockFile second({folder.path()});
    EXPECT_EQ(second.Acquire("/dev/ttyS4"), EBUSY);
    EXPECT_TRUE(QFile::exists(lock)) << "a refused attempt must not remove the holder's lock";

    first.Release();
    EXPECT_FALSE(QFile::exists(lock));
    EXPECT_EQ(second.Acquire("/dev/ttyS4"), 0);
}

TEST(SerialLockFile, StaleLockIsTakenOverAndLiveForeignLockHonoured) {
    QTemporaryDir folder;
    const QString lock = folder.path() + "/LCK..ttyS5";
    TRsLockFile lockFile({folder.path()});

    WriteAll(lock, QByteArray::number(DeadPid()).rightJustified(10) + '\n');
    EXPECT_EQ(lockFile.StaleLock("/dev/ttyS5"), lock);
    EXPECT_EQ(lockFile.Owner("/dev/ttyS5"), 0);
    ASSERT_EQ(lockFile.Acquire("/dev/ttyS5"), 0);
    EXPECT_EQ(lockFile.StaleLock("/dev/ttyS5"), QString()) << "a lock whose owner runs";
    EXPECT_EQ(ReadAll(lock).trimmed(), QByteArray::number(getpid()));
    lockFile.Release();

    WriteAll(lock, "garbage\n");
    ASSERT_EQ(lockFile.Acquire("/dev/ttyS5"), 0);
    lockFile.Release();

    // pid 1 always runs.
    WriteAll(lock, "         1\n");
    EXPECT_EQ(lockFile.Acquire("/dev/ttyS5"), EBUSY);
    EXPECT_EQ(ReadAll(lock), QByteArray("         1\n"));
}

TEST(SerialLockFile, FirstExistingFolderIsUsedAndNoneMeansNoLock) {
    QTemporaryDir folder;
    TRsLockFile lockFile({folder.path() + "/missing", folder.path()});
    ASSERT_EQ(lockFile.Acquire("/dev/ttyS6"), 0);
    EXPECT_TRUE(QFile::exists(folder.path() + "/LCK..ttyS6"));

    TRsLockFile nowhere({folder.path() + "/missing"});
    EXPECT_EQ(nowhere.Acquire("/dev/ttyS6"), 0);
}
