#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_folder.h"
#include "symbols/library_folders.h"

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

} // namespace

TEST(LibraryFolders, GroupsAreTheFoldersAtAnyDepthBelowTheSymbolsFolder)
{
    CTempFolder tmp;
    const fs::path root = tmp.path / "Symbolen";
    Touch(root / "los.SYM"); // in no group
    Touch(root / "Relais" / "K1.SYM");
    Touch(root / "Relais" / "k2.sym");
    Touch(root / "Relais" / "K3.Sym.bak");
    Touch(root / "Relais" / "Oud" / "K9.SYM");
    fs::create_directories(root / "Relais" / "map.SYM");
    fs::create_directories(root / "Aarde");
    Touch(root / "Zekering" / "Z.SYM");

    const auto groups = ListSymbolGroups(root);
    EXPECT_EQ(Names(groups),
        (std::vector<std::string> {
            "Aarde", "Relais", "Relais\\Oud", "Relais\\map.SYM", "Zekering"}));
    ASSERT_EQ(groups.size(), 5u);
    EXPECT_EQ(groups[2].folder, root / "Relais" / "Oud");

    // Only the symbol files directly in the group, by their own names.
    EXPECT_EQ(ListSymbols(root / "Relais"), (std::vector<std::string> {"K1", "k2"}));
    EXPECT_TRUE(ListSymbols(root / "Aarde").empty());
    EXPECT_EQ(SymbolFile(root / "Relais", "k2"), root / "Relais" / "k2.sym");

    // A trailing separator on the symbols folder gives the same names.
    EXPECT_EQ(Names(ListSymbolGroups(root.string() + "/")), Names(groups));
}

TEST(LibraryFolders, WalkIsPreOrderAndSurvivesLinkLoops)
{
    CTempFolder tmp;
    const fs::path root = tmp.path / "r";
    fs::create_directories(root / "b" / "d");
    fs::create_directories(root / "a" / "c");
    fs::create_directory_symlink(root, root / "a" / "terug");

    EXPECT_EQ(FolderTree(root),
        (std::vector<fs::path> {root, root / "a", root / "a" / "c", root / "b", root / "b" / "d"}));
    EXPECT_EQ(FolderTree(tmp.path / "weg"), std::vector<fs::path> {tmp.path / "weg"});
    EXPECT_TRUE(ListSymbolGroups(tmp.path / "weg").empty());
}
