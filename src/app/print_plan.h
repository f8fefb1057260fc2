#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

class CCanvas;
class CDovereduDoc;
class CSheet;
struct CSettings;

// What the configuration says about printing a sheet.
struct CPrintOptions {
    double scale = 1.0;
    bool fitToPaper = true;
    bool autoRotate = true;
    bool blackAndWhite = false;
};
CPrintOptions PrintOptionsFrom(const CSettings& settings);

// A printer page as the device gives it: the printable area in device
// pixels, its top-left corner being (0, 0), and the resolution, which
// counts for both directions.
struct CPrintPage {
    CSize size;
    int pixelsPerInch = 600;
};

enum class PageOrientation { Portrait, Landscape };

// With automatic rotation the paper turns, not the drawing: landscape for a
// sheet wider than high, portrait otherwise (a square sheet too).
PageOrientation OrientationFor(const CRect& sheetExtent);

// Draws the sheet upright on one page: at the scale (1.0 is true size) or
// fitted to the page, 1 mm from the page's top-left corner, in the sheet's
// print colours or black as the configuration says.
void PrintSheet(CSheet& sheet, CCanvas& dc, const CPrintPage& page, double scale, bool fitToPaper);

// One sheet printed as a job of its own.
struct CPrintJob {
    int sheet = 0; // index in the project
    std::string name; // the job's name: the sheet's name, UTF-8
    std::string fileLabel; // UTF-8, safe in a file name and unique in the plan
    std::optional<PageOrientation> orientation; // only with automatic rotation
};

// The jobs for the chosen sheet indices, in the order given; an index that
// names no sheet is left out.
std::vector<CPrintJob> PlanPrintJobs(
    const CDovereduDoc& doc, const std::vector<int>& chosen, bool autoRotate);

// "<project> - <sheet>.pdf": the file a printed page goes to on a machine
// without a printer. The project's title is that of its file, or the running
// name of a project never saved.
std::string PrintFileName(const CDovereduDoc& doc, const CPrintJob& job);

// Beside the project file, or in the projects folder (UTF-8) for a project
// never saved.
std::filesystem::path PrintFilePath(
    const CDovereduDoc& doc, const CPrintJob& job, const std::string& projectsFolder);

// The file of one job when the user printed to the file `chosen`: that file
// for a single job; with several jobs every job writes a file of its own,
// "<stem> - <sheet>.pdf" beside it, so that no job overwrites another.
std::filesystem::path JobOutputFile(
    const std::filesystem::path& chosen, const CPrintJob& job, size_t jobCount);
