#pragma once

#include <string>
#include <string_view>
#include <vector>

// The folder and file-name helper. Names accept both `\` (project files
// written on Windows carry such paths) and `/`; a ":" separates only a drive
// prefix such as "C:", since Linux file names may contain it.
class CDir {
public:
    enum ListOption : unsigned {
        kNamesOnly = 0,
        kFoldersToo = 1,
        kFullPaths = 2,
        kKeepExtensions = 4,
    };

    // With a "." anywhere and a separator: the part before the last
    // separator; otherwise the path itself.
    static std::string FolderOf(std::string_view path);
    // The name without drive, folders and the part from its last ".".
    static std::string TitleOf(std::string_view path);
    // From the last "." to the end, dot included; empty without a ".".
    static std::string ExtensionOf(std::string_view path);
    // Replaces the characters a command interpreter would act on by spaces.
    static std::string SanitizePath(std::string_view path, bool keepColon);

    // Creates the folder of the path (FolderOf) with its missing parents.
    static bool EnsureFolder(std::string_view path);
    static bool FileExists(std::string_view path);
    static bool FolderExists(std::string_view path);
    static void DeleteFileIfExists(std::string_view path);
    // Renames only when `from` exists and `to` does not.
    static void RenameFile(std::string_view from, std::string_view to);
    // Copies in blocks; false when either file cannot be opened or any read
    // or write falls short, and then no partial copy is left behind. A file
    // copied onto itself is left as it is.
    static bool CopyFile(std::string_view from, std::string_view to);
    // Fills `names` with the entries of the pattern's folder whose names
    // match its last part ("*" and "?", without regard to case), sorted.
    static bool ListFiles(
        std::string_view pattern, std::vector<std::string>& names, unsigned options = kNamesOnly);
    static void SortNames(std::vector<std::string>& names);

    static bool IsSeparator(char c) { return c == '\\' || c == '/'; }
    // Wildcard match without regard to case (ASCII).
    static bool Matches(std::string_view pattern, std::string_view name);
};
