#pragma once

#include <string>

#include "model/sheet.h"
#include "support/view_script.h"

// The records from `first` on as pixels of zoom 100: "M1,2" a move, "L3,4"
// a drawn point (with "/p" for a pen other than 1), "J5,6" a junction; "*"
// marks a filled record and "#b" a block other than 0.
inline std::string Drawn(const CSheet& s, int first)
{
    std::string out;
    for (int i = first; i < s.recordCount; ++i) {
        const CETREC& r = s.records[i];
        if (!out.empty())
            out += ' ';
        out += r.IsJunction() ? 'J' : r.Pen() == 0 ? 'M' : 'L';
        out += std::to_string(r.x / 100) + ',' + std::to_string(r.y / 100);
        if (!r.IsJunction() && r.Pen() > 1)
            out += '/' + std::to_string(r.Pen());
        if (r.IsFilled())
            out += '*';
        if (r.Block() != 0)
            out += '#' + std::to_string(r.Block());
    }
    return out;
}

inline CPoint At(const CETREC& r)
{
    return {r.x, r.y};
}

// A bench whose drawing grid snaps to 10 pixels (1 mm at zoom 100).
inline void SnapTo10Pixels(CViewBench& bench)
{
    CGrid& g = bench.Sheet().grids.grids[CGridArr::kDraw];
    g.snapX = g.snapY = 1000;
    g.snapOn = 1;
}
