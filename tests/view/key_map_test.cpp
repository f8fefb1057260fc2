#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/command_table.h"
#include "model/sheet.h"
#include "model/text.h"
#include "model/tool_mode.h"
#include "support/view_script.h"
#include "view/context_menu.h"
#include "view/keys.h"
#include "view/status_readouts.h"
#include "view/tools/tool_machine.h"

namespace {

// A tool that lists the keys, characters and presses that reach it.
class CListingTool : public CToolMachine {
public:
    std::vector<std::string> events;
    void Press(CToolContext&) override { events.push_back("press"); }
    bool KeyDown(CToolContext&, const CKeyEvent& k) override
    {
        events.push_back("key " + std::to_string(k.key));
        return true;
    }
    bool Char(CToolContext&, uint8_t ch) override
    {
        events.push_back(std::string("char ") + char(ch));
        return true;
    }
};

enum class Sel { None, Records, Texts, Both };

// A view whose commands only say that they ran, so that a key's row shows
// whatever the state of the sheet; the system-font text tool is a listing
// tool, for the keys that reach a tool.
class KeyMapTest : public ::testing::Test {
protected:
    KeyMapTest()
    {
        bench.Place(100, 0, 0);
        auto text = std::make_unique<CText>("Tekst", CRect {30000, 10000, 35000, 12000}, 0);
        text->SetHeight(20);
        Sheet().texts.Add(std::move(text));
        for (const CCommandInfo& c : AllCommands())
            bench.view.Handlers().On(c.id, [this, id = c.id] { ran.push_back(id); });
        bench.view.Tools().Use(ToolMode::WindowsText, tool);
    }

    CSheet& Sheet() { return bench.Sheet(); }

    void Set(int toolMode, int step, Sel sel)
    {
        CSheet& s = Sheet();
        s.toolMode = toolMode;
        s.toolStep = step;
        s.ClearSelection();
        s.texts.DeselectAll();
        if (sel == Sel::Records || sel == Sel::Both)
            s.SelectRecord(1);
        if (sel == Sel::Texts || sel == Sel::Both)
            s.texts.SetSelected(0, true);
        bench.doc.keyPrefix = 0;
        bench.view.orthoCrosshair = false;
        bench.view.diagCrosshair = false;
        ran.clear();
        tool.events.clear();
        bench.ui.popups.clear();
        bench.ui.screen.calls.clear();
    }

    // What a key may change of the sheet.
    struct CBefore {
        int selectedCount;
        CPoint origin;
        CPoint cursor;
        int toolStep;
    };
    CBefore Before()
    {
        const CSheet& s = Sheet();
        return {s.selectedCount, s.origin, s.cursor, s.toolStep};
    }

    // What the key did, in the words of the key map: the command run, the
    // view's action, or what reached the tool.
    std::string Outcome(const CBefore& before)
    {
        const CSheet& s = Sheet();
        if (!ran.empty())
            return "cmd " + std::to_string(ran.back());
        if (!bench.ui.popups.empty())
            return "menu";
        if (!tool.events.empty())
            return tool.events.front();
        if (bench.view.orthoCrosshair)
            return "ortho stays";
        if (bench.view.diagCrosshair)
            return "diagonal stays";
        if (s.selectedCount > before.selectedCount)
            return "select all";
        if (bench.doc.keyPrefix != 0)
            return "Z";
        // The cursor's point on the sheet, whatever the pan.
        const auto onSheet = [](CPoint p, CPoint origin) {
            return CPoint {p.x - origin.x, p.y - origin.y};
        };
        if (onSheet(s.cursor, s.origin) != onSheet(before.cursor, before.origin))
            return "cursor";
        if (s.origin != before.origin)
            return "pan";
        if (s.toolStep != before.toolStep)
            return "step " + std::to_string(s.toolStep);
        if (!bench.ui.screen.calls.empty())
            return "long cursor";
        return "nothing";
    }

    std::string Key(int key, bool ctrl = false, bool shift = false)
    {
        const CBefore before = Before();
        bench.view.KeyDown({key, ctrl, shift});
        return Outcome(before);
    }

