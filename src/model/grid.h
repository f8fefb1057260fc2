#pragma once

#include <array>
#include <cstdint>

class CArchive;

// One grid: the spacing of the displayed points and the snap step.
struct CGrid {
    int32_t spacingX = 10000; // micrometres
    int32_t spacingY = 10000;
    int32_t snapX = 5000;
    int32_t snapY = 5000;
    int32_t display = 2; // 0 invisible, 1 dots, 2 lines
    int32_t snapOn = 1;
    int32_t lastDisplay = 2; // the last non-zero display, to show the grid again

    // Every reader of a spacing or snap step goes through these: a stored
    // value of 0 or less acts as 1 micrometre.
    int32_t SpacingX() const { return spacingX > 0 ? spacingX : 1; }
    int32_t SpacingY() const { return spacingY > 0 ? spacingY : 1; }
    int32_t SnapX() const { return snapX > 0 ? snapX : 1; }
    int32_t SnapY() const { return snapY > 0 ? snapY : 1; }

    friend bool operator==(const CGrid&, const CGrid&) = default;
};

// The three grids of a sheet: 0 while drawing and selecting, 1 while placing
// symbols, 2 while placing texts.
class CGridArr {
public:
    enum { kDraw = 0, kPlace = 1, kText = 2 };

    CGridArr();

    std::array<CGrid, 3> grids;
    int activeGrid = kDraw;

    CGrid& Active() { return grids[activeGrid]; }
    const CGrid& Active() const { return grids[activeGrid]; }

    void CopyFrom(const CGridArr& other);
    // The grid in force for a tool: symbols 8193 use the place grid, the two
    // text tools 8240 and 8245 the text grid, everything else the draw grid.
    void SelectFor(int toolMode);
    // Six int32 per grid, 72 bytes; lastDisplay and activeGrid are not stored.
    void Serialize(CArchive& ar);

    friend bool operator==(const CGridArr&, const CGridArr&) = default;
};
