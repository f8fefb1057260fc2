#pragma once

#include <vector>

#include "model/etrec.h"

// The records of the figures the drawing tools build from a dragged
// rectangle.

// Builds an ellipse in the given bounding rectangle as a closed polyline:
// a move to the bottom of the ellipse, then one point every s degrees round
// to 360. Appends to `out` and returns false (nothing appended) when a
// semi-axis is below 16 micrometres.
bool BuildEllipseRecords(int left, int top, int right, int bottom, int layer, int pen, bool filled,
    std::vector<CETREC>& out);

// The angle step of an ellipse with the larger semi-axis r, in degrees.
int EllipseAngleStep(int r);

// The five records of a rectangle, appended to `out`.
void BuildRectangleRecords(
    int left, int top, int right, int bottom, int layer, int pen, std::vector<CETREC>& out);
