#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_folder.h"
#include "symbols/library_folders.h"
#include "symbols/name_fold.h"

namespace fs = std::filesystem;

namespace {

void Touch(const fs::path& path)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path).put('x');
}

std::vector<std::string> Names(const std::vector<CSymbolGroup>& groups)
{
    std::vector<std::string> out;
    for (const auto& g : groups)
        out.push_back(g.name);
    return out;
}

std::vector<std::string> Names(const std::vector<CSymbolItem>& symbols)
{
    std::vector<std::string> out;
    for (const auto& s : symbols)
        out.push_back(s.name);
    return out;
}

// Whether the folder can be listed at all (a root user reads any folder).
bool CanList(const fs::path& folder)
{
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    return !ec;
}

} // namespace

TEST(LibraryFolders, GroupsAreTheFoldersAtAnyDepthBelowTheSymbolsFolder)
{
    CTempFolder tmp;
    const fs::path root = tmp.path / "Symbolen";
    Touch(root / "los.SYM"); // in no group
    Touch(root / "Relais" / "K1.SYM");
    Touch(root / "Relais" / "k2.sym");
    Touch(root / "Relais" / "K3.Sym.bak");
    Touch(root / "Relais" / ".SYM");
    Touch(root / "Relais" / "Oud" / "K9.SYM");
    fs::create_directories(root / "Relais" / "map.SYM");
    fs::create_directories(root / "Aarde");
    Touch(root / "Zekering" / "Z.SYM");

    const auto groups = ListSymbolGroups(root);
    EXPECT_EQ(Names(groups),
        (std::vector<std::string> {"Aarde", "Relais", "Relais/map.SYM", "Relais/Oud", "Zekering"}));
    ASSERT_EQ(groups.size(), 5u);
    EXPECT_EQ(groups[3].folder, root / "Relais" / "Oud");
    EXPECT_EQ(groups[3].folded, "relais/oud");

    // Only the symbol files directly in the group, by their own names, each
    // with the file as found.
    EXPECT_TRUE(groups[0].symbols.empty());
    EXPECT_EQ(Names(groups[1].symbols), (std::vector<std::string> {"K1", "k2"}));
    EXPECT_EQ(groups[1].symbols[1].file, root / "Relais" / "k2.sym");
    EXPECT_EQ(ListSymbols(root / "Relais"), (std::vector<std::string> {"K1", "k2"}));
    EXPECT_TRUE(ListSymbols(root / "Aarde").empty());
    EXPECT_EQ(SymbolFile(root / "Relais", "k2"), root / "Relais" / "k2.sym");

    // A trailing separator on the symbols folder gives the same names, and
    // files that are still found.
    const auto slashed = ListSymbolGroups(root.string() + "/");
    EXPECT_EQ(Names(slashed), Names(groups));
    ASSERT_EQ(slashed.size(), groups.size());
    EXPECT_TRUE(fs::exists(slashed[1].symbols[0].file));
}

TEST(LibraryFolders, NamesSortWithoutCaseOrAccentsAndDigitRunsByValue)
{
    // (names in the folder, the order of the list)
    const struct {
        std::vector<std::string> names;
        std::vector<std::string> order;
    } cases[] = {
        {{"Relais 10", "relais 1", "Relais 2"}, {"relais 1", "Relais 2", "Relais 10"}},
        {{"b", "A", "a"}, {"A", "a", "b"}},
        {{"Émetteur", "Ecran", "Fusible"}, {"Ecran", "Émetteur", "Fusible"}},
        {{"K007", "K7", "K10", "K6"}, {"K6", "K007", "K7", "K10"}},
        {{"x 99999999999999999999", "x 100000000000000000000"},
            {"x 99999999999999999999", "x 100000000000000000000"}},
    };
    for (const auto& c : cases) {
        CTempFolder tmp;
        for (const std::string& n : c.names) {
            Touch(tmp.path / "groep" / (n + ".SYM"));
            fs::create_directories(tmp.path / n);
        }
        const auto groups = ListSymbolGroups(tmp.path);
        std::vector<std::string> groupNames;
        for (const auto& g : groups) {
            if (g.name != "groep")
                groupNames.push_back(g.name);
        }
        EXPECT_EQ(groupNames, c.order);
        const auto it = std::find_if(
            groups.begin(), groups.end(), [](const auto& g) { return g.name == "groep"; });
        ASSERT_NE(it, groups.end());
        EXPECT_EQ(Names(it->symbols), c.order);
    }
}

TEST(LibraryFolders, TheWalkStopsAtLinksBackUnreadableFoldersAndDepth64)
{
    CTempFolder tmp;
    const fs::path root = tmp.path / "r";
    fs::create_directories(root / "b" / "d");
    fs::create_directories(root / "a" / "c");
    fs::create_directories(root / "a b");
    fs::create_directory_symlink(root, root / "a" / "terug");
    fs::create_directory_symlink(root / "b", root / "a" / "c" / "naar b");

    // Pre-order: a folder's subfolders follow it directly; the link to an
    // ancestor is skipped, and b is shown where it is first reached.
    EXPECT_EQ(FolderTree(root),
        (std::vector<fs::path> {root, root / "a", root / "a" / "c", root / "a" / "c" / "naar b",
            root / "a" / "c" / "naar b" / "d", root / "a b"}));
    EXPECT_EQ(Names(ListSymbolGroups(root)),
        (std::vector<std::string> {"a", "a/c", "a/c/naar b", "a/c/naar b/d", "a b"}));
    EXPECT_EQ(FolderTree(tmp.path / "weg"), std::vector<fs::path> {tmp.path / "weg"});
    EXPECT_TRUE(ListSymbolGroups(tmp.path / "weg").empty());

    // 100 levels: groups down to 64 levels below the symbols folder.
    const fs::path deep = tmp.path / "diep";
    fs::path p = deep;
    for (int i = 0; i < 100; ++i)
        p /= "n";
    fs::create_directories(p);
    Touch(p / "onder.SYM");
    const auto groups = ListSymbolGroups(deep);
    ASSERT_EQ(groups.size(), size_t {kMaxFolderDepth});
    EXPECT_EQ(groups.back().name.size(), 2u * kMaxFolderDepth - 1);

    // A folder that cannot be read is a group without symbols, and the walk
    // goes on after it.
    const fs::path locked = tmp.path / "s" / "dicht";
    Touch(locked / "x.SYM");
    Touch(locked / "binnen" / "y.SYM");
    Touch(tmp.path / "s" / "open" / "z.SYM");
    fs::permissions(locked, fs::perms::none);
    if (!CanList(locked)) {
        const auto s = ListSymbolGroups(tmp.path / "s");
        EXPECT_EQ(Names(s), (std::vector<std::string> {"dicht", "open"}));
        EXPECT_TRUE(s[0].symbols.empty());
        EXPECT_EQ(s[1].symbols.size(), 1u);
    }
    fs::permissions(locked, fs::perms::owner_all);
}
