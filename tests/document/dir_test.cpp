#include "document/dir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "support/temp_folder.h"

TEST(Dir, NameParts)
{
    // (path, folder, title, extension)
    const struct {
        const char *path, *folder, *title, *ext;
    } cases[] = {
        {"C:\\Projecten\\Kast.ETT", "C:\\Projecten", "Kast", ".ETT"},
        {"/home/jan/Projecten/Kast.ett", "/home/jan/Projecten", "Kast", ".ett"},
        {"C:\\TEMP\\ETT", "C:\\TEMP\\ETT", "ETT", ""},
        {"Kast.v2.ETT", "Kast.v2.ETT", "Kast.v2", ".ETT"},
        {"C:Kast.ETT", "C:Kast.ETT", "Kast", ".ETT"},
        {"/data/a:b/Plan.ETT", "/data/a:b", "Plan", ".ETT"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CDir::FolderOf(c.path), c.folder) << c.path;
        EXPECT_EQ(CDir::TitleOf(c.path), c.title) << c.path;
        EXPECT_EQ(CDir::ExtensionOf(c.path), c.ext) << c.path;
    }
    EXPECT_EQ(CDir::SanitizePath("C:\\a#b$c%d;e|f", true), "C:\\a b c d e f");
    EXPECT_EQ(CDir::SanitizePath("C:x", false), "C x");
}

TEST(Dir, FilesAndFolders)
{
    CTempFolder tmp;
    const std::string base = tmp.path.string();
    ASSERT_TRUE(CDir::EnsureFolder(base + "/a/b/c/file.ETT"));
    EXPECT_TRUE(CDir::FolderExists(base + "/a/b/c"));
    EXPECT_FALSE(CDir::FileExists(base + "/a/b/c"));

    for (const char* name : {"KAST BAK 02.ETT", "kast bak 01.ett", "Kast.ETT", "Other BAK 01.ETT"})
        std::ofstream(base + "/" + name) << name;
    std::filesystem::create_directory(base + "/KAST BAK folder.ETT");

    std::vector<std::string> names;
    EXPECT_TRUE(CDir::ListFiles(base + "/KAST BAK*.ETT", names));
    EXPECT_EQ(names, (std::vector<std::string> {"KAST BAK 02", "kast bak 01"}));
    CDir::ListFiles(base + "/KAST BAK*.ETT", names, CDir::kFoldersToo | CDir::kKeepExtensions);
    EXPECT_EQ(names.size(), 3u);
    CDir::ListFiles(base + "/Kast.ETT", names, CDir::kFullPaths | CDir::kKeepExtensions);
    EXPECT_EQ(names, std::vector<std::string> {base + "/Kast.ETT"});
    EXPECT_FALSE(CDir::ListFiles(base + "/none*.ETT", names));
    EXPECT_TRUE(names.empty());

    CDir::RenameFile(base + "/Kast.ETT", base + "/Other BAK 01.ETT"); // target exists: nothing
    EXPECT_TRUE(CDir::FileExists(base + "/Kast.ETT"));
    CDir::RenameFile(base + "/Kast.ETT", base + "/Kast2.ETT");
    EXPECT_TRUE(CDir::FileExists(base + "/Kast2.ETT"));
    CDir::DeleteFileIfExists(base + "/Kast2.ETT");
    CDir::DeleteFileIfExists(base + "/Kast2.ETT");
    EXPECT_FALSE(CDir::FileExists(base + "/Kast2.ETT"));
}

TEST(Dir, CopyFile)
{
    CTempFolder tmp;
    const std::string from = (tmp.path / "from.bin").string();
    std::string content(2500000, 'x');
    content[1023999] = 'y';
    std::ofstream(from, std::ios::binary) << content;
    const std::string to = (tmp.path / "to.bin").string();
    ASSERT_TRUE(CDir::CopyFile(from, to));
    std::ifstream in(to, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), content);

    EXPECT_FALSE(CDir::CopyFile((tmp.path / "missing").string(), to));
    EXPECT_FALSE(CDir::CopyFile(from, (tmp.path / "no/such/folder/x").string()));
    // A short write (a full device) leaves no partial copy.
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_FALSE(CDir::CopyFile(from, "/dev/full"));
    }
}
