#include "model/turn.h"

#include <cmath>

int NormaliseRotation(int64_t degrees)
{
    if (degrees < 0)
        return static_cast<int>(359 - (-(degrees + 1)) % 360);
    return static_cast<int>(degrees % 360);
}

CWideVector RotateVector(CWideVector v, int64_t degrees)
{
    // Quarter turns must be exact: texts and drawings are turned back and
    // forth and may not drift by a micrometre.
    const int r = NormaliseRotation(degrees);
    switch (r) {
    case 0:
        return v;
    case 90:
        return {v.y, -v.x};
    case 180:
        return {-v.x, -v.y};
    case 270:
        return {-v.y, v.x};
    }
    const double t = r * kRadiansPerDegree;
    const double x = static_cast<double>(v.x);
    const double y = static_cast<double>(v.y);
    // llround takes halves away from zero whatever the rounding mode.
    return {std::llround(x * std::cos(t) + y * std::sin(t)),
        std::llround(y * std::cos(t) - x * std::sin(t))};
}
