#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class CSheet;

// The readouts of the status panes 1 to 8: X, Y, "Vast"/"Vrij", XR, YR, LN,
// HK and the working time; element i is pane i + 1. Without a sheet every
// number reads 0, the point "Vrij" and the time "T:00:00".
std::array<std::string, 8> ReadoutTexts(const CSheet* sheet, int32_t workingTime);

// The prefix followed by the value as "%6.3f" would show it, whatever the
// user's locale.
std::string Readout(std::string_view prefix, double value);

// The direction from the relative point to the cursor in degrees, 0 ... 360
// counter-clockwise with 90 pointing up the screen (y grows downward).
double Direction(int64_t dx, int64_t dy);

// Pane 0: "Record:%d/%d Layer:%d Pen:%d Blok:%d" of the current record; the
// pen reads -1 for a junction.
std::string RecordLine(const CSheet& sheet);
