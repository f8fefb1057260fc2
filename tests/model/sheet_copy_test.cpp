// What a copy of the selection holds: the highlighted segments exactly.
#include <gtest/gtest.h>

#include <string>

#include "model/sheet.h"

namespace {

// Records 1-4: M0,0 L10,0 L20,0 L30,0 on layer 2 (pen 3); 5-6: block 5,
// M100,0 L110,0 on layer 4; 7: a junction at 50,50.
std::unique_ptr<CSheet> CopyFixture()
{
    auto s = std::make_unique<CSheet>();
    s->recordCount = 1;
    s->Append(CETREC::Make(0, 0, 2, 0));
    s->Append(CETREC::Make(10, 0, 2, 3));
    s->Append(CETREC::Make(20, 0, 2, 3));
    s->Append(CETREC::Make(30, 0, 2, 3));
    s->Append(CETREC::Make(100, 0, 4, 0, 5));
    s->Append(CETREC::Make(110, 0, 4, 1, 5));
    s->Append(CETREC::Junction(50, 50, 2));
    return s;
}

// "M", "L" or "J", the point, "/pen" for a line, "@layer", "#block".
std::string Listed(const std::vector<CETREC>& records)
{
    std::string out;
    for (const CETREC& r : records) {
        if (!out.empty())
            out += ' ';
        out += r.IsJunction() ? 'J' : r.Pen() == 0 ? 'M' : 'L';
        out += std::to_string(r.x) + ',' + std::to_string(r.y);
        if (!r.IsJunction() && r.Pen() != 0)
            out += '/' + std::to_string(r.Pen());
        out += '@' + std::to_string(r.Layer());
        if (r.Block() != 0)
            out += '#' + std::to_string(r.Block());
    }
    return out;
}

} // namespace

TEST(SelectedForCopy, LeadsEachSegmentCutFromItsFigureWithAMove)
{
    // (selected records) -> the copy.
    const struct {
        std::vector<int> selected;
        const char* copy;
    } cases[] = {
        {{1, 2, 3, 4}, "M0,0@2 L10,0/3@2 L20,0/3@2 L30,0/3@2"},
        {{3}, "M10,0@2 L20,0/3@2"},
        {{2, 4}, "M0,0@2 L10,0/3@2 M20,0@2 L30,0/3@2"},
        {{3, 4}, "M10,0@2 L20,0/3@2 L30,0/3@2"},
        {{1}, "M0,0@2"},
        {{4, 5, 6}, "M20,0@2 L30,0/3@2 M100,0@4#5 L110,0/1@4#5"},
        {{6}, "M100,0@4#5 L110,0/1@4#5"},
        {{7}, "J50,50@2"},
        {{}, ""},
    };
    for (const auto& c : cases) {
        auto s = CopyFixture();
        for (int i : c.selected)
            s->SelectRecord(i);
        EXPECT_EQ(Listed(s->SelectedForCopy()), c.copy) << c.copy;
        // The copy command fills the placement buffer with the same.
        s->ClearBuffer();
        s->CopySelection();
        const std::vector<CETREC> buffer(
            s->placement.begin(), s->placement.begin() + s->placementCount);
        EXPECT_EQ(Listed(buffer), c.copy) << c.copy;
    }
}
