#include "view/status_readouts.h"

#include <gtest/gtest.h>

#include "model/sheet.h"

TEST(StatusReadouts, DirectionIsCounterClockwiseWithNinetyUp)
{
    // (cursor relative to the point, HK readout); y grows downward.
    const struct {
        int dx, dy;
        const char* text;
    } cases[] = {{1000, -1000, "HK:45.000"}, {-1000, 1000, "HK:225.000"}, {0, 1000, "HK:270.000"},
        {0, -1000, "HK:90.000"}, {0, 0, "HK: 0.000"}, {1000, 0, "HK: 0.000"},
        {-1000, 0, "HK:180.000"}, {-1000, -1000, "HK:135.000"}, {1000, 1000, "HK:315.000"},
        {3000, 4000, "HK:306.870"}};
    for (const auto& c : cases)
        EXPECT_EQ(Readout("HK:", Direction(c.dx, c.dy)), c.text) << c.dx << "," << c.dy;
}

TEST(StatusReadouts, NumbersAreSixWideWithThreeDecimals)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {{0.0, "X: 0.000"}, {-1.5, "X:-1.500"}, {7.5, "X: 7.500"}, {12.3456, "X:12.346"},
        {1234.5, "X:1234.500"}, {-0.0004, "X:-0.000"}};
    for (const auto& c : cases)
        EXPECT_EQ(Readout("X:", c.value), c.text) << c.value;
}

TEST(StatusReadouts, RecordLineOfTheCurrentRecord)
{
    CSheet s;
    s.Append(CETREC::Make(0, 0, 3, 0, 7));
    s.Append(CETREC::Make(1000, 0, 3, 5, 7));
    s.currentRecord = 2;
    EXPECT_EQ(RecordLine(s), "Record:2/2 Layer:3 Pen:5 Blok:7");
    s.currentRecord = 0; // none under edit
    EXPECT_EQ(RecordLine(s), "Record:0/2 Layer:-1 Pen:-1 Blok:0");
}
