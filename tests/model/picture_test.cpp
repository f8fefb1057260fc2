#include "model/picture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <unistd.h>

#include "model/platform_services.h"
#include "model/text_encoding.h"
#include "support/bytes.h"
#include "support/recording_canvas.h"

namespace fs = std::filesystem;

namespace {

// Decodes "IMG" followed by the int32 width and height in HIMETRIC, and
// counts how often it is asked.
class CFakeCodec : public CImageCodec {
public:
    mutable int decodes = 0;
    std::shared_ptr<const CImage> Decode(std::span<const uint8_t> bytes) const override
    {
        ++decodes;
        if (bytes.size() != 11 || std::memcmp(bytes.data(), "IMG", 3) != 0)
            return nullptr;
        CSize size;
        std::memcpy(&size.cx, bytes.data() + 3, 4);
        std::memcpy(&size.cy, bytes.data() + 7, 4);
        return std::make_shared<CFakeImage>(size);
    }
};

std::string FakeImageBytes(int32_t cx, int32_t cy)
{
    std::string bytes = "IMG";
    bytes.append(reinterpret_cast<const char*>(&cx), 4);
    bytes.append(reinterpret_cast<const char*>(&cy), 4);
    return bytes;
}

void WriteFile(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<uint8_t> Stored(CPictArray& pictures)
{
    CArchive ar("Plan.ETT");
    pictures.Serialize(ar);
    return ar.TakeBytes();
}

CPict& Added(CPictArray& pictures, CRect placement, CSize size = {300, 200})
{
    auto p = std::make_unique<CPict>();
    p->placementRect = placement;
    p->pictureSize = size;
    p->sourceRect = {0, 0, size.cx, size.cy};
    p->SetImage(std::make_shared<CFakeImage>(size));
    pictures.pictures.push_back(std::move(p));
    return *pictures.pictures.back();
}

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = PlatformServices().imageCodec;
        PlatformServices().imageCodec = &codec;
        dir = fs::temp_directory_path()
            / ("picture_test_" + std::to_string(::getpid()) + "_"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        PlatformServices().imageCodec = saved;
        fs::remove_all(dir);
    }

    CFakeCodec codec;
    const CImageCodec* saved = nullptr;
    fs::path dir;
};

} // namespace

TEST_F(PictureTest, StoresBothMarksAndThePlacementBeforeTheSource)
{
    CPictArray pictures;
    CPict& p = Added(pictures, {1, 2, 3, 4}, {10000, 5000});
    p.sourceRect = {5, 6, 7, 8};
    p.flags = CPict::kSelected;
    p.angle = 90.0;
    p.fileName = "C:\\P\\a.jpg";

    // clang-format off
    const auto expected = Bytes({
        0x2c, 0x03, 0, 0,                                  // list mark 812
        1, 0,                                              // count
        0xff, 0xff, 1, 0, 5, 0, 'C', 'P', 'i', 'c', 't',   // new class "CPict", schema 1
        0x2c, 0x03, 0, 0,                                  // record mark 812
        1, 0, 0, 0,                                        // flags
        0, 0, 0, 0, 0, 0x80, 0x56, 0x40,                   // angle 90.0
        0x10, 0x27, 0, 0, 0x88, 0x13, 0, 0,                // size 10000 x 5000
        1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0,    // placement
        5, 0, 0, 0, 6, 0, 0, 0, 7, 0, 0, 0, 8, 0, 0, 0,    // source
        10, 'C', ':', '\\', 'P', '\\', 'a', '.', 'j', 'p', 'g',
    });
    // clang-format on
    EXPECT_EQ(Hex(Stored(pictures), 200), Hex(expected, 200));

    // A memory archive has no project file: the stored name stays, and the
    // selection does not come back.
    CPictArray back;
    CArchive ar(expected, "");
    back.Serialize(ar);
    EXPECT_EQ(ar.Remaining(), 0u);
    ASSERT_EQ(back.GetSize(), 1);
    const CPict& q = back.At(0);
    EXPECT_EQ(q.flags, 0u);
    EXPECT_EQ(q.angle, 90.0);
    EXPECT_EQ(q.fileName, "C:\\P\\a.jpg");
    EXPECT_EQ(q.pictureSize, (CSize {10000, 5000}));
    EXPECT_EQ(q.placementRect, (CRect {1, 2, 3, 4}));
    EXPECT_EQ(q.sourceRect, (CRect {5, 6, 7, 8}));
    EXPECT_FALSE(q.HasImage());
}

