#include "model/turn.h"

#include <cmath>

int NormaliseRotation(int64_t degrees)
{
    if (degrees < 0)
        return static_cast<int>(359 - (-(degrees + 1)) % 360);
    return static_cast<int>(degrees % 360);
}

CRotation::CRotation(int64_t degrees)
    : turn(NormaliseRotation(degrees))
{
    const double t = turn * kRadiansPerDegree;
    cosine = std::cos(t);
    sine = std::sin(t);
}

CWideVector RotateVector(CWideVector v, int64_t degrees)
{
    return CRotation(degrees)(v);
}
