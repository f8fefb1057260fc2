#pragma once

#include <string>
#include <vector>

class CDovereduDoc;
class CGridArr;

// The sheet text of a drawing brought in from an old version.
inline constexpr const char* kOldDrawingTitle = "Geen opmerkingen";

// Brings drawings of the old versions (".sch", ".sym", ".lmc", ".lay") into
// the project as new sheets after its own, in the given order: each sheet is
// named after its file, loaded from it (a file that cannot be read gives an
// empty sheet), fitted into the document's view rectangle, given the
// configured grids and an undo snapshot. The last one becomes the active
// sheet and the project is marked changed. Returns the files that could not
// be read.
std::vector<std::string> ImportOldDrawings(
    CDovereduDoc& doc, const std::vector<std::string>& paths, const CGridArr& configuredGrids);
