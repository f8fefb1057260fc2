#include "view/tools/picture_tool.h"

#include <gtest/gtest.h>

#include "app/command_table.h"
#include "document/picture_folder.h"
#include "support/fake_image_codec.h"
#include "support/temp_folder.h"
#include "tool_test_support.h"

namespace fs = std::filesystem;

namespace {

// A saved project with one picture file of 20 x 10 mm in its folder (shown
// at 100 x 50 mm, 1000 x 500 pixels at zoom 100: placements are tested in
// micrometres).
struct CPictureBench : CViewBench {
    CPictureBench()
    {
        doc.pathName = (tmp.path / "Kast.ETT").string();
        WriteTestFile(tmp.path / "Afbeeldingen" / "foto.jpg", FakeImageBytes(2000, 1000));
        // "Plaatsen" with the first file, as often as asked.
        dialogs.addPicture = [this](CAddPictures& add, const std::string&) -> std::optional<int> {
            if (answers.empty())
                return std::nullopt;
            const bool place = answers.front();
            answers.erase(answers.begin());
            if (!place)
                return std::nullopt;
            const int index = add.Place();
            return index >= 0 ? std::optional<int>(index) : std::nullopt;
        };
    }
    CPictArray& Pictures() { return *Sheet().pictures; }
    int AddedBefore(CRect placement)
    {
        auto p = std::make_unique<CPict>();
        p->placementRect = placement;
        p->SetImage(std::make_shared<CFakeImage>(CSize {10, 10}));
        Pictures().pictures.push_back(std::move(p));
        return Pictures().GetSize() - 1;
    }

    CFakeImageCodec codec;
    CTempFolder tmp;
    std::vector<bool> answers; // of the add dialog: place, or cancel
};

} // namespace

TEST(PictureTool, APictureFollowsThePointerUntilAPressPlacesIt)
{
    CPictureBench bench;
    bench.answers = {true, false};
    const int steps = bench.Sheet().undoPosition;
    bench.Run({Move(100, 100), Command(Cmd::ToolPictures)});
    CSheet& s = bench.Sheet();
    EXPECT_EQ(s.toolMode, ToolMode::Pictures);
    EXPECT_EQ(s.toolStep, Step::PictureFollows);
    ASSERT_EQ(bench.Pictures().GetSize(), 1);
    EXPECT_EQ(bench.Pictures().At(0).placementRect, (CRect {10000, 10000, 20000, 15000}));
    EXPECT_TRUE(bench.Pictures().IsSelected(0));

    // A move restores the old pixels from the sheet image and draws the
    // picture anew, framed, on the screen: no complete draw.
    const int draws = bench.ui.invalidated;
    bench.ui.screen.calls.clear();
    bench.Run({Move(150, 120)});
    EXPECT_EQ(bench.Pictures().At(0).placementRect, (CRect {15000, 12000, 25000, 17000}));
    EXPECT_EQ(bench.ui.restored, (std::vector<CRect> {{98, 99, 202, 152}}));
    EXPECT_EQ(bench.ui.invalidated, draws);
    ASSERT_FALSE(bench.ui.screen.calls.empty());
    EXPECT_EQ(
        bench.ui.screen.calls.front(), "image 2000x1000 -> 150 120 250 170 from 0 0 2000 1000");

    // The press places it as one undo step and asks again; Cancel ends in
    // the Select tool, the picture placed and no longer selected.
    const CViewOutcome o = bench.Run({Press(150, 120)});
    EXPECT_EQ(o, (CViewOutcome {Step::Idle, s.recordCount - 1, steps + 1, true}));
    EXPECT_EQ(bench.dialogs.asked, (std::vector<std::string> {"add picture", "add picture"}));
    EXPECT_EQ(s.toolMode, ToolMode::Select);
    ASSERT_EQ(bench.Pictures().GetSize(), 1);
    EXPECT_FALSE(bench.Pictures().IsSelected(0));
    // The dialog took the release: the view does not wait for it.
    EXPECT_FALSE(bench.view.Captured());
    bench.Run({Release(150, 120)});
    EXPECT_EQ(bench.Pictures().At(0).placementRect, (CRect {15000, 12000, 25000, 17000}));
}