    CViewBench bench;
    CListingTool tool;
    std::vector<int> ran;
};

constexpr int Select = ToolMode::Select;
constexpr int Lines = ToolMode::Lines;
constexpr int Typed = ToolMode::WindowsText;

TEST_F(KeyMapTest, EveryKeyInItsToolAndStep)
{
    const struct {
        int tool;
        int step;
        Sel sel;
        int key;
        bool ctrl;
        bool shift;
        std::string outcome;
    } cases[] = {
        // "/" opens the menu, whatever types it; typing wins
        {Select, 0, Sel::None, Key::Slash, false, false, "menu"},
        {Lines, 401, Sel::None, Key::Slash, false, true, "menu"},
        {Typed, 220, Sel::None, Key::Slash, false, false, "key 191"},
        {Lines, 0, Sel::None, Key::Menu, false, false, "menu"},
        {Lines, 0, Sel::None, Key::F10, false, true, "menu"},
        {Lines, 0, Sel::None, Key::F10, false, false, "nothing"},
        {Typed, 220, Sel::None, Key::Menu, false, false, "menu"},
        {Typed, 220, Sel::None, Key::F10, false, true, "menu"},
        // Ctrl+A: the Select tool's command; elsewhere select all in place,
        // also while a line is drawn or a text typed
        {Select, 0, Sel::None, 'A', true, false, "cmd 57642"},
        {Lines, 401, Sel::None, 'A', true, false, "select all"},
        {Typed, 220, Sel::None, 'A', true, false, "select all"},
        // the long cursors, once or for good; the typed text takes A and Q
        {Lines, 0, Sel::None, 'A', false, false, "long cursor"},
        {Lines, 0, Sel::None, 'A', false, true, "ortho stays"},
        {Select, 200, Sel::Records, 'Q', false, false, "long cursor"},
        {Select, 0, Sel::None, 'Q', false, true, "diagonal stays"},
        {Typed, 220, Sel::None, 'A', false, true, "key 65"},
        {Typed, 220, Sel::None, 'Q', false, false, "key 81"},
        // Ctrl and Shift alone
        {Typed, 220, Sel::None, Key::Control, true, false, "nothing"},
        {Typed, 220, Sel::None, Key::Shift, false, true, "nothing"},
        // every other key of a typed text is the text's
        {Typed, 220, Sel::None, Key::F6, false, false, "key 117"},
        {Typed, 220, Sel::None, Key::PageDown, false, false, "key 34"},
        {Typed, 220, Sel::None, 'B', true, false, "key 66"},
        // sheets, Space
        {Lines, 0, Sel::None, Key::PageDown, false, false, "cmd 32876"},
        {Select, 200, Sel::Records, Key::PageUp, false, false, "cmd 32877"},
        {Typed, 0, Sel::None, Key::Space, false, false, "press"},
        // the Select tool's F2, Esc, Ctrl+B, Ctrl+I, other Ctrl keys, Delete
        {Select, 200, Sel::Records, Key::F2, false, true, "cmd 32810"},
        {Select, 200, Sel::Both, Key::F2, false, true, "cmd 32814"},
        {Select, 200, Sel::Texts, Key::F2, false, true, "cmd 32814"},
        {Select, 200, Sel::Records, Key::F2, false, false, "cmd 32814"},
        {Select, 0, Sel::None, Key::Escape, false, false, "cmd 32808"},
        {Select, 200, Sel::Texts, 'B', true, false, "cmd 32859"},
        {Select, 200, Sel::Texts, 'I', true, false, "cmd 32866"},
        {Typed, 200, Sel::Texts, 'B', true, false, "cmd 32859"},
        {Select, 0, Sel::None, 'L', true, false, "nothing"},
        {Select, 0, Sel::None, 'C', true, false, "nothing"},
        {Select, 200, Sel::Records, Key::Delete, false, false, "cmd 32807"},
        {Lines, 0, Sel::None, Key::Delete, false, false, "nothing"},
        // Esc in the other tools, by step
        {Lines, 401, Sel::None, Key::Escape, false, false, "cmd 32791"},
        {Lines, 400, Sel::None, Key::Escape, false, false, "nothing"},
        {Lines, 402, Sel::None, Key::Escape, false, false, "nothing"},
        {ToolMode::Symbols, 500, Sel::None, Key::Escape, false, false, "cmd 32792"},
        {ToolMode::Pictures, 300, Sel::None, Key::Escape, false, false, "cmd 32792"},
        {Lines, 0, Sel::None, Key::Escape, false, false, "cmd 32792"},
        {ToolMode::Rectangles, 112, Sel::None, Key::Escape, false, false, "step 0"},
        {Typed, 200, Sel::Texts, Key::Escape, false, false, "step 0"},
        {Lines, 101, Sel::None, Key::Escape, false, false, "nothing"},
        // Enter, F5, F6
        {Lines, 0, Sel::None, Key::Return, false, false, "nothing"},
        {Lines, 0, Sel::None, Key::F5, false, false, "cmd 32884"},
        {Select, 0, Sel::None, Key::F6, false, false, "cmd 32885"},
        // the stroke text being placed
        {ToolMode::Text, 500, Sel::None, Key::F2, false, false, "cmd 32851"},
        {ToolMode::Text, 500, Sel::None, Key::F2, false, true, "cmd 32849"},
        {ToolMode::Text, 500, Sel::None, 'L', false, false, "cmd 32848"},
        {ToolMode::Text, 500, Sel::None, 'P', false, false, "cmd 32850"},
        // the view's letters and arrows
        {Lines, 0, Sel::None, 'C', false, false, "pan"},
        {Lines, 0, Sel::None, 'I', false, false, "cmd 32888"},
        {Lines, 0, Sel::None, 'O', false, false, "cmd 32889"},
        {Lines, 0, Sel::None, 'I', true, false, "cmd 32866"},
        {Lines, 401, Sel::None, 'L', false, false, "cmd 32853"},
        {Select, 0, Sel::None, 'P', false, false, "cmd 32854"},
        {Lines, 0, Sel::None, 'Z', false, false, "Z"},
        {Lines, 0, Sel::None, 'N', false, false, "nothing"},
        {Lines, 0, Sel::None, Key::Right, false, false, "cursor"},
        {Lines, 0, Sel::None, 'X', false, false, "nothing"},
    };
    for (const auto& c : cases) {
        Set(c.tool, c.step, c.sel);
        Sheet().cursor = {100000, 100000};
        EXPECT_EQ(Key(c.key, c.ctrl, c.shift), c.outcome)
            << "tool " << c.tool << " step " << c.step << " key " << c.key
            << (c.ctrl ? " ctrl" : "") << (c.shift ? " shift" : "");
    }
}

TEST_F(KeyMapTest, TypedCharactersInTheirToolAndStep)
{
    const struct {
        int tool;
        int step;
        char ch;
        std::string outcome;
    } cases[] = {
        {Typed, 220, '+', "char +"},
        {Typed, 220, '.', "char ."},
        {ToolMode::Text, 500, '+', "cmd 32847"},
        {ToolMode::Text, 500, '-', "cmd 32845"},
        {Lines, 0, 'x', "nothing"},
    };
    for (const auto& c : cases) {
        Set(c.tool, c.step, Sel::None);
        const CBefore before = Before();
        bench.view.Char(static_cast<uint8_t>(c.ch));
        EXPECT_EQ(Outcome(before), c.outcome) << c.tool << " " << c.step << " " << c.ch;
    }
}

TEST_F(KeyMapTest, TheTwoKeySequencesOfZ)
{
    // (keys, whether the view zooms all, whether the pan is reset, whether a
    // Z waits for its second key)
    const struct {
        std::vector<int> keys;
        bool zoomAll;
        bool resetPan;
        bool waiting;
    } cases[] = {
        {{'Z', 'Z'}, true, false, false}, {{'Z', 'X', 'Z'}, false, false, true},
        {{'Z', 'N'}, false, true, false}, {{'N'}, false, false, false},
        {{'Z', Key::Shift, 'N'}, false, false, false},
        {{'Z', 'Z', 'Z'}, true, false, true}, // the third Z starts anew
    };
    for (const auto& c : cases) {
        Set(Lines, 0, Sel::None);
        bench.Place(100, 5000, 5000);
        for (const int key : c.keys)
            bench.view.KeyDown({key, false, key == Key::Shift});
        EXPECT_EQ(std::count(ran.begin(), ran.end(), Cmd::ZoomAll), c.zoomAll ? 1 : 0);
        EXPECT_EQ(Sheet().origin == CPoint {}, c.resetPan);
        EXPECT_EQ(bench.doc.keyPrefix != 0, c.waiting);
    }
}

TEST(KeyMap, CommandsRunByKeysOnlyWhenEnabled)
{
    CViewBench plain;
    plain.Place(100, 0, 0);
    plain.Sheet().toolMode = ToolMode::Lines;
    // Italic with no text selected and Delete outside the Select tool do
    // nothing; Ctrl+B in the Select tool with texts selected does.
    EXPECT_FALSE(plain.view.KeyDown({'I', true, false}));
    EXPECT_EQ(plain.Sheet().zoom, 100);
    EXPECT_FALSE(plain.view.KeyDown({Key::Delete, false, false}));
    EXPECT_EQ(plain.Sheet().recordCount, 6);
}

TEST(KeyMap, PageKeysPutThePointerOnTheCursorOfTheNextSheet)
{
    CViewBench bench;
    bench.doc.AddDefaultSheet();
    const int first = bench.doc.activeSheet;
    bench.ui.pointerPuts.clear();
    EXPECT_TRUE(bench.view.KeyDown({Key::PageDown, false, false}));
    EXPECT_NE(bench.doc.activeSheet, first);
    const CSheet& s = bench.Sheet();
    EXPECT_EQ(
        bench.ui.pointerPuts, (std::vector<CPoint> {{s.cursor.x / s.zoom, s.cursor.y / s.zoom}}));
}

TEST_F(KeyMapTest, ModifiersFollowEveryKeyAndPointerEvent)
{
    CViewController& view = bench.view;
    view.PointerMove(10, 10, {true, false});
    EXPECT_TRUE(view.ctrlDown);
    view.PointerMove(11, 10, {false, true});
    EXPECT_FALSE(view.ctrlDown);
    EXPECT_TRUE(view.shiftDown);
    view.PointerPress(CViewController::Button::Left, 11, 10, {true, false});
    EXPECT_TRUE(view.ctrlDown);
    view.PointerRelease(CViewController::Button::Left, 11, 10, {});
    EXPECT_FALSE(view.ctrlDown);
    view.KeyDown({'X', true, false});
    EXPECT_TRUE(view.ctrlDown);
    view.KeyUp({'X', false, false});
    EXPECT_FALSE(view.ctrlDown);
    view.DoubleClick(11, 10, {false, true});
    EXPECT_TRUE(view.shiftDown);
    view.Wheel(11, 10, 0, {true, false});
    EXPECT_TRUE(view.ctrlDown);
    EXPECT_FALSE(view.shiftDown);
}

TEST_F(KeyMapTest, AHeldSpacePressesOnce)
{
    Set(Typed, 0, Sel::None);
    for (const bool repeat : {false, true, true})
        bench.view.KeyDown({Key::Space, false, false, repeat});
    EXPECT_EQ(tool.events, std::vector<std::string> {"press"});
}

// --- stepping through records ------------------------------------------------------

// After the frame (records 1 ... 5): 6 on layer 1, 7 on layer 2, 8 on layer
// 1, 9 and 10 on layer 3; record 11 lies outside the view.
class RecordStepTest : public ::testing::Test {
protected:
    RecordStepTest()
    {
        bench.Place(100, 0, 0);
        CSheet& s = bench.Sheet();
        frame = s.recordCount - 1;
        const int layers[] = {1, 2, 1, 3, 3};
        for (int i = 0; i < 5; ++i)
            s.Append(CETREC::Make(10000 + 1000 * i, 20000, layers[i], i == 0 ? 0 : 1));
        s.Append(CETREC::Make(200000, 20000, 1, 1));
    }

