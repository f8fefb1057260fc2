#include "document/document.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "document/dir.h"
#include "document/picture_folder.h"
#include "model/archive.h"
#include "model/file_io.h"

namespace {

constexpr int32_t kOldestLayoutAbove = 2000;
constexpr const char* kOpenFailed = "Failed to open document.";

} // namespace

CDovereduDoc::CDovereduDoc() = default;
CDovereduDoc::~CDovereduDoc() = default;

void CDovereduDoc::ResetContents()
{
    sheets.clear();
    activeSheet = 0;
    projectGroup = "Geen projectgroep";
    projectName = "Nieuw project";
    projectManager.clear();
    notes = "Geen opmerkingen";
    workingTime = 0;
    changedSinceBackup = 0;
    loadComplete = true;
    modified = false;
    selectionEdit = SelectionEditSettings();
    keyPrefix = 0;
    sheetList.clear();
    sheetListSelection = 0;
    layerList.clear();
    layerListSelection = 0;
    fileVersion = kVersion;
}

void CDovereduDoc::Serialize(CArchive& ar)
{
    if (ar.IsLoading()) {
        Load(ar);
        return;
    }
    ar.WriteInt(kVersion);
    ar.WriteString(projectGroup);
    ar.WriteString(projectName);
    ar.WriteString(projectManager);
    ar.WriteString(notes);
    ar.WriteInt(workingTime);
    ar.WriteCount(static_cast<uint32_t>(sheets.size()));
    for (const auto& sheet : sheets)
        ar.WriteObject(sheet.get());
    ar.WriteInt(activeSheet);
}

void CDovereduDoc::Load(CArchive& ar)
{
    ResetContents();
    loadComplete = false;
    const int32_t version = ar.ReadInt();
    if (version > kOldestLayoutAbove) {
        // The oldest files start with the working time and store the sheet
        // bodies one after another, without object references.
        fileVersion = std::nullopt;
        workingTime = version;
        projectGroup = ar.ReadString();
        projectName = ar.ReadString();
        projectManager = ar.ReadString();
        notes = ar.ReadString();
        const int32_t n = ar.ReadInt();
        for (int32_t i = 0; i < n; ++i) {
            auto sheet = std::make_unique<CSheet>();
            sheet->clientRect = viewRect;
            sheet->Serialize(ar);
            sheets.push_back(std::move(sheet));
        }
    } else if (version == 811 || version == 820 || version == kVersion) {
        fileVersion = version;
        projectGroup = ar.ReadString();
        projectName = ar.ReadString();
        projectManager = ar.ReadString();
        notes = ar.ReadString();
        workingTime = ar.ReadInt();
        const uint32_t n = ar.ReadCount();
        ar.Require(uint64_t {n} * 2); // every reference takes at least a word
        for (uint32_t i = 0; i < n; ++i)
            sheets.push_back(ar.ReadOwned<CSheet>());
        if (version == kVersion)
            activeSheet = ar.ReadInt();
    } else {
        return;
    }
    // A stored index outside the sheets would make every later access fail.
    if (activeSheet < 0 || activeSheet >= static_cast<int32_t>(sheets.size()))
        activeSheet = 0;
    // Every sheet has recomputed its extent and origin as it was read.
    for (auto& sheet : sheets)
        sheet->clientRect = viewRect;
    RefreshSheetLists(true);
    loadComplete = true;
}

void CDovereduDoc::RefreshSheetLists(bool fill)
{
    sheetList.clear();
    layerList.clear();
    sheetListSelection = 0;
    layerListSelection = 0;
    if (!fill)
        return;
    char entry[32];
    for (size_t i = 0; i < sheets.size(); ++i) {
        std::snprintf(entry, sizeof entry, "%d: ", static_cast<int>(i + 1));
        sheetList.push_back(entry + sheets[i]->sheetName);
    }
    sheetListSelection = std::max(activeSheet, 0);
    if (sheets.empty())
        return;
    const CSheet& active = GetActiveSheet();
    for (int i = 1; i < kLayerCount; ++i)
        layerList.push_back(active.layers.DisplayName(i, "Laag %d"));
    layerListSelection = std::max(active.activeLayer - 1, 0);
    if (applyConfiguredGrids) {
        for (auto& sheet : sheets)
            applyConfiguredGrids(sheet->grids);
    }
}

