#pragma once

#include <optional>
#include <string>
#include <vector>

// The list of the last projects opened, newest first, at most eight.
class CRecentFileList {
public:
    static constexpr int kSize = 8;

    // Puts the path first, dropping an older entry of the same path.
    void Add(const std::string& path);
    void Remove(const std::string& path);
    const std::vector<std::string>& Entries() const { return entries; }
    void SetEntries(std::vector<std::string> paths);

private:
    std::vector<std::string> entries;
};

// What the program opens when it starts: the project named on its command
// line, else the newest recent project when the configuration says so, else
// nothing (no empty project is made).
struct CStartupPlan {
    std::optional<std::string> openPath;
    bool fromCommandLine = false;
    bool showSplash = false;
};

CStartupPlan PlanStartup(const std::vector<std::string>& commandLineFiles, bool loadLastProject,
    const CRecentFileList& recent);

// Runs a program's main part; an exception that escapes it (memory, say) is
// reported on standard error as "Unexpected failure: ..." and gives exit
// code 1 instead of an abort.
int RunReportingFailures(int (*run)(int, char**), int argc, char** argv);
