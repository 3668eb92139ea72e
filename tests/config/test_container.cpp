#include "config/Container.h"
#include "core/Errors.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Faults = QList<ContainerFault>;
constexpr ContainerFault Format = ContainerFault::WrongFormat;
constexpr ContainerFault Check = ContainerFault::WrongCheckByte;

TEST(Container, BuildsTagBodyAndXor) {
    const QByteArray image = BuildContainer("rcf", QByteArray("\x01\x02", 2));
    EXPECT_EQ(image, QByteArray("rcf\x01\x02\x74", 6)); // 0x72^0x63^0x66^1^2
    EXPECT_TRUE(CheckContainer(image, ConfigFileTag).isEmpty());
    EXPECT_EQ(ContainerBody(image), QByteArray("\x01\x02", 2));
}

TEST(Container, WrongTags) {
    EXPECT_EQ(CheckContainer(BuildContainer("RCF", "abc"), ConfigFileTag), Faults{Format});
    EXPECT_EQ(CheckContainer(BuildContainer("rfr", "abc"), ConfigFileTag), Faults{Format});
    EXPECT_TRUE(CheckContainer(BuildContainer("rfr", "abc"), FirmwareFileTag).isEmpty());
}

TEST(Container, TinyImages) {
    EXPECT_EQ(CheckContainer(QByteArray(), "rcf"), Faults{Format});
    EXPECT_EQ(CheckContainer(QByteArray("r"), "rcf"), Faults{Format});
    EXPECT_EQ(CheckContainer(QByteArray("ra"), "rcf"), (Faults{Format, Check}));
    EXPECT_EQ(CheckContainer(QByteArray("r\x72"), "rcf"), Faults{Format});
    EXPECT_EQ(CheckContainer(QByteArray("rcf"), "rcf"), Faults{Check});
    EXPECT_EQ(CheckContainer(BuildContainer("rcf", ""), "rcf"), Faults{});
    EXPECT_TRUE(ContainerBody(BuildContainer("rcf", "")).isEmpty());
}

TEST(Container, ImagesLargerThanTheBufferAreWrongFormat) {
    const QByteArray fits = BuildContainer("rfr", QByteArray(FileBufferSize - 4, 'x'));
    EXPECT_TRUE(CheckContainer(fits, FirmwareFileTag).isEmpty());
    const QByteArray tooLarge = BuildContainer("rfr", QByteArray(FileBufferSize - 3, 'x'));
    EXPECT_EQ(CheckContainer(tooLarge, FirmwareFileTag), Faults{Format});
}

TEST(Container, MessagesOfTheFaults) {
    EXPECT_EQ(ContainerFaultMessage(Format), "Zly format pliku");
    EXPECT_EQ(ContainerFaultMessage(Check), QStringLiteral("Bląd CRC pliku konfiguracji"));
}

class ContainerFileTest : public ::testing::Test {
protected:
    QString Write(const QByteArray& bytes) {
        const QString path = dir_.filePath(QStringLiteral("file%1").arg(++count_));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QTemporaryDir dir_;
    int count_ = 0;
};

TEST_F(ContainerFileTest, ReadsAndChecksTheWholeFile) {
    const QByteArray image = BuildContainer("rfr", QByteArray(FileBufferSize - 4, '\x5A'));
    const QString path = Write(image);
    QFile::setPermissions(path, QFile::ReadOwner);
    const ContainerFile file = ReadContainerImage(path, FirmwareFileTag);
    EXPECT_EQ(file.Image, image);
    EXPECT_TRUE(file.Faults.isEmpty());
    EXPECT_EQ(ReadContainerImage(path, ConfigFileTag).Faults, Faults{Format});
}

TEST_F(ContainerFileTest, LargerFileIsRejectedUnread) {
    const ContainerFile file =
        ReadContainerImage(Write(BuildContainer("rcf", QByteArray(FileBufferSize, 'x'))), "rcf");
    EXPECT_TRUE(file.Image.isEmpty());
    EXPECT_EQ(file.Faults, Faults{Format});
}

TEST_F(ContainerFileTest, MissingFileIsAnInOutError) {
    EXPECT_THROW(ReadContainerImage(dir_.filePath("none.rcf"), "rcf"), EInOutError);
}

} // namespace
