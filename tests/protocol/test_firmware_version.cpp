#include "protocol/FirmwareVersion.h"

#include <gtest/gtest.h>

namespace {

std::optional<QString> CaptionFor(char versionByte) {
    return FirmwareVersionCaption(QByteArray("T") + versionByte);
}

TEST(FirmwareVersion, SecondByteGivesMajorAndMinor) {
    EXPECT_EQ(CaptionFor('0'), QStringLiteral("TC-8 v 1.0"));
    EXPECT_EQ(CaptionFor('5'), QStringLiteral("TC-8 v 1.5"));
    EXPECT_EQ(CaptionFor(0x3A), QStringLiteral("TC-8 v 2.0"));
    EXPECT_EQ(CaptionFor(0x45), QStringLiteral("TC-8 v 3.1"));
    EXPECT_EQ(CaptionFor('\xFF'), QStringLiteral("TC-8 v 21.7"));
}

TEST(FirmwareVersion, RefusedLogonStillCarriesTheVersion) {
    EXPECT_EQ(FirmwareVersionCaption("N7"), QStringLiteral("TC-8 v 1.7"));
}

TEST(FirmwareVersion, NoVersionBelowDigitZeroOrWithoutSecondByte) {
    EXPECT_EQ(CaptionFor('/'), std::nullopt);
    EXPECT_EQ(CaptionFor('\0'), std::nullopt);
    EXPECT_EQ(FirmwareVersionCaption("T"), std::nullopt);
    EXPECT_EQ(FirmwareVersionCaption({}), std::nullopt);
}

} // namespace
