#include "symbols/library_folders.h"

#include <algorithm>
#include <set>
#include <system_error>

#include "document/dir.h"
#include "symbols/name_fold.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSymbolPattern = "*.SYM";

struct CEntry {
    std::string name;
    std::string folded;
    fs::path path;
    bool folder = false;
    bool link = false;
};

// The entries of a folder in name order; nothing when it cannot be read.
std::vector<CEntry> SortedEntries(const fs::path& folder)
{
    std::vector<CEntry> entries;
    entries.reserve(64);
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        CEntry e;
        e.path = it->path();
        const std::string& native = e.path.native();
        e.name = native.substr(native.rfind('/') + 1);
        e.folded = FoldName(e.name);
        std::error_code kind;
        e.folder = it->is_directory(kind);
        e.link = e.folder && it->is_symlink(kind);
        entries.push_back(std::move(e));
    }
    std::sort(entries.begin(), entries.end(), [](const CEntry& a, const CEntry& b) {
        const int c = CompareFoldedNames(a.folded, b.folded);
        return c != 0 ? c < 0 : a.name < b.name;
    });
    return entries;
}

// One folder of the walk, with what it holds.
struct CVisit {
    const fs::path& folder;
    std::vector<CEntry>& entries; // a visit may take what it needs of the files
    int depth;
};

// Walks the tree below `root` in pre-order, calling visit(CVisit) for every
// folder, each read once. A folder is known by its real path: that of its
// parent and its own name, unless it is a link, which is resolved.
template<class Visit> void WalkTree(const fs::path& root, Visit&& visit)
{
    std::set<fs::path> seen;
    auto walk = [&](auto& self, const fs::path& folder, const fs::path& key, int depth) -> void {
        if (!seen.insert(key).second)
            return;
        std::vector<CEntry> entries = SortedEntries(folder);
        visit(CVisit {folder, entries, depth});
        if (depth >= kMaxFolderDepth)
            return;
        for (const CEntry& e : entries) {
            if (!e.folder)
                continue;
            fs::path childKey;
            if (e.link) {
                std::error_code ec;
                childKey = fs::weakly_canonical(e.path, ec);
                if (ec)
                    childKey = e.path;
            } else {
                childKey = key / e.name;
            }
            self(self, e.path, childKey, depth + 1);
        }
    };
    std::error_code ec;
    fs::path key = fs::weakly_canonical(root, ec);
    if (ec)
        key = root;
    walk(walk, root, key, 0);
}

} // namespace

std::vector<fs::path> FolderTree(const fs::path& root)
{
    std::vector<fs::path> out;
    WalkTree(root, [&](const CVisit& v) { out.push_back(v.folder); });
    return out;
}

std::vector<fs::path> FilesMatching(const fs::path& folder, std::string_view pattern)
{
    std::vector<fs::path> out;
    for (const CEntry& e : SortedEntries(folder)) {
        if (!e.folder && CDir::Matches(pattern, e.name))
            out.push_back(e.path);
    }
    return out;
}

namespace {

// The symbols among the entries of a folder, taken out of them.
std::vector<CSymbolItem> SymbolsAmong(std::vector<CEntry>& entries)
{
    std::vector<CSymbolItem> symbols;
    for (CEntry& e : entries) {
        if (e.folder || !CDir::Matches(kSymbolPattern, e.name))
            continue;
        const size_t dot = e.name.rfind('.');
        if (dot == 0)
            continue; // ".SYM" has no name to show
        // The extension is plain ASCII, so the folded name ends in it too.
        e.folded.resize(e.folded.size() - (e.name.size() - dot));
        e.name.resize(dot);
        symbols.push_back({std::move(e.name), std::move(e.folded), std::move(e.path)});
    }
    // Names sort as the whole file names did, but "a.SYM" and "a b.SYM"
    // compare differently without their extensions.
    std::stable_sort(symbols.begin(), symbols.end(), [](const auto& a, const auto& b) {
        const int c = CompareFoldedNames(a.folded, b.folded);
        return c != 0 ? c < 0 : a.name < b.name;
    });
    return symbols;
}

} // namespace

std::vector<CSymbolGroup> ListSymbolGroups(const fs::path& symbolsFolder)
{
    std::vector<CSymbolGroup> groups;
    // The names of the folders on the way down, by depth.
    std::vector<std::string> names;
    std::vector<std::string> folded;
    WalkTree(symbolsFolder, [&](const CVisit& v) {
        if (v.depth == 0)
            return;
        const std::string own = v.folder.filename().string();
        names.resize(static_cast<size_t>(v.depth - 1));
        folded.resize(static_cast<size_t>(v.depth - 1));
        CSymbolGroup g;
        g.name = names.empty() ? own : names.back() + "/" + own;
        const std::string ownFolded = FoldName(own);
        g.folded = folded.empty() ? ownFolded : folded.back() + "/" + ownFolded;
        g.folder = v.folder;
        g.symbols = SymbolsAmong(v.entries);
        names.push_back(g.name);
        folded.push_back(g.folded);
        groups.push_back(std::move(g));
    });
    return groups;
}

std::vector<std::string> ListSymbols(const fs::path& groupFolder)
{
    std::vector<std::string> names;
    std::vector<CEntry> entries = SortedEntries(groupFolder);
    for (CSymbolItem& item : SymbolsAmong(entries))
        names.push_back(std::move(item.name));
    return names;
}

fs::path SymbolFile(const fs::path& groupFolder, std::string_view name)
{
    std::vector<CEntry> entries = SortedEntries(groupFolder);
    for (const CSymbolItem& item : SymbolsAmong(entries)) {
        if (item.name == name)
            return item.file;
    }
    return groupFolder / (std::string(name) + ".SYM");
}
