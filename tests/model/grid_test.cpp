#include "model/grid.h"

#include <gtest/gtest.h>

#include "model/archive.h"
#include "support/bytes.h"

TEST(Grid, DefaultsAndToolRule)
{
    CGridArr g;
    EXPECT_EQ(g.grids[0], (CGrid {10000, 10000, 5000, 5000, 2, 1, 2}));
    EXPECT_EQ(g.grids[1], (CGrid {10000, 10000, 5000, 5000, 2, 1, 2}));
    EXPECT_EQ(g.grids[2], (CGrid {10000, 10000, 1000, 1000, 2, 1, 2}));
    // (tool, grid in force)
    const struct {
        int tool, grid;
    } cases[] = {{8193, 1}, {8240, 2}, {8245, 2}, {8192, 0}, {8208, 0}, {10256, 0}};
    for (const auto& c : cases) {
        g.SelectFor(c.tool);
        EXPECT_EQ(g.activeGrid, c.grid) << c.tool;
    }
}

TEST(Grid, StoredAsSeventyTwoBytes)
{
    CGridArr g;
    g.grids[1] = CGrid {1, 2, 3, 4, 1, 0, 9};
    g.activeGrid = 2;
    CArchive out("x");
    g.Serialize(out);
    const auto bytes = out.TakeBytes();
    ASSERT_EQ(bytes.size(), 72u);
    EXPECT_EQ(Hex({bytes.begin() + 24, bytes.begin() + 48}),
        Hex(Bytes({1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0})));

    // Reading keeps lastDisplay and activeGrid of the reader.
    CGridArr back;
    back.grids[1].lastDisplay = 7;
    back.activeGrid = 1;
    CArchive in(bytes, "x");
    back.Serialize(in);
    EXPECT_EQ(back.grids[1], (CGrid {1, 2, 3, 4, 1, 0, 7}));
    EXPECT_EQ(back.grids[0], g.grids[0]);
    EXPECT_EQ(back.activeGrid, 1);

    // A snap step of 0 acts as 1 micrometre.
    back.grids[0].snapX = 0;
    back.grids[0].spacingY = -5;
    EXPECT_EQ(back.grids[0].SnapX(), 1);
    EXPECT_EQ(back.grids[0].SpacingY(), 1);

    // Cut inside the 72 bytes: past its end.
    const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + 70);
    CArchive short_(cut, "x");
    EXPECT_THROW(back.Serialize(short_), CArchiveException);
}
