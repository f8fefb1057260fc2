#pragma once

class CSheet;

// The line tools (lines, lines at 90 degrees, filled polygons).

// A layer chosen while a line is being drawn (its last segment following the
// pointer) takes the line under construction along with it.
void LineTakesLayer(CSheet& sheet, int layer);
