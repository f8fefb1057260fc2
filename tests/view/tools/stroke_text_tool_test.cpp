#include "view/tools/stroke_text_tool.h"

#include <algorithm>
#include <climits>
#include <vector>

#include <gtest/gtest.h>

#include "app/command_table.h"
#include "support/shipped_data.h"
#include "tool_test_support.h"

namespace {

constexpr int kFrame = 5; // the records of the new sheet's frame

// A bench in the text tool with the shipped font loaded.
struct CTextBench : CViewBench {
    CTextBench()
    {
        Sheet().font.Load((ShippedDataFolder() / CDovereduFont::kFileName).string());
        Run({Command(Cmd::ToolText)});
    }
    // "Plaats tekst" answered with `text`, the other fields as they come.
    void Answer(const std::string& text)
    {
        dialogs.text = [text](CPlaceTextValues& v) {
            v.text = text;
            return true;
        };
    }
};

std::vector<CETREC> Ghost(const CSheet& s)
{
    return {s.placement.begin(), s.placement.begin() + s.placementCount};
}

// What the font builds of `text` at `at` with the settings of `font`.
std::vector<CETREC> Built(const CDovereduFont& font, const std::string& text, CPoint at, int size)
{
    CSheet scratch;
    font.BuildText(text, at, size, scratch);
    return Ghost(scratch);
}

// The ghost's XOR drawing as the screen records it.
std::vector<std::string> GhostDrawing(const CSheet& s)
{
    CRecordingCanvas canvas;
    s.DrawPlacement(canvas, true);
    return canvas.calls;
}

} // namespace

TEST(StrokeTextTool, OkBuildsTheTextAtTheCursorToBePlacedAtEveryPress)
{
    CTextBench bench;
    CSheet& s = bench.Sheet();
    bench.Answer("K1");
    // The press opens the dialog, whose OK lets the pointer go: the release
    // went to the dialog, and the next press places.
    bench.Run({Press(100, 100)});
    EXPECT_EQ(bench.dialogs.asked, std::vector<std::string> {"text"});
    EXPECT_EQ(s.toolStep, Step::Placing);
    const std::vector<CETREC> expected = Built(s.font, "K1", {10000, 10000}, 50);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(Ghost(s), expected);
    EXPECT_EQ(bench.ui.pointerPuts.back(), (CPoint {100, 100}));

    const CViewOutcome o = bench.Run({Press(200, 150), Release(200, 150), Click(300, 150)});
    const int n = static_cast<int>(expected.size());
    EXPECT_EQ(o, (CViewOutcome {Step::Placing, kFrame + 2 * n, 2, true}));
    for (int k = 0; k < n; ++k) {
        const CETREC& first = s.records[kFrame + 1 + k];
        const CETREC& second = s.records[kFrame + 1 + n + k];
        EXPECT_EQ(first.x, expected[k].x + 10000);
        EXPECT_EQ(first.y, expected[k].y + 5000);
        EXPECT_EQ(second.x, expected[k].x + 20000);
        EXPECT_EQ(first.Pen(), expected[k].Pen());
        EXPECT_EQ(first.Layer(), 9);
        EXPECT_EQ(first.Block(), 2);
        EXPECT_EQ(second.Block(), 3);
    }
    EXPECT_EQ(bench.dialogs.asked.size(), 1u);
    EXPECT_EQ(bench.ui.status[0], "");
    bench.Run({KeyStroke(Key::Escape)});
    EXPECT_EQ(s.toolMode, ToolMode::Select);
}

