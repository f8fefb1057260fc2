#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "model/file_io.h"

class CSheet;

// Writes one DXF file in the R10 text form ("AC1006"): a fixed header,
// fixed tables and blocks, then one POLYLINE per path. Lines end in CR LF.
// The file is written to a temporary file beside the target and renamed
// over it by End, so a failed export leaves an older file as it was.
class CDXFExport {
public:
    // Index: the pen of a path on a dash layer (8 to 15).
    static constexpr std::array<std::string_view, 8> lineTypeNames
        = {"", "CONTINUOUS", "DASHED", "HIDDEN", "CENTER", "DOT", "DASHDOT", "DIVIDE"};

    explicit CDXFExport(const std::filesystem::path& path);
    ~CDXFExport();
    CDXFExport(const CDXFExport&) = delete;
    CDXFExport& operator=(const CDXFExport&) = delete;

    // Creates the temporary file and writes everything up to the first
    // entity. False, with Error() set, when the file cannot be created.
    bool Begin(int width, int height);
    // One point of a path, in file units relative to the sheet's lowest
    // point (y not yet flipped). A point with `first` starts a new path;
    // nothing is written until its second point arrives.
    void AddPoint(int x, int y, int layer, int width, int pen, bool first);
    // Ends the file and puts it in place. False, with Error() set, when the
    // file could not be written.
    bool End();

    const std::string& Error() const { return error; }

private:
    void Put(std::string_view text);
    void Group(int code, std::string_view value);
    void Group(int code, int value);
    void WriteFixedPart();
    void WritePolylineHeader();
    void WriteVertex();
    void WritePathEnd();
    void FlushBuffer();
    void Discard();

    CAtomicFile out;
    int state = 0; // 0 = not yet written; 2 = header written, entities may follow
    bool pathOpen = false;
    int width = 0;
    int height = 0;
    int pointX = 0;
    int pointY = 0;

    // The text of a path's POLYLINE up to its widths and of a VERTEX up to
    // its X, made once for each layer and line type.
    struct Prefixes {
        std::string polyline;
        std::string vertex;
    };
    static Prefixes MakePrefixes(int layer, std::string_view lineType);
    static constexpr int kLayers = 16;
    std::array<Prefixes, kLayers * 8> prefixCache;
    Prefixes otherPrefixes; // a layer outside 0 to 15
    const Prefixes* prefixes = nullptr;
    int startWidth = 1;
    int endWidth = 1;
    int lastStartWidth = 0;
    int lastEndWidth = 0;
    std::string error;

    static constexpr size_t kBufferSize = 1 << 20;
    std::unique_ptr<char[]> buffer;
    size_t used = 0;
};

// The outcome of exporting one sheet.
struct CDXFExportResult {
    // False without an error when the sheet has no width or no height in
    // file units: then no file is made.
    bool written = false;
    std::string error;

    bool Failed() const { return !error.empty(); }
};

// Exports the line work of a sheet: every path of element records as one
// POLYLINE, in units of 0.1 mm with the Y axis pointing up.
CDXFExportResult ExportDXF(const CSheet& sheet, const std::filesystem::path& path);
