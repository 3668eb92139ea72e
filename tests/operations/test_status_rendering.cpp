#include "operations/StatusRendering.h"
#include "operations/TemperatureReading.h"

#include <gtest/gtest.h>

namespace {

QByteArray StatusPayload(quint8 t0, quint8 t1, quint16 supply, quint8 u0, quint8 u1,
                         QByteArray dateTime, quint16 auxiliary) {
    QByteArray payload;
    payload.append(char(t0)).append(char(t1));
    payload.append(char(supply & 0xFF)).append(char(supply >> 8));
    payload.append(char(u0)).append(char(u1));
    payload.append(dateTime);
    payload.append(char(auxiliary & 0xFF)).append(char(auxiliary >> 8));
    return payload;
}

TEST(TemperatureText, SignDegreesAndTenths) {
    EXPECT_EQ(TemperatureText(21, 5), "+21.5");
    EXPECT_EQ(TemperatureText(0x83, 0), "-3.0");
    EXPECT_EQ(TemperatureText(0x80, 5), "-0.5");
    EXPECT_EQ(TemperatureText(0x80, 0), "-0.0");
    EXPECT_EQ(TemperatureText(0, 0), "+0.0");
    EXPECT_EQ(TemperatureText(0xFF, 9), "-127.9");
    EXPECT_EQ(TemperatureText(0x7F, 9), "+127.9");
    EXPECT_EQ(TemperatureText(1, 12), "+1.12"); // tenths printed as received
}

TEST(SupplyVoltage, FormulaAndThreshold) {
    EXPECT_EQ(SupplyVoltageText(700), "+12,5V");
    EXPECT_EQ(SupplyVoltageText(599), "+10,8V");
    EXPECT_EQ(SupplyVoltageText(598), "+10,7V");
    EXPECT_EQ(SupplyVoltageText(0), "+0,4V");
    EXPECT_EQ(SupplyVoltageText(65535), "+1130,9V");

    const QByteArray dateTime("\x1A\x0C\x07\x01\x1E\x05", 6);
    EXPECT_TRUE(RenderStatus(StatusPayload(0, 0, 599, 0, 0, dateTime, 0))->SupplyOk);
    EXPECT_FALSE(RenderStatus(StatusPayload(0, 0, 598, 0, 0, dateTime, 0))->SupplyOk);
}

TEST(StatusRendering, EveryField) {
    const QByteArray payload =
        StatusPayload(21, 5, 700, 0x83, 0, QByteArray("\x1A\x0C\x07\x01\x1E\x05", 6), 0x1234);
    const std::optional<StatusTexts> texts = RenderStatus(payload);
    ASSERT_TRUE(texts);
    EXPECT_EQ(*texts, (StatusTexts{"+21.5", "-3.0", "+12,5V", true, "700", "4660", "2026.12.07",
                                   "01:30:05"}));
}

TEST(StatusRendering, DatesAndTimesWithLeadingZeros) {
    const auto render = [](const char* dateTime) {
        return *RenderStatus(StatusPayload(0, 0, 0, 0, 0, QByteArray(dateTime, 6), 0));
    };
    EXPECT_EQ(render("\x05\x01\x09\x00\x00\x00").Data, "2005.01.09");
    EXPECT_EQ(render("\x09\x01\x01\x00\x00\x00").Data.left(5), "2009.");
    EXPECT_EQ(render("\x0A\x01\x01\x00\x00\x00").Data.left(5), "2010.");
    EXPECT_EQ(render("\x09\x01\x01\x09\x05\x00").czas, "09:05:00");
    EXPECT_EQ(render("\x64\x0D\x00\x17\x3B\x3B").Data, "20100.13.00"); // no range checks
    EXPECT_EQ(render("\x64\x0D\x00\x17\x3B\x3B").czas, "23:59:59");
}

TEST(StatusRendering, ShortPayloadIsIgnored) {
    const QByteArray payload = StatusPayload(1, 2, 3, 4, 5, QByteArray(6, '\1'), 7);
    EXPECT_FALSE(RenderStatus(payload.left(13)));
    EXPECT_FALSE(RenderStatus(QByteArray()));
    EXPECT_EQ(RenderStatus(payload + "more"), RenderStatus(payload));
}

} // namespace
