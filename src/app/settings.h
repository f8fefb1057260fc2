#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/grid.h"
#include "platform/canvas.h"

struct CModelDefaults;

// A font as the configuration keeps it: the 60-byte record of the system's
// font API. Every field is kept, the bytes after the face name's terminator
// too, so a file read and written again is the same file.
struct CLogFont {
    int32_t height = 40;
    int32_t width = 0;
    int32_t escapement = 0; // tenths of a degree
    int32_t orientation = 0;
    int32_t weight = 400;
    uint8_t italic = 0;
    uint8_t underline = 0;
    uint8_t strikeOut = 0;
    uint8_t charSet = 0;
    uint8_t outPrecision = 0;
    uint8_t clipPrecision = 0;
    uint8_t quality = 0;
    uint8_t pitchAndFamily = 0;
    std::array<char, 32> faceName {'A', 'r', 'i', 'a', 'l'}; // Windows-1252

    // Up to the first zero byte, at most 32 bytes.
    std::string Face() const;
    // Keeps at most 31 bytes so that the name stays terminated.
    void SetFace(std::string_view cp1252);
    CFontDesc ToFontDesc() const;

    friend bool operator==(const CLogFont&, const CLogFont&) = default;
};

// The folders and files that the settings fall back to; UTF-8 paths.
struct CDefaultPaths {
    std::string projects;
    std::string templates;
    std::string symbols;
    std::string pictures;
    std::string strokeFont;
    std::string backup;

    // Beside the program (ProgramFolder()), the backup folder in
    // DefaultBackupFolder().
    static CDefaultPaths ForProgram();

    friend bool operator==(const CDefaultPaths&, const CDefaultPaths&) = default;
};

inline constexpr int kMinUndoLevels = 1;
inline constexpr int kMaxUndoLevels = 20;
inline constexpr int kMaxReserveCopies = 10;
inline constexpr int kMaxReserveInterval = 10; // minutes
inline constexpr double kMinPrinterScale = 0.01;
inline constexpr double kMaxPrinterScale = 100.0;
inline constexpr int kMinStrokeFontSize = 1;
inline constexpr int kMaxStrokeFontSize = 10001;

// The program's settings, as the configuration file and dialog hold them.
// Folder and file names are UTF-8.
struct CSettings {
    // The defaults of every setting, the folders from `paths`.
    explicit CSettings(const CDefaultPaths& paths = CDefaultPaths::ForProgram());

    CDefaultPaths defaults; // what "Standaard" and an empty backup folder give

    // Printing.
    bool fitToPaper = true;
    bool autoRotate = true;
    double printerScale = 1.0;
    bool blackAndWhite = false;

    // Grids for new sheets, and whether a change reaches every open sheet.
    CGridArr grids;
    bool gridToAllSheets = true;

    // Folders and files.
    std::string projectsFolder;
    std::string templatesFolder;
    std::string symbolsFolder;
    std::string picturesFolder;
    std::string backupFolder;
    std::string strokeFontFile;
    int strokeFontSize = 50;
    std::array<CLogFont, 8> fonts {};

    // Reserve copies.
    int maxReserveCopies = 2;
    int reserveInterval = 1; // minutes
    bool autoReserve = true;

    // Options.
    bool loadLastProject = true;
    int undoLevels = 10;
    bool showToolBar = true;
    bool showToolSet = true;
    bool showStatusBar = true;
    bool showScrollBars = true;
    bool longCursor = false;

    // Brings every value into the range the dialog allows, makes the grids
    // safe to index and draw with, and gives an empty backup folder its
    // default.
    void KeepInRange();

    // Fills what the model reads of the configuration.
    void ApplyTo(CModelDefaults& model) const;

    friend bool operator==(const CSettings&, const CSettings&) = default;
};

// With "Toepassen op alle bladen" on, a sheet takes the configured grids
// (the grid in force stays the sheet's own).
void ApplyGridsToSheet(const CSettings& settings, CGridArr& sheetGrids);

// The printer scale with three decimals. The other numbers of the dialog's
// texts are read and shown by model/number_text.h.
std::string ScaleText(double scale);
