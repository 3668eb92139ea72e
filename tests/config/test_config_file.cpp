#include "config/ConfigFile.h"
#include "config/Container.h"
#include "config/WholeFile.h"

#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray ExampleFile = QByteArray::fromHex("726366000000000000848A0000011068");

TEST(ConfigFile, ExampleFileParsesAndRebuildsByteForByte) {
    ASSERT_TRUE(CheckContainer(ExampleFile, ConfigFileTag).isEmpty());
    const std::optional<ConfigFileContents> contents = ParseConfigFile(ExampleFile);
    ASSERT_TRUE(contents);
    ConfigRecord expected;
    expected.TC8name = "";
    EXPECT_EQ(contents->Password, "");
    EXPECT_EQ(contents->Record, expected);

    const ConfigFileImage rebuilt = BuildConfigFile(contents->Password, contents->Record);
    EXPECT_EQ(rebuilt.Fault, RecordFault::None);
    EXPECT_EQ(rebuilt.Image, ExampleFile);
}

TEST(ConfigFile, DefaultSaveHas36Bytes) {
    const ConfigFileImage file = BuildConfigFile("0157", ConfigRecord());
    ASSERT_EQ(file.Image.size(), 36);
    EXPECT_TRUE(file.Image.startsWith(QByteArray("\x72\x63\x66\x04", 4)));
    EXPECT_EQ(file.Image.mid(4, 4), "0157");
    EXPECT_EQ(file.Image.mid(8, 4), QByteArray(3, '\0') + '\x10');
    EXPECT_EQ(file.Image.mid(12, 16), "Rejestrator nr.1");
    EXPECT_TRUE(CheckContainer(file.Image, ConfigFileTag).isEmpty());
    EXPECT_EQ(ParseConfigFile(file.Image), (ConfigFileContents{"0157", ConfigRecord()}));
}

TEST(ConfigFile, EverySingleChangedByteIsDetected) {
    const QByteArray good = BuildConfigFile("0157", ConfigRecord()).Image;
    for (qsizetype i = 0; i < good.size(); ++i) {
        for (const char flip : {'\x01', '\x80', '\xFF'}) {
            QByteArray bad = good;
            bad[i] = static_cast<char>(bad[i] ^ flip);
            const QList<ContainerFault> expected =
                i < 3 ? QList{ContainerFault::WrongFormat, ContainerFault::WrongCheckByte}
                      : QList{ContainerFault::WrongCheckByte};
            EXPECT_EQ(CheckContainer(bad, ConfigFileTag), expected) << i;
        }
    }
}

TEST(ConfigFile, PolishLettersRoundTrip) {
    ConfigRecord record;
    record.TempMin = 0;
    record.TempMax = 255;
    record.TempKorekta = 128;
    record.TempKorekta2 = 255;
    record.TempZapisz = "0";
    record.IleDruk = "99";
    record.TC8name = QStringLiteral("Chłodnia");
    record.TC8Typ = QStringLiteral("Żuraw");
    record.TC8Nazwa = QStringLiteral("ąćęłńóśźż");
    record.TC8Nazwa2 = QStringLiteral("ĄĆĘŁŃÓŚŹŻ");
    record.TC8Nazwa3 = QString(MaxConfigFileText, u'ś');
    const ConfigFileImage file = BuildConfigFile(QStringLiteral("hasło"), record);
    ASSERT_EQ(file.Fault, RecordFault::None);
    EXPECT_TRUE(CheckContainer(file.Image, ConfigFileTag).isEmpty());
    EXPECT_EQ(ParseConfigFile(file.Image), (ConfigFileContents{QStringLiteral("hasło"), record}));
}

TEST(ConfigFile, RefusesWhatItCannotStore) {
    ConfigRecord record;
    record.TC8Typ = QString(MaxConfigFileText + 1, u'a');
    ConfigFileImage file = BuildConfigFile("0157", record);
    EXPECT_EQ(file.Fault, RecordFault::TextTooLong);
    EXPECT_TRUE(file.Image.isEmpty());

    file = BuildConfigFile(QString(MaxConfigFileText + 1, u'1'), ConfigRecord());
    EXPECT_EQ(file.Fault, RecordFault::TextTooLong);

    record = ConfigRecord();
    record.IleDruk = "1+";
    file = BuildConfigFile("0157", record);
    EXPECT_EQ(file.Fault, RecordFault::IleDrukNotWholeNumber);
    EXPECT_TRUE(file.Image.isEmpty());
}

TEST(ConfigFile, BodyShorterThanItsLengthsIsRejected) {
    const QByteArray body = ContainerBody(BuildConfigFile("0157", ConfigRecord()).Image);
    for (qsizetype size = 0; size < body.size(); ++size)
        EXPECT_FALSE(ParseConfigFile(BuildContainer("rcf", body.left(size)))) << size;
    // A length byte pointing past the end.
    EXPECT_FALSE(ParseConfigFile(BuildContainer("rcf", QByteArray("\x20"
                                                                  "0157",
                                                                  5))));
    EXPECT_FALSE(ParseConfigFile(QByteArray("rcf")));
}

TEST(ConfigFile, BytesAfterTheLastFieldAreIgnored) {
    const QByteArray body = ContainerBody(ExampleFile);
    const std::optional<ConfigFileContents> contents =
        ParseConfigFile(BuildContainer("rcf", body + "extra"));
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents, ParseConfigFile(ExampleFile));
}

TEST(ConfigFile, ATextEndsAtItsFirstZeroByteAndTakesNoControlCharacters) {
    ConfigRecord record;
    record.TC8name = QStringLiteral("AB") + QChar(0) + QStringLiteral("CD");
    record.TC8Typ = QStringLiteral("a\tb\x01"
                                   "c\u0081d");
    const ConfigFileImage file =
        BuildConfigFile(QStringLiteral("01") + QChar(0) + QStringLiteral("57"), record);
    const std::optional<ConfigFileContents> contents = ParseConfigFile(file.Image);
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->Password, QStringLiteral("01"));
    EXPECT_EQ(contents->Record.TC8name, QStringLiteral("AB"));
    EXPECT_EQ(contents->Record.TC8Typ, QStringLiteral("abcd"));
}

// A pipe (as a device) at the path takes the bytes and stays what it is.
TEST(WholeFile, APipeAtThePathIsWrittenIntoNotReplaced) {
    const QTemporaryDir folder;
    const QByteArray fifo = folder.filePath(QStringLiteral("fifo")).toLocal8Bit();
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    const int reader = open(fifo.constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(WriteWholeFile(QString::fromLocal8Bit(fifo), "36 bytes"));
    struct stat after {};
    ASSERT_EQ(stat(fifo.constData(), &after), 0);
    EXPECT_TRUE(S_ISFIFO(after.st_mode));
    char read[16] = {};
    EXPECT_EQ(::read(reader, read, sizeof read), 8);
    close(reader);
}

} // namespace