TEST_F(PictureTest, ReadingLooksForTheImageBesideTheProjectFile)
{
    const fs::path project = dir / "verhuisd" / "Plan.ETT";
    const fs::path folder = project.parent_path() / "Afbeeldingen";
    WriteFile(folder / "photo.jpg", FakeImageBytes(300, 200));
    WriteFile(folder / "café.jpg", FakeImageBytes(30, 20));
    const std::string elsewhere = (dir / "elders" / "los.jpg").string();
    WriteFile(elsewhere, FakeImageBytes(3, 2));

    // (stored name, project file, path looked at, image found)
    const struct {
        std::string stored;
        std::string projectFile;
        fs::path path;
        bool found;
    } cases[] = {
        {"C:\\Oude map\\Foto's\\photo.jpg", project, folder / "photo.jpg", true},
        {"/home/jan/oud/Afbeeldingen/photo.jpg", project, folder / "photo.jpg", true},
        {"D:photo.jpg", project, folder / "photo.jpg", true},
        {"photo.jpg", project, folder / "photo.jpg", true},
        {"C:\\x\\caf\xE9.jpg", project, folder / "café.jpg", true},
        {"C:\\x\\weg.jpg", project, folder / "weg.jpg", false},
        {elsewhere, "", elsewhere, true},
        {"C:\\Afbeeldingen\\photo.jpg", "", "C:\\Afbeeldingen\\photo.jpg", false},
    };
    for (const auto& c : cases) {
        CPictArray pictures;
        CPict& p = Added(pictures, {10, 20, 30, 40});
        p.fileName = c.stored;
        p.SetImage(nullptr);
        const auto bytes = Stored(pictures);

        CPictArray back;
        CArchive ar(bytes, c.projectFile);
        back.Serialize(ar);
        ASSERT_EQ(back.GetSize(), 1) << c.stored;
        EXPECT_EQ(back.At(0).fileName, Utf8ToCp1252(c.path.string())) << c.stored;
        EXPECT_EQ(back.At(0).HasImage(), c.found) << c.stored;
        EXPECT_EQ(back.At(0).placementRect, (CRect {10, 20, 30, 40})) << c.stored;

        // A picture without its file keeps its place and draws nothing.
        CRecordingCanvas dc;
        back.DrawUnselected(dc, 1);
        EXPECT_EQ(dc.calls.size(), c.found ? 1u : 0u) << c.stored;
    }

    // A name that would leave the picture folder is not looked for.
    EXPECT_EQ(RelocatedPicturePath(project, "C:\\x\\.."), fs::path());
    EXPECT_EQ(RelocatedPicturePath(project, "C:\\x\\"), fs::path());
}

TEST_F(PictureTest, ADamagedListFailsAndKeepsThePicturesThere)
{
    CPictArray two;
    Added(two, {1, 2, 3, 4}).fileName = "a.jpg";
    Added(two, {5, 6, 7, 8}).fileName = "b.jpg";
    const auto bytes = Stored(two);

    auto failureOf = [](const std::vector<uint8_t>& b) -> std::string {
        CPictArray pictures;
        Added(pictures, {0, 0, 1, 1});
        CArchive ar(b, "Plan.ETT");
        try {
            pictures.Serialize(ar);
        } catch (const CArchiveException& e) {
            EXPECT_EQ(pictures.GetSize(), 1);
            return e.what();
        }
        return "read";
    };
    const std::string pastEnd = "Attempted to access Plan.ETT past its end.";
    for (size_t cut = 0; cut < bytes.size(); ++cut)
        EXPECT_EQ(failureOf({bytes.begin(), bytes.begin() + cut}), pastEnd) << cut;

    // A count far beyond the bytes fails before anything is made, and an
    // empty element is a bad format.
    EXPECT_EQ(failureOf(Bytes({0x2c, 3, 0, 0, 0x60, 0xea, 0xff, 0xff})), pastEnd);
    EXPECT_EQ(failureOf(Bytes({0x2c, 3, 0, 0, 1, 0, 0, 0})), "Plan.ETT has a bad format.");
}

