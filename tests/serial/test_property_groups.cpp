#include "serial/ERsCommError.h"
#include "serial/TRsBuffers.h"
#include "serial/TRsCommBuffer.h"
#include "serial/TRsEventChars.h"
#include "serial/TRsFlowControl.h"

#include <gtest/gtest.h>

TEST(SerialPropertyGroups, SettersNotifyAsTheirKindRequires) {
    int calls = 0;
    TRsFlowControl flow;
    flow.OnChange = [&] { ++calls; };
    flow.SetXonXoffOut(false); // unchanged: no call
    EXPECT_EQ(calls, 0);
    flow.SetXonXoffOut(true);
    flow.SetControlDtr(dtrEnabled);
    EXPECT_EQ(calls, 2);

    calls = 0;
    TRsEventChars chars;
    chars.OnChange = [&] { ++calls; };
    chars.SetXonChar(0x11); // every set counts
    chars.SetEofChar(0x1a);
    EXPECT_EQ(calls, 2);

    calls = 0;
    TRsBuffers buffers;
    buffers.OnChange = [&] { ++calls; };
    buffers.SetReadTimeout(5);
    buffers.SetWriteTimeout(5);
    buffers.SetWriteSize(2048);
    EXPECT_EQ(calls, 0);
    buffers.SetReadSize(100);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(buffers.ReadTimeout(), 5);
}

TEST(SerialPropertyGroups, AssignNotifiesOnceAndCopiesAreDetached) {
    int calls = 0;
    TRsFlowControl owned;
    owned.OnChange = [&] { ++calls; };
    TRsFlowControl values(owned);
    values.SetOutCtsFlow(true);
    values.SetControlRts(rtsEnabled);
    EXPECT_EQ(calls, 0) << "a copy must not notify the original's owner";
    owned.Assign(values);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(owned.OutCtsFlow());
    EXPECT_EQ(owned.ControlRts(), rtsEnabled);
}

TEST(SerialPropertyGroups, RefusedChangeKeepsTheOldValues) {
    TRsBuffers buffers;
    buffers.OnChange = [] { throw ERsCommError(QStringLiteral("refused")); };
    EXPECT_THROW(buffers.SetWriteSize(10), ERsCommError);
    EXPECT_EQ(buffers.WriteSize(), 2048);

    TRsBuffers other(buffers);
    other.SetReadSize(1);
    other.SetReadTimeout(7);
    EXPECT_THROW(buffers.Assign(other), ERsCommError);
    EXPECT_EQ(buffers.ReadSize(), 4096);
    EXPECT_EQ(buffers.ReadTimeout(), 1000);
}

TEST(SerialPropertyGroups, WriteQueueKeepsOrderAndCapacity) {
    TRsCommBuffer queue(8);
    EXPECT_TRUE(queue.Append("abcde", 5));
    EXPECT_FALSE(queue.Append("fghi", 4));
    EXPECT_EQ(queue.Length(), 5);
    queue.Remove(2);
    EXPECT_TRUE(queue.Append("fghi", 4));
    EXPECT_EQ(QByteArray(queue.Data(), queue.Length()), QByteArray("cdefghi"));
    queue.Remove(100);
    EXPECT_EQ(queue.Length(), 0);
}