    CViewBench bench;
    int frame = 0;
};

TEST_F(RecordStepTest, StepsWithinTheBoundsOverShownLayers)
{
    // (current record, hidden layer or 0, character, current record after)
    const struct {
        int current;
        int hidden;
        char ch;
        int after;
    } cases[] = {
        {6, 0, '+', 7},
        {6, 2, '+', 8}, // layer 2 hidden
        {8, 3, '+', 11}, // 9 and 10 hidden
        {10, 0, '+', 10}, // recordCount - 2: nothing
        {11, 0, '+', 11},
        {0, 0, '+', 2}, // from record 2
        {-3, 0, '+', 2},
        {8, 2, '-', 6},
        {2, 0, '-', 1},
        {1, 0, '-', 1}, // below 2: nothing
        {0, 0, '-', 0},
    };
    for (const auto& c : cases) {
        CSheet& s = bench.Sheet();
        ASSERT_EQ(s.recordCount, 12);
        s.layers.ShowAll();
        if (c.hidden)
            s.layers.SetVisible(c.hidden, 0);
        s.currentRecord = c.current;
        bench.view.Char(static_cast<uint8_t>(c.ch));
        EXPECT_EQ(s.currentRecord, c.after) << c.current << " " << c.ch << " hidden " << c.hidden;
    }
}

TEST_F(RecordStepTest, NothingWhenNoShownRecordIsLeftThatWay)
{
    CSheet& s = bench.Sheet();
    s.records[11] = CETREC::Make(200000, 20000, 3, 1);
    s.layers.SetVisible(3, 0);
    s.currentRecord = 8;
    const CPoint cursor = s.cursor;
    bench.view.Char('+');
    EXPECT_EQ(s.currentRecord, 8);
    EXPECT_EQ(s.cursor, cursor);
    EXPECT_TRUE(bench.ui.pointerPuts.empty());
}

TEST_F(RecordStepTest, NotWhileALineIsDrawn)
{
    CSheet& s = bench.Sheet();
    s.toolMode = ToolMode::Lines;
    for (const int step : {Step::LineStarted, Step::LineFollows, Step::VertexPressed}) {
        s.toolStep = step;
        s.currentRecord = 8;
        bench.view.Char('+');
        bench.view.Char('-');
        EXPECT_EQ(s.currentRecord, 8) << step;
    }
}

TEST_F(RecordStepTest, TheCursorGoesToTheRecordAndThePointerFollows)
{
    CSheet& s = bench.Sheet();
    bench.view.PointerMove(50, 60);
    s.currentRecord = 6;
    const int draws = bench.ui.invalidated;
    bench.view.Char('+');
    EXPECT_EQ(s.cursor, (CPoint {11000, 20000}));
    EXPECT_EQ(s.relPoint, (CPoint {5000, 6000})); // where the cursor was
    EXPECT_EQ(bench.ui.status[0], RecordLine(s));
    EXPECT_EQ(bench.ui.status[0].rfind("Record:7/11 Layer:2 Pen:1", 0), 0u);
    EXPECT_EQ(bench.ui.pointerPuts.back(), (CPoint {110, 200}));
    EXPECT_EQ(bench.ui.invalidated, draws); // inside the view: no complete draw

    // A fixed relative point stays.
    s.relFixed = 1;
    bench.view.Char('+');
    EXPECT_EQ(s.relPoint, (CPoint {5000, 6000}));
}

TEST_F(RecordStepTest, ARecordOutsideTheViewIsCentred)
{
    CSheet& s = bench.Sheet();
    s.layers.SetVisible(3, 0);
    s.currentRecord = 8;
    const int draws = bench.ui.invalidated;
    bench.view.Char('+');
    EXPECT_EQ(s.currentRecord, 11);
    EXPECT_EQ(s.cursor.x / s.zoom, 320);
    EXPECT_GT(bench.ui.invalidated, draws);
    EXPECT_EQ(bench.ui.pointerPuts.back(), (CPoint {s.cursor.x / s.zoom, s.cursor.y / s.zoom}));
}

TEST_F(RecordStepTest, ARefusedWarpLeavesACrossUntilTheUserMoves)
{
    CSheet& s = bench.Sheet();
    bench.ui.refusePointer = true;
    s.currentRecord = 6;
    bench.ui.screen.calls.clear();
    bench.view.Char('+');
    const std::vector<std::string> cross = bench.ui.screen.Only("move");
    ASSERT_EQ(cross, (std::vector<std::string> {"move 102 200", "move 110 192"}));
    // The next step moves the cross; a complete draw shows it again.
    bench.ui.screen.calls.clear();
    bench.view.Char('+');
    EXPECT_EQ(bench.ui.screen.Only("move"),
        (std::vector<std::string> {
            "move 102 200", "move 110 192", "move 112 200", "move 120 192"}));
    bench.ui.screen.calls.clear();
    bench.view.DrawOverlays(bench.ui.screen);
    EXPECT_EQ(
        bench.ui.screen.Only("move"), (std::vector<std::string> {"move 112 200", "move 120 192"}));
    // The user's move takes it away for good.
    bench.ui.screen.calls.clear();
    bench.view.PointerMove(300, 300);
    bench.view.DrawOverlays(bench.ui.screen);
    EXPECT_EQ(
        bench.ui.screen.Only("move"), (std::vector<std::string> {"move 112 200", "move 120 192"}));
}

TEST_F(RecordStepTest, TheMoveAfterAWarpIsIgnored)
{
    CSheet& s = bench.Sheet();
    s.currentRecord = 6;
    bench.view.Char('+');
    ASSERT_EQ(bench.ui.pointerPuts.back(), (CPoint {110, 200}));
    const int focus = bench.ui.focusTaken;
    bench.view.PointerMove(110, 200); // the system's
    EXPECT_EQ(bench.ui.focusTaken, focus);
    bench.view.PointerMove(110, 200); // the user's
    EXPECT_EQ(bench.ui.focusTaken, focus + 1);
}

} // namespace
