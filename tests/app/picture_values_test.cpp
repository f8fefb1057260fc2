#include "app/picture_values.h"

#include <gtest/gtest.h>

#include "document/picture_folder.h"
#include "model/picture.h"
#include "support/fake_image_codec.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

// A picture shown at `placement` from a source of `source` HIMETRIC.
CPict Picture(CRect placement, CRect source = {0, 0, 10000, 5000}, CSize size = {10000, 5000})
{
    CPict p;
    p.placementRect = placement;
    p.sourceRect = source;
    p.pictureSize = size;
    return p;
}

class CListener : public CPictureEditListener {
public:
    void PlacementChanged(const CRect& placement) override { shown.push_back(placement); }
    std::vector<CRect> shown;
};

} // namespace

TEST(AddPictures, ListsCopiesAndPlaces)
{
    CFakeImageCodec codec;
    CTempFolder tmp;
    const fs::path folder = tmp.path / "Afbeeldingen";
    WriteTestFile(folder / "Zee.jpg", FakeImageBytes(300, 200));
    WriteTestFile(folder / "kast.jpg", FakeImageBytes(10000, 5000));
    CPictArray pictures;
    CAddPictures add(folder, pictures);
    EXPECT_EQ(add.Names(), (std::vector<std::string> {"kast.jpg", "Zee.jpg"}));
    EXPECT_EQ(add.Selected(), 0);

    // Chosen in another order; the unusable one is said so and skipped.
    const fs::path camera = tmp.path / "Camera";
    const auto messages = add.AddFiles({WriteTestFile(camera / "b.jpg", FakeImageBytes(40, 30)),
        WriteTestFile(camera / "a.txt", "no picture"),
        WriteTestFile(camera / "kast.jpg", FakeImageBytes(1, 1))});
    EXPECT_EQ(messages, (std::vector<std::string> {std::string(kMsgPictureUnusable)}));
    EXPECT_EQ(
        add.Names(), (std::vector<std::string> {"b.jpg", "kast (2).jpg", "kast.jpg", "Zee.jpg"}));
    EXPECT_EQ(add.Names()[static_cast<size_t>(add.Selected())], "kast (2).jpg"); // the last one

    // A 100 x 50 mm picture is placed five times its HIMETRIC size, alone
    // selected and current.
    pictures.pictures.push_back(std::make_unique<CPict>(Picture({0, 0, 1, 1})));
    pictures.SetSelected(0, true);
    add.Select(2);
    EXPECT_EQ(add.Place(), 1);
    EXPECT_EQ(pictures.At(1).placementRect, (CRect {0, 0, 50000, 25000}));
    EXPECT_FALSE(pictures.IsSelected(0));
    EXPECT_TRUE(pictures.IsSelected(1));
    EXPECT_EQ(pictures.GetCurrentIndex(), 1);

    // A file spoilt since it was listed cannot be placed.
    WriteTestFile(folder / "Zee.jpg", "spoilt");
    add.Select(3);
    EXPECT_EQ(add.Place(), -1);
    EXPECT_EQ(pictures.GetSize(), 2);
}

TEST(AddPictures, AFolderThatCannotTakeCopiesIsSaidSo)
{
    CFakeImageCodec codec;
    CTempFolder tmp;
    WriteTestFile(tmp.path / "Afbeeldingen", "a file in the folder's place");
    CPictArray pictures;
    CAddPictures add(tmp.path / "Afbeeldingen", pictures);
    EXPECT_EQ(add.Selected(), -1);
    EXPECT_EQ(add.Place(), -1);
    const auto messages
        = add.AddFiles({WriteTestFile(tmp.path / "foto.jpg", FakeImageBytes(40, 30))});
    EXPECT_EQ(messages, (std::vector<std::string> {std::string(kMsgPictureNotCopied)}));
    EXPECT_TRUE(add.Names().empty());
}

