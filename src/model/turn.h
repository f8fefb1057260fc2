#pragma once

#include <cstdint>

// Degrees to radians, with the factor the drawings were always made with.
inline constexpr double kRadiansPerDegree = 0.017453292519944444;

// A vector of two wide integers: sums and products of coordinates that may
// leave 32 bits before they are checked.
struct CWideVector {
    int64_t x = 0;
    int64_t y = 0;
    friend bool operator==(const CWideVector&, const CWideVector&) = default;
};

// Any whole number of degrees brought into 0 ... 359 (-90 is 270, 360 is 0).
int NormaliseRotation(int64_t degrees);

// Turns v by the angle, counter-clockwise on the screen where y grows
// downward. Quarter turns are exact; other angles round half away from zero.
// The stroke font and the sheet's rotations share this one rule.
CWideVector RotateVector(CWideVector v, int64_t degrees);