TEST(StrokeTextTool, WhatEndsAtStepZero)
{
    const std::string outOfRange(CSheet::kMsgOutOfRange);
    // (font loaded, answer, size typed) -> step 0, message
    const struct {
        const char* name;
        bool font;
        std::optional<std::string> answer; // none: Cancel
        const char* size;
        const char* message;
    } cases[] = {
        {"cancel", true, std::nullopt, "50", nullptr},
        {"no font", false, "K1", "50", "Font not found. Please load a fontfile"},
        {"an empty text", true, "", "50", nullptr},
        {"only spaces", true, "   ", "50", nullptr},
        // Some 3,500 characters reach the end of the range at the largest size.
        {"beyond the range", true, std::string(5000, 'W'), "10001", outOfRange.c_str()},
    };
    for (const auto& c : cases) {
        CViewBench bench;
        if (c.font)
            bench.Sheet().font.Load((ShippedDataFolder() / CDovereduFont::kFileName).string());
        if (c.answer) {
            bench.dialogs.text = [&](CPlaceTextValues& v) {
                v.text = *c.answer;
                v.size = c.size;
                return true;
            };
        }
        const CViewOutcome o = bench.Run({Command(Cmd::ToolText), Click(100, 100)});
        EXPECT_EQ(o, (CViewOutcome {Step::Idle, kFrame, 0, false})) << c.name;
        EXPECT_EQ(bench.Sheet().placementCount, 0) << c.name;
        EXPECT_EQ(bench.dialogs.asked.size(), c.font ? 1u : 0u) << c.name;
        ASSERT_EQ(bench.ui.messages.size(), c.message ? 1u : 0u) << c.name;
        if (c.message)
            EXPECT_EQ(bench.ui.messages[0], c.message);
        EXPECT_EQ(bench.ui.status[0], "Place text") << c.name;
        // The next press asks again.
        bench.Run({Click(120, 100)});
        EXPECT_EQ(bench.dialogs.asked.size(), c.font ? 2u : 0u) << c.name;
    }
}

TEST(StrokeTextTool, TextsChosenAgainAsksAndCancelKeepsTheGhost)
{
    CTextBench bench;
    CSheet& s = bench.Sheet();
    bench.Answer("K1");
    bench.Run({Move(100, 100), Command(Cmd::ToolText)});
    EXPECT_EQ(s.toolStep, Step::Placing);
    bench.Run({Move(150, 120)});
    const std::vector<CETREC> ghost = Ghost(s);

    bench.dialogs.text = nullptr; // Cancel
    for (int command : {Cmd::ToolText, Cmd::TextAdjust}) {
        EXPECT_TRUE(bench.view.Execute(command));
        EXPECT_EQ(s.toolStep, Step::Placing);
        EXPECT_EQ(Ghost(s), ghost);
    }
    // OK builds it anew where it is, with what was typed.
    bench.dialogs.text = [](CPlaceTextValues& v) {
        EXPECT_EQ(v.text, "K1");
        v.text = "K2";
        v.layer = "12";
        return true;
    };
    bench.Run({Command(Cmd::TextAdjust)});
    EXPECT_EQ(Ghost(s), Built(s.font, "K2", {15000, 12000}, 50));
    EXPECT_EQ(s.placement[0].Layer(), 12);
    EXPECT_TRUE(bench.view.Update(Cmd::ToolText).checked);
}

