#include "model/record_list.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

void CRecordList::ResizeArrays(int length)
{
    records.resize(length);
    selectionFlags.resize(length);
    if (!placement.empty())
        placement.resize(length);
}

void CRecordList::ReadyPlacement()
{
    if (placement.size() != records.size())
        placement.resize(records.size());
}

void CRecordList::EnsureSpare(int needed)
{
    needed = std::max(needed, kMinSpare);
    int length = Length();
    while (length - recordCount < needed)
        length += kGrowth;
    if (length != Length())
        ResizeArrays(length);
}

void CRecordList::Append(const CETREC& r)
{
    if (recordCount < 1)
        recordCount = 1;  // the sentinel comes first
    EnsureSpare();
    records[recordCount++] = r;
}

int CRecordList::FigureStart(int i) const
{
    while (i > 0 && records[i].Pen() != 0)
        --i;
    return i;
}

int CRecordList::FigureEnd(int i) const
{
    const int last = recordCount - 1;
    if (i >= last)
        return i;
    int k = i + 1;
    while (k <= last && !records[k].IsJunction() && records[k].Pen() != 0)
        ++k;
    return k - 1;
}

std::string CRecordList::DebugStatus(int i) const
{
    const CETREC& r = records[i];
    const int pen = r.IsJunction() ? -1 : r.Pen();
    char text[96];
    std::snprintf(text, sizeof text, "Record:%d/%d Layer:%d Pen:%d Blok:%d", i, recordCount - 1,
                  r.Layer(), pen, r.Block());
    return text;
}

int EllipseAngleStep(int r)
{
    const int f = std::clamp(r > 0 ? 45000 / r : 90, 1, 90);
    int s = f;
    while (360 % s != 0)
        ++s;
    return std::clamp(s, 2, 90);
}

bool BuildEllipseRecords(int left, int top, int right, int bottom, int layer, int pen, bool filled,
                         std::vector<CETREC>& out)
{
    const int64_t rx = (int64_t{right} - left) / 2;
    const int64_t ry = (int64_t{bottom} - top) / 2;
    if (rx < 16 || ry < 16)
        return false;
    const int64_t cx = left + rx;
    const int64_t cy = top + ry;
    const int step = EllipseAngleStep(static_cast<int>(std::min<int64_t>(std::max(rx, ry), INT32_MAX)));

    out.push_back(CETREC::Make(static_cast<int32_t>(cx), static_cast<int32_t>(cy + ry), layer, 0, 0,
                               filled));
    for (int a = 0; a <= 360; a += step) {
        const double t = a * kRadiansPerDegree;
        const auto x = static_cast<int32_t>(cx + static_cast<int64_t>(std::sin(t) * rx));
        const auto y = static_cast<int32_t>(cy + static_cast<int64_t>(std::cos(t) * ry));
        out.push_back(CETREC::Make(x, y, layer, pen, 0, filled));
    }
    return true;
}

void BuildRectangleRecords(int left, int top, int right, int bottom, int layer, int pen,
                           std::vector<CETREC>& out)
{
    out.push_back(CETREC::Make(left, top, layer, 0));
    out.push_back(CETREC::Make(right, top, layer, pen));
    out.push_back(CETREC::Make(right, bottom, layer, pen));
    out.push_back(CETREC::Make(left, bottom, layer, pen));
    out.push_back(CETREC::Make(left, top, layer, pen));
}
