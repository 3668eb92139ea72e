#include "ModelTestSupport.h"
#include "protocol/Commands.h"

#include <gtest/gtest.h>

namespace tc8sim::testing {
namespace {

using Frames = std::vector<ResponseFrame>;

std::vector<ResponseFrame> DrainStream(RecorderModel& model) {
    QByteArray bytes;
    while (const auto frame = model.NextStreamFrame())
        bytes.append(*frame);
    FrameAssembler assembler;
    return assembler.Feed(bytes);
}

TEST(HistoryDownload, StartAnswerThenEveryRecordThenTheEndMarker) {
    RecorderModel model(FixedOptions());
    LogOn(model);
    EXPECT_FALSE(model.NextStreamFrame());
    EXPECT_EQ(Exchange(model, Cmd::HistoryStart, "h"),
              Frames({{Cmd::HistoryStart, QByteArray("\x50\x00", 2)}})); // 5 records × 16
    EXPECT_TRUE(model.Streaming());

    const Frames stream = DrainStream(model);
    ASSERT_EQ(stream.size(), 6u);
    const std::vector<QByteArray> records = model.Snapshot(0ms).HistoryRecords;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(stream[i], (ResponseFrame{Cmd::HistoryRecord, records[i]}));
    EXPECT_EQ(stream[5], (ResponseFrame{Cmd::HistoryEnd, {}}));
    EXPECT_FALSE(model.Streaming());
    EXPECT_FALSE(model.NextStreamFrame());
}

TEST(HistoryDownload, RecordsAreTimedOneIntervalApartUpToTheClock) {
    RecorderModel model(FixedOptions());
    const std::vector<QByteArray> records = model.Snapshot(0ms).HistoryRecords;
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[0].first(6), QByteArray("\x1A\x0C\x07\x01\x1A\x00", 6)); // 01:26:00
    EXPECT_EQ(records[4].first(6), QByteArray("\x1A\x0C\x07\x01\x1E\x00", 6)); // 01:30:00
    for (const QByteArray& record : records) {
        ASSERT_EQ(record.size(), 10);
        EXPECT_LE(static_cast<int>(record.at(7)), 9);
        EXPECT_LE(static_cast<int>(record.at(9)), 9);
    }
}

TEST(HistoryDownload, LoggingIntervalSpacesTheRecords) {
    RecorderModel model(FixedOptions());
    LogOn(model);
    Exchange(model, Cmd::WriteCounts, "\x0F\x10");
    model.RefillHistory(3, 0ms);
    const std::vector<QByteArray> records = model.Snapshot(0ms).HistoryRecords;
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].mid(3, 2), QByteArray("\x01\x00", 2)); // 01:00
    EXPECT_EQ(records[1].mid(3, 2), QByteArray("\x01\x0F", 2)); // 01:15
}

TEST(HistoryDownload, StopEndsTheStreamAndIsAcknowledged) {
    RecorderModel model(FixedOptions());
    LogOn(model);
    Exchange(model, Cmd::HistoryStart, "h");
    ASSERT_TRUE(model.NextStreamFrame());
    ASSERT_TRUE(model.NextStreamFrame());
    EXPECT_EQ(Exchange(model, Cmd::HistoryStop, "x"), Frames({{Cmd::HistoryStop, {}}}));
    EXPECT_FALSE(model.Streaming());
    EXPECT_FALSE(model.NextStreamFrame());
    // A late stop, sent on a record that was already under way, is acknowledged again.
    EXPECT_EQ(Exchange(model, Cmd::HistoryStop, "x"), Frames({{Cmd::HistoryStop, {}}}));
}

TEST(HistoryDownload, StatusCanBeAnsweredInTheMiddleOfTheStream) {
    RecorderModel model(FixedOptions());
    LogOn(model);
    Exchange(model, Cmd::HistoryStart, "h");
    model.NextStreamFrame();
    EXPECT_EQ(Exchange(model, Cmd::Status, "G").size(), 1u);
    EXPECT_EQ(DrainStream(model).size(), 5u); // four records left and the end marker
}

TEST(HistoryDownload, LengthIsCappedButEveryRecordIsSent) {
    RecorderOptions options = FixedOptions();
    options.HistoryRecords = 2100;
    RecorderModel model(options);
    LogOn(model);
    EXPECT_EQ(Exchange(model, Cmd::HistoryStart, "h"),
              Frames({{Cmd::HistoryStart, QByteArray("\xF0\x7F", 2)}}));
    EXPECT_EQ(DrainStream(model).size(), 2101u);
}

TEST(HistoryDownload, LogoutOrRestartEndsTheStream) {
    RecorderModel model(FixedOptions());
    LogOn(model);
    Exchange(model, Cmd::HistoryStart, "h");
    Exchange(model, Cmd::Logout, "W");
    EXPECT_FALSE(model.NextStreamFrame());

    LogOn(model);
    Exchange(model, Cmd::HistoryStart, "h");
    Exchange(model, Cmd::Restart, "B");
    EXPECT_FALSE(model.NextStreamFrame());
}

} // namespace
} // namespace tc8sim::testing
