#include "protocol/Commands.h"
#include "protocol/FrameAssembler.h"

#include <gtest/gtest.h>

namespace {

using Frames = std::vector<ResponseFrame>;

const QByteArray LogoutAck("\x6E\x02\x00\x70", 4);

QByteArray StatusAnswer() {
    return BuildResponseFrame(Cmd::Status, QByteArray(14, '\x07'));
}

// A frame whose length byte claims more than the limit, followed by that many bytes.
QByteArray OverlongFrame(int length) {
    QByteArray frame("n\x01");
    frame.append(static_cast<char>(length));
    frame.append(QByteArray(length, 'x'));
    frame.append(static_cast<char>(FrameChecksum(frame)));
    return frame;
}

TEST(FrameAssembler, WholeFrameInOneDelivery) {
    FrameAssembler assembler;
    EXPECT_EQ(assembler.Feed(LogoutAck), Frames({{Cmd::Logout, {}}}));
    EXPECT_TRUE(assembler.ReceiveBuffer().isEmpty());
}

TEST(FrameAssembler, SplitFrameIsTakenOnceWhenComplete) {
    const QByteArray frame = BuildResponseFrame(Cmd::Logon, "T5");
    FrameAssembler assembler;
    EXPECT_TRUE(assembler.Feed(frame.first(2)).empty());
    EXPECT_EQ(assembler.Feed(frame.sliced(2)), Frames({{Cmd::Logon, "T5"}}));

    const QByteArray status = StatusAnswer();
    Frames frames;
    for (char byte : status) {
        EXPECT_TRUE(frames.empty());
        frames = assembler.Feed(QByteArray(1, byte));
    }
    EXPECT_EQ(frames, Frames({{Cmd::Status, QByteArray(14, '\x07')}}));
    EXPECT_TRUE(assembler.ReceiveBuffer().isEmpty());
}

TEST(FrameAssembler, EveryFrameOfADeliveryInOrder) {
    FrameAssembler assembler;
    const QByteArray record = BuildResponseFrame(Cmd::HistoryRecord, QByteArray(10, '\x01'));
    EXPECT_EQ(assembler.Feed(LogoutAck + record),
              Frames({{Cmd::Logout, {}}, {Cmd::HistoryRecord, QByteArray(10, '\x01')}}));
}

TEST(FrameAssembler, StartOfNextFrameIsKeptForTheNextDelivery) {
    const QByteArray end = BuildResponseFrame(Cmd::HistoryEnd, {});
    FrameAssembler assembler;
    EXPECT_EQ(assembler.Feed(LogoutAck + end.first(3)), Frames({{Cmd::Logout, {}}}));
    EXPECT_EQ(assembler.ReceiveBuffer(), end.first(3));
    EXPECT_EQ(assembler.Feed(end.sliced(3)), Frames({{Cmd::HistoryEnd, {}}}));
}

TEST(FrameAssembler, NoiseWithoutMarkerIsDropped) {
    FrameAssembler assembler;
    EXPECT_TRUE(assembler.Feed("\x01\x02\x03").empty());
    EXPECT_TRUE(assembler.ReceiveBuffer().isEmpty());
    EXPECT_EQ(assembler.Feed(QByteArray("abc") + LogoutAck), Frames({{Cmd::Logout, {}}}));
}

TEST(FrameAssembler, NoiseMarkerBeforeAFrameCostsOnlyItself) {
    FrameAssembler assembler;
    // The stray "n" reads the genuine frame's bytes as code and length; its checksum fails.
    const QByteArray logon = BuildResponseFrame(Cmd::Logon, "T5");
    EXPECT_EQ(assembler.Feed("xn" + logon), Frames({{Cmd::Logon, "T5"}}));
}

TEST(FrameAssembler, FalseStartWithPlausibleLengthHoldsFramesUntilItFails) {
    // The stray "n" takes the status code "P" (80) as its length: nothing can be decided
    // before 84 bytes have come, then every genuine frame behind it survives.
    const QByteArray status = StatusAnswer();
    FrameAssembler assembler;
    EXPECT_TRUE(assembler.Feed("n" + status).empty());
    Frames frames;
    int delivered = 1 + status.size();
    while (frames.empty()) {
        frames = assembler.Feed(status);
        delivered += status.size();
    }
    EXPECT_GE(delivered, 84);
    EXPECT_EQ(static_cast<int>(frames.size()), delivered / status.size());
    for (const ResponseFrame& frame : frames)
        EXPECT_EQ(frame.Code, Cmd::Status);
}

TEST(FrameAssembler, LengthAbove100IsAFalseStart) {
    FrameAssembler assembler;
    EXPECT_EQ(assembler.Feed(OverlongFrame(101) + LogoutAck), Frames({{Cmd::Logout, {}}}));
    // Only the marker is skipped: a later "n" in the junk might start a frame, but here the
    // junk has none and is dropped while searching.
    EXPECT_TRUE(assembler.ReceiveBuffer().isEmpty());
    EXPECT_EQ(assembler.Feed(QByteArray("n\x01\x65", 3) + LogoutAck), Frames({{Cmd::Logout, {}}}));
}

TEST(FrameAssembler, LengthOf100IsAccepted) {
    const QByteArray payload(100, '\x33');
    FrameAssembler assembler;
    EXPECT_EQ(assembler.Feed(BuildResponseFrame(Cmd::ReadName, payload)),
              Frames({{Cmd::ReadName, payload}}));
}

TEST(FrameAssembler, BadChecksumIsDroppedAndAGenuineFrameBehindSurvives) {
    QByteArray bad = BuildResponseFrame(Cmd::Status, QByteArray(14, '\x01'));
    bad.back() = static_cast<char>(bad.back() + 1);
    FrameAssembler assembler;
    EXPECT_TRUE(assembler.Feed(bad).empty());
    EXPECT_EQ(assembler.Feed(LogoutAck), Frames({{Cmd::Logout, {}}}));
    EXPECT_EQ(assembler.Feed(bad + LogoutAck), Frames({{Cmd::Logout, {}}}));
}

// Its account of what it dropped: each run once, in order, named by the false start in it,
// and nothing of a frame still incomplete.
TEST(FrameAssembler, AccountsForEveryDroppedByteInOrder) {
    QByteArray bad = BuildResponseFrame(Cmd::Status, QByteArray(14, '\x01'));
    bad.back() = static_cast<char>(bad.back() + 1);
    FrameAssembler assembler;
    std::vector<DiscardedBytes> dropped;
    EXPECT_EQ(
        assembler.Feed("ab" + LogoutAck + bad + LogoutAck + "zz" + LogoutAck.left(2), &dropped),
        Frames({{Cmd::Logout, {}}, {Cmd::Logout, {}}}));
    EXPECT_EQ(dropped, (std::vector<DiscardedBytes>{{"ab", DiscardReason::Noise, 0},
                                                    {bad, DiscardReason::WrongChecksum, 1},
                                                    {"zz", DiscardReason::Noise, 2}}));
    dropped.clear();
    // A length above the limit is a false start; all that follows it here is noise.
    EXPECT_TRUE(assembler.Feed(OverlongFrame(101).left(3), &dropped).empty());
    EXPECT_EQ(dropped, (std::vector<DiscardedBytes>{{LogoutAck.left(2) + OverlongFrame(101).left(3),
                                                     DiscardReason::TooLong, 0}}));
}

TEST(FrameAssembler, EmptyPayload) {
    FrameAssembler assembler;
    const Frames frames = assembler.Feed(BuildResponseFrame(Cmd::ClearHistory, {}));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].Code, Cmd::ClearHistory);
    EXPECT_TRUE(frames[0].Payload.isEmpty());
}

TEST(FrameAssembler, RequestDirectionUsesItsOwnMarkerAndLimit) {
    FrameAssembler requests(RequestMarker, MaxRequestPayload);
    const QByteArray block(129, '\x00');
    EXPECT_EQ(requests.Feed(LogoutAck + BuildRequestFrame(Cmd::FirmwareBlock, block)),
              Frames({{Cmd::FirmwareBlock, block}}));
}

} // namespace
