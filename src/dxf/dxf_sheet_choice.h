#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/dxf_export.h"

class CDovereduDoc;

// The two lists of the DXF export dialog: the sheet names still available
// and the names to export. Names are Windows-1252 and compared without
// regard to case; each list holds a name once and is kept sorted.
class CDXFSheetChoice {
public:
    explicit CDXFSheetChoice(const std::vector<std::string>& sheetNames);

    const std::vector<std::string>& Available() const { return available; }
    const std::vector<std::string>& Chosen() const { return chosen; }
    // The selected entry of each list; -1 only when the list is empty.
    int AvailableSelection() const { return availableSelection; }
    int ChosenSelection() const { return chosenSelection; }
    void SelectAvailable(int i);
    void SelectChosen(int i);

    // ">": moves the selected available name; the selection goes on to the
    // name that followed it, or to the new last one.
    void Add();
    // ">>": every name.
    void AddAll();
    // "<": moves the selected name back; the entry at the same place, or the
    // new last one, is selected next.
    void Remove();
    // "<<"
    void RemoveAll();

    // Whether `name` equals an entry of the export list (case aside).
    bool IsChosen(std::string_view name) const;

private:
    void Refresh();

    std::vector<std::string> names; // every distinct name, sorted
    std::vector<std::string> available;
    std::vector<std::string> chosen;
    int availableSelection = -1;
    int chosenSelection = -1;
};

// Comparison of names as the lists do it: ASCII letters without regard to
// case.
bool SameName(std::string_view a, std::string_view b);
bool NameLess(std::string_view a, std::string_view b);

// One file of an export: the sheet and the file name within the folder.
struct CDXFJob {
    int sheet = 0;
    std::string fileName; // UTF-8, "NAME.DXF"
};

// The files for the sheets whose names are among `chosen` (case aside), in
// sheet order. Each file name is the sheet's name with ".DXF"; "Blad" stands
// for an empty name, characters that would name a folder become "_", and a
// name already used in this export (case aside) gets " (2)", " (3)" ...
std::vector<CDXFJob> PlanDXFExport(
    const std::vector<std::string>& sheetNames, const std::vector<std::string>& chosen);

// The folder a project's DXF files go to by default: the projects folder
// with a subfolder named after the project file's title (none for a
// project never saved).
std::filesystem::path DXFExportFolder(
    const std::string& projectsFolder, const std::string& projectPath);

// Writes every planned sheet of the project into `folder`, which must
// exist: one result for each job.
std::vector<CDXFExportResult> ExportSheets(
    const CDovereduDoc& doc, const std::vector<CDXFJob>& jobs, const std::filesystem::path& folder);
