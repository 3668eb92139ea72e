// Every saved fuzz input, the seeds and each input that once found a fault, replayed through
// the same checks the fuzz targets run.
#include "FuzzChecks.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

void Replay(const QString& target, std::string (*check)(const QByteArray&)) {
    const QDir folder(QStringLiteral(TC8_FUZZ_CORPUS "/") + target);
    const QStringList names = folder.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(names.isEmpty()) << "no inputs in " << folder.path().toStdString();
    for (const QString& name : names) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_EQ(check(file.readAll()), "") << target.toStdString() << "/" << name.toStdString();
    }
}

TEST(FuzzCorpus, FrameAssembly) {
    Replay(QStringLiteral("frame_assembly"), CheckFrameAssembly);
}

TEST(FuzzCorpus, ConfigFile) {
    Replay(QStringLiteral("config_file"), CheckConfigFile);
}

TEST(FuzzCorpus, FirmwareFile) {
    Replay(QStringLiteral("firmware_file"), CheckFirmwareFile);
}

} // namespace
