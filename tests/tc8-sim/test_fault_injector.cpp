#include "FaultInjector.h"
#include "protocol/Commands.h"
#include "protocol/FrameAssembler.h"

#include <gtest/gtest.h>

namespace tc8sim {
namespace {

using Frames = std::vector<ResponseFrame>;

const std::vector<QByteArray> Replies{BuildResponseFrame(Cmd::Logon, "T5"),
                                      BuildResponseFrame(Cmd::Status, QByteArray(14, '\x02')),
                                      BuildResponseFrame(Cmd::Logout, {})};

const Frames ReplyFrames{
    {Cmd::Logon, "T5"}, {Cmd::Status, QByteArray(14, '\x02')}, {Cmd::Logout, {}}};

QByteArray Joined(const FaultedOutput& output) {
    QByteArray bytes;
    for (const OutputPiece& piece : output.Pieces)
        bytes.append(piece.Bytes);
    return bytes;
}

TEST(FaultInjector, WithoutFaultsEveryReplyIsOnePiece) {
    FaultInjector injector(1);
    const FaultedOutput output = injector.Apply(Replies, {});
    ASSERT_EQ(output.Pieces.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(output.Pieces[i].Bytes, Replies[i]);
        EXPECT_EQ(output.Pieces[i].PauseBefore.count(), 0);
    }
}

TEST(FaultInjector, DropRemovesWholeReplies) {
    FaultInjector injector(1);
    FaultOptions faults;
    faults.DropPercent = 100;
    const FaultedOutput output = injector.Apply(Replies, faults);
    EXPECT_TRUE(output.Pieces.empty());
    for (const ReplyFate& fate : output.Fates)
        EXPECT_TRUE(fate.Dropped);

    faults.DropPercent = 50;
    int dropped = 0;
    for (int i = 0; i < 200; ++i)
        dropped += injector.Apply({Replies[0]}, faults).Fates[0].Dropped;
    EXPECT_GT(dropped, 60);
    EXPECT_LT(dropped, 140);
}

TEST(FaultInjector, CorruptedRepliesFailTheirChecksumAndCostNothingElse) {
    FaultInjector injector(7);
    FaultOptions faults;
    faults.CorruptPercent = 100;
    for (int round = 0; round < 100; ++round) {
        const FaultedOutput output = injector.Apply(Replies, faults);
        ASSERT_EQ(output.Pieces.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_TRUE(output.Fates[i].Corrupted);
            EXPECT_EQ(output.Pieces[i].Bytes.size(), Replies[i].size());
            EXPECT_NE(output.Pieces[i].Bytes, Replies[i]);
        }
        // Behind the corrupted ones a good reply is still found at once.
        FrameAssembler assembler;
        EXPECT_EQ(assembler.Feed(Joined(output) + Replies[2]), Frames({ReplyFrames[2]}));
    }
    const FaultedOutput ack = injector.Apply({QByteArray(1, '!')}, faults);
    EXPECT_NE(ack.Pieces.at(0).Bytes, QByteArray(1, '!'));
}

TEST(FaultInjector, SplitCutsRepliesIntoPausedPiecesThatStillAssemble) {
    FaultInjector injector(3);
    FaultOptions faults;
    faults.Split = true;
    const FaultedOutput output = injector.Apply(Replies, faults);
    EXPECT_GE(output.Pieces.size(), 6u);
    EXPECT_EQ(Joined(output), Replies[0] + Replies[1] + Replies[2]);
    int paused = 0;
    for (const OutputPiece& piece : output.Pieces)
        paused += piece.PauseBefore.count() > 0;
    EXPECT_EQ(paused, static_cast<int>(output.Pieces.size()) - 3);

    FrameAssembler assembler;
    Frames frames;
    for (const OutputPiece& piece : output.Pieces)
        for (ResponseFrame& frame : assembler.Feed(piece.Bytes))
            frames.push_back(frame);
    EXPECT_EQ(frames, ReplyFrames);
}

TEST(FaultInjector, GlueWritesPairsOfRepliesAsOnePiece) {
    FaultInjector injector(1);
    FaultOptions faults;
    faults.Glue = true;
    const FaultedOutput output = injector.Apply(Replies, faults);
    ASSERT_EQ(output.Pieces.size(), 2u);
    EXPECT_EQ(output.Pieces[0].Bytes, Replies[0] + Replies[1]);
    EXPECT_EQ(output.Pieces[1].Bytes, Replies[2]);
    EXPECT_TRUE(output.Fates[0].GluedToNext);
    EXPECT_FALSE(output.Fates[2].GluedToNext);
}

TEST(FaultInjector, OneShotFaultsAreUsedUpByTheFirstReplies) {
    FaultInjector injector(1);
    FaultOptions faults;
    faults.DropNext = 1;
    faults.CorruptNext = 1;
    faults.PrefixNext = "\x01n\x65";
    const FaultedOutput output = injector.Apply(Replies, faults);
    EXPECT_EQ(output.DropNextUsed, 1);
    EXPECT_EQ(output.CorruptNextUsed, 1);
    EXPECT_TRUE(output.PrefixUsed);
    EXPECT_TRUE(output.Fates[0].Dropped);
    EXPECT_TRUE(output.Fates[1].Corrupted);
    EXPECT_EQ(output.Fates[1].PrefixBytes, 3);
    EXPECT_FALSE(output.Fates[2].Dropped || output.Fates[2].Corrupted);
    // The prefix is a false start (length 101) that costs only itself.
    FrameAssembler assembler;
    EXPECT_EQ(assembler.Feed(Joined(output)), Frames({ReplyFrames[2]}));

    FaultOptions many;
    many.DropNext = 3;
    EXPECT_EQ(injector.Apply({Replies[0]}, many).DropNextUsed, 1);
}

TEST(FaultInjector, TheSeedRepeatsARun) {
    FaultOptions faults;
    faults.DropPercent = 30;
    faults.CorruptPercent = 30;
    faults.Split = true;
    FaultInjector first(42), second(42);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(Joined(first.Apply(Replies, faults)), Joined(second.Apply(Replies, faults)));
}

} // namespace
} // namespace tc8sim
