#include "config/Encodings.h"
#include "config/Stepping.h"
#include "core/Errors.h"

#include <gtest/gtest.h>

namespace {

TEST(LimitStepping, StopsAtTheByteBounds) {
    EXPECT_EQ(LimitDown(0), 0);
    EXPECT_EQ(LimitUp(0), 1);
    EXPECT_EQ(LimitUp(127), 128);
    EXPECT_EQ(LimitDown(128), 127);
    EXPECT_EQ(LimitUp(255), 255);
    EXPECT_EQ(LimitDown(255), 254);
}

struct CorrectionRow {
    int before;
    int down;
    int up;
};

TEST(CorrectionStepping, EveryRowOfTheTable) {
    const CorrectionRow rows[] = {
        {0, 129, 1},     {1, 0, 2},       {50, 49, 51},    {126, 125, 127}, {127, 126, 127},
        {129, 130, 0},   {130, 131, 129}, {200, 201, 199}, {253, 254, 252}, {254, 254, 253},
        {255, 254, 254}, {128, 129, 1}, // minus zero steps as plus zero
    };
    for (const CorrectionRow& row : rows) {
        EXPECT_EQ(CorrectionDown(row.before), row.down) << row.before;
        EXPECT_EQ(CorrectionUp(row.before), row.up) << row.before;
    }
}

TEST(CorrectionStepping, RunsInTenthsFromLowestToHighest) {
    quint8 byte = 254;
    int steps = 0;
    double previous = -12.6;
    while (byte != 127) {
        byte = CorrectionUp(byte);
        const double value = CorrectionText(byte).replace(u',', u'.').toDouble();
        ASSERT_NEAR(value - previous, 0.1, 1e-9) << int(byte);
        previous = value;
        ASSERT_LT(++steps, 300);
    }
    EXPECT_EQ(steps, 253);
    while (byte != 254) {
        byte = CorrectionDown(byte);
        ASSERT_LT(++steps, 600);
    }
    EXPECT_EQ(steps, 2 * 253);
}

TEST(IntervalStepping, BoundsAndZero) {
    EXPECT_EQ(IntervalUp("1"), "2");
    EXPECT_EQ(IntervalDown("17"), "16");
    EXPECT_EQ(IntervalDown("1"), "1");
    EXPECT_EQ(IntervalUp("255"), "255");
    EXPECT_EQ(IntervalDown("0"), "0");
    EXPECT_EQ(IntervalUp("0"), "1");
    EXPECT_EQ(IntervalUp("300"), "45"); // low byte 44
    EXPECT_THROW(IntervalUp("+"), EConvertError);
}

} // namespace
