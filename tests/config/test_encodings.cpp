#include "config/Encodings.h"
#include "config/WholeNumber.h"

#include <gtest/gtest.h>

namespace {

TEST(LimitText, Examples) {
    EXPECT_EQ(LimitText(0), "-128");
    EXPECT_EQ(LimitText(127), "-1");
    EXPECT_EQ(LimitText(128), "+0");
    EXPECT_EQ(LimitText(132), "+4");
    EXPECT_EQ(LimitText(138), "+10");
    EXPECT_EQ(LimitText(255), "+127");
}

TEST(LimitText, EveryByteShowsItsValue) {
    for (int byte = 0; byte < 256; ++byte) {
        const QString text = LimitText(static_cast<quint8>(byte));
        EXPECT_EQ(text.toInt(), byte - 128) << byte;
        EXPECT_EQ(text[0], byte >= 128 ? u'+' : u'-') << byte;
    }
}

TEST(CorrectionText, Examples) {
    EXPECT_EQ(CorrectionText(0), "+0,0");
    EXPECT_EQ(CorrectionText(5), "+0,5");
    EXPECT_EQ(CorrectionText(100), "+10,0");
    EXPECT_EQ(CorrectionText(127), "+12,7");
    EXPECT_EQ(CorrectionText(128), "+0,0");
    EXPECT_EQ(CorrectionText(129), "-0,1");
    EXPECT_EQ(CorrectionText(254), "-12,6");
    EXPECT_EQ(CorrectionText(255), "-12,7");
}

TEST(CorrectionText, EveryByteShowsSignAndTenths) {
    for (int byte = 0; byte < 256; ++byte) {
        QString text = CorrectionText(static_cast<quint8>(byte));
        ASSERT_EQ(text[text.size() - 2], u',') << byte;
        const int tenths = qRound(text.replace(u',', u'.').toDouble() * 10);
        const int expected = byte <= 128 ? (byte & 0x7F) : -(byte & 0x7F);
        EXPECT_EQ(tenths, expected) << byte;
        EXPECT_EQ(text[0], byte <= 128 ? u'+' : u'-') << byte;
    }
}

TEST(WholeNumber, AcceptsASignAndDigitsOnly) {
    EXPECT_EQ(ParseWholeNumber("16"), 16);
    EXPECT_EQ(ParseWholeNumber("+5"), 5);
    EXPECT_EQ(ParseWholeNumber("-12"), -12);
    EXPECT_EQ(ParseWholeNumber("007"), 7);
    EXPECT_EQ(ParseWholeNumber("2147483647"), 2147483647);
    EXPECT_EQ(ParseWholeNumber("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", "+", "-", "1+", "++", "+-1", " 1", "1 ", "0x10", "1.0",
                            "2147483648", "-2147483649", "99999999999999999999"})
        EXPECT_FALSE(ParseWholeNumber(QString::fromLatin1(bad))) << bad;
    EXPECT_FALSE(ParseWholeNumber(QStringLiteral("١٢"))); // not ASCII digits
}

TEST(WholeNumber, LowByte) {
    EXPECT_EQ(WholeNumberLowByte("16"), 16);
    EXPECT_EQ(WholeNumberLowByte("255"), 255);
    EXPECT_EQ(WholeNumberLowByte("256"), 0);
    EXPECT_EQ(WholeNumberLowByte("300"), 44);
    EXPECT_EQ(WholeNumberLowByte("-1"), 255);
    EXPECT_FALSE(WholeNumberLowByte("1+"));
}

} // namespace
