#include "model/pen_table.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(PenWidth, PixelsAtAZoom)
{
    // (zoom, pixel widths of pens 1 to 7 on a width layer)
    const struct {
        int zoom;
        std::array<int, 7> widths;
    } cases[] = {
        {512, {1, 1, 1, 1, 1, 1, 1}},
        {20, {10, 12, 15, 25, 40, 50, 50}},
        {300, {1, 1, 1, 1, 2, 3, 3}},
        {1, {200, 250, 300, 500, 800, 1000, 1000}},
    };
    for (const auto& c : cases) {
        for (int pen = 1; pen < kPenCount; ++pen) {
            EXPECT_EQ(PenPixelWidth(kDefaultPenWidths, 3, pen, c.zoom), c.widths[pen - 1])
                << "zoom " << c.zoom << " pen " << pen;
        }
    }
    // Line-type layers draw every pen with the width of pen 1.
    for (int pen = 0; pen < kPenCount; ++pen)
        EXPECT_EQ(PenPixelWidth(kDefaultPenWidths, 10, pen, 20), 10) << pen;

    std::array<int32_t, kPenCount> thin {};
    thin.fill(1);
    for (int zoom : {2, 3, 512, 10000})
        EXPECT_EQ(PenPixelWidth(thin, 1, 4, zoom), 1) << zoom;

    // A damaged zoom or width never divides by zero nor gives a pen below 1.
    std::array<int32_t, kPenCount> odd = kDefaultPenWidths;
    odd[2] = -500;
    EXPECT_EQ(PenPixelWidth(odd, 1, 1, 0), 200);
    EXPECT_EQ(PenPixelWidth(odd, 1, 1, -7), 200);
    EXPECT_EQ(PenPixelWidth(odd, 1, 2, 1), 1);
}

TEST(PenWidth, DashPatterns)
{
    EXPECT_EQ(DashPattern(0), (CDashPattern {}));
    EXPECT_EQ(DashPattern(1), (CDashPattern {}));
    EXPECT_EQ(DashPattern(2), (CDashPattern {2000, 1000, 0, 0, 0, 0}));
    EXPECT_EQ(DashPattern(4), (CDashPattern {4000, 1000, 1000, 1000, 0, 0}));
    EXPECT_EQ(DashPattern(7), (CDashPattern {2000, 1000, 100, 1000, 100, 1000}));
    EXPECT_EQ(DashPattern(8), (CDashPattern {}));
}

TEST(PenTable, SetsCarryTheLayerAndHighlightColours)
{
    CPenTable table;
    EXPECT_EQ(table.Pen(1, 15, 7), (CPenDesc {1, 0, PenStyle::Solid}));

    std::array<COLORREF, kLayerCount> colours {};
    std::array<COLORREF, kLayerCount> highlights {};
    for (int i = 0; i < kLayerCount; ++i) {
        colours[i] = Rgb(i, 0, 0);
        highlights[i] = Rgb(0, 0, 100 + i);
    }
    table.Rebuild(kDefaultPenWidths, colours, highlights, 20);
    EXPECT_EQ(table.Pen(CPenTable::kNormal, 3, 4), (CPenDesc {25, Rgb(3, 0, 0), PenStyle::Solid}));
    EXPECT_EQ(
        table.Pen(CPenTable::kHighlight, 3, 4), (CPenDesc {25, Rgb(0, 0, 103), PenStyle::Solid}));
    EXPECT_EQ(
        table.Pen(CPenTable::kNormal, 12, 6), (CPenDesc {10, Rgb(12, 0, 0), PenStyle::Solid}));
    EXPECT_EQ(
        table.Pen(CPenTable::kHighlight, 0, 0), (CPenDesc {1, Rgb(0, 0, 100), PenStyle::Solid}));

    // Rebuilding for another zoom replaces every pen.
    table.Rebuild(kDefaultPenWidths, colours, highlights, 512);
    EXPECT_EQ(table.Pen(CPenTable::kNormal, 3, 4).width, 1);

    EXPECT_THROW(table.Pen(2, 0, 0), std::out_of_range);
    EXPECT_THROW(table.Pen(0, 16, 0), std::out_of_range);
    EXPECT_THROW(table.Pen(0, 0, 8), std::out_of_range);
}
