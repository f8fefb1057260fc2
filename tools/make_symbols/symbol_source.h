#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/etrec.h"
#include "platform/types.h"

class CDovereduFont;

// The starter library of symbols, written as text (symbols.txt) and turned
// into symbol files. Per symbol: its group and name, then its figures in mm
// from the reference point (x to the right, y down), one per line:
//
//   group Installatie/Wandcontactdozen     the group of the symbols that follow
//   symbol Wandcontactdoos (WCD)           starts a symbol
//   layer 1 | pen 2                        for the figures that follow (1 and 1 at the start)
//   connect 0,0 5,0                        connection points: on 5 mm multiples
//   line 0,0 0,-2 ...                      a polyline
//   rect 0,0 5,5 | ellipse 0,0 5,3         by two corners
//   circle 0,-2.5 2.5                      centre and radius
//   arc 0,-2 2.5 0 180                     centre, radius, from and to (degrees,
//                                          anticlockwise from the x axis)
//   fill 0,0 2,0 2,2                       a filled polygon (closed by itself)
//   fillcircle 0,0 1 | fillarc c r a b     filled, the arc closed by its chord
//   dot 0,0                                a junction dot
//   text 0,-5 2.5 M                        letters centred on the point, capital height
//
// Given coordinates lie on the 0.1 mm grid of symbol files; points that are
// computed (circles, arcs, letters) are rounded to it. The rules every symbol
// keeps: the reference point is one of its connection points, all of which
// lie on multiples of 5 mm (the snap of the grids, so that wires meet them);
// layer 1 with pens 1 to 3, and layer 8 (mechanical links) with the dashed
// pens 2 and 3.
struct CSourceSymbol {
    std::string group; // "/" between levels
    std::string name; // UTF-8, as the file is named
    std::vector<CSym> records;
    std::vector<CPoint> connections; // in 0.1 mm
    int line = 0; // where it starts in the text
};

struct CSourceResult {
    std::vector<CSourceSymbol> symbols;
    std::vector<std::string> errors; // "line N: ..."
};

// Reads the description; the letters come from `font`.
CSourceResult ReadSymbolSource(std::string_view text, const CDovereduFont& font);

// The rules above, checked on the symbol as it will be written: an empty
// list when it keeps them all.
std::vector<std::string> CheckSymbolRules(const CSourceSymbol& symbol);

// Writes every symbol to `folder`/group/name.SYM; the files written, or
// nothing when one could not be written (with the reason in `error`).
std::vector<std::filesystem::path> WriteSymbolLibrary(const std::vector<CSourceSymbol>& symbols,
    const std::filesystem::path& folder, std::string& error);
