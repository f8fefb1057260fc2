#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/command_table.h"
#include "model/archive.h"
#include "model/picture.h"
#include "model/sheet.h"
#include "support/recording_canvas.h"
#include "support/view_script.h"
#include "tools/tool_test_support.h"

namespace {

constexpr int kFrame = 5; // the records of the new sheet's frame, block 1
constexpr const char* kMsgOpen = "Failed to open Clipboard!";
constexpr const char* kMsgData = "Failed to get Clipboard data!";

// The new sheet's frame selected, with a text and a picture.
void SelectFrameTextAndPicture(CSheet& s)
{
    for (int i = 1; i <= kFrame; ++i)
        s.SelectRecord(i);
    s.texts.Add(std::make_unique<CText>("Kast", CRect {1000, 1000, 3000, 2000}, 1600));
    s.texts.SetSelected(0, true);
    auto p = std::make_unique<CPict>();
    p->placementRect = {5000, 5000, 9000, 9000};
    s.pictures->pictures.push_back(std::move(p));
    s.pictures->SetSelected(0, true);
}

TEST(ClipboardCommands, CopyAndCutAreEnabledByRecordsOrTextsNotPicturesAlone)
{
    CViewBench bench;
    CSheet& s = bench.Sheet();
    EXPECT_FALSE(bench.view.Update(Cmd::Copy).enabled);
    auto p = std::make_unique<CPict>();
    s.pictures->pictures.push_back(std::move(p));
    s.pictures->SetSelected(0, true);
    EXPECT_FALSE(bench.view.Update(Cmd::Copy).enabled);
    EXPECT_FALSE(bench.view.Update(Cmd::Cut).enabled);
    s.texts.Add(std::make_unique<CText>("T", CRect {0, 0, 10, 10}, 1600));
    s.texts.SetSelected(0, true);
    EXPECT_TRUE(bench.view.Update(Cmd::Copy).enabled);
    EXPECT_TRUE(bench.view.Update(Cmd::Cut).enabled);
}

TEST(ClipboardCommands, UpdateNeverAsksTheClipboard)
{
    CViewBench bench;
    for (int id : {Cmd::Paste, Cmd::PasteAtCursor, Cmd::Cut, Cmd::Copy})
        bench.view.Update(id);
    EXPECT_FALSE(bench.view.Update(Cmd::Paste).enabled);
    bench.ui.clipboard.holdsStream = true;
    EXPECT_TRUE(bench.view.Update(Cmd::Paste).enabled);
    EXPECT_TRUE(bench.view.Update(Cmd::PasteAtCursor).enabled);
    EXPECT_EQ(bench.ui.clipboard.takes, 0);
}

TEST(ClipboardCommands, CopyThenPasteLandsInPlaceAsOneUndoStep)
{
    CViewBench bench;
    CSheet& s = bench.Sheet();
    s.SelectFigure(1);
    bench.Run({Command(Cmd::Copy)});
    EXPECT_EQ(bench.ui.clipboard.puts, 1);
    EXPECT_EQ(s.selectedCount, kFrame); // Copy changes nothing
    EXPECT_FALSE(bench.doc.modified);

    const std::string frame = Drawn(s, 1);
    const CViewOutcome o = bench.Run({Command(Cmd::Paste)});
    EXPECT_EQ(o, (CViewOutcome {Step::Idle, 2 * kFrame, 1, true}));
    // An exact duplicate with a new block number, unselected.
    std::string copy = frame;
    for (size_t at = copy.find("#1"); at != std::string::npos; at = copy.find("#1", at + 2))
        copy.replace(at, 2, "#2");
    EXPECT_EQ(Drawn(s, kFrame + 1), copy);
    EXPECT_EQ(s.selectedCount, kFrame);
    EXPECT_TRUE(bench.ui.messages.empty());

    bench.Run({Command(Cmd::Undo)});
    EXPECT_EQ(s.recordCount - 1, kFrame);
}

TEST(ClipboardCommands, CutDeletesWhatItCopiedOnceTheClipboardHasIt)
{
    // (clipboard refuses) -> records and texts left, picture still selected, message
    const struct {
        bool refuse;
        int records;
        int texts;
        std::vector<std::string> messages;
    } cases[] = {{false, 0, 0, {}}, {true, kFrame, 1, {kMsgOpen}}};
    for (const auto& c : cases) {
        CViewBench bench;
        CSheet& s = bench.Sheet();
        SelectFrameTextAndPicture(s);
        bench.ui.clipboard.refusePut = c.refuse;
        const CViewOutcome o = bench.Run({Command(Cmd::Cut)});
        EXPECT_EQ(o.records, c.records) << c.refuse;
        EXPECT_EQ(o.modified, !c.refuse);
        EXPECT_EQ(s.texts.GetCount(), c.texts);
        EXPECT_EQ(s.pictures->GetSize(), 1);
        EXPECT_TRUE(s.pictures->IsSelected(0));
        EXPECT_EQ(bench.ui.messages, c.messages);
    }
}

TEST(ClipboardCommands, PasteFailuresChangeNothing)
{
    CViewBench bench;
    const std::vector<uint8_t> damaged = {5, 0, 0, 0, 1, 2};
    const struct {
        const char* name;
        CClipboard::Failure failure;
        std::vector<uint8_t> stream;
        const char* message;
    } cases[] = {
        {"not opened", CClipboard::Failure::NotOpened, {}, kMsgOpen},
        // Another program took the clipboard since we last heard.
        {"no data", CClipboard::Failure::NoData, {}, kMsgData},
        {"a short stream", CClipboard::Failure::None, damaged, kMsgData},
    };
    for (const auto& c : cases) {
        bench.ui.messages.clear();
        bench.ui.clipboard.takeFailure = c.failure;
        bench.ui.clipboard.holdsStream = true;
        bench.ui.clipboard.stream = c.stream;
        bench.view.Execute(Cmd::Paste);
        EXPECT_EQ(bench.Outcome(), (CViewOutcome {Step::Idle, kFrame, 0, false})) << c.name;
        EXPECT_EQ(bench.ui.messages, std::vector<std::string> {c.message}) << c.name;
    }
}

TEST(ClipboardCommands, PasteEndsALineBeingDrawnFirst)
{
    CViewBench bench;
    CSheet& s = bench.Sheet();
    s.SelectRecord(2);
    bench.view.Execute(Cmd::Copy);
    s.ClearSelection();
    bench.Run({Command(Cmd::ToolLines), Click(10, 10), Move(50, 10)});
    EXPECT_EQ(s.toolStep, Step::LineFollows);
    const CViewOutcome o = bench.Run({Command(Cmd::Paste)});
    // The line is its own undo step, the paste the next; the segment arrives
    // with the move that starts it.
    EXPECT_EQ(o, (CViewOutcome {Step::Idle, kFrame + 2 + 2, 2, true}));
    EXPECT_EQ(Drawn(s, kFrame + 1).substr(0, 13), "M10,10 L50,10");
}

TEST(ClipboardCommands, PasteAtThePlacementStepKeepsTheGhost)
{
    CViewBench bench;
    CSheet& s = bench.Sheet();
    s.SelectRecord(3);
    bench.view.Execute(Cmd::Copy);
    s.ClearSelection();
    bench.Run({Command(Cmd::ToolRectangles), Press(10, 10), Release(70, 60)});
    ASSERT_EQ(s.toolStep, Step::Placing);
    const int buffer = s.placementCount;
    const CViewOutcome o = bench.Run({Command(Cmd::Paste)});
    EXPECT_EQ(o, (CViewOutcome {Step::Placing, kFrame + 2, 1, true}));
    EXPECT_EQ(s.placementCount, buffer);
    EXPECT_EQ(s.toolMode, ToolMode::Rectangles);
}

TEST(ClipboardCommands, PasteAtCursorPlacesAtEveryPressWithTheBlocksApart)
{
    CViewBench bench;
    CSheet& s = bench.Sheet();
    // Two blocks and a text, copied.
    s.Append(CETREC::Make(10000, 10000, 2, 0, 7));
    s.Append(CETREC::Make(12000, 10000, 2, 1, 7));
    s.Append(CETREC::Make(10000, 12000, 2, 0, 9));
    s.Append(CETREC::Make(12000, 12000, 2, 1, 9));
    for (int i = kFrame + 1; i <= kFrame + 4; ++i)
        s.SelectRecord(i);
    s.texts.Add(std::make_unique<CText>("T", CRect {10000, 13000, 10500, 13500}, 1600));
    s.texts.SetSelected(0, true);
    bench.view.Execute(Cmd::Copy);
    s.ClearSelection();
    s.texts.DeselectAll();
    const int before = s.recordCount;

    bench.Run({Move(300, 300), Command(Cmd::PasteAtCursor)});
    EXPECT_EQ(s.toolMode, ToolMode::CopyPlacement);
    EXPECT_EQ(s.toolStep, Step::Placing);
    EXPECT_EQ(s.placementCount, 4);
    EXPECT_EQ(s.bufferTexts.size(), 1u);

    const CViewOutcome o = bench.Run({Click(300, 300), Click(400, 300)});
    EXPECT_EQ(o, (CViewOutcome {Step::Placing, kFrame + 4 + 8, 2, true}));
    // Centred on the cursor (box 10000...12000 x 10000...13500, middle
    // (11000, 11750)), blocks 10 and 11, then 12 and 13.
    EXPECT_EQ(Drawn(s, before),
        "M290,282#10 L310,282#10 M290,302#11 L310,302#11 "
        "M390,282#12 L410,282#12 M390,302#13 L410,302#13");
    ASSERT_EQ(s.texts.GetCount(), 3);
    EXPECT_EQ(s.texts.At(1)->box, (CRect {29000, 31250, 29500, 31750}));
    EXPECT_EQ(s.texts.At(2)->box, (CRect {39000, 31250, 39500, 31750}));
    EXPECT_FALSE(s.texts.At(2)->IsSelected());

    bench.Run({KeyStroke(Key::Escape)});
    EXPECT_EQ(s.toolMode, ToolMode::Select);
    EXPECT_TRUE(s.bufferTexts.empty());
    EXPECT_FALSE(s.bufferKeepsBlocks);
}

TEST(ClipboardCommands, ThePictureCoversTheWindowOrTheSelection)
{
    // (window shown) -> size in 0.01 mm, and whether the unselected line
    // far away from the selection is drawn.
    const struct {
        bool window;
        CSize size;
        size_t lines;
    } cases[] = {
        // The selected line 2000...6000 and a 1 mm margin round it.
        {false, {600, 200}, 1},
        // The window (0, 0)-(30000, 20000): both lines and the two edges of
        // the frame that pass through it.
        {true, {3000, 2000}, 4},
    };
    for (const auto& c : cases) {
        CViewBench bench;
        CSheet& s = bench.Sheet();
        s.Append(CETREC::Make(2000, 3000, 1, 0));
        s.Append(CETREC::Make(6000, 3000, 1, 1));
        s.Append(CETREC::Make(20000, 15000, 1, 0));
        s.Append(CETREC::Make(25000, 15000, 1, 1));
        s.SelectFigure(kFrame + 1);
        s.rubberActive = c.window ? 1 : 0;
        s.rubberRect = {0, 0, 30000, 20000};
        bench.view.Execute(Cmd::Copy);
        ASSERT_TRUE(bench.ui.clipboard.picture);
        EXPECT_EQ(bench.ui.clipboard.picture->Size(), c.size) << c.window;

        // Drawn later, the picture shows the sheet as it was at Copy.
        s.Append(CETREC::Make(2000, 4000, 1, 0));
        s.Append(CETREC::Make(6000, 4000, 1, 1));
        CRecordingCanvas canvas;
        bench.ui.clipboard.picture->Draw(canvas);
        const size_t lines = canvas.Only("polyline").size() + canvas.Only("line ").size();
        EXPECT_EQ(lines, c.lines) << c.window;
    }
}

} // namespace
