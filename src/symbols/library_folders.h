#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The symbol library is the folder tree below the symbols folder: every
// folder below it, at any depth, is a group, and the symbols of a group are
// the ".SYM" files (in any case) lying directly in its folder. Files directly
// in the symbols folder belong to no group.
//
// Lists are in name order without regard to case or accents, runs of digits
// by their value ("Relais 2" before "Relais 10", LibraryNameLess), and a folder's
// subfolders follow it directly.

// How deep below the symbols folder the walk goes: a tree deeper than this
// is a mistake or a loop the file system does not show as one.
inline constexpr int kMaxFolderDepth = 64;

// `root` and every folder below it down to kMaxFolderDepth levels,
// depth-first in pre-order, the entries of each folder in name order. A
// folder that cannot be read is listed but not entered, and a folder reached
// a second time (through a link) is skipped.
std::vector<std::filesystem::path> FolderTree(const std::filesystem::path& root);

// The files directly in `folder` whose names match `pattern` ("*" and "?",
// without regard to case), in name order; folders excluded.
std::vector<std::filesystem::path> FilesMatching(
    const std::filesystem::path& folder, std::string_view pattern);

struct CSymbolItem {
    std::string name; // the file name without its extension
    std::string folded; // FoldName(name)
    std::filesystem::path file; // the file as found, never rebuilt from the name
};

struct CSymbolGroup {
    std::string name; // relative to the symbols folder, "/" between levels ("A/B")
    std::string folded; // FoldName(name)
    std::filesystem::path folder;
    std::vector<CSymbolItem> symbols; // in name order
};

// The groups below the symbols folder with their symbols, in the order of
// FolderTree, from one walk that reads each folder once.
std::vector<CSymbolGroup> ListSymbolGroups(const std::filesystem::path& symbolsFolder);

// The symbols of a group folder: file names without their extension, in
// name order.
std::vector<std::string> ListSymbols(const std::filesystem::path& groupFolder);

// The file of a symbol listed by ListSymbols, by the name actually found.
std::filesystem::path SymbolFile(const std::filesystem::path& groupFolder, std::string_view name);
