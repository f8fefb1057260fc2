#pragma once

#include <cstdint>

// Plain value types shared by every layer.

struct CPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const CPoint&, const CPoint&) = default;
};

struct CSize {
    int32_t cx = 0;
    int32_t cy = 0;
    friend bool operator==(const CSize&, const CSize&) = default;
};

// Edges as stored; right and bottom are exclusive where the platform fills.
struct CRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    friend bool operator==(const CRect&, const CRect&) = default;
};

// A colour as the files store it: 0x00BBGGRR.
using COLORREF = uint32_t;
constexpr COLORREF Rgb(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(COLORREF c)
{
    return c & 0xFF;
}
constexpr int GreenOf(COLORREF c)
{
    return (c >> 8) & 0xFF;
}
constexpr int BlueOf(COLORREF c)
{
    return (c >> 16) & 0xFF;
}
