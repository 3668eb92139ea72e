#include "LineSchedule.h"

#include <gtest/gtest.h>

namespace tc8sim {
namespace {

using namespace std::chrono_literals;
using Clock = LineSchedule::Clock;

// Ten bits at 4800 bit/s: a byte takes 2.083 ms.
TEST(LineSchedule, PacedBytesFallDueOneByteTimeApart) {
    const Clock::time_point t0{};
    LineSchedule schedule(true);
    schedule.Add("abcdefghij", t0);
    EXPECT_TRUE(schedule.TakeDue(t0 + 2ms).isEmpty()); // the first byte is not through yet
    EXPECT_EQ(schedule.TakeDue(t0 + 2100us), "a");
    EXPECT_EQ(schedule.NextDue(), t0 + 4'166'666ns);
    EXPECT_EQ(schedule.TakeDue(t0 + 8400us), "bcd");
    EXPECT_EQ(schedule.TakeDue(t0 + 1s), "efghij");
    EXPECT_TRUE(schedule.Empty());
    EXPECT_FALSE(schedule.NextDue());
}

TEST(LineSchedule, APieceWaitsForTheLineAndForItsPause) {
    const Clock::time_point t0{};
    LineSchedule schedule(true);
    schedule.Add("ab", t0);
    schedule.Add("cd", t0, 20ms);
    // "ab" is through after ~4.2 ms; "c" then needs the pause and its own byte time.
    EXPECT_EQ(schedule.TakeDue(t0 + 20ms), "ab");
    EXPECT_TRUE(schedule.TakeDue(t0 + 24ms).isEmpty());
    EXPECT_EQ(schedule.TakeDue(t0 + 27ms), "c");
    EXPECT_EQ(schedule.TakeDue(t0 + 29ms), "d");
}

TEST(LineSchedule, AnIdleLineStartsAtOnce) {
    const Clock::time_point t0{};
    LineSchedule schedule(true);
    schedule.Add("a", t0);
    EXPECT_EQ(schedule.TakeDue(t0 + 1s), "a");
    schedule.Add("b", t0 + 1s);
    EXPECT_EQ(schedule.TakeDue(t0 + 1s + 3ms), "b");
}

TEST(LineSchedule, UnpacedPiecesGoWholeWhenDue) {
    const Clock::time_point t0{};
    LineSchedule schedule(false);
    schedule.Add("abc", t0 + 5ms);
    schedule.Add("de", t0, 10ms);
    EXPECT_TRUE(schedule.TakeDue(t0).isEmpty());
    EXPECT_EQ(schedule.NextDue(), t0 + 5ms);
    EXPECT_EQ(schedule.TakeDue(t0 + 5ms), "abc");
    EXPECT_EQ(schedule.TakeDue(t0 + 14ms), "");
    EXPECT_EQ(schedule.TakeDue(t0 + 15ms), "de");
}

} // namespace
} // namespace tc8sim