TEST(PictureTool, APressCanPlaceOneAfterAnother)
{
    CPictureBench bench;
    bench.answers = {true, true};
    const int steps = bench.Sheet().undoPosition;
    bench.Run({Move(10, 10), Command(Cmd::ToolPictures), Click(20, 30), Move(40, 50)});
    ASSERT_EQ(bench.Pictures().GetSize(), 2);
    EXPECT_EQ(bench.Pictures().At(0).placementRect, (CRect {2000, 3000, 12000, 8000}));
    EXPECT_EQ(bench.Pictures().At(1).placementRect, (CRect {4000, 5000, 14000, 10000}));
    EXPECT_FALSE(bench.Pictures().IsSelected(0));
    EXPECT_TRUE(bench.Pictures().IsSelected(1));
    EXPECT_EQ(bench.Sheet().toolStep, Step::PictureFollows);
    EXPECT_EQ(bench.Sheet().undoPosition, steps + 1);
}

TEST(PictureTool, CancelLeavesTheToolAsItWas)
{
    CPictureBench bench;
    bench.dialogs.pen = [](CPenValues&) { return true; };
    bench.Run({Command(Cmd::ToolLines)});
    bench.answers = {false};
    const CViewOutcome before = bench.Outcome();
    EXPECT_EQ(bench.Run({Command(Cmd::ToolPictures)}), before);
    EXPECT_EQ(bench.Sheet().toolMode, ToolMode::Lines);
    EXPECT_EQ(bench.Pictures().GetSize(), 0);
}

TEST(PictureTool, WhatEndsTheToolBeforeAPressTakesThePictureBack)
{
    // (what ends it) -> tool afterwards
    const struct {
        const char* name;
        CViewEvent event;
        int tool;
    } cases[] = {
        {"Esc", KeyStroke(Key::Escape), ToolMode::Select},
        {"another tool", Command(Cmd::ToolJunctions), ToolMode::Junctions},
        {"Einde", Command(Cmd::End), ToolMode::Select},
        {"finishing", Finish(), ToolMode::Pictures},
    };
    for (const auto& c : cases) {
        CPictureBench bench;
        // Pictures before it and one the tool's is placed before (it is not
        // the last one): only the tool's own goes.
        bench.AddedBefore({0, 0, 10, 10});
        bench.answers = {true};
        const int steps = bench.Sheet().undoPosition;
        bench.Run({Move(100, 100), Command(Cmd::ToolPictures)});
        const int own = bench.Pictures().GetCurrentIndex();
        ASSERT_EQ(own, 1);
        bench.AddedBefore({20, 20, 30, 30});
        bench.Pictures().SetCurrentIndex(own);

        const CViewOutcome o = bench.Run({c.event});
        EXPECT_EQ(bench.Sheet().toolMode, c.tool) << c.name;
        EXPECT_EQ(o.step, Step::Idle) << c.name;
        ASSERT_EQ(bench.Pictures().GetSize(), 2) << c.name;
        EXPECT_EQ(bench.Pictures().At(1).placementRect, (CRect {20, 20, 30, 30})) << c.name;
        EXPECT_EQ(bench.Sheet().undoPosition, steps) << c.name;
        EXPECT_FALSE(bench.doc.modified) << c.name;
    }
}

TEST(PictureTool, EscAfterAFailedAddRemovesNothing)
{
    CPictureBench bench;
    bench.AddedBefore({0, 0, 10, 10});
    // The file cannot be placed: the dialog stays open and is cancelled.
    WriteTestFile(bench.tmp.path / "Afbeeldingen" / "foto.jpg", "spoilt");
    bench.answers = {true};
    bench.Run({Command(Cmd::ToolPictures), KeyStroke(Key::Escape)});
    EXPECT_EQ(bench.Sheet().toolMode, ToolMode::Select);
    EXPECT_EQ(bench.Pictures().GetSize(), 1);
}

