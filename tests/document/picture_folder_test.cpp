#include "document/picture_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "document/document.h"
#include "model/text_encoding.h"
#include "support/fake_image_codec.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

TEST(PictureFolder, CopiesAFileOnceAndNeverOverAnother)
{
    CTempFolder tmp;
    const fs::path folder = tmp.path / "Project" / "Afbeeldingen";
    const fs::path photo = WriteTestFile(tmp.path / "Camera" / "foto.jpg", "photo one");
    const fs::path other = WriteTestFile(tmp.path / "Scans" / "foto.jpg", "photo two");
    const fs::path third = WriteTestFile(tmp.path / "Old" / "foto.jpg", "photo three");

    // (source, file expected, its bytes afterwards)
    const struct {
        const char* what;
        fs::path source;
        const char* target;
        const char* bytes;
    } cases[] = {
        {"a new file, the folder made", photo, "foto.jpg", "photo one"},
        {"the same bytes again", photo, "foto.jpg", "photo one"},
        {"the file itself", folder / "foto.jpg", "foto.jpg", "photo one"},
        {"other bytes", other, "foto (2).jpg", "photo two"},
        {"other bytes again", third, "foto (3).jpg", "photo three"},
        {"the second one's bytes", other, "foto (2).jpg", "photo two"},
    };
    for (const auto& c : cases) {
        const std::optional<fs::path> copy = CopyIntoPictureFolder(c.source, folder);
        ASSERT_TRUE(copy) << c.what;
        EXPECT_EQ(*copy, folder / c.target) << c.what;
        EXPECT_EQ(ReadTestFile(*copy), c.bytes) << c.what;
    }
    EXPECT_EQ(ListPictureFolder(folder),
        (std::vector<std::string> {"foto (2).jpg", "foto (3).jpg", "foto.jpg"}));
    EXPECT_EQ(ReadTestFile(photo), "photo one");
}

TEST(PictureFolder, AFailedCopyLeavesNothingBehind)
{
    CTempFolder tmp;
    const fs::path photo = WriteTestFile(tmp.path / "foto.jpg", "photo");
    EXPECT_FALSE(CopyIntoPictureFolder(tmp.path / "gone.jpg", tmp.path / "A"));
    EXPECT_FALSE(fs::exists(tmp.path / "A" / "gone.jpg"));
    // A file where the folder should be.
    WriteTestFile(tmp.path / "B", "not a folder");
    EXPECT_FALSE(CopyIntoPictureFolder(photo, tmp.path / "B"));
    EXPECT_FALSE(CopyIntoPictureFolder(photo, {}));

    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser writes into read-only folders";
    const fs::path locked = tmp.path / "C";
    fs::create_directories(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(CopyIntoPictureFolder(photo, locked));
    fs::permissions(locked, fs::perms::owner_all);
    EXPECT_TRUE(fs::is_empty(locked));
}

TEST(PictureFolder, ListsFilesWithoutRegardToCase)
{
    CTempFolder tmp;
    for (const char* name : {"b.jpg", "A.png", "a.gif", "C.bmp"})
        WriteTestFile(tmp.path / name, name);
    fs::create_directories(tmp.path / "Map");
    EXPECT_EQ(ListPictureFolder(tmp.path),
        (std::vector<std::string> {"a.gif", "A.png", "b.jpg", "C.bmp"}));
    EXPECT_TRUE(ListPictureFolder(tmp.path / "none").empty());
    EXPECT_TRUE(PictureFolderOf("").empty());
    EXPECT_EQ(PictureFolderOf("/p/Kast.ETT"), fs::path("/p/Afbeeldingen"));
}

TEST(PictureFolder, SavingInAnotherFolderTakesThePicturesAlong)
{
    CFakeImageCodec codec;
    CTempFolder tmp;
    const fs::path image
        = WriteTestFile(tmp.path / "Oud" / "Afbeeldingen" / "kast.jpg", FakeImageBytes(100, 50));
    CDovereduDoc doc;
    doc.AddDefaultSheet();
    CPictArray& pictures = *doc.GetActiveSheet().pictures;
    ASSERT_EQ(pictures.AddFromFile(image), 0);
    pictures.AddFromFile(image);
    pictures.At(1).fileName = Utf8ToCp1252((tmp.path / "weg.jpg").string()); // missing

    fs::create_directories(tmp.path / "Nieuw");
    ASSERT_FALSE(doc.Save((tmp.path / "Nieuw" / "Kast.ETT").string()));
    const fs::path copy = tmp.path / "Nieuw" / "Afbeeldingen" / "kast.jpg";
    EXPECT_EQ(ReadTestFile(copy), FakeImageBytes(100, 50));
    EXPECT_EQ(pictures.At(0).fileName, Utf8ToCp1252(copy.string()));
    EXPECT_EQ(pictures.At(1).fileName, Utf8ToCp1252((tmp.path / "weg.jpg").string()));

    CDovereduDoc reopened;
    ASSERT_FALSE(reopened.Open((tmp.path / "Nieuw" / "Kast.ETT").string()));
    EXPECT_TRUE(reopened.GetActiveSheet().pictures->At(0).HasImage());
}
