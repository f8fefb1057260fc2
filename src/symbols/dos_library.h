#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "model/etrec.h"

class CSheet;

// One coordinate unit of the DOS PCB edition (".BNK", ".LMC", ".LAY") is
// 19.84375 micrometres, 0.1984375 of a symbol-file unit.
inline constexpr double kOldUnitsToSymbolUnits = 0.1984375;
inline constexpr double kOldUnitsToMicrometres = 19.84375;
// A symbol-file unit in micrometres, when a ".SYM" file is read as a sheet.
inline constexpr double kSymbolUnitsToMicrometres = 100;

// The record of a ".BNK" library: byte attributes, like CLay.
using CBnk = CLay;

// The record of a ".LMC" library: the layout of CSym, in old-edition units.
struct CLmc {
    uint16_t blockWord = 0;
    uint16_t styleWord = 0;
    int16_t x = 0;
    int16_t y = 0;

    static constexpr size_t kStoredSize = 8;
};

// Old tracks may run at 45 degrees; the program draws them as a 45-degree leg
// and a straight one. Appends `r` to `out`, preceded by a corner record (same
// attributes) when it draws from the last record of `out` in another
// direction than horizontal, vertical or 45 degrees. Junctions, pen-0
// records, layers 8 to 15 and a first record (no previous point) are
// appended as they are.
void AppendWithCorner(std::vector<CETREC>& out, const CETREC& r);

// One ".BNK" (6-byte records) or ".LMC" (8-byte records, framed by a zero
// record before and after) file to a symbol file, coordinates scaled to
// symbol units with the corner rule applied; the target's folder is made when
// missing and the file is written whole. False when the source cannot be read
// or the target cannot be written, with the reason in `why` when given.
// Bytes after the last whole record are ignored.
bool ConvertLibraryFile(const std::filesystem::path& source, const std::filesystem::path& target,
    std::string* why = nullptr);

// The ".BNK" and ".LMC" files (in any case) below a folder and the symbol
// files they become below the symbols folder, keeping the folder structure:
// every ".BNK" file first, then every ".LMC" file, each in the order of the
// folder walk.
struct CLibraryConversion {
    std::vector<std::filesystem::path> sources;
    std::vector<std::filesystem::path> targets;

    // "source -> target" for each file.
    std::vector<std::string> Lines() const;
    // Converts every file in order; the sources that failed.
    std::vector<std::filesystem::path> Run() const;
};
CLibraryConversion PlanLibraryConversion(
    const std::filesystem::path& root, const std::filesystem::path& symbolsFolder);

// Replaces the sheet's records with the content of a ".LAY" (6-byte records,
// with the old pen widths), ".LMC" (8-byte records, old-edition units) or any
// other file read as a symbol file (8-byte records, 0.1 mm), applying the
// corner rule; then recomputes the extent and takes an undo snapshot. False,
// with the sheet unchanged, when the file cannot be read.
bool LoadLibraryFileAsSheet(CSheet& sheet, const std::filesystem::path& path);
