#include "dxf/dxf_sheet_choice.h"

#include <algorithm>

#include "document/dir.h"
#include "document/document.h"
#include "model/text_encoding.h"

namespace {

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The entry equal to `name` (case aside), or -1.
int IndexOf(const std::vector<std::string>& list, std::string_view name)
{
    for (size_t i = 0; i < list.size(); ++i) {
        if (SameName(list[i], name))
            return static_cast<int>(i);
    }
    return -1;
}

void InsertSorted(std::vector<std::string>& list, const std::string& name)
{
    list.insert(std::upper_bound(list.begin(), list.end(), name,
                    [](const std::string& a, const std::string& b) { return NameLess(a, b); }),
        name);
}

} // namespace

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return Lower(x) == Lower(y);
    });
}

bool NameLess(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(Lower(x)) < static_cast<unsigned char>(Lower(y));
    });
}

CDXFSheetChoice::CDXFSheetChoice(const std::vector<std::string>& sheetNames)
{
    for (const std::string& name : sheetNames) {
        if (IndexOf(names, name) < 0)
            InsertSorted(names, name);
    }
    Refresh();
}

void CDXFSheetChoice::SelectAvailable(int i)
{
    if (i >= 0 && i < static_cast<int>(available.size()))
        availableSelection = i;
}

void CDXFSheetChoice::SelectChosen(int i)
{
    if (i >= 0 && i < static_cast<int>(chosen.size()))
        chosenSelection = i;
}

bool CDXFSheetChoice::IsChosen(std::string_view name) const
{
    return IndexOf(chosen, name) >= 0;
}

void CDXFSheetChoice::Add()
{
    if (availableSelection < 0)
        return;
    const std::string name = available[availableSelection];
    const bool last = availableSelection + 1 >= static_cast<int>(available.size());
    const std::string next = last ? std::string() : available[availableSelection + 1];
    if (!IsChosen(name))
        InsertSorted(chosen, name);
    Refresh();
    if (!available.empty())
        availableSelection
            = last ? static_cast<int>(available.size()) - 1 : std::max(0, IndexOf(available, next));
}

void CDXFSheetChoice::AddAll()
{
    chosen = names;
    Refresh();
}

void CDXFSheetChoice::Remove()
{
    if (chosenSelection < 0)
        return;
    const int at = chosenSelection;
    chosen.erase(chosen.begin() + at);
    chosenSelection = std::min(at, static_cast<int>(chosen.size()) - 1);
    Refresh();
}

void CDXFSheetChoice::RemoveAll()
{
    chosen.clear();
    Refresh();
}

void CDXFSheetChoice::Refresh()
{
    const std::string selected
        = availableSelection >= 0 && availableSelection < static_cast<int>(available.size())
        ? available[availableSelection]
        : std::string();
    available.clear();
    for (const std::string& name : names) {
        if (!IsChosen(name))
            available.push_back(name);
    }
    // A list with entries always has one selected.
    availableSelection = available.empty() ? -1 : std::max(0, IndexOf(available, selected));
    if (chosen.empty())
        chosenSelection = -1;
    else if (chosenSelection < 0 || chosenSelection >= static_cast<int>(chosen.size()))
        chosenSelection = 0;
}

std::vector<CDXFJob> PlanDXFExport(
    const std::vector<std::string>& sheetNames, const std::vector<std::string>& chosen)
{
    std::vector<CDXFJob> jobs;
    std::vector<std::string> used;
    for (size_t i = 0; i < sheetNames.size(); ++i) {
        if (std::none_of(chosen.begin(), chosen.end(),
                [&](const std::string& c) { return SameName(c, sheetNames[i]); }))
            continue;
        std::string base = sheetNames[i].empty() ? std::string("Blad") : sheetNames[i];
        for (char& c : base) {
            if (CDir::IsSeparator(c) || static_cast<unsigned char>(c) < 0x20)
                c = '_';
        }
        base = Cp1252ToUtf8(base);
        std::string name = base;
        for (int n = 2; IndexOf(used, name) >= 0; ++n)
            name = base + " (" + std::to_string(n) + ")";
        used.push_back(name);
        jobs.push_back({static_cast<int>(i), name + ".DXF"});
    }
    return jobs;
}

std::filesystem::path DXFExportFolder(
    const std::string& projectsFolder, const std::string& projectPath)
{
    std::filesystem::path folder(projectsFolder);
    const std::string title = CDir::TitleOf(projectPath);
    if (!title.empty())
        folder /= title;
    return folder;
}

std::vector<CDXFExportResult> ExportSheets(
    const CDovereduDoc& doc, const std::vector<CDXFJob>& jobs, const std::filesystem::path& folder)
{
    std::vector<CDXFExportResult> results;
    results.reserve(jobs.size());
    for (const CDXFJob& job : jobs)
        results.push_back(ExportDXF(*doc.sheets.at(job.sheet), folder / job.fileName));
    return results;
}
