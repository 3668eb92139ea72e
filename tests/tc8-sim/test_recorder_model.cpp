#include "ModelTestSupport.h"
#include "WireFormat.h"
#include "protocol/Commands.h"

#include <gtest/gtest.h>
#include <set>

namespace tc8sim::testing {
namespace {

using Frames = std::vector<ResponseFrame>;

TEST(RecorderModel, LogonAnswersTAndTheVersionOnlyForTheRightPassword) {
    RecorderModel model(FixedOptions());
    EXPECT_EQ(Exchange(model, Cmd::Logon, "1234"), Frames({{Cmd::Logon, "N5"}}));
    EXPECT_FALSE(model.LoggedOn());
    EXPECT_EQ(Exchange(model, Cmd::Logon, "0157"), Frames({{Cmd::Logon, "T5"}}));
    EXPECT_TRUE(model.LoggedOn());

    model.SetRefusePasswords(true);
    EXPECT_EQ(Exchange(model, Cmd::Logon, "0157"), Frames({{Cmd::Logon, "N5"}}));
    EXPECT_FALSE(model.LoggedOn());
}

TEST(RecorderModel, LogonAnswerIsByteForByteAFrame) {
    RecorderModel model(FixedOptions());
    const auto handled = model.Receive(BuildRequestFrame(Cmd::Logon, "0157"), 0ms);
    ASSERT_EQ(handled.size(), 1u);
    ASSERT_EQ(handled[0].Replies.size(), 1u);
    EXPECT_EQ(handled[0].Replies[0], QByteArray("\x6E\x01\x02T5\xFA"));
}

TEST(RecorderModel, NothingButLogonIsAnsweredBeforeLogon) {
    RecorderModel model(FixedOptions());
    for (std::uint8_t code :
         {Cmd::Logout, Cmd::ChangePassword, Cmd::ReadLimits, Cmd::WriteName, Cmd::Status,
          Cmd::SetClock, Cmd::HistoryStart, Cmd::HistoryStop, Cmd::ClearHistory})
        EXPECT_TRUE(Exchange(model, code, "G").empty()) << int(code);
    const RecorderState state = model.Snapshot(0ms);
    EXPECT_EQ(state.RequestCount(Cmd::Status), 1);
    EXPECT_EQ(state.ConfigGroup(Cmd::ReadName), QByteArray("Rejestrator nr.1"));
    EXPECT_EQ(state.HistoryRecords.size(), 5u);
}

TEST(RecorderModel, RequestsArriveInAnySplitAndTogether) {
    RecorderModel model(FixedOptions());
    const QByteArray both =
        BuildRequestFrame(Cmd::Logon, "0157") + BuildRequestFrame(Cmd::ReadLimits, "G");
    QByteArray replies;
    replies.append("junk");
    for (char byte : both)
        for (const HandledRequest& handled : model.Receive(QByteArray(1, byte), 0ms))
            for (const QByteArray& reply : handled.Replies)
                replies.append(reply);
    FrameAssembler assembler;
    EXPECT_EQ(assembler.Feed(replies),
              Frames({{Cmd::Logon, "T5"}, {Cmd::ReadLimits, QByteArray("\x84\x8A")}}));
}

TEST(RecorderModel, LogoutAcknowledgesAndLogsOff) {
    RecorderModel model(FixedOptions());
    LogOn(model);
    EXPECT_EQ(Exchange(model, Cmd::Logout, "W"), Frames({{Cmd::Logout, {}}}));
    EXPECT_FALSE(model.LoggedOn());
    EXPECT_TRUE(Exchange(model, Cmd::Status, "G").empty());
}

TEST(RecorderModel, PasswordChangeTakesEffectAtTheNextLogon) {
    RecorderModel model(FixedOptions());
    LogOn(model);
    EXPECT_EQ(Exchange(model, Cmd::ChangePassword, "98765"), Frames({{Cmd::ChangePassword, {}}}));
    Exchange(model, Cmd::Logout, "W");
    EXPECT_EQ(Exchange(model, Cmd::Logon, "0157"), Frames({{Cmd::Logon, "N5"}}));
    EXPECT_EQ(Exchange(model, Cmd::Logon, "98765"), Frames({{Cmd::Logon, "T5"}}));
    EXPECT_EQ(model.Snapshot(0ms).Password, QByteArray("98765"));
}

TEST(RecorderModel, ConfigurationDefaultsAreAnsweredForEveryRead) {
    RecorderModel model(FixedOptions());
    LogOn(model);
    const std::vector<QByteArray> defaults{QByteArray("\x84\x8A"),
                                           QByteArray(1, '\0'),
                                           QByteArray(1, '\0'),
                                           QByteArray("\x01\x10"),
                                           QByteArray("Rejestrator nr.1"),
                                           {},
                                           {},
                                           {},
                                           {}};
    for (int group = 0; group < 9; ++group) {
        const std::uint8_t code = Cmd::FirstConfigRead + 2 * group;
        EXPECT_EQ(Exchange(model, code, "G"), Frames({{code, defaults[group]}})) << group;
    }
}

TEST(RecorderModel, ConfigurationWritesAreStoredAndReadBack) {
    RecorderModel model(FixedOptions());
    LogOn(model);
    const QByteArray name("AB\0CD\xB9", 6);
    EXPECT_EQ(Exchange(model, Cmd::WriteName, name), Frames({{Cmd::WriteName, {}}}));
    EXPECT_EQ(Exchange(model, Cmd::WriteLimits, "\x00\xFF"), Frames({{Cmd::WriteLimits, {}}}));
    EXPECT_EQ(Exchange(model, Cmd::ReadName, "G"), Frames({{Cmd::ReadName, name}}));
    EXPECT_EQ(Exchange(model, Cmd::ReadLimits, "G"), Frames({{Cmd::ReadLimits, "\x00\xFF"}}));
    EXPECT_EQ(model.Snapshot(0ms).ConfigGroup(Cmd::WriteName), name);

    // A text longer than an answer can carry is kept whole but read back cut to 100 bytes.
    const QByteArray header(150, 'h');
    Exchange(model, Cmd::WriteHeader3, header);
    EXPECT_EQ(model.Snapshot(0ms).ConfigGroup(Cmd::ReadHeader3), header);
    EXPECT_EQ(Exchange(model, Cmd::ReadHeader3, "G"),
              Frames({{Cmd::ReadHeader3, header.left(100)}}));
}

TEST(RecorderModel, StatusCarriesReadingsAndTheRunningClock) {
    RecorderModel model(FixedOptions());
    LogOn(model);
    const Frames frames = Exchange(model, Cmd::Status, "G", 65'000ms);
    ASSERT_EQ(frames.size(), 1u);
    const QByteArray& payload = frames[0].Payload;
    ASSERT_EQ(payload.size(), 14);
    auto byte = [&payload](int i) {
        return static_cast<int>(static_cast<std::uint8_t>(payload.at(i)));
    };

    EXPECT_LE(byte(0) & 0x7F, 127);
    EXPECT_LE(byte(1), 9);
    EXPECT_LE(byte(5), 9);
    const int supply = byte(2) + 256 * byte(3);
    EXPECT_GE(supply, 690);
    EXPECT_LE(supply, 710);
    EXPECT_EQ(payload.mid(6, 6), QByteArray("\x1A\x0C\x07\x01\x1F\x0A")); // 2026-12-07 01:31:10
}

TEST(RecorderModel, TemperaturesDriftAndTheSecondCrossesZero) {
    RecorderModel model(FixedOptions());
    LogOn(model);
    std::set<QByteArray> first;
    bool secondNegative = false, secondPositive = false;
    for (SimTime at = 0ms; at < 30min; at += 37s) {
        const QByteArray payload = Exchange(model, Cmd::Status, "G", at)[0].Payload;
        first.insert(payload.first(2));
        (payload.at(4) & 0x80 ? secondNegative : secondPositive) = true;
    }
    EXPECT_GT(first.size(), 5u);
    EXPECT_TRUE(secondNegative);
    EXPECT_TRUE(secondPositive);
}

TEST(RecorderModel, SetClockMovesTheClockAndIsAcknowledged) {
    RecorderModel model(FixedOptions());
    LogOn(model);
    EXPECT_EQ(Exchange(model, Cmd::SetClock, QByteArray("\x1B\x01\x02\x17\x05\x00", 6), 10'000ms),
              Frames({{Cmd::SetClock, {}}}));
    EXPECT_EQ(model.Snapshot(12'000ms).Clock,
              QDateTime(QDate(2027, 1, 2), QTime(23, 5, 2), Qt::UTC));
    const QByteArray status = Exchange(model, Cmd::Status, "G", 12'000ms)[0].Payload;
    EXPECT_EQ(status.mid(6, 6), QByteArray("\x1B\x01\x02\x17\x05\x02", 6));

    // An impossible date is not taken and not acknowledged.
    EXPECT_TRUE(Exchange(model, Cmd::SetClock, QByteArray("\x1B\x0D\x02\x17\x05\x00", 6)).empty());
}

TEST(RecorderModel, ClearHistoryEmptiesTheRecords) {
    RecorderModel model(FixedOptions());
    LogOn(model);
    EXPECT_EQ(Exchange(model, Cmd::ClearHistory, "x"), Frames({{Cmd::ClearHistory, {}}}));
    EXPECT_TRUE(model.Snapshot(0ms).HistoryRecords.empty());
    EXPECT_EQ(Exchange(model, Cmd::HistoryStart, "h"),
              Frames({{Cmd::HistoryStart, QByteArray(2, '\0')}}));
    EXPECT_EQ(model.NextStreamFrame(), BuildResponseFrame(Cmd::HistoryEnd, {}));
}

TEST(RecorderModel, RequestsAreCountedWithTheirPayloads) {
    RecorderModel model(FixedOptions());
    LogOn(model);
    Exchange(model, Cmd::Status, "G");
    Exchange(model, Cmd::Status, "G");
    Exchange(model, 0x7F, "?");
    const RecorderState state = model.Snapshot(0ms);
    EXPECT_EQ(state.RequestCount(Cmd::Status), 2);
    EXPECT_EQ(state.RequestCount(0x7F), 1);
    EXPECT_EQ(state.Requests.at(Cmd::Logon).Payloads.front(), QByteArray("0157"));
}

TEST(WireFormat, TemperatureIsSignAndMagnitude) {
    EXPECT_EQ(WireFormat::Temperature(215), QByteArray("\x15\x05"));
    EXPECT_EQ(WireFormat::Temperature(-30), QByteArray("\x83\x00", 2));
    EXPECT_EQ(WireFormat::Temperature(-5), QByteArray("\x80\x05", 2));
    EXPECT_EQ(WireFormat::Temperature(0), QByteArray("\x00\x00", 2));
    EXPECT_EQ(WireFormat::Temperature(-2000), QByteArray("\xFF\x09"));
}

} // namespace
} // namespace tc8sim::testing
