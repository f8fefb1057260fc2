#include "app/program_folder.h"

#include <cstdlib>
#include <system_error>

namespace {

std::filesystem::path& ExecutableFolder()
{
    static std::filesystem::path folder;
    return folder;
}

const char* NonEmptyEnv(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

} // namespace

void SetExecutableFolder(const std::filesystem::path& folder)
{
    ExecutableFolder() = folder;
}

bool ProgramFolderFromEnvironment()
{
    return NonEmptyEnv("RIDIZAV_HOME") != nullptr;
}

std::filesystem::path ProgramFolder()
{
    if (const char* home = NonEmptyEnv("RIDIZAV_HOME"))
        return home;
    if (!ExecutableFolder().empty())
        return ExecutableFolder();
    // A front end that never named its folder: ask the system.
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return exe.parent_path();
    return std::filesystem::current_path(ec);
}

std::filesystem::path DefaultBackupFolder()
{
    if (ProgramFolderFromEnvironment())
        return ProgramFolder() / "ETT";
    std::filesystem::path data;
    // A relative XDG_DATA_HOME is invalid and is ignored.
    const char* xdg = NonEmptyEnv("XDG_DATA_HOME");
    if (xdg != nullptr && std::filesystem::path(xdg).is_absolute())
        data = xdg;
    else if (const char* home = NonEmptyEnv("HOME"))
        data = std::filesystem::path(home) / ".local" / "share";
    else
        return ProgramFolder() / "ETT";
    return data / "Vorel Ridizav" / "ETT";
}
