#include "app/settings.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "app/program_folder.h"
#include "model/model_defaults.h"
#include "model/number_text.h"

std::string CLogFont::Face() const
{
    const auto end = std::find(faceName.begin(), faceName.end(), '\0');
    return std::string(faceName.begin(), end);
}

void CLogFont::SetFace(std::string_view cp1252)
{
    faceName.fill('\0');
    const size_t n = std::min(cp1252.size(), faceName.size() - 1);
    std::copy_n(cp1252.begin(), n, faceName.begin());
}

CFontDesc CLogFont::ToFontDesc() const
{
    CFontDesc desc;
    desc.face = Face();
    // A negative height asks for the character height, a positive one for
    // the cell height; both sizes are near enough for a default, and every
    // text sets its own height anyway. Zero keeps the description's size.
    const int64_t h = std::llabs(int64_t {height});
    if (h > 0)
        desc.height = static_cast<int>(std::min<int64_t>(h, std::numeric_limits<int>::max()));
    desc.weight = weight;
    desc.italic = italic != 0;
    desc.escapement = escapement;
    return desc;
}

CDefaultPaths CDefaultPaths::ForProgram()
{
    const std::filesystem::path folder = ProgramFolder();
    CDefaultPaths paths;
    paths.projects = (folder / "Projecten").string();
    paths.templates = (folder / "Sjablonen").string();
    paths.symbols = (folder / "Symbolen").string();
    paths.pictures = (folder / "Afbeeldingen").string();
    paths.strokeFont = (folder / "Vorelpf1.dat").string();
    paths.backup = DefaultBackupFolder().string();
    return paths;
}

CSettings::CSettings(const CDefaultPaths& paths)
    : defaults(paths)
    , projectsFolder(paths.projects)
    , templatesFolder(paths.templates)
    , symbolsFolder(paths.symbols)
    , picturesFolder(paths.pictures)
    , backupFolder(paths.backup)
    , strokeFontFile(paths.strokeFont)
{
}

void CSettings::KeepInRange()
{
    undoLevels = std::clamp(undoLevels, kMinUndoLevels, kMaxUndoLevels);
    maxReserveCopies = std::clamp(maxReserveCopies, 0, kMaxReserveCopies);
    reserveInterval = std::clamp(reserveInterval, 0, kMaxReserveInterval);
    strokeFontSize = std::clamp(strokeFontSize, kMinStrokeFontSize, kMaxStrokeFontSize);
    printerScale = std::isnan(printerScale)
        ? 1.0
        : std::clamp(printerScale, kMinPrinterScale, kMaxPrinterScale);

    // The grid in force indexes the three grids; the display choice is one
    // of three, and the remembered one is a visible one.
    if (grids.activeGrid < 0 || grids.activeGrid > 2)
        grids.activeGrid = CGridArr::kDraw;
    for (CGrid& g : grids.grids) {
        if (g.display < 0 || g.display > 2)
            g.display = 2;
        if (g.lastDisplay < 1 || g.lastDisplay > 2)
            g.lastDisplay = 2;
    }

    if (backupFolder.empty())
        backupFolder = defaults.backup;
}

void CSettings::ApplyTo(CModelDefaults& model) const
{
    model.undoLimit = undoLevels;
    model.grids = grids;
    model.strokeFontPath = strokeFontFile;
    model.strokeFontSize = strokeFontSize;
    for (size_t i = 0; i < fonts.size(); ++i)
        model.fonts[i] = fonts[i].ToFontDesc();
    model.blackAndWhitePrinting = blackAndWhite;
}

void ApplyGridsToSheet(const CSettings& settings, CGridArr& sheetGrids)
{
    if (settings.gridToAllSheets)
        sheetGrids.CopyFrom(settings.grids);
}

std::string ScaleText(double scale)
{
    return FixedText(scale, 3);
}