void CDovereduDoc::SetActiveSheet(int index)
{
    activeSheet = index;
    RefreshSheetLists(true);
}

CSheet& CDovereduDoc::GetActiveSheet()
{
    return *sheets.at(static_cast<size_t>(activeSheet));
}

void CDovereduDoc::SetViewRect(int left, int top, int right, int bottom)
{
    viewRect = {left, top, right, bottom};
    for (auto& sheet : sheets)
        sheet->clientRect = viewRect;
}

void CDovereduDoc::MarkChanged(bool on)
{
    changedSinceBackup = on ? 1 : 0;
    modified = on;
}

int CDovereduDoc::AddSheet(int kind, const std::string& name, const std::string& title)
{
    sheets.push_back(std::make_unique<CSheet>(kind, name, title));
    return static_cast<int>(sheets.size()) - 1;
}

void CDovereduDoc::AddDefaultSheet()
{
    activeSheet = AddSheet(0, "", "");
    CSheet& sheet = GetActiveSheet();
    sheet.AddFrame(0, 0, 400000, 270000);
    sheet.origin = sheet.Extents();
    RecordUndoStep();
    sheet.clientRect = viewRect;
    RefreshSheetLists(true);
    modified = true;
}

void CDovereduDoc::AddSheetFrom(const CSheet& templateSheet)
{
    activeSheet = AddSheet(0, "", "");
    CSheet& sheet = GetActiveSheet();
    sheet.CopySettingsFrom(templateSheet);
    sheet.clientRect = viewRect;
    sheet.fitMode = 1;
    RecordUndoStep();
    RefreshSheetLists(true);
    MarkChanged();
}

int CDovereduDoc::DeleteSheet(int index)
{
    if (sheets.empty() || index < 0 || index >= static_cast<int>(sheets.size()))
        return 0;
    sheets.erase(sheets.begin() + index);
    if (activeSheet >= static_cast<int>(sheets.size()))
        activeSheet = std::max(static_cast<int>(sheets.size()) - 1, 0);
    if (sheets.empty()) {
        MarkChanged(false);
        RefreshSheetLists(false);
    } else {
        MarkChanged();
        RefreshSheetLists(true);
    }
    return 1;
}

int CDovereduDoc::DeleteActiveSheet()
{
    return DeleteSheet(activeSheet);
}

int CDovereduDoc::NextSheet()
{
    const int n = static_cast<int>(sheets.size());
    if (n < 2)
        return -1;
    const int previous = activeSheet;
    SetActiveSheet((activeSheet + 1) % n);
    return previous;
}

int CDovereduDoc::PreviousSheet()
{
    const int n = static_cast<int>(sheets.size());
    if (n < 2)
        return -1;
    const int previous = activeSheet;
    SetActiveSheet((activeSheet + n - 1) % n);
    return previous;
}

void CDovereduDoc::ReorderSheets(
    const std::vector<int>& order, const std::vector<std::string>& names)
{
    if (order.size() != sheets.size() || names.size() != sheets.size())
        return;
    std::vector<bool> seen(sheets.size());
    for (int from : order) {
        if (from < 0 || from >= static_cast<int>(sheets.size()) || seen[static_cast<size_t>(from)])
            return; // not a permutation: leave the project as it is
        seen[static_cast<size_t>(from)] = true;
    }
    std::vector<std::unique_ptr<CSheet>> reordered(sheets.size());
    for (size_t j = 0; j < order.size(); ++j)
        reordered[j] = std::move(sheets[static_cast<size_t>(order[j])]);
    sheets = std::move(reordered);
    for (size_t j = 0; j < sheets.size(); ++j)
        sheets[j]->SetName(names[j]);
    RefreshSheetLists(true);
    MarkChanged();
}

