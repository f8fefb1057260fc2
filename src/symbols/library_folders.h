#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The symbol library is the folder tree below the symbols folder: every
// folder below it, at any depth, is a group, and the symbols of a group are
// the ".SYM" files (in any case) lying directly in its folder. Files directly
// in the symbols folder belong to no group.

// `root` and every folder below it, depth-first in pre-order, the entries of
// each folder sorted by name. A folder that cannot be read is listed but not
// entered, and a folder reached a second time (through a link) is skipped.
std::vector<std::filesystem::path> FolderTree(const std::filesystem::path& root);

// The files directly in `folder` whose names match `pattern` ("*" and "?",
// without regard to case), sorted by name; folders excluded.
std::vector<std::filesystem::path> FilesMatching(
    const std::filesystem::path& folder, std::string_view pattern);

struct CSymbolGroup {
    std::string name; // relative to the symbols folder, "\" between levels ("A\B")
    std::filesystem::path folder;
};

// The groups below the symbols folder, in the order of FolderTree.
std::vector<CSymbolGroup> ListSymbolGroups(const std::filesystem::path& symbolsFolder);

// The symbols of a group folder: file names without their extension, sorted.
std::vector<std::string> ListSymbols(const std::filesystem::path& groupFolder);

// The file of a symbol listed by ListSymbols, by the name actually found.
std::filesystem::path SymbolFile(const std::filesystem::path& groupFolder, std::string_view name);