TEST(StrokeTextTool, CommandsOnTheGhost)
{
    const CPoint at {20000, 10000};
    // (size before, commands) -> size after, same records as at the start,
    // message pane
    const struct {
        const char* name;
        int size;
        std::vector<int> commands;
        int sizeAfter;
        bool sameRecords;
        const char* pane;
    } cases[] = {
        {"smaller stops at 1", 1, {Cmd::TextSmaller}, 1, true, ""},
        {"smaller", 50, {Cmd::TextSmaller}, 49, false, "Tekstformaat: 49"},
        {"bigger stops at 10001", 10001, {Cmd::TextBigger}, 10001, true, ""},
        {"bigger", 50, {Cmd::TextBigger}, 51, false, "Tekstformaat: 51"},
        {"four turns", 50, {Cmd::TextRotate, Cmd::TextRotate, Cmd::TextRotate, Cmd::TextRotate}, 50,
            true, ""},
        {"mirrored twice", 50, {Cmd::TextMirror, Cmd::TextMirror}, 50, true, ""},
        {"mirrored once", 50, {Cmd::TextMirror}, 50, false, ""},
    };
    for (const auto& c : cases) {
        CTextBench bench;
        CSheet& s = bench.Sheet();
        SetStrokeFontSize(bench.settings, s.font, c.size);
        bench.Answer("Kast 12");
        bench.Run({Click(200, 100)});
        ASSERT_EQ(s.toolStep, Step::Placing) << c.name;
        const std::vector<CETREC> start = Ghost(s);
        const std::vector<std::string> startDrawing = GhostDrawing(s);
        const int draws = bench.ui.invalidated;
        bench.ui.screen.calls.clear();
        for (int command : c.commands)
            bench.view.Execute(command);
        // One command: the old ghost erased, the new one drawn.
        if (c.commands.size() == 1 && !c.sameRecords) {
            std::vector<std::string> pair = startDrawing;
            for (const std::string& call : GhostDrawing(s))
                pair.push_back(call);
            EXPECT_EQ(bench.ui.screen.calls, pair) << c.name;
        }
        EXPECT_EQ(bench.settings.strokeFontSize, c.sizeAfter) << c.name;
        EXPECT_EQ(ModelDefaults().strokeFontSize, c.sizeAfter) << c.name;
        EXPECT_EQ(s.font.Size(), c.sizeAfter) << c.name;
        EXPECT_EQ(Ghost(s) == start, c.sameRecords) << c.name;
        EXPECT_EQ(Ghost(s), Built(s.font, "Kast 12", at, c.sizeAfter)) << c.name;
        EXPECT_EQ(bench.ui.status[0], c.pane) << c.name;
        EXPECT_EQ(bench.ui.invalidated, draws) << c.name << ": no complete draw";
        EXPECT_EQ(s.toolStep, Step::Placing) << c.name;
    }

    CTextBench bench;
    CSheet& s = bench.Sheet();
    bench.Answer("Kast 12");
    bench.Run({Click(200, 100)});
    for (int i = 0; i < 4; ++i)
        bench.view.Execute(Cmd::TextRotate);
    EXPECT_EQ(s.font.Angle(), 360);
    bench.dialogs.text = [](CPlaceTextValues& v) {
        EXPECT_EQ(v.angle, "360");
        return false;
    };
    bench.view.Execute(Cmd::TextAdjust);
}

TEST(StrokeTextTool, TheLayerChosenForTheTextShows)
{
    CTextBench bench;
    CSheet& s = bench.Sheet();
    s.layers.SetVisible(12, 0);
    bench.Answer("K1");
    bench.Run({Click(200, 100)});
    int offered = 0;
    bench.dialogs.layer = [&](const CLayerArray&, int layer) {
        offered = layer;
        return std::optional<int> {12};
    };
    const int draws = bench.ui.invalidated;
    bench.view.Execute(Cmd::TextLayer);
    EXPECT_EQ(offered, 9);
    EXPECT_EQ(s.font.Layer(), 12);
    EXPECT_TRUE(s.layers.IsVisible(12));
    EXPECT_EQ(s.placement[0].Layer(), 12);
    EXPECT_GT(bench.ui.invalidated, draws); // the layer's records show too
}

TEST(StrokeTextTool, ThePenOfTheTextAndItsWidths)
{
    CTextBench bench;
    CSheet& s = bench.Sheet();
    bench.Answer("K1");
    bench.Run({Click(200, 100)});
    bench.dialogs.pen = [](CPenValues& v) {
        v.pen = 4;
        return true;
    };
    bench.view.Execute(Cmd::TextPen);
    EXPECT_EQ(s.font.Pen(), 4);
    EXPECT_FALSE(bench.doc.modified);
    EXPECT_EQ(Ghost(s), Built(s.font, "K1", {20000, 10000}, 50));
    bench.dialogs.pen = [](CPenValues& v) {
        v.widths[4] = 700;
        return true;
    };
    bench.view.Execute(Cmd::TextPen);
    EXPECT_EQ(s.penWidths[4], 700);
    EXPECT_TRUE(bench.doc.modified);
}

