#include "operations/ClockPayload.h"

#include <gtest/gtest.h>

namespace {

TEST(ClockPayload, LocalDateAndTimeAsPlainBytes) {
    EXPECT_EQ(ClockPayload(QDateTime(QDate(2026, 12, 7), QTime(1, 30, 5))),
              QByteArray("\x1A\x0C\x07\x01\x1E\x05", 6));
    EXPECT_EQ(ClockPayload(QDateTime(QDate(2026, 12, 7), QTime(23, 5, 0))).at(3), 23);
    EXPECT_EQ(ClockPayload(QDateTime(QDate(2100, 1, 31), QTime(0, 0, 59))),
              QByteArray("\x00\x01\x1F\x00\x00\x3B", 6));
}

} // namespace
