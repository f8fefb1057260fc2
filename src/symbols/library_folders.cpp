#include "symbols/library_folders.h"

#include <algorithm>
#include <set>
#include <system_error>

#include "document/dir.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSymbolPattern = "*.SYM";

// The entries of a folder sorted by name; nothing when it cannot be read.
std::vector<fs::directory_entry> SortedEntries(const fs::path& folder)
{
    std::vector<fs::directory_entry> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        entries.push_back(*it);
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.path().filename().string() < b.path().filename().string();
    });
    return entries;
}

bool IsFolder(const fs::directory_entry& entry)
{
    std::error_code ec;
    return entry.is_directory(ec);
}

void Walk(const fs::path& folder, std::set<fs::path>& seen, std::vector<fs::path>& out)
{
    std::error_code ec;
    const fs::path key = fs::weakly_canonical(folder, ec);
    if (!seen.insert(ec ? folder : key).second)
        return;
    out.push_back(folder);
    for (const auto& entry : SortedEntries(folder)) {
        if (IsFolder(entry))
            Walk(entry.path(), seen, out);
    }
}

} // namespace

std::vector<fs::path> FolderTree(const fs::path& root)
{
    std::vector<fs::path> out;
    std::set<fs::path> seen;
    Walk(root, seen, out);
    return out;
}

std::vector<fs::path> FilesMatching(const fs::path& folder, std::string_view pattern)
{
    std::vector<fs::path> out;
    for (const auto& entry : SortedEntries(folder)) {
        if (!IsFolder(entry) && CDir::Matches(pattern, entry.path().filename().string()))
            out.push_back(entry.path());
    }
    return out;
}

std::vector<CSymbolGroup> ListSymbolGroups(const fs::path& symbolsFolder)
{
    std::vector<CSymbolGroup> groups;
    const std::vector<fs::path> tree = FolderTree(symbolsFolder);
    for (size_t i = 1; i < tree.size(); ++i) {
        std::string name;
        for (const fs::path& part : tree[i].lexically_relative(symbolsFolder)) {
            if (!name.empty())
                name += '\\';
            name += part.string();
        }
        groups.push_back({name, tree[i]});
    }
    return groups;
}

std::vector<std::string> ListSymbols(const fs::path& groupFolder)
{
    std::vector<std::string> names;
    for (const fs::path& file : FilesMatching(groupFolder, kSymbolPattern)) {
        std::string name = file.filename().string();
        name.erase(name.rfind('.'));
        if (!name.empty())
            names.push_back(std::move(name));
    }
    CDir::SortNames(names);
    return names;
}

fs::path SymbolFile(const fs::path& groupFolder, std::string_view name)
{
    for (const fs::path& file : FilesMatching(groupFolder, kSymbolPattern)) {
        const std::string found = file.filename().string();
        if (std::string_view(found).substr(0, found.rfind('.')) == name)
            return file;
    }
    return groupFolder / (std::string(name) + ".SYM");
}