TEST(StrokeTextTool, ARebuildAfterCentringStaysCentred)
{
    CTextBench bench;
    CSheet& s = bench.Sheet();
    bench.Answer("Kast 12");
    bench.Run({Click(200, 100), Move(250, 130), Command(Cmd::CentreOnCursor)});
    const std::vector<CETREC> centred = Ghost(s);
    bench.Run({Command(Cmd::TextMirror), Command(Cmd::TextMirror)});
    EXPECT_EQ(Ghost(s), centred);
    bench.Run({Move(260, 140), Command(Cmd::TextBigger), Command(Cmd::TextSmaller)});
    for (size_t k = 0; k < centred.size(); ++k) {
        EXPECT_EQ(Ghost(s)[k].x, centred[k].x + 1000);
        EXPECT_EQ(Ghost(s)[k].y, centred[k].y + 1000);
    }
}

TEST(StrokeTextTool, ARebuildBeyondTheCoordinateRangeIsTakenBack)
{
    CTextBench bench;
    CSheet& s = bench.Sheet();
    bench.Answer("K1");
    bench.Run({Click(200, 100)});
    // The ghost moved to touch the right end of the range: one size more
    // would take it past.
    int right = INT32_MIN;
    for (const CETREC& r : Ghost(s))
        right = std::max(right, r.x);
    ASSERT_TRUE(s.MoveBuffer(int64_t {INT32_MAX} - right, 0));
    const std::vector<CETREC> ghost = Ghost(s);
    bench.view.Execute(Cmd::TextBigger);
    EXPECT_EQ(bench.ui.messages, std::vector<std::string> {std::string(CSheet::kMsgOutOfRange)});
    EXPECT_EQ(bench.settings.strokeFontSize, 50);
    EXPECT_EQ(ModelDefaults().strokeFontSize, 50);
    EXPECT_EQ(s.font.Size(), 50);
    EXPECT_EQ(Ghost(s), ghost);
    EXPECT_EQ(bench.ui.status[0], "");
    EXPECT_EQ(s.toolStep, Step::Placing);
}

TEST(StrokeTextTool, TheGhostCommandsAreOfferedOnlyWhileTheTextFollows)
{
    const int commands[] = {Cmd::TextAdjust, Cmd::TextSmaller, Cmd::TextBigger, Cmd::TextLayer,
        Cmd::TextMirror, Cmd::TextPen, Cmd::TextRotate};
    CTextBench bench;
    for (int id : commands)
        EXPECT_FALSE(bench.view.Update(id).enabled) << id;
    EXPECT_TRUE(bench.view.Update(Cmd::ToolText).checked);
    bench.Answer("K1");
    bench.Run({Click(200, 100)});
    for (int id : commands)
        EXPECT_TRUE(bench.view.Update(id).enabled) << id;
    SetStrokeFontSize(bench.settings, bench.Sheet().font, 1);
    EXPECT_FALSE(bench.view.Update(Cmd::TextSmaller).enabled);
    SetStrokeFontSize(bench.settings, bench.Sheet().font, 10001);
    EXPECT_FALSE(bench.view.Update(Cmd::TextBigger).enabled);
    EXPECT_TRUE(bench.view.Update(Cmd::TextSmaller).enabled);
    // A copy of the selection follows the pointer too, but is no text.
    bench.Run({KeyStroke(Key::Escape)});
    for (int i = 1; i <= kFrame; ++i)
        bench.Sheet().SelectRecord(i);
    bench.Run({Command(Cmd::CopySelection)});
    EXPECT_EQ(bench.Sheet().toolStep, Step::Placing);
    for (int id : commands)
        EXPECT_FALSE(bench.view.Update(id).enabled) << id;
}
