// The spin button's clicks and repeats, and the gauge's position and percentage.
#include "WaitFor.h"
#include "ui/TGauge.h"
#include "ui/TSpinButton.h"

#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

TEST(SpinButton, EachHalfClicksOnceAndRepeatsWhileHeld) {
    TSpinButton spin;
    spin.resize(16, 21);
    spin.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&spin));
    int ups = 0;
    int downs = 0;
    QObject::connect(&spin, &TSpinButton::UpClick, [&ups] { ++ups; });
    QObject::connect(&spin, &TSpinButton::DownClick, [&downs] { ++downs; });

    QTest::mouseClick(spin.UpButton(), Qt::LeftButton);
    EXPECT_EQ(ups, 1);
    QTest::mouseClick(spin.DownButton(), Qt::LeftButton);
    EXPECT_EQ(downs, 1);
    EXPECT_GT(spin.DownButton()->y(), spin.UpButton()->y());

    for (QToolButton* half : {spin.UpButton(), spin.DownButton()}) {
        EXPECT_TRUE(half->autoRepeat());
        EXPECT_EQ(half->autoRepeatDelay(), 400);
        EXPECT_EQ(half->autoRepeatInterval(), 100);
        EXPECT_EQ(half->focusPolicy(), Qt::NoFocus);
    }
    EXPECT_EQ(spin.focusPolicy(), Qt::NoFocus);

    QTest::mousePress(spin.DownButton(), Qt::LeftButton);
    EXPECT_TRUE(WaitFor([&downs] { return downs >= 4; }));
    QTest::mouseRelease(spin.DownButton(), Qt::LeftButton);
    EXPECT_EQ(ups, 1);
}

TEST(Gauge, PositionStaysWithinTheRangeAndTextTruncates) {
    TGauge gauge;
    EXPECT_EQ(gauge.Max(), 100);
    gauge.SetPosition(150);
    EXPECT_EQ(gauge.Position(), 100);
    gauge.SetPosition(-3);
    EXPECT_EQ(gauge.Position(), 0);

    gauge.SetMax(3);
    gauge.SetPosition(2);
    EXPECT_EQ(gauge.text(), QStringLiteral("66%"));
    gauge.SetMax(300);
    gauge.SetPosition(299);
    EXPECT_EQ(gauge.text(), QStringLiteral("99%"));
    EXPECT_EQ(gauge.value(), 299);

    // Lowering the maximum below the position pulls the position down.
    gauge.SetMax(120);
    EXPECT_EQ(gauge.Position(), 120);
    EXPECT_EQ(gauge.text(), QStringLiteral("100%"));

    // A large file size does not overflow the percentage.
    gauge.SetMax(30000000);
    gauge.SetPosition(29999999);
    EXPECT_EQ(gauge.Percent(), 99);
}

TEST(Gauge, EmptyRangeShowsZeroAndNoBusyAnimation) {
    TGauge gauge;
    gauge.SetPosition(40);
    gauge.SetMax(0);
    EXPECT_EQ(gauge.Position(), 0);
    EXPECT_EQ(gauge.text(), QStringLiteral("0%"));
    EXPECT_LT(gauge.minimum(), gauge.maximum());
    EXPECT_EQ(gauge.value(), gauge.minimum());
}

} // namespace
