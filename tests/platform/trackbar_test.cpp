// Trackbars step the same way with every key whatever their orientation.

#include <gtest/gtest.h>

#include <QTest>

#include "platform/Trackbar.h"

namespace tessel::platform {
namespace {

TEST(Trackbar, KeysStepBackAndOnInBothOrientations) {
    for (Qt::Orientation orientation : {Qt::Horizontal, Qt::Vertical}) {
        Trackbar bar(orientation, nullptr, QRect(0, 0, 200, 14), 1, 900);
        EXPECT_EQ(bar.value(), 1);
        QTest::keyClick(&bar, Qt::Key_Right);
        QTest::keyClick(&bar, Qt::Key_Down);
        EXPECT_EQ(bar.value(), 3);
        QTest::keyClick(&bar, Qt::Key_Up);
        QTest::keyClick(&bar, Qt::Key_Left);
        EXPECT_EQ(bar.value(), 1);
        QTest::keyClick(&bar, Qt::Key_PageDown);
        EXPECT_EQ(bar.value(), 1 + bar.pageStep());
        QTest::keyClick(&bar, Qt::Key_PageUp);
        EXPECT_EQ(bar.value(), 1);
        QTest::keyClick(&bar, Qt::Key_End);
        EXPECT_EQ(bar.value(), 900);
        QTest::keyClick(&bar, Qt::Key_Home);
        EXPECT_EQ(bar.value(), 1);
    }
}

TEST(Trackbar, VerticalOneHasItsFirstPositionAtTheTop) {
    Trackbar bar(Qt::Vertical, nullptr, QRect(0, 0, 14, 910), 1, 900);
    EXPECT_TRUE(bar.invertedAppearance());
    Trackbar across(Qt::Horizontal, nullptr, QRect(0, 0, 1210, 14), 1, 1200);
    EXPECT_FALSE(across.invertedAppearance());
}

}  // namespace
}  // namespace tessel::platform
