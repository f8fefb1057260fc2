// The symbol saved from a selection holds what a copy of it holds.
#include <gtest/gtest.h>

#include "model/sheet.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"
#include "symbols/symbol_file.h"

TEST(SaveSelectionAsSymbol, ASegmentIsSavedWithTheMoveBeforeIt)
{
    // (selected records) -> the symbol's records about the cursor (100, 0):
    // block word, style word, x and y in tenths of a millimetre.
    const struct {
        std::vector<int> selected;
        std::vector<CSym> symbol;
    } cases[] = {
        {{3}, {{0, 2 << 3, -90, 0}, {0, (2 << 3) | 3, -80, 0}}},
        {{1, 2}, {{0, 2 << 3, -100, 0}, {0, (2 << 3) | 3, -90, 0}}},
        {{2, 3}, {{0, 2 << 3, -100, 0}, {0, (2 << 3) | 3, -90, 0}, {0, (2 << 3) | 3, -80, 0}}},
    };
    for (const auto& c : cases) {
        CSheet s;
        s.recordCount = 1;
        s.Append(CETREC::Make(0, 0, 2, 0));
        s.Append(CETREC::Make(1000, 0, 2, 3));
        s.Append(CETREC::Make(2000, 0, 2, 3));
        s.selectionCriteria = CSheet::kSelectFigures;
        s.cursor = {10000, 0};
        for (int i : c.selected)
            s.SelectRecord(i);
        CTempFolder tmp;
        CScriptedUi ui;
        ASSERT_TRUE(SaveSelectionAsSymbol(s, tmp.path / "A.SYM", ui));
        EXPECT_EQ(ReadSymbolFile(tmp.path / "A.SYM"), c.symbol) << c.selected.size();
    }
}
