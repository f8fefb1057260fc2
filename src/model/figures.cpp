#include "model/figures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "model/turn.h"

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
    const int64_t rx = (int64_t {right} - left) / 2;
    const int64_t ry = (int64_t {bottom} - top) / 2;
    if (rx < 16 || ry < 16)
        return false;
    const int64_t cx = left + rx;
    const int64_t cy = top + ry;
    const int step
        = EllipseAngleStep(static_cast<int>(std::min<int64_t>(std::max(rx, ry), INT32_MAX)));

    out.push_back(
        CETREC::Make(static_cast<int32_t>(cx), static_cast<int32_t>(cy + ry), layer, 0, 0, filled));
    for (int a = 0; a <= 360; a += step) {
        const double t = a * kRadiansPerDegree;
        const auto x = static_cast<int32_t>(cx + static_cast<int64_t>(std::sin(t) * rx));
        const auto y = static_cast<int32_t>(cy + static_cast<int64_t>(std::cos(t) * ry));
        out.push_back(CETREC::Make(x, y, layer, pen, 0, filled));
    }
    return true;
}

void BuildRectangleRecords(
    int left, int top, int right, int bottom, int layer, int pen, std::vector<CETREC>& out)
{
    out.push_back(CETREC::Make(left, top, layer, 0));
    out.push_back(CETREC::Make(right, top, layer, pen));
    out.push_back(CETREC::Make(right, bottom, layer, pen));
    out.push_back(CETREC::Make(left, bottom, layer, pen));
    out.push_back(CETREC::Make(left, top, layer, pen));
}
