#include "app/settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "app/program_folder.h"
#include "model/model_defaults.h"

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

namespace {

std::string Fixed3(double value)
{
    char buffer[64];
    const auto result
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    if (result.ec != std::errc())
        return "0.000";
    return std::string(buffer, result.ptr);
}

} // namespace

std::string MillimetreText(int micrometres)
{
    // Whole micrometres have an exact text; no need to pass through binary.
    const int64_t um = micrometres;
    const uint64_t a = static_cast<uint64_t>(um < 0 ? -um : um);
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, "%s%llu.%03llu", um < 0 ? "-" : "",
        static_cast<unsigned long long>(a / 1000), static_cast<unsigned long long>(a % 1000));
    return std::string(buffer, static_cast<size_t>(n));
}

std::string ScaleText(double scale)
{
    return Fixed3(scale);
}

std::optional<double> ParseDecimal(std::string_view text)
{
    const auto isSpace = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    std::string s(text);
    std::replace(s.begin(), s.end(), ',', '.');
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (first != last && *first == '+')
        ++first;
    double value = 0;
    const auto result = std::from_chars(first, last, value);
    if (result.ec != std::errc() || result.ptr != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> MicrometresFromText(std::string_view text)
{
    const std::optional<double> mm = ParseDecimal(text);
    if (!mm)
        return std::nullopt;
    double um = *mm * 1000.0;
    // "1.005" is 1004.9999... micrometres in binary; what the user typed is
    // exactly 1005, so a product that is a whole number but for the last
    // bits counts as that number before the rest is cut off.
    const double nearest = std::round(um);
    if (std::abs(um - nearest) <= std::max(1e-9, std::abs(nearest) * 1e-12))
        um = nearest;
    um = std::trunc(um);
    um = std::clamp(um, double(std::numeric_limits<int32_t>::min()),
        double(std::numeric_limits<int32_t>::max()));
    return static_cast<int>(um);
}
