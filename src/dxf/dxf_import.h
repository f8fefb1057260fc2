#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "model/etrec.h"
#include "model/record_list.h"
#include "model/stroke_font.h"

class CDovereduDoc;

// Shown first when a DXF file cannot be imported, above the reason.
inline constexpr std::string_view kMsgDXFImportIncomplete = "Import is niet voltooid!";
// A file without the sections of a DXF file (%1: the file).
inline constexpr std::string_view kMsgNotDXF = "%1 is geen DXF-bestand.";
// A file that ends inside a section: what came before it is imported.
inline constexpr std::string_view kMsgDXFEndedEarly
    = "%1 eindigt midden in een sectie: alleen wat ervoor stond is ingelezen.";
// Collected records that do not fit one sheet.
inline constexpr std::string_view kMsgDXFTooLarge = "De tekening in %1 past niet op een blad.";

// Reads the line work of a DXF file (text form) into element records. It is
// a line scanner for the entities a schematic needs, not a full DXF reader:
// LINE, CIRCLE, ARC, SOLID, POLYLINE, LWPOLYLINE and TEXT are read, anything
// else is skipped. Records are in micrometres with the DXF's y axis (upward);
// every block definition flagged 64 (or without flags) is written as a
// symbol file instead of being collected.
class CDXFImport {
public:
    // Texts are built with a copy of this font.
    explicit CDXFImport(const CDovereduFont& font);

    // Reads the file; false, with `error` saying why, when it is no regular
    // file that can be opened or has no DXF sections. A damaged file gives
    // what could be read; one cut short inside a section sets `endedEarly`.
    bool Import(const std::filesystem::path& path);

    // Why the last Import failed, for the user.
    std::string error;
    // The last file read ended inside a section.
    bool endedEarly = false;

    // The collected records: no sentinel, y pointing up.
    const CRecordVector& Records() const { return records; }
    CRecordVector& Records() { return records; }

    // Where block symbol files go: created when the first one is written.
    // Empty: blocks are read but not written.
    std::filesystem::path symbolFolder;
    // The symbol files written by the last Import.
    std::vector<std::filesystem::path> writtenSymbols;

    // The scale S and block factor B chosen from the header.
    double scale = 1.0;
    double blockFactor = 1.0;

    // A block name as a symbol file name (without ".SYM"): a leading "*"
    // becomes "$", and every character that a file name may not hold or that
    // could lead out of the folder becomes "_". Empty for an empty name.
    static std::string SymbolFileName(std::string_view blockName);
    // The file name of a block that is not yet taken by another block of
    // this import: names that differ only in case count as the same (symbol
    // files are found without regard to case), so a later one gets "_2",
    // "_3", ... after it.
    std::string DistinctSymbolFileName(std::string_view blockName);
    // A DXF text without its "%%" control codes: everything up to and with
    // the character after each "%%" is dropped.
    static std::string StripControlCodes(std::string_view text);
    // The pen of a LINE's line type.
    static int LinePen(std::string_view lineType);

    static constexpr int kLayer = 11;
    static constexpr int kTextLayer = 10;
    static constexpr int kTextLayerWithoutGroup8 = 8;

private:
    class CReader;

    // Scans the header for the extents and chooses S and B.
    void ChooseScale(std::FILE* file);
    void ReadBlocks(CReader& in);
    void ReadEntities(CReader& in, bool inBlock);
    void ReadLine(CReader& in);
    void ReadCircle(CReader& in, bool arc);
    void ReadSolid(CReader& in);
    void ReadPolyline(CReader& in);
    void ReadLwPolyline(CReader& in);
    void ReadText(CReader& in);
    void WriteBlock(const std::string& name);

    // A DXF length in micrometres through S and F; false when it leaves the
    // 32-bit range (or is not a number).
    bool Scaled(double v, int32_t& out) const;
    bool ScaledPoint(double x, double y, CPoint& out) const;
    void Add(int32_t x, int32_t y, int layer, int pen, int block);

    // Where the font's capitals stand, in thirds of a font unit below the
    // cursor, when the font has no "H" to measure.
    static constexpr int kDefaultBaseline = 78;

    CDovereduFont font;
    std::set<std::string> symbolNames; // taken by this import, in lower case
    int baseline = 0;
    CRecordList textBuffer; // the strokes of one text
    CRecordVector records;
    size_t floor = 0; // the first record of the block being read
    double entityFactor = 1.0;
    int currentBlock = 0; // the block number of the last text collected
    // The corners of the last SOLID, in DXF units.
    struct CSolidCorners {
        double x[4] = {};
        double y[4] = {};
    } solid;
};

// What an import of a DXF file into a project gives.
struct CDXFImportResult {
    bool imported = false; // a sheet was added
    // For the user: why nothing was imported, or what went wrong with what
    // was imported (the file ended early). Empty when all went well.
    std::string message;
};

// Imports a DXF file into the project as a new active sheet
// "DXF-Import:<n>" and writes its blocks as symbol files into the group
// folder named after the file's title below `symbolsFolder` (none when that
// is empty). When nothing is imported the project is as it was.
CDXFImportResult ImportDXF(CDovereduDoc& doc, const std::filesystem::path& path,
    const std::filesystem::path& symbolsFolder, const CDovereduFont& font);
