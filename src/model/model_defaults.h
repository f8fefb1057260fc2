#pragma once

#include <array>
#include <string>

#include "model/grid.h"
#include "platform/canvas.h"

// What the model takes from the program's configuration. The configuration
// fills the one instance; until it does, these are the program's defaults.
struct CModelDefaults {
    int undoLimit = 10; // 1 to 20
    CGridArr grids; // copied into every new sheet
    std::string strokeFontPath; // empty: the stroke font is not loaded
    int strokeFontSize = 50;
    std::array<CFontDesc, 8> fonts {}; // the eight system fonts for texts
    bool blackAndWhitePrinting = false;
};

CModelDefaults& ModelDefaults();
