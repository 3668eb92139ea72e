#include "Bytes.h"
#include "core/Errors.h"
#include "protocol/Commands.h"
#include "protocol/Frame.h"

#include <gtest/gtest.h>

namespace {

TEST(Frame, WorkedExamplesAreBuiltByteForByte) {
    EXPECT_EQ(BuildRequestFrame(Cmd::Logout, "W"), Bytes({0x4E, 0x02, 0x01, 0x57, 0xA8}));
    EXPECT_EQ(BuildRequestFrame(Cmd::Status, "G"), Bytes({0x4E, 0x50, 0x01, 0x47, 0xE6}));
    EXPECT_EQ(BuildResponseFrame(Cmd::Logout, {}), Bytes({0x6E, 0x02, 0x00, 0x70}));
}

TEST(Frame, ChecksumIsThePlainSumModulo256) {
    EXPECT_EQ(FrameChecksum({}), 0);
    EXPECT_EQ(FrameChecksum(Bytes({0xFF, 0x01})), 0x00);
    EXPECT_EQ(FrameChecksum(Bytes({0xFF, 0xFF, 0x03})), 0x01);
}

TEST(Frame, LongestPayloadsFitAndLongerOnesAreRefused) {
    const QByteArray block(129, '\xFF');
    const QByteArray frame = BuildRequestFrame(Cmd::FirmwareBlock, block);
    ASSERT_EQ(frame.size(), 133);
    EXPECT_EQ(static_cast<std::uint8_t>(frame.at(2)), 129);
    EXPECT_EQ(static_cast<std::uint8_t>(frame.back()), FrameChecksum(frame.first(132)));

    EXPECT_EQ(BuildRequestFrame(Cmd::WriteName, QByteArray(MaxRequestPayload, 'a')).size(), 256);
    EXPECT_THROW(BuildRequestFrame(Cmd::WriteName, QByteArray(MaxRequestPayload + 1, 'a')),
                 Exception);
    EXPECT_EQ(BuildResponseFrame(Cmd::ReadName, QByteArray(MaxResponsePayload, 'a')).size(), 104);
    EXPECT_THROW(BuildResponseFrame(Cmd::ReadName, QByteArray(MaxResponsePayload + 1, 'a')),
                 Exception);
}

} // namespace
