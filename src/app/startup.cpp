#include "app/startup.h"

#include <algorithm>

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