TEST(PictArray, HitTestsAndMoves)
{
    CPictArray pictures;
    Added(pictures, {0, 0, 100, 100});
    Added(pictures, {50, 50, 150, 150});

    // (x, y, picture hit): the earlier of two overlapping pictures wins;
    // left and top edges belong to a picture, right and bottom do not.
    const struct {
        int x, y, hit;
    } points[] = {
        {0, 0, 0},
        {99, 99, 0},
        {60, 60, 0},
        {100, 100, 1},
        {149, 149, 1},
        {150, 150, -1},
        {-1, 0, -1},
    };
    for (const auto& c : points)
        EXPECT_EQ(pictures.HitTest(c.x, c.y), c.hit) << c.x << "," << c.y;

    EXPECT_FALSE(pictures.Intersects(0, {100, 100, 200, 200}));
    EXPECT_TRUE(pictures.Intersects(1, {100, 100, 200, 200}));
    EXPECT_TRUE(pictures.Intersects(0, {-10, -10, 1, 1}));
    EXPECT_FALSE(pictures.Contains(2, 60, 60));

    EXPECT_TRUE(pictures.Offset(0, 10, -5));
    EXPECT_EQ(pictures.At(0).placementRect, (CRect {10, -5, 110, 95}));
    EXPECT_TRUE(pictures.MoveTo(1, -1000, 2000));
    EXPECT_EQ(pictures.At(1).placementRect, (CRect {-1000, 2000, -900, 2100}));
    EXPECT_TRUE(pictures.OffsetAll(1, 1));
    EXPECT_EQ(pictures.At(0).placementRect, (CRect {11, -4, 111, 96}));
    EXPECT_EQ(pictures.At(1).placementRect, (CRect {-999, 2001, -899, 2101}));

    // A move that would leave the 32-bit range changes nothing.
    EXPECT_FALSE(pictures.Offset(0, 2147483600, 0));
    EXPECT_FALSE(pictures.MoveTo(0, 2147483600, 0));
    EXPECT_FALSE(pictures.OffsetAll(0, -2147483646));
    EXPECT_EQ(pictures.At(0).placementRect, (CRect {11, -4, 111, 96}));
    EXPECT_EQ(pictures.At(1).placementRect, (CRect {-999, 2001, -899, 2101}));
    EXPECT_FALSE(pictures.Offset(5, 1, 1));

    pictures.SetLeft(0, 1);
    pictures.SetTop(0, 2);
    pictures.SetRight(0, 3);
    pictures.SetBottom(0, 4);
    EXPECT_EQ(pictures.At(0).placementRect, (CRect {1, 2, 3, 4}));
}

TEST(PictArray, SelectionCounts)
{
    CPictArray pictures;
    for (int i = 0; i < 3; ++i)
        Added(pictures, {i, i, i + 10, i + 10});

    EXPECT_EQ(pictures.SetSelected(1, true), 1);
    EXPECT_EQ(pictures.SetSelected(1, true), 0);
    EXPECT_EQ(pictures.SetAllSelected(true), 2);
    EXPECT_EQ(pictures.GetSelectedCount(), 3);
    EXPECT_EQ(pictures.SetSelected(0, false), -1);
    EXPECT_EQ(pictures.SetAllSelected(false), 2);
    EXPECT_EQ(pictures.GetSelectedCount(), 0);
    EXPECT_EQ(pictures.SetSelected(7, true), 0);
    EXPECT_FALSE(pictures.IsSelected(-1));

    pictures.SetSelected(0, true);
    pictures.SetSelected(2, true);
    EXPECT_EQ(pictures.DeleteSelected(), 2);
    ASSERT_EQ(pictures.GetSize(), 1);
    EXPECT_EQ(pictures.At(0).placementRect.left, 1);
}

