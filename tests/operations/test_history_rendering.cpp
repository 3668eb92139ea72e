#include "operations/HistoryRendering.h"

#include <gtest/gtest.h>

namespace {

TEST(HistoryLine, Example) {
    const QByteArray record("\x1A\x0C\x07\x01\x1E\x05\x15\x05\x83\x00", 10);
    EXPECT_EQ(HistoryLine(record),
              QStringLiteral("data: 07:12:2026   czas: 01:30:05   T1: +21.5  T2: -3.0"));
}

TEST(HistoryLine, EdgesOfTheFields) {
    const QByteArray record("\xFF\x01\x7B\x09\x00\x3B\x80\x00\x7F\x09", 10);
    EXPECT_EQ(HistoryLine(record),
              QStringLiteral("data: 123:01:2255   czas: 09:00:59   T1: -0.0  T2: +127.9"));
}

TEST(HistoryLine, ShortRecordIsIgnored) {
    EXPECT_FALSE(HistoryLine(QByteArray(9, '\1')));
    EXPECT_TRUE(HistoryLine(QByteArray(11, '\1')));
}

TEST(HistoryGaugeMaximum, FlagRemovedAndCapped) {
    EXPECT_EQ(HistoryGaugeMaximum(QByteArray("\x10\x80", 2)), 16);
    EXPECT_EQ(HistoryGaugeMaximum(QByteArray("\xFF\x7F", 2)), 32752);
    EXPECT_EQ(HistoryGaugeMaximum(QByteArray("\xF0\x7F", 2)), 32752);
    EXPECT_EQ(HistoryGaugeMaximum(QByteArray("\xEF\x7F", 2)), 32751);
    EXPECT_EQ(HistoryGaugeMaximum(QByteArray("\xFF\xFF", 2)), 32752);
    EXPECT_EQ(HistoryGaugeMaximum(QByteArray("\x00\x00", 2)), 0);
    EXPECT_EQ(HistoryGaugeMaximum(QByteArray("\x00\x80", 2)), 0);
    EXPECT_EQ(HistoryGaugeMaximum(QByteArray("\x34\x12\x99", 3)), 0x1234);
    EXPECT_FALSE(HistoryGaugeMaximum(QByteArray("\x10")));
}

} // namespace
