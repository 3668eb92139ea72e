#include "config/ConfigFields.h"
#include "config/ConfigGroups.h"
#include "core/Errors.h"
#include "protocol/AnsiCodec.h"
#include "protocol/Frame.h"

#include <gtest/gtest.h>
#include <set>

namespace {

ConfigRecord SampleRecord() {
    ConfigRecord record;
    record.TempMin = 100;
    record.TempMax = 200;
    record.TempKorekta = 7;
    record.TempKorekta2 = 135;
    record.TempZapisz = "300"; // low byte 44
    record.IleDruk = "-1";     // low byte 255
    record.TC8name = QStringLiteral("Chłodnia 2");
    record.TC8Nazwa = QStringLiteral("Zakład Mięsny");
    record.TC8Typ = "TC";
    record.TC8Nazwa2 = QStringLiteral("ul. Żółta 5");
    record.TC8Nazwa3 = "";
    return record;
}

const ConfigGroup& Group(quint8 readCode) {
    const ConfigGroup* group = ConfigGroupForReadCode(readCode);
    EXPECT_NE(group, nullptr);
    return *group;
}

TEST(ConfigGroups, CodesAndProgressInExchangeOrder) {
    const int progress[] = {10, 20, 40, 50, 60, 70, 80, 90, 100};
    int index = 0;
    for (const ConfigGroup& group : ConfigGroups()) {
        EXPECT_EQ(group.ReadCode, 4 + 2 * index);
        EXPECT_EQ(group.WriteCode, group.ReadCode + 1);
        EXPECT_EQ(group.WriteProgress, progress[index]);
        ++index;
    }
    EXPECT_EQ(ConfigGroupForReadCode(5), nullptr);
    EXPECT_EQ(ConfigGroupForReadCode(22), nullptr);
}

TEST(ConfigGroups, WritePayloads) {
    const ConfigRecord record = SampleRecord();
    EXPECT_EQ(ConfigGroupPayload(Group(4), record), QByteArray("\x64\xC8"));
    EXPECT_EQ(ConfigGroupPayload(Group(6), record), QByteArray("\x07"));
    EXPECT_EQ(ConfigGroupPayload(Group(8), record), QByteArray("\x87"));
    EXPECT_EQ(ConfigGroupPayload(Group(10), record), QByteArray("\x2C\xFF"));
    EXPECT_EQ(ConfigGroupPayload(Group(12), record), ToAnsi(record.TC8name));
    EXPECT_EQ(ConfigGroupPayload(Group(14), record), QByteArray("Zak\xB3"
                                                                "ad Mi\xEAsny"));
    EXPECT_EQ(ConfigGroupPayload(Group(16), record), QByteArray("TC"));
    EXPECT_EQ(ConfigGroupPayload(Group(18), record), ToAnsi(record.TC8Nazwa2));
    EXPECT_EQ(ConfigGroupPayload(Group(20), record), QByteArray());
}

TEST(ConfigGroups, ReadAnswersFillTheirGroupOnly) {
    const ConfigRecord sample = SampleRecord();
    ConfigRecord record;
    ASSERT_TRUE(ApplyConfigGroupPayload(Group(4), ConfigGroupPayload(Group(4), sample), record));
    EXPECT_EQ(record.TempMin, 100);
    EXPECT_EQ(record.TempMax, 200);
    EXPECT_EQ(record.TempKorekta, 0);
    EXPECT_EQ(record.TC8name, ConfigRecord().TC8name);

    for (const ConfigGroup& group : ConfigGroups())
        ASSERT_TRUE(ApplyConfigGroupPayload(group, ConfigGroupPayload(group, sample), record));
    ConfigRecord expected = sample;
    expected.TempZapisz = "44";
    expected.IleDruk = "255";
    EXPECT_EQ(record, expected);
}

TEST(ConfigGroups, CountsAnswerShowsBytesInDecimal) {
    ConfigRecord record;
    ASSERT_TRUE(ApplyConfigGroupPayload(Group(10), QByteArray("\x00\xFF", 2), record));
    EXPECT_EQ(record.TempZapisz, "0");
    EXPECT_EQ(record.IleDruk, "255");
}

TEST(ConfigGroups, ShortAnswersChangeNothing) {
    const ConfigRecord before = SampleRecord();
    ConfigRecord record = before;
    EXPECT_FALSE(ApplyConfigGroupPayload(Group(4), QByteArray("\x01"), record));
    EXPECT_FALSE(ApplyConfigGroupPayload(Group(6), QByteArray(), record));
    EXPECT_FALSE(ApplyConfigGroupPayload(Group(8), QByteArray(), record));
    EXPECT_FALSE(ApplyConfigGroupPayload(Group(10), QByteArray("\x05"), record));
    EXPECT_EQ(record, before);
    // Longer answers use the layout's bytes only.
    EXPECT_TRUE(ApplyConfigGroupPayload(Group(6), QByteArray("\x05\x09"), record));
    EXPECT_EQ(record.TempKorekta, 5);
}

TEST(ConfigGroups, TextAnswerEndsAtZeroByte) {
    ConfigRecord record;
    ASSERT_TRUE(ApplyConfigGroupPayload(Group(14), QByteArray("AB\0CD", 5), record));
    EXPECT_EQ(record.TC8Nazwa, "AB");
    ASSERT_TRUE(ApplyConfigGroupPayload(Group(12), QByteArray(), record));
    EXPECT_EQ(record.TC8name, "");
    const QByteArray forty(40, 'x');
    ASSERT_TRUE(ApplyConfigGroupPayload(Group(20), forty, record));
    EXPECT_EQ(record.TC8Nazwa3, QString(40, u'x'));
    ASSERT_TRUE(ApplyConfigGroupPayload(Group(16),
                                        QByteArray("\xA3\xF3"
                                                   "d\x9F"),
                                        record));
    EXPECT_EQ(record.TC8Typ, QStringLiteral("Łódź"));
}

TEST(ConfigGroups, FaultsFoundBeforeWriting) {
    ConfigRecord record;
    EXPECT_EQ(FindRecordFault(record, MaxRequestPayload), RecordFault::None);
    for (const char* bad : {"1+", "+", "++", ""}) {
        record.IleDruk = bad;
        EXPECT_EQ(FindRecordFault(record, MaxRequestPayload), RecordFault::IleDrukNotWholeNumber);
        EXPECT_THROW(ConfigGroupPayload(Group(10), record), EConvertError);
        // Only the group that holds the count is spoilt by it.
        EXPECT_EQ(FindGroupFault(Group(10), record, MaxRequestPayload),
                  RecordFault::IleDrukNotWholeNumber);
        EXPECT_EQ(FindGroupFault(Group(12), record, MaxRequestPayload), RecordFault::None);
    }
    record = ConfigRecord();
    record.TempZapisz = "x";
    EXPECT_EQ(FindRecordFault(record, MaxRequestPayload), RecordFault::TempZapiszNotWholeNumber);

    record = ConfigRecord();
    record.TC8Nazwa2 = QString(MaxRequestPayload, u'ż'); // one byte each
    EXPECT_EQ(FindRecordFault(record, MaxRequestPayload), RecordFault::None);
    record.TC8Nazwa2 += u'a';
    EXPECT_EQ(FindRecordFault(record, MaxRequestPayload), RecordFault::TextTooLong);
}

} // namespace

// The field table follows the enumeration, and each fixed order names every field once.
TEST(ConfigFieldTable, RowsFollowTheEnumerationAndEachOrderHoldsEveryFieldOnce) {
    for (std::size_t i = 0; i < ConfigFieldCount; ++i)
        EXPECT_EQ(static_cast<std::size_t>(ConfigFieldRows()[i].Field), i);
    for (const ConfigFieldOrder& order : {ConfigFileOrder, StartupMarkOrder}) {
        std::set<ConfigField> seen(order.begin(), order.end());
        EXPECT_EQ(seen.size(), ConfigFieldCount);
    }
    std::set<ConfigField> grouped;
    for (const ConfigGroup& group : ConfigGroups())
        grouped.insert(group.Fields.begin(), group.Fields.end());
    EXPECT_EQ(grouped.size(), ConfigFieldCount);
}
