#include <gtest/gtest.h>

#include "math/Color.h"
#include "math/Rect.h"

using loom::Area;
using loom::Rectf;

TEST(Rectf, KeepsCornersAsGiven) {
    Rectf r(10, 20, 5, 2);
    EXPECT_EQ(r.x1, 10);
    EXPECT_EQ(r.x2, 5);
    EXPECT_EQ(r.getWidth(), -5);
}

TEST(Area, OrdersCornersOnConstruction) {
    Area a(10, 20, 5, 2);
    EXPECT_EQ(a, Area(5, 2, 10, 20));
    EXPECT_EQ(a.getWidth(), 5);
    EXPECT_EQ(a.getHeight(), 18);
}

TEST(Area, ClipClampsIntoTheBounds) {
    Area partly(-5, 3, 8, 40);
    partly.clipBy(Area(0, 0, 10, 10));
    EXPECT_EQ(partly, Area(0, 3, 8, 10));

    Area outside(20, 20, 30, 30);
    outside.clipBy(Area(0, 0, 10, 10));
    EXPECT_EQ(outside.getWidth(), 0);
    EXPECT_EQ(outside.getHeight(), 0);
}

TEST(ColorA, ConvertsToBytesByTruncation) {
    EXPECT_EQ(loom::toByte(0.5f), 127);
    EXPECT_EQ(loom::toByte(1.0f), 255);
    EXPECT_EQ(loom::toByte(0.0f), 0);
    EXPECT_EQ(loom::toByte(2.0f), 255);
}
