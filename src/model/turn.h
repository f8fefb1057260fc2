#pragma once

#include <cmath>
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

// Turns vectors by one angle, counter-clockwise on the screen where y grows
// downward. Quarter turns are exact; other angles round half away from zero.
// The stroke font and the sheet's rotations share this one rule. The angle
// is brought into range and its cosine and sine found once, for turning many
// points (every point of a text) at the cost of a few multiplications each.
class CRotation {
public:
    explicit CRotation(int64_t degrees);

    // 0, 90, 180 or 270 degrees: exact, and the same for a sum as for its parts.
    bool IsQuarter() const { return turn % 90 == 0; }

    CWideVector operator()(CWideVector v) const
    {
        switch (turn) {
        case 0:
            return Quarter<0>(v);
        case 90:
            return Quarter<90>(v);
        case 180:
            return Quarter<180>(v);
        case 270:
            return Quarter<270>(v);
        default: {
            const double x = static_cast<double>(v.x);
            const double y = static_cast<double>(v.y);
            // llround takes halves away from zero whatever the rounding mode.
            return {std::llround(x * cosine + y * sine), std::llround(y * cosine - x * sine)};
        }
        }
    }

    // Calls f with a turn that does what this one does, made for its angle
    // when it is a quarter turn, so that f's loop over many points has no
    // choice of angle in it.
    template<class F> decltype(auto) Specialised(F&& f) const
    {
        switch (turn) {
        case 0:
            return f([](CWideVector v) { return Quarter<0>(v); });
        case 90:
            return f([](CWideVector v) { return Quarter<90>(v); });
        case 180:
            return f([](CWideVector v) { return Quarter<180>(v); });
        case 270:
            return f([](CWideVector v) { return Quarter<270>(v); });
        default:
            return f(*this);
        }
    }

private:
    template<int degrees> static CWideVector Quarter(CWideVector v)
    {
        if constexpr (degrees == 0)
            return v;
        else if constexpr (degrees == 90)
            return {v.y, -v.x};
        else if constexpr (degrees == 180)
            return {-v.x, -v.y};
        else
            return {-v.y, v.x};
    }

    int turn = 0; // 0 ... 359
    double cosine = 1.0;
    double sine = 0.0;
};

// One vector turned by the angle, as CRotation turns it.
CWideVector RotateVector(CWideVector v, int64_t degrees);
