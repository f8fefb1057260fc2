#pragma once

// Small hand-built record lists for the sheet's geometry and edit tests.

#include <memory>
#include <ostream>
#include <vector>

#include "model/sheet.h"

// A figure through the points: a move to the first, the pen to the others.
inline std::vector<CETREC> Figure(
    std::vector<CPoint> points, int layer = 1, int pen = 1, int block = 0)
{
    std::vector<CETREC> out;
    for (size_t i = 0; i < points.size(); ++i)
        out.push_back(CETREC::Make(points[i].x, points[i].y, layer, i == 0 ? 0 : pen, block));
    return out;
}

inline std::vector<CETREC> operator+(std::vector<CETREC> a, const std::vector<CETREC>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A sheet with the sentinel and then the records, nothing selected.
inline std::unique_ptr<CSheet> SheetWith(const std::vector<CETREC>& records)
{
    auto s = std::make_unique<CSheet>();
    s->recordCount = 1;
    for (const CETREC& r : records)
        s->Append(r);
    return s;
}

inline std::vector<CETREC> RecordsOf(const CSheet& s)
{
    return {s.records.begin() + 1, s.records.begin() + s.recordCount};
}

inline std::vector<CPoint> PointsOf(const CSheet& s)
{
    std::vector<CPoint> out;
    for (int i = 1; i < s.recordCount; ++i)
        out.push_back({s.records[i].x, s.records[i].y});
    return out;
}

inline std::vector<int> SelectedOf(const CSheet& s)
{
    std::vector<int> out;
    for (int i = 1; i < s.recordCount; ++i) {
        if (s.selectionFlags[i])
            out.push_back(i);
    }
    return out;
}

inline std::ostream& operator<<(std::ostream& os, const CPoint& p)
{
    return os << "(" << p.x << ", " << p.y << ")";
}

inline std::ostream& operator<<(std::ostream& os, const CETREC& r)
{
    return os << "{(" << r.x << ", " << r.y << ") layer " << r.Layer() << " pen " << r.Pen()
              << (r.IsJunction() ? " junction" : "") << " block " << r.Block()
              << (r.IsFilled() ? " filled" : "") << "}";
}