TEST(PictureTool, UndoAndRedoTakeTheUnplacedPictureAwayFirst)
{
    CPictureBench bench;
    bench.answers = {true, false, true, true};
    bench.Run({Move(10, 10), Command(Cmd::ToolPictures), Click(10, 10)});
    ASSERT_EQ(bench.Pictures().GetSize(), 1);

    // Undo while a new picture follows: it goes, then the placed one.
    bench.Run({Move(30, 30), Command(Cmd::ToolPictures), Command(Cmd::Undo)});
    EXPECT_EQ(bench.Pictures().GetSize(), 0);
    EXPECT_EQ(bench.Sheet().toolMode, ToolMode::Select);

    // Redo while another follows: it goes, and the placed one comes back.
    bench.Run({Move(50, 50), Command(Cmd::ToolPictures)});
    EXPECT_EQ(bench.Pictures().GetSize(), 1);
    bench.Run({Command(Cmd::Redo)});
    ASSERT_EQ(bench.Pictures().GetSize(), 1);
    EXPECT_EQ(bench.Pictures().At(0).placementRect, (CRect {1000, 1000, 11000, 6000}));
    EXPECT_EQ(bench.Sheet().toolMode, ToolMode::Select);
}

TEST(PictureTool, AProjectNeverSavedIsSavedFirst)
{
    CPictureBench bench;
    const std::string path = bench.doc.pathName;
    bench.doc.pathName.clear();
    bench.answers = {true};

    bench.ui.answers = {CUiServices::Answer::Cancel};
    bench.Run({Command(Cmd::ToolPictures)});
    EXPECT_EQ(bench.ui.messages, (std::vector<std::string> {std::string(kMsgSaveProjectFirst)}));
    EXPECT_TRUE(bench.dialogs.asked.empty());

    // Save As cancelled: no dialog either.
    bench.Run({Command(Cmd::ToolPictures)});
    EXPECT_EQ(bench.dialogs.asked, (std::vector<std::string> {"save as"}));

    bench.dialogs.saveAs = [&] {
        bench.doc.pathName = path;
        return true;
    };
    bench.Run({Command(Cmd::ToolPictures)});
    EXPECT_EQ(bench.dialogs.asked.back(), "add picture");
    EXPECT_EQ(bench.Sheet().toolStep, Step::PictureFollows);
}

TEST(PictureProperties, OkRecordsOneUndoStepCancelRestores)
{
    for (const bool ok : {true, false}) {
        CPictureBench bench;
        const int index = bench.AddedBefore({10000, 10000, 30000, 20000});
        bench.Pictures().SetSelected(index, true);
        int draws = 0;
        bench.dialogs.editPicture = [&](CPictureEdit& edit) {
            const int before = bench.ui.invalidated;
            EXPECT_TRUE(edit.SetWidth("40"));
            EXPECT_EQ(
                bench.Pictures().At(index).placementRect, (CRect {10000, 10000, 50000, 20000}));
            draws = bench.ui.invalidated - before;
            return ok;
        };
        const CViewOutcome o = bench.Run({Command(Cmd::PictureProperties)});
        EXPECT_EQ(draws, 1);
        EXPECT_EQ(o.undoSteps, ok ? 1 : 0);
        EXPECT_EQ(o.modified, ok);
        EXPECT_EQ(bench.Pictures().At(index).placementRect,
            (ok ? CRect {10000, 10000, 50000, 20000} : CRect {10000, 10000, 30000, 20000}));
        if (ok) {
            // The undo step holds the change.
            bench.Run({Command(Cmd::Undo), Command(Cmd::Redo)});
            EXPECT_EQ(
                bench.Pictures().At(index).placementRect, (CRect {10000, 10000, 50000, 20000}));
        }
    }
}

TEST(PictureProperties, OnlyForOnePlacedPicture)
{
    CPictureBench bench;
    bench.AddedBefore({0, 0, 1000, 1000});
    bench.AddedBefore({5000, 5000, 6000, 6000});
    EXPECT_FALSE(bench.view.Update(Cmd::PictureProperties).enabled);
    bench.Pictures().SetAllSelected(true);
    EXPECT_FALSE(bench.view.Update(Cmd::PictureProperties).enabled);
    bench.Pictures().SetSelected(0, false);
    EXPECT_TRUE(bench.view.Update(Cmd::PictureProperties).enabled);

    // A double click opens it.
    bench.view.DoubleClick(55, 55);
    EXPECT_EQ(bench.dialogs.asked, (std::vector<std::string> {"edit picture"}));

    // Not for a picture that still follows the pointer.
    bench.answers = {true};
    bench.Run({Command(Cmd::ToolPictures)});
    EXPECT_FALSE(bench.view.Update(Cmd::PictureProperties).enabled);
}
