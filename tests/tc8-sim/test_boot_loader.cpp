#include "ModelTestSupport.h"
#include "protocol/Commands.h"

#include <gtest/gtest.h>

namespace tc8sim::testing {
namespace {

const QByteArray Ack(1, '!');

QByteArray Block(int number, char fill) {
    return QByteArray(1, static_cast<char>(number)) + QByteArray(128, fill);
}

std::vector<QByteArray> Send(RecorderModel& model, std::uint8_t code, const QByteArray& payload,
                             SimTime now) {
    std::vector<QByteArray> replies;
    for (const HandledRequest& handled : model.Receive(BuildRequestFrame(code, payload), now))
        replies.insert(replies.end(), handled.Replies.begin(), handled.Replies.end());
    return replies;
}

TEST(BootLoader, RestartIsSilentAndLogsOffUntilTheSilenceHasPassed) {
    RecorderModel model(FixedOptions());
    LogOn(model);
    EXPECT_TRUE(Send(model, Cmd::Restart, "B", 1000ms).empty());
    EXPECT_FALSE(model.LoggedOn());
    EXPECT_TRUE(model.Snapshot(1000ms).InBootLoader);
    EXPECT_TRUE(Send(model, Cmd::Logon, "0157", 2000ms).empty());
    EXPECT_TRUE(Send(model, Cmd::Status, "G", 3999ms).empty());
    EXPECT_EQ(model.NextDeadline(), SimTime(4000ms));

    EXPECT_FALSE(model.Snapshot(4000ms).InBootLoader);
    EXPECT_TRUE(Send(model, Cmd::Status, "G", 4000ms).empty()); // back, but logged off
    EXPECT_EQ(Exchange(model, Cmd::Logon, "0157", 4100ms).size(), 1u);
}

TEST(BootLoader, RestartWorksWithoutLogon) {
    RecorderModel model(FixedOptions());
    Send(model, Cmd::Restart, "B", 0ms);
    EXPECT_EQ(Send(model, Cmd::FirmwareBlock, Block(0, 'a'), 2000ms), std::vector{Ack});
}

TEST(BootLoader, BlocksAreAcknowledgedAndTheImageAcceptedWithANewVersion) {
    RecorderModel model(FixedOptions());
    Send(model, Cmd::Restart, "B", 0ms);
    SimTime now = 2000ms;
    // Each block restarts the silence, so a transfer may take longer than the silence.
    for (int number = 0; number < 3; ++number, now += 2500ms)
        EXPECT_EQ(Send(model, Cmd::FirmwareBlock, Block(number, char('a' + number)), now),
                  std::vector{Ack});
    // A repeated block replaces its first copy.
    EXPECT_EQ(Send(model, Cmd::FirmwareBlock, Block(2, '\xFF'), now), std::vector{Ack});
    EXPECT_TRUE(Send(model, Cmd::FirmwareFinish, "K", now).empty());

    const RecorderState state = model.Snapshot(now);
    EXPECT_FALSE(state.InBootLoader);
    EXPECT_FALSE(state.LoggedOn);
    EXPECT_EQ(state.FirmwareAccepted, true);
    EXPECT_EQ(state.FirmwareBlocks, (std::vector<int>{0, 1, 2, 2}));
    EXPECT_EQ(state.FirmwareImage,
              QByteArray(128, 'a') + QByteArray(128, 'b') + QByteArray(128, '\xFF'));
    EXPECT_EQ(state.VersionChar, '6');
    EXPECT_EQ(Exchange(model, Cmd::Logon, "0157", now),
              (std::vector<ResponseFrame>{{Cmd::Logon, "T6"}}));
}

TEST(BootLoader, ImageWithAGapIsRefusedAndTheVersionKept) {
    RecorderModel model(FixedOptions());
    Send(model, Cmd::Restart, "B", 0ms);
    Send(model, Cmd::FirmwareBlock, Block(0, 'a'), 100ms);
    Send(model, Cmd::FirmwareBlock, Block(2, 'c'), 200ms);
    Send(model, Cmd::FirmwareFinish, "K", 300ms);
    const RecorderState state = model.Snapshot(300ms);
    EXPECT_EQ(state.FirmwareAccepted, false);
    EXPECT_TRUE(state.FirmwareImage.isEmpty());
    EXPECT_EQ(state.VersionChar, '5');
    EXPECT_FALSE(state.InBootLoader);
}

TEST(BootLoader, OnlyWellFormedBlocksAreAcknowledged) {
    RecorderModel model(FixedOptions());
    Send(model, Cmd::Restart, "B", 0ms);
    EXPECT_TRUE(Send(model, Cmd::FirmwareBlock, QByteArray(128, 'a'), 10ms).empty());
    EXPECT_TRUE(Send(model, Cmd::Status, "G", 20ms).empty());
    EXPECT_TRUE(model.Snapshot(20ms).FirmwareBlocks.empty());
}

TEST(BootLoader, BlocksOutsideTheBootLoaderAreIgnored) {
    RecorderModel model(FixedOptions());
    LogOn(model);
    EXPECT_TRUE(Send(model, Cmd::FirmwareBlock, Block(0, 'a'), 0ms).empty());
    EXPECT_TRUE(Send(model, Cmd::FirmwareFinish, "K", 0ms).empty());
    EXPECT_EQ(model.Snapshot(0ms).VersionChar, '5');
    EXPECT_TRUE(model.LoggedOn());
}

} // namespace
} // namespace tc8sim::testing
