#include "view/context_menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/command_table.h"
#include "model/picture.h"
#include "model/sheet.h"
#include "model/text.h"
#include "model/tool_mode.h"
#include "support/view_script.h"

namespace {

constexpr int S = kMenuSeparator;

// The part of every menu after the tool's own entries, for a tool that is
// none of the seven offered.
const std::vector<int> kTail = {S, Cmd::ToolLines, Cmd::ToolLines90, Cmd::ToolSymbols,
    Cmd::ToolText, Cmd::ToolWindowsText, Cmd::ToolRectangles, Cmd::ToolEllipses, S, Cmd::ZoomIn,
    Cmd::ZoomOut, Cmd::ZoomWindow, Cmd::ZoomAll, S, Cmd::LayerTable, Cmd::RelativePoint};
const std::vector<int> kCriteria
    = {Cmd::SelectSegments, Cmd::SelectLines, Cmd::SelectObjects, Cmd::SelectPictures};

std::vector<int> Join(std::vector<std::vector<int>> parts)
{
    std::vector<int> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// A sheet with one text and two pictures, to select.
void AddFixture(CSheet& s)
{
    s.Append(CETREC::Make(10000, 10000, 1, 0));
    s.Append(CETREC::Make(20000, 10000, 1, 1));
    auto text = std::make_unique<CText>("Tekst", CRect {30000, 10000, 35000, 12000}, 0);
    text->SetHeight(20);
    s.texts.Add(std::move(text));
    for (int i = 0; i < 2; ++i) {
        auto picture = std::make_unique<CPict>();
        picture->placementRect = {40000, 10000 * i, 45000, 10000 * i + 5000};
        s.pictures->pictures.push_back(std::move(picture));
    }
}

enum Selected { None = 0, Records = 1, Texts = 2, OnePicture = 4, TwoPictures = 8 };

TEST(ContextMenu, EntriesByToolStepAndSelection)
{
    const std::vector<int> selectElements
        = {Cmd::EndSelection, Cmd::CopySelection, Cmd::RotateSelection, Cmd::MirrorX, Cmd::MirrorY,
            Cmd::EditSelection, Cmd::SaveAsSymbol, Cmd::DeleteSelection};
    const std::vector<int> selectTexts = {Cmd::EndSelection, Cmd::RotateSelection,
        Cmd::SelectionLayer, Cmd::Bold, Cmd::Italic, Cmd::EditText, Cmd::DeleteSelection};
    const std::vector<int> withoutTool = {S, Cmd::ZoomIn, Cmd::ZoomOut, Cmd::ZoomWindow,
        Cmd::ZoomAll, S, Cmd::LayerTable, Cmd::RelativePoint};
    const auto toolsBut = [](int omitted) {
        std::vector<int> ids = {S};
        for (int id : {Cmd::ToolLines, Cmd::ToolLines90, Cmd::ToolSymbols, Cmd::ToolText,
                 Cmd::ToolWindowsText, Cmd::ToolRectangles, Cmd::ToolEllipses})
            if (id != omitted)
                ids.push_back(id);
        return ids;
    };
    const std::vector<int> criteria = Join({{S}, kCriteria});

    const struct {
        int tool;
        int step;
        int selected;
        std::vector<int> menu;
    } cases[] = {
        {ToolMode::Select, 0, None, Join({kCriteria, kTail})},
        {ToolMode::Select, 200, Records, Join({selectElements, kTail})},
        {ToolMode::Select, 200, Records | OnePicture, Join({selectElements, kTail})},
        {ToolMode::Select, 200, Records | Texts,
            Join({{Cmd::EndSelection, Cmd::RotateSelection, Cmd::SelectionLayer,
                      Cmd::DeleteSelection},
                kTail})},
        {ToolMode::Select, 200, Texts, Join({selectTexts, kTail})},
        {ToolMode::Select, 200, Texts | OnePicture, Join({selectTexts, kTail})},
        {ToolMode::Select, 200, OnePicture,
            Join({{Cmd::EndSelection, Cmd::PictureProperties, Cmd::EditSelection,
                      Cmd::DeleteSelection},
                kTail})},
        {ToolMode::Select, 200, TwoPictures,
            Join({{Cmd::EndSelection, Cmd::EditSelection, Cmd::DeleteSelection}, kTail})},
        {ToolMode::Lines, 0, None,
            Join({{Cmd::End, Cmd::ChoosePen, Cmd::ChooseLayer}, criteria, toolsBut(Cmd::ToolLines),
                withoutTool})},
        {ToolMode::Lines90, 401, None,
            Join({{Cmd::EndLine, Cmd::ChoosePen, Cmd::ChooseLayer}, criteria,
                toolsBut(Cmd::ToolLines90), withoutTool})},
        {ToolMode::FilledPolygon, 400, None,
            Join({{Cmd::EndLine, Cmd::ChoosePen, Cmd::ChooseLayer}, criteria, kTail})},
        {ToolMode::Text, 500, None,
            Join({{Cmd::TextAdjust, Cmd::TextMirror, Cmd::TextRotate, Cmd::TextSmaller,
                      Cmd::TextBigger, Cmd::CentreOnCursor, Cmd::End, Cmd::TextPen, Cmd::TextLayer},
                criteria, toolsBut(Cmd::ToolText), withoutTool})},
        {ToolMode::WindowsText, 220, None,
            Join({{Cmd::EditText, Cmd::TypedTextLayer, Cmd::Bold, Cmd::Italic}, criteria,
                toolsBut(Cmd::ToolWindowsText), withoutTool})},
        {ToolMode::Rectangles, 500, None,
            Join({{Cmd::CentreOnCursor, Cmd::End}, criteria, toolsBut(Cmd::ToolRectangles),
                withoutTool})},
        {ToolMode::Symbols, 500, None,
            Join({{Cmd::CentreOnCursor, Cmd::End}, criteria, toolsBut(Cmd::ToolSymbols),
                withoutTool})},
        {ToolMode::CopyPlacement, 500, None,
            Join({{Cmd::CentreOnCursor, Cmd::End}, criteria, kTail})},
        // nothing of the tool's own: no separator first
        {ToolMode::Junctions, 0, None, Join({kCriteria, kTail})},
        {ToolMode::Ellipses, 0, None, Join({kCriteria, toolsBut(Cmd::ToolEllipses), withoutTool})},
    };
    for (const auto& c : cases) {
        CViewBench bench;
        CSheet& s = bench.Sheet();
        AddFixture(s);
        s.toolMode = c.tool;
        s.toolStep = c.step;
        if (c.selected & Records)
            s.SelectRecord(s.recordCount - 1);
        if (c.selected & Texts)
            s.texts.SetSelected(0, true);
        if (c.selected & (OnePicture | TwoPictures))
            s.pictures->SetSelected(0, true);
        if (c.selected & TwoPictures)
            s.pictures->SetSelected(1, true);
        EXPECT_EQ(ContextMenuItems(s), c.menu)
            << "tool " << c.tool << " step " << c.step << " selected " << c.selected;
    }
}

TEST(ContextMenu, NeverListsTheActiveTool)
{
    const std::map<int, int> tools = {{ToolMode::Lines, Cmd::ToolLines},
        {ToolMode::Lines90, Cmd::ToolLines90}, {ToolMode::Symbols, Cmd::ToolSymbols},
        {ToolMode::Text, Cmd::ToolText}, {ToolMode::WindowsText, Cmd::ToolWindowsText},
        {ToolMode::Rectangles, Cmd::ToolRectangles}, {ToolMode::Ellipses, Cmd::ToolEllipses}};
    for (const auto& [tool, id] : tools) {
        for (const int step : {0, 220, 401, 500}) {
            CViewBench bench;
            bench.Sheet().toolMode = tool;
            bench.Sheet().toolStep = step;
            const std::vector<int> menu = ContextMenuItems(bench.Sheet());
            EXPECT_EQ(std::count(menu.begin(), menu.end(), id), 0) << tool << " " << step;
            EXPECT_NE(menu.front(), S);
            EXPECT_NE(menu.back(), S);
            EXPECT_EQ(std::adjacent_find(
                          menu.begin(), menu.end(), [](int a, int b) { return a == S && b == S; }),
                menu.end());
        }
    }
}

// The captions of every entry the menu can have.
const std::map<int, std::string> kCaptions = {
    {32808, "Einde selectie\tEsc"},
    {32905, "Eigenschappen"},
    {32812, "Bewerken..."},
    {32807, "Verwijderen\tDel"},
    {32816, "Selecteer per segment"},
    {32809, "Selecteer volledige lijnen"},
    {32805, "Selecteer volledige objecten"},
    {32893, "Selecteer afbeeldingen"},
    {32806, "Kopieer de selectie"},
    {32814, "Kantelen\tF2"},
    {32810, "Spiegelen in X-As\tSF2"},
    {32811, "Spiegelen in Y-As"},
    {32815, "Opslaan als symbool"},
    {32817, "Laag\tL"},
    {32859, "Vet\tCtrl + B"},
    {32866, "Schuin\tCtrl + I"},
    {32789, "Bewerk de geselecteerde tekst"},
    {32791, "Einde lijn\tEsc"},
    {32792, "Einde\tEsc"},
    {32854, "Kies een pen\tP"},
    {32853, "Kies een laag\tL"},
    {32846, "Aanpassen..."},
    {32849, "Spiegelschrift\tSF2"},
    {32851, "Kantelen\tF2"},
    {32845, "Verkleinen\t-"},
    {32847, "Vergroten\t+"},
    {32780, "Centreer op cursor"},
    {32850, "Penkeuze...\tP"},
    {32848, "Laagkeuze...\tL"},
    {32867, "Laag\tL"},
    {32837, "Plaats lijnen"},
    {32838, "Lijnen 90 graden hoek"},
    {32841, "Plaats symbolen"},
    {32844, "Plaats tekst met Vorel tekenset"},
    {32835, "Plaats tekst met Windows font"},
    {32842, "Plaats rechthoeken"},
    {32833, "Plaats ellipsen of cirkels"},
    {32888, "Inzoomen\tI"},
    {32889, "Uitzoomen\tO"},
    {32890, "Zoom mbv venster"},
    {32887, "Zoom alles\tZZ"},
    {32875, "Lagen instellen"},
    {32885, "Vast relatief meetpunt aan of uitzetten\tF6"},
};

TEST(ContextMenu, ShowsEveryEntryWithItsCaptionAndState)
{
    CViewBench bench;
    bench.Place(100, 0, 0);
    for (const int tool : {ToolMode::Select, ToolMode::Lines, ToolMode::Text, ToolMode::WindowsText,
             ToolMode::Symbols}) {
        for (const int step : {0, 200, 220, 401, 500}) {
            CSheet& s = bench.Sheet();
            s.toolMode = tool;
            s.toolStep = step;
            bench.ui.popups.clear();
            bench.view.ContextMenu(CPoint {30, 40});
            ASSERT_EQ(bench.ui.popups.size(), 1u);
            for (const CUiServices::CPopupItem& item : bench.ui.popups[0]) {
                if (item.id == S) {
                    EXPECT_TRUE(item.caption.empty());
                    continue;
                }
                ASSERT_TRUE(kCaptions.count(item.id)) << item.id;
                EXPECT_EQ(item.caption, kCaptions.at(item.id));
                EXPECT_EQ(item.enabled, bench.view.Update(item.id).enabled) << item.id;
            }
        }
    }
}

TEST(ContextMenu, OpensAtThePointerOrNearTheCornerAndReleasesThePointer)
{
    CViewBench bench;
    bench.Place(100, 0, 0);
    bench.view.PointerMove(100, 100);
    bench.view.PointerPress(CViewController::Button::Left, 100, 100);
    ASSERT_TRUE(bench.view.Captured());
    bench.view.PointerRelease(CViewController::Button::Right, 120, 130);
    bench.view.ContextMenu(std::nullopt);
    EXPECT_EQ(bench.ui.popupsAt, (std::vector<CPoint> {{120, 130}, {5, 5}}));
    EXPECT_FALSE(bench.view.Captured());
}

TEST(ContextMenu, TheSelectToolWithNothingSelectedGoesToStepZero)
{
    CViewBench bench;
    bench.Place(100, 0, 0);
    // A window being dragged that selects nothing.
    bench.Run({Command(Cmd::SelectTool), Press(600, 400), Move(620, 420)});
    ASSERT_EQ(bench.Sheet().toolStep, Step::Rubber);
    bench.view.ContextMenu(std::nullopt);
    EXPECT_EQ(bench.Sheet().toolStep, Step::Idle);
    EXPECT_EQ(bench.ui.popups[0].front().id, Cmd::SelectSegments);
}

TEST(ContextMenu, TheChosenCommandRunsAtTheCursorOfBeforeTheMenu)
{
    CViewBench bench;
    bench.Place(100, 0, 0);
    CSheet& s = bench.Sheet();
    s.toolMode = ToolMode::Lines;
    bench.view.PointerMove(100, 100);
    std::optional<CPoint> ranAt;
    bench.view.Handlers().On(Cmd::ZoomIn, [&] { ranAt = s.cursor; });
    bench.ui.popupChoices = {Cmd::ZoomIn};
    // The pointer crosses the view on its way through the menu.
    bench.ui.whilePopupOpen = [&] { bench.view.PointerMove(300, 200); };
    bench.ui.pointerPuts.clear();
    bench.view.ContextMenu(CPoint {100, 100});
    EXPECT_EQ(s.cursor, (CPoint {10000, 10000}));
    EXPECT_EQ(ranAt, (CPoint {10000, 10000}));
    EXPECT_EQ(bench.ui.pointerPuts, (std::vector<CPoint> {{100, 100}}));
}

} // namespace
