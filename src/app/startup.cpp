#include "app/startup.h"

#include <algorithm>
#include <cstdio>
#include <exception>

void CRecentFileList::Add(const std::string& path)
{
    if (path.empty())
        return;
    Remove(path);
    entries.insert(entries.begin(), path);
    if (static_cast<int>(entries.size()) > kSize)
        entries.resize(kSize);
}

void CRecentFileList::Remove(const std::string& path)
{
    entries.erase(std::remove(entries.begin(), entries.end(), path), entries.end());
}

void CRecentFileList::SetEntries(std::vector<std::string> paths)
{
    entries.clear();
    for (auto& p : paths) {
        if (!p.empty() && std::find(entries.begin(), entries.end(), p) == entries.end()
            && static_cast<int>(entries.size()) < kSize)
            entries.push_back(std::move(p));
    }
}

CStartupPlan PlanStartup(const std::vector<std::string>& commandLineFiles, bool loadLastProject,
    const CRecentFileList& recent)
{
    CStartupPlan plan;
    if (!commandLineFiles.empty()) {
        plan.openPath = commandLineFiles.front();
        plan.fromCommandLine = true;
        return plan;
    }
    plan.showSplash = true;
    if (loadLastProject && !recent.Entries().empty())
        plan.openPath = recent.Entries().front();
    return plan;
}

int RunReportingFailures(int (*run)(int, char**), int argc, char** argv)
{
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Unexpected failure: %s\n", e.what());
    } catch (...) {
        std::fputs("Unexpected failure.\n", stderr);
    }
    return 1;
}
