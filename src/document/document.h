#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/sheet.h"
#include "platform/types.h"

class CArchive;
class CGridArr;

// One open project: its ordered sheets, the active one, four texts of
// project information and the working time, and its file.
class CDovereduDoc {
public:
    static constexpr int32_t kVersion = 900;

    // What closing the project asks the user.
    enum class CloseQuestion {
        None, // close without a question
        SaveToPath, // "<path>opslaan?"
        SaveNew, // "Nieuw project opslaan?"
    };

    CDovereduDoc();
    ~CDovereduDoc();

    // The whole project, in either direction. Loading leaves loadComplete
    // 0 for a file of an unknown version; storing changes nothing (a reserve
    // copy is no save).
    void Serialize(CArchive& ar);
    void ResetContents();
    void RefreshSheetLists(bool fill);
    void SetActiveSheet(int index);
    CSheet& GetActiveSheet();
    bool HasSheets() const { return !sheets.empty(); }
    void SetViewRect(int left, int top, int right, int bottom);
    void MarkChanged(bool on = true);
    // Appends a sheet made with these constructor values; the active sheet
    // stays the same. Returns its index.
    int AddSheet(int kind, const std::string& name, const std::string& title);
    // "Geen sjabloon gebruiken": a new active sheet with the frame of a new
    // sheet, recorded as an undo step.
    void AddDefaultSheet();
    // Adds a copy of a template sheet as the new active sheet, recorded as an
    // undo step.
    void AddSheetFrom(const CSheet& templateSheet);
    // Removes a sheet; 0 without any change when there are none. With no sheet
    // left the project counts as unchanged.
    int DeleteSheet(int index);
    int DeleteActiveSheet();
    // The following (preceding) sheet becomes active, wrapping round; the
    // previous index, or -1 when the active sheet did not change.
    int NextSheet();
    int PreviousSheet();
    // Puts the sheets in a new order: position j takes the sheet that stood at
    // order[j], named names[j]. The active index keeps its number.
    void ReorderSheets(const std::vector<int>& order, const std::vector<std::string>& names);
    void RenameActiveSheet(const std::string& name);
    void RecordUndoStep();
    static std::string FormatWorkingTime(int32_t ms);
    // Adds the time since the start tick to the working time (saturating).
    void UpdateWorkingTime(uint32_t nowTick);

    // Reads a project file; on failure the message for the user, and the
    // document holds nothing of the file.
    std::optional<std::string> Open(const std::string& path);
    // Restarts every sheet's undo history, then writes the project to a
    // temporary file beside the target and renames it; on failure the
    // message for the user, and the old file is as it was. A saved project
    // needs no reserve copy until it changes again.
    std::optional<std::string> Save(const std::string& path);
    // The project as the bytes of its file.
    std::vector<uint8_t> Store(const std::string& fileName = {});
    // Decides whether closing asks to save; clears the selections as it
    // looks (a pending selection edit counts as a change).
    CloseQuestion DecideClose();

    // Stored.
    std::string projectGroup = "Geen projectgroep";
    std::string projectName = "Nieuw project";
    std::string projectManager;
    std::string notes = "Geen opmerkingen";
    int32_t workingTime = 0;
    std::vector<std::unique_ptr<CSheet>> sheets;
    int32_t activeSheet = 0;

    // Not stored.
    // The version number of the layout the file was read in; none for the
    // oldest layout, which stores the working time in its place.
    std::optional<int32_t> fileVersion = kVersion;
    int changedSinceBackup = 0;
    // What "Selectie bewerken" last confirmed, for the life of the project.
    struct SelectionEditSettings {
        int32_t mirrorX = 0;
        int32_t mirrorY = 0;
        int32_t rotate = 0;
        int32_t angle = 0;
        int32_t changePen = 0;
        int32_t changeLayer = 0;
        int32_t scale = 0;
        double factor = 1.0;
        std::string penFrom = "0";
        std::string penTo = "0";
        std::string layerFrom = "0";
        std::string layerTo = "0";
    } selectionEdit;
    bool loadComplete = true;
    CRect viewRect;
    uint32_t startTick = 0;
    uint8_t keyPrefix = 0;

    // The file: its path (empty for a project never saved), its title and
    // whether it changed since it was opened or saved.
    std::string pathName;
    std::string title;
    bool modified = false;
    // When the file is a reserve copy opened in place of a project: that
    // project's file, where saving proposes to put it.
    std::string replacedProject;

    // The sheet and layer lists the main window shows.
    std::vector<std::string> sheetList;
    int sheetListSelection = 0;
    std::vector<std::string> layerList;
    int layerListSelection = 0;

    // Called by RefreshSheetLists for every sheet's grids when the project
    // has sheets: the configuration replaces them when it says so.
    std::function<void(CGridArr&)> applyConfiguredGrids;

private:
    void Load(CArchive& ar);
};