TEST(PictureEdit, FieldsReadBackAsShown)
{
    // Every value the dialog shows reads back as the same micrometres.
    for (int32_t um : {0, 1, 999, 1000, 1001, 12500, 50000, 123456, 1000000, -2500}) {
        const std::string text = PictureFieldText(um);
        EXPECT_EQ(PictureFieldValue(text), um) << text;
    }
    EXPECT_EQ(PictureFieldText(12500), "12.500 mm.");
    // (text, micrometres)
    const struct {
        const char* text;
        std::optional<int32_t> um;
    } cases[] = {
        {"12,5 mm.", 12500},
        {" 1.001 mm.", 1001},
        {"7", 7000},
        {"-3.5mm", -3500},
        {"mm.", std::nullopt},
        {"", std::nullopt},
        {".", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PictureFieldValue(c.text), c.um) << c.text;
}

TEST(PictureEdit, SizesStayInRange)
{
    // (field, text, keep ratio, placement afterwards); the picture is
    // 50 x 25 mm at (10, 20) mm, ratio 2.
    enum Field { Width, Height, X, Y };
    const CRect start {10000, 20000, 60000, 45000};
    const struct {
        Field field;
        const char* text;
        bool keep;
        CRect after;
    } cases[] = {
        {Width, "0.5 mm.", false, start},
        {Width, "1500", false, start},
        {Width, "0.999", false, start},
        {Width, "1.000", false, {10000, 20000, 11000, 45000}},
        {Width, "1000", false, {10000, 20000, 1010000, 45000}},
        {Width, "1000.001", false, start},
        {Width, "80", true, {10000, 20000, 90000, 60000}},
        {Width, "1.5", true, start}, // the height would be 0.75 mm
        {Height, "30", true, {10000, 20000, 70000, 50000}},
        {Height, "600", true, start}, // the width would be 1200 mm
        {Height, "600", false, {10000, 20000, 60000, 620000}},
        {Height, "25.000 mm.", false, start}, // as shown: no change
        {X, "0", false, {0, 20000, 50000, 45000}},
        {X, "-1", false, start},
        {X, "1000.000", false, {1000000, 20000, 1050000, 45000}},
        {X, "1000.001", false, start},
        {Y, "5,5", false, {10000, 5500, 60000, 30500}},
        {Y, "abc", false, start},
    };
    for (const auto& c : cases) {
        CListener listener;
        CPictureEdit edit(Picture(start), {0, 0}, &listener);
        EXPECT_TRUE(edit.KeepRatio());
        edit.SetKeepRatio(c.keep);
        bool changed = false;
        switch (c.field) {
        case Width:
            changed = edit.SetWidth(c.text);
            break;
        case Height:
            changed = edit.SetHeight(c.text);
            break;
        case X:
            changed = edit.SetX(c.text);
            break;
        case Y:
            changed = edit.SetY(c.text);
            break;
        }
        EXPECT_EQ(edit.Placement(), c.after) << c.text;
        EXPECT_EQ(changed, c.after != start) << c.text;
        EXPECT_EQ(listener.shown.size(), changed ? 1u : 0u) << c.text;
    }
}

TEST(PictureEdit, RatioAndOriginalSize)
{
    // A source without height takes the picture's ratio; without either, 1.
    EXPECT_DOUBLE_EQ(
        CPictureEdit(Picture({0, 0, 4000, 2000}, {0, 0, 300, 0}, {400, 100}), {}).Ratio(), 4.0);
    EXPECT_DOUBLE_EQ(
        CPictureEdit(Picture({0, 0, 4000, 2000}, {0, 0, 300, 0}, {400, 0}), {}).Ratio(), 1.0);

    // Fields relative to the origin; not in ratio, so the box starts off.
    CPictureEdit edit(Picture({11000, 22000, 31000, 52000}), {1000, 2000});
    EXPECT_FALSE(edit.KeepRatio());
    EXPECT_EQ(edit.XText(), "10.000 mm.");
    EXPECT_EQ(edit.YText(), "20.000 mm.");
    EXPECT_EQ(edit.WidthText(), "20.000 mm.");
    EXPECT_EQ(edit.HeightText(), "30.000 mm.");
    EXPECT_TRUE(edit.SetKeepRatio(true));
    EXPECT_EQ(edit.Placement(), (CRect {11000, 22000, 31000, 32000}));
    EXPECT_TRUE(edit.SetOriginalSize());
    EXPECT_EQ(edit.Placement(), (CRect {11000, 22000, 21000, 27000}));

    // The original size is held within 1 mm ... 1 m.
    CPictureEdit tiny(Picture({0, 0, 5000, 5000}, {0, 0, 200, 3000000}), {});
    EXPECT_TRUE(tiny.SetOriginalSize());
    EXPECT_EQ(tiny.Placement(), (CRect {0, 0, 1000, 1000000}));
    // Keeping the ratio would give a height out of range: refused.
    CPictureEdit flat(Picture({0, 0, 1500, 5000}, {0, 0, 2000, 1}), {});
    EXPECT_FALSE(flat.SetKeepRatio(true));
    EXPECT_FALSE(flat.KeepRatio());
}
