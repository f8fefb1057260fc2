#pragma once

// A sheet filled as the view benchmarks fill it: figures of a move and
// `perFigure` lines each, on random layers and pens, wandering over an A3
// sheet, until the next figure would pass `records` records.
#include <algorithm>
#include <random>

#include "model/sheet.h"

inline void AddRandomFigures(CSheet& s, int records, int perFigure)
{
    s.EnsureSpare(records + 10);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> x(0, 400000), y(0, 270000), step(-20000, 20000);
    std::uniform_int_distribution<int> layer(1, 15), pen(1, 7);
    while (s.recordCount + perFigure + 1 <= records + 1) {
        const int l = layer(random);
        int px = x(random), py = y(random);
        s.Append(CETREC::Make(px, py, l, 0));
        for (int i = 0; i < perFigure; ++i) {
            px = std::clamp(px + step(random), 0, 400000);
            py = std::clamp(py + step(random), 0, 270000);
            s.Append(CETREC::Make(px, py, l, pen(random)));
        }
    }
}