TEST(PictArray, DrawsStretchedWithTheSelectionFrame)
{
    CPictArray pictures;
    // Divisions truncate toward zero: -1000 / 512 is -1.
    Added(pictures, {-1000, 1024, 5120, 3072});
    Added(pictures, {0, 0, 512, 512}).SetImage(nullptr);
    CPict& zeroSource = Added(pictures, {0, 0, 1024, 1024});
    zeroSource.sourceRect = {0, 0, 0, 200};

    CRecordingCanvas unselected;
    pictures.DrawUnselected(unselected, 512);
    EXPECT_EQ(unselected.calls,
        (std::vector<std::string> {
            "image 300x200 -> -1 2 10 6 from 0 0 300 200",
            "image 300x200 -> 0 0 2 2 from 0 0 0 0",
        }));

    pictures.SetAllSelected(true);
    CRecordingCanvas selected;
    pictures.DrawSelected(selected, 512);
    EXPECT_EQ(selected.calls.size(), 14u); // the image-less picture draws no frame either
    EXPECT_EQ(std::vector<std::string>(selected.calls.begin(), selected.calls.begin() + 7),
        (std::vector<std::string> {
            "image 300x200 -> -1 2 10 6 from 0 0 300 200",
            "pen 1 0x0000ff solid",
            "move -2 2",
            "line 10 2",
            "line 10 6",
            "line -2 6",
            "line -2 2",
        }));
    CRecordingCanvas none;
    pictures.DrawUnselected(none, 512);
    EXPECT_TRUE(none.calls.empty());

    // Printing: (coordinate - origin + 1000) * scale, sizes * scale, truncated.
    CPictArray printed;
    Added(printed, {1000, 2000, 5001, 4001});
    CRecordingCanvas page;
    printed.DrawAllScaled(page, 1000, 2000, 0.5);
    EXPECT_EQ(page.calls,
        (std::vector<std::string> {"image 300x200 -> 500 500 2500 1500 from 0 0 300 200"}));
}

TEST_F(PictureTest, AddingAPictureFromAFile)
{
    const fs::path folder = dir / "Afbeeldingen";
    WriteFile(folder / "café.jpg", FakeImageBytes(10000, 5000));
    WriteFile(folder / "kapot.jpg", "not a picture");
    WriteFile(folder / "reus.jpg", FakeImageBytes(500000000, 10));

    CPictArray pictures;
    ASSERT_EQ(pictures.AddFromFile(folder / "café.jpg"), 0);
    const CPict& p = pictures.At(0);
    EXPECT_EQ(p.pictureSize, (CSize {10000, 5000}));
    EXPECT_EQ(p.sourceRect, (CRect {0, 0, 10000, 5000}));
    EXPECT_EQ(p.placementRect, (CRect {0, 0, 50000, 25000}));
    EXPECT_EQ(p.fileName, Utf8ToCp1252((folder / "café.jpg").string()));
    EXPECT_TRUE(p.fileName.ends_with("caf\xE9.jpg"));
    EXPECT_EQ(pictures.AddFromFile(folder / "café.jpg"), 1);

    // Unreadable, undecodable and too large files add nothing.
    for (const char* name : {"weg.jpg", "kapot.jpg", "reus.jpg"})
        EXPECT_EQ(pictures.AddFromFile(folder / name), -1) << name;
    PlatformServices().imageCodec = nullptr;
    EXPECT_EQ(pictures.AddFromFile(folder / "café.jpg"), -1);
    EXPECT_EQ(pictures.GetSize(), 2);

    // A failed load keeps the image the picture had.
    CPict kept;
    kept.SetImage(pictures.At(0).Image());
    EXPECT_FALSE(kept.Load(folder / "kapot.jpg"));
    EXPECT_TRUE(kept.HasImage());
}

TEST_F(PictureTest, AFileOverTheLimitIsRefusedUnread)
{
    // A sparse file: as large as the limit it passes it by one byte.
    const fs::path big = dir / "groot.bmp";
    WriteFile(big, FakeImageBytes(100, 50));
    fs::resize_file(big, CPicture::kMaxFileBytes + 1);
    CPict p;
    EXPECT_FALSE(p.Load(big));
    EXPECT_EQ(codec.decodes, 0);
    fs::resize_file(big, 11);
    EXPECT_TRUE(p.Load(big));
}