void CDovereduDoc::RenameActiveSheet(const std::string& name)
{
    if (sheets.empty())
        return;
    GetActiveSheet().SetName(name);
    RefreshSheetLists(true);
    // A renamed sheet is a change the close question must know of.
    MarkChanged();
}

void CDovereduDoc::RecordUndoStep()
{
    if (sheets.empty())
        return;
    GetActiveSheet().PushUndo();
    changedSinceBackup = 1;
    modified = true;
}

std::string CDovereduDoc::FormatWorkingTime(int32_t ms)
{
    const int32_t t = std::max(ms, 0);
    char text[32];
    std::snprintf(text, sizeof text, "T:%02d:%02d", t / 3600000, (t / 60000) % 60);
    return text;
}

void CDovereduDoc::UpdateWorkingTime(uint32_t nowTick)
{
    const int64_t total = int64_t {workingTime} + static_cast<uint32_t>(nowTick - startTick);
    workingTime = static_cast<int32_t>(std::min<int64_t>(total, INT32_MAX));
    startTick = nowTick;
}

std::optional<std::string> CDovereduDoc::Open(const std::string& path)
{
    // A project file is read as it is taken apart. Only a regular file has a
    // size to check the stored counts against; anything else is refused.
    COpenedFile file = OpenRegularFile(path);
    if (!file) {
        ResetContents();
        return CannotOpenMessage(path, file.error);
    }
    // The file stays open while the sheets' first undo steps may still need
    // their records from it.
    const auto kept = std::make_shared<const CKeptFile>(std::move(file.file));
    try {
        CArchive ar(kept->File(), file.size, path);
        ar.KeepFile(kept);
        Load(ar);
    } catch (const CArchiveException& e) {
        ResetContents();
        return std::string(e.what());
    }
    if (!loadComplete) {
        ResetContents();
        return std::string(kOpenFailed);
    }
    pathName = path;
    title = CDir::TitleOf(path) + CDir::ExtensionOf(path);
    modified = false;
    return std::nullopt;
}

std::vector<uint8_t> CDovereduDoc::Store(const std::string& fileName)
{
    CArchive ar(fileName);
    Serialize(ar);
    return ar.TakeBytes();
}

std::optional<std::string> CDovereduDoc::Save(const std::string& path)
{
    // A project saved in another folder finds its pictures there: it only
    // ever looks in the picture folder beside its own file.
    CopyPicturesBeside(*this, path);
    for (auto& sheet : sheets)
        sheet->RestartUndo();
    // The archive goes to the file as it is made, a buffer at a time.
    CAtomicFile file(path);
    if (!file.Open())
        return "Failed to save document.\n" + file.Error();
    CArchive ar(path, [&file](const uint8_t* data, size_t bytes) { file.Write(data, bytes); });
    Serialize(ar);
    ar.Flush();
    if (!file.Commit())
        return "Failed to save document.\n" + file.Error();
    pathName = path;
    title = CDir::TitleOf(path) + CDir::ExtensionOf(path);
    modified = false;
    replacedProject.clear();
    // The file holds it all: a reserve copy of the same would only push an
    // older one out.
    changedSinceBackup = 0;
    for (auto& sheet : sheets)
        sheet->changedFlag = 0;
    return std::nullopt;
}

CDovereduDoc::CloseQuestion CDovereduDoc::DecideClose()
{
    if (sheets.empty())
        return CloseQuestion::None;
    int count = 0;
    for (auto& sheet : sheets) {
        if (sheet->texts.GetSelectedCount() > 0)
            sheet->texts.DeselectAll();
        if (sheet->selectedCount > 0)
            sheet->ClearSelection();
        if (sheet->pendingChange)
            ++count;
        if (sheet->undoPosition > 0)
            ++count;
    }
    // Besides unrecorded drawing changes, anything that marked the project
    // modified (sheets added, renamed or deleted, the project info, an
    // import) is work the user would lose.
    modified = modified || count > 0;
    if (!modified)
        return CloseQuestion::None;
    return pathName.empty() ? CloseQuestion::SaveNew : CloseQuestion::SaveToPath;
}
