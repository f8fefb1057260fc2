#include "app/print_plan.h"

#include <algorithm>

#include "app/settings.h"
#include "document/dir.h"
#include "document/document.h"
#include "model/sheet.h"
#include "model/text_encoding.h"

namespace {

// Characters that would name a folder or that no file name should hold.
std::string FileSafe(std::string name)
{
    for (char& c : name) {
        if (CDir::IsSeparator(c) || static_cast<unsigned char>(c) < 0x20)
            c = '_';
    }
    return name;
}

bool SameLabel(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
        return lower(x) == lower(y);
    });
}

std::string ProjectTitle(const CDovereduDoc& doc)
{
    const std::string title = CDir::TitleOf(doc.pathName.empty() ? doc.title : doc.pathName);
    return title.empty() ? std::string("Project") : FileSafe(title);
}

} // namespace

CPrintOptions PrintOptionsFrom(const CSettings& settings)
{
    return {
        settings.printerScale, settings.fitToPaper, settings.autoRotate, settings.blackAndWhite};
}

PageOrientation OrientationFor(const CRect& sheetExtent)
{
    return int64_t {sheetExtent.right} - sheetExtent.left
            > int64_t {sheetExtent.bottom} - sheetExtent.top
        ? PageOrientation::Landscape
        : PageOrientation::Portrait;
}

void PrintSheet(CSheet& sheet, CCanvas& dc, const CPrintPage& page, double scale, bool fitToPaper)
{
    sheet.DrawForPrinter(dc, page.size, page.pixelsPerInch, scale, fitToPaper);
}

std::vector<CPrintJob> PlanPrintJobs(
    const CDovereduDoc& doc, const std::vector<int>& chosen, bool autoRotate)
{
    std::vector<CPrintJob> jobs;
    for (const int i : chosen) {
        if (i < 0 || i >= static_cast<int>(doc.sheets.size()))
            continue;
        const CSheet& sheet = *doc.sheets[static_cast<size_t>(i)];
        CPrintJob job;
        job.sheet = i;
        job.name = Cp1252ToUtf8(sheet.sheetName);
        // Sheets may share a name, and a file system may not tell case apart.
        const std::string base = FileSafe(job.name.empty() ? std::string("Blad") : job.name);
        job.fileLabel = base;
        for (int n = 2; std::any_of(jobs.begin(), jobs.end(),
                 [&](const CPrintJob& j) { return SameLabel(j.fileLabel, job.fileLabel); });
             ++n)
            job.fileLabel = base + " (" + std::to_string(n) + ")";
        if (autoRotate)
            job.orientation = OrientationFor(sheet.sheetExtent);
        jobs.push_back(std::move(job));
    }
    return jobs;
}

std::string PrintFileName(const CDovereduDoc& doc, const CPrintJob& job)
{
    return ProjectTitle(doc) + " - " + job.fileLabel + ".pdf";
}

std::filesystem::path PrintFilePath(
    const CDovereduDoc& doc, const CPrintJob& job, const std::string& projectsFolder)
{
    const std::filesystem::path folder = doc.pathName.empty()
        ? std::filesystem::path(projectsFolder)
        : std::filesystem::path(doc.pathName).parent_path();
    return folder / PrintFileName(doc, job);
}

std::filesystem::path JobOutputFile(
    const std::filesystem::path& chosen, const CPrintJob& job, size_t jobCount)
{
    if (jobCount <= 1)
        return chosen;
    std::filesystem::path ext = chosen.extension();
    if (ext.empty())
        ext = ".pdf";
    return chosen.parent_path() / (chosen.stem().string() + " - " + job.fileLabel + ext.string());
}