TEST_F(PictureTest, CopiesShareTheDecodedImage)
{
    WriteFile(dir / "a.jpg", FakeImageBytes(300, 200));
    CPictArray sheet;
    sheet.AddFromFile(dir / "a.jpg");
    sheet.At(0).angle = 180.0;
    sheet.At(0).SetSelected(true);
    sheet.SetCurrentIndex(0);
    ASSERT_EQ(codec.decodes, 1);

    CPictArray snapshot;
    Added(snapshot, {0, 0, 1, 1});
    snapshot.CopyFrom(sheet, true);
    ASSERT_EQ(snapshot.GetSize(), 2); // appended
    const CPict& copy = snapshot.At(1);
    EXPECT_EQ(copy.Image(), sheet.At(0).Image());
    EXPECT_EQ(codec.decodes, 1);
    EXPECT_EQ(copy.fileName, sheet.At(0).fileName);
    EXPECT_EQ(copy.angle, 180.0);
    EXPECT_TRUE(copy.IsSelected());
    EXPECT_EQ(copy.placementRect, sheet.At(0).placementRect);
    EXPECT_EQ(copy.sourceRect, sheet.At(0).sourceRect);
    EXPECT_EQ(copy.pictureSize, sheet.At(0).pictureSize);
    EXPECT_EQ(snapshot.GetCurrentIndex(), 0);

    CPictArray bare;
    bare.CopyFrom(sheet, false);
    EXPECT_FALSE(bare.At(0).HasImage());

    // Copying a list onto itself doubles it.
    sheet.CopyFrom(sheet, true);
    EXPECT_EQ(sheet.GetSize(), 2);
    EXPECT_EQ(codec.decodes, 1);
}

TEST_F(PictureTest, PicturesOfOneFileDecodeItOnceAndOnlyWhenDrawn)
{
    const fs::path project = dir / "Plan.ETT";
    WriteFile(dir / "Afbeeldingen" / "foto.png", FakeImageBytes(300, 200));
    WriteFile(dir / "Afbeeldingen" / "ander.png", FakeImageBytes(30, 20));
    CPictArray stored;
    for (int i = 0; i < 12; ++i) {
        CPict& p = Added(stored, {i, 0, i + 10, 10});
        p.fileName = i == 11 ? "C:\\oud\\ander.png" : "C:\\oud\\foto.png";
        p.SetImage(nullptr);
    }
    const auto bytes = Stored(stored);

    // Reading a project for what it holds (info, dump) decodes nothing.
    CPictArray read;
    CArchive ar(bytes, project.string());
    read.Serialize(ar);
    ASSERT_EQ(read.GetSize(), 12);
    EXPECT_EQ(codec.decodes, 0);
    CPictArray snapshot; // an undo snapshot taken before the first drawing
    snapshot.CopyFrom(read, true);
    EXPECT_EQ(codec.decodes, 0);

    CRecordingCanvas dc;
    read.DrawUnselected(dc, 1);
    EXPECT_EQ(dc.calls.size(), 12u);
    EXPECT_EQ(codec.decodes, 2); // once per file
    for (int i = 1; i < 11; ++i)
        EXPECT_EQ(read.At(i).Image(), read.At(0).Image()) << i;
    EXPECT_NE(read.At(11).Image(), read.At(0).Image());

    // A second reading of the same project while the first is open, and the
    // snapshot, share the images too.
    CPictArray again;
    CArchive ar2(bytes, project.string());
    again.Serialize(ar2);
    again.DrawUnselected(dc, 1);
    snapshot.DrawUnselected(dc, 1);
    EXPECT_EQ(codec.decodes, 2);
    EXPECT_EQ(again.At(0).Image(), read.At(0).Image());
    EXPECT_EQ(snapshot.At(0).Image(), read.At(0).Image());

    // A changed file is decoded again; a damaged one is tried once.
    WriteFile(dir / "Afbeeldingen" / "ander.png", "not a picture any more");
    CPictArray changed;
    CArchive ar3(bytes, project.string());
    changed.Serialize(ar3);
    for (int i = 0; i < 3; ++i)
        changed.DrawUnselected(dc, 1);
    EXPECT_EQ(codec.decodes, 3);
    EXPECT_FALSE(changed.At(11).HasImage());
    EXPECT_TRUE(changed.At(10).HasImage());
}
