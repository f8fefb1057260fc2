#include "view/edit_commands.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "app/command_table.h"
#include "view/tools/tool_test_support.h"

namespace {

// After the frame, in pixels of zoom 100: figure A M100,100 L200,100
// L200,150 (records 6-8, layer 1); text 0 at 300,100 - 350,120 on layer 1;
// picture 0 at 400,100 - 450,150.
void AddFixture(CViewBench& bench)
{
    CSheet& s = bench.Sheet();
    s.Append(CETREC::Make(10000, 10000, 1, 0));
    s.Append(CETREC::Make(20000, 10000, 1, 1));
    s.Append(CETREC::Make(20000, 15000, 1, 1));
    auto text = std::make_unique<CText>("Tekst", CRect {30000, 10000, 35000, 12000}, 0);
    text->SetHeight(20);
    text->SetLayer(1);
    s.texts.Add(std::move(text));
    auto picture = std::make_unique<CPict>();
    picture->placementRect = {40000, 10000, 45000, 15000};
    s.pictures->pictures.push_back(std::move(picture));
    s.PushUndo();
}

std::string Layers(const CSheet& s, int first)
{
    std::string out;
    for (int i = first; i < s.recordCount; ++i)
        out += (out.empty() ? "" : " ") + std::to_string(s.records[i].Layer());
    return out;
}

// The first text's layer and angle, "1/0".
std::string TextState(CSheet& s)
{
    const CText* t = s.texts.At(0);
    return t ? std::to_string(t->Layer()) + "/" + std::to_string(t->Angle()) : "none";
}

CSelectionEditValues Scaled(const char* factor)
{
    CSelectionEditValues v;
    v.scale = true;
    v.factor = factor;
    return v;
}

CSelectionEditValues EveryGroup(const char* factor)
{
    CSelectionEditValues v = Scaled(factor);
    v.mirrorX = v.mirrorY = v.rotate = v.changePen = v.changeLayer = true;
    v.angle = "90";
    v.penTo = "3";
    v.layerTo = "4";
    return v;
}

constexpr int kObjects = CSheet::kSelectBlocks;
constexpr int kTexts = CSheet::kSelectTexts;

} // namespace

TEST(EditCommands, EachEditIsOneUndoStepOrNoneWhenNothingChanged)
{
    // (criteria, selecting, the edit and its answers) -> records from 6 on,
    // their layers, the text's layer and angle, pictures left, undo steps
    // the edit added, messages.
    const struct {
        const char* name;
        int criteria;
        std::initializer_list<CViewEvent> select;
        std::initializer_list<CViewEvent> edit;
        std::optional<CSelectionEditValues> dialog;
        std::optional<int> layer;
        const char* records;
        const char* layers;
        const char* text;
        int pictures;
        int steps;
        int messages;
    } cases[] = {
        {"Shift+F2 mirrors in X about the cursor", kObjects, {Click(150, 100), Move(0, 120)},
            {WithShift(KeyStroke(Key::F2))}, {}, {}, "M100,140 L200,140 L200,90", "1 1 1", "1/0", 1,
            1, 0},
        {"mirror in Y", kObjects, {Click(150, 100), Move(120, 0)}, {Command(Cmd::MirrorY)}, {}, {},
            "M140,100 L40,100 L40,150", "1 1 1", "1/0", 1, 1, 0},
        {"a mirror that changes nothing takes no step", CSheet::kSelectSegments,
            {Click(150, 100), Move(0, 100)}, {Command(Cmd::MirrorX)}, {}, {},
            "M100,100 L200,100 L200,150", "1 1 1", "1/0", 1, 0, 0},
        {"F2 turns about the cursor", kObjects, {Click(150, 100), Move(100, 100)},
            {KeyStroke(Key::F2)}, {}, {}, "M100,100 L100,0 L150,0", "1 1 1", "1/0", 1, 1, 0},
        {"Shift+F2 with a text in the selection turns", kObjects | kTexts,
            {Click(150, 100), WithCtrl(Click(320, 110)), Move(100, 100)},
            {WithShift(KeyStroke(Key::F2))}, {}, {}, "M100,100 L100,0 L150,0", "1 1 1", "1/90", 1,
            1, 0},
        {"F2 on a text alone turns the text", kObjects | kTexts, {Click(320, 110)},
            {KeyStroke(Key::F2)}, {}, {}, "M100,100 L200,100 L200,150", "1 1 1", "1/90", 1, 1, 0},
        {"Delete", kObjects, {Click(150, 100)}, {KeyStroke(Key::Delete)}, {}, {}, "", "", "1/0", 1,
            1, 0},
        {"Delete of a picture alone", kObjects | CSheet::kSelectPictures, {Click(420, 120)},
            {Command(Cmd::DeleteSelection)}, {}, {}, "M100,100 L200,100 L200,150", "1 1 1", "1/0",
            0, 1, 0},
        {"a drag, then F2: two steps", kObjects, {},
            {Press(150, 100), Move(160, 100), Release(160, 100), Move(110, 100),
                KeyStroke(Key::F2)},
            {}, {}, "M110,100 L110,0 L160,0", "1 1 1", "1/0", 1, 2, 0},
        {"layer", kObjects | kTexts, {Click(150, 100), WithCtrl(Click(320, 110))},
            {Command(Cmd::SelectionLayer)}, {}, 3, "M100,100 L200,100 L200,150", "3 3 3", "3/0", 1,
            1, 0},
        {"layer cancelled", kObjects | kTexts, {Click(150, 100), WithCtrl(Click(320, 110))},
            {Command(Cmd::SelectionLayer)}, {}, {}, "M100,100 L200,100 L200,150", "1 1 1", "1/0", 1,
            0, 0},
        {"layer under segments and texts", CSheet::kSelectSegments | kTexts,
            {Click(150, 100), WithCtrl(Click(320, 110))}, {Command(Cmd::SelectionLayer)}, {}, 3,
            "M100,100 L200,100 L200,150", "1 3 1", "3/0", 1, 1, 0},
        {"layer under segments alone: the texts still take it", CSheet::kSelectSegments,
            {WithCtrl(KeyStroke('A'))}, {Command(Cmd::SelectionLayer)}, {}, 3,
            "M100,100 L200,100 L200,150", "1 1 1", "3/0", 1, 1, 1},
        {"layer under segments alone is refused", CSheet::kSelectSegments, {Click(150, 100)},
            {Command(Cmd::SelectionLayer)}, {}, 3, "M100,100 L200,100 L200,150", "1 1 1", "1/0", 1,
            0, 1},
        {"scale 100 takes no step", kObjects, {Click(150, 100)}, {Command(Cmd::EditSelection)},
            Scaled("100"), {}, "M100,100 L200,100 L200,150", "1 1 1", "1/0", 1, 0, 0},
        {"scale 50 halves toward the cursor", kObjects, {Click(150, 100), Move(100, 100)},
            {Command(Cmd::EditSelection)}, Scaled("50"), {}, "M100,100 L150,100 L150,125", "1 1 1",
            "1/0", 1, 1, 0},
        {"every group is one step", kObjects, {Click(150, 100), Move(100, 100)},
            {Command(Cmd::EditSelection)}, EveryGroup("200"), {}, "M100,100 L100,300/3 L0,300/3",
            "4 4 4", "1/0", 1, 1, 0},
        {"a scale out of range changes nothing at all", kObjects, {Click(150, 100), Move(100, 100)},
            {Command(Cmd::EditSelection)}, EveryGroup("1e9"), {}, "M100,100 L200,100 L200,150",
            "1 1 1", "1/0", 1, 0, 1},
        {"the dialog cancelled", kObjects, {Click(150, 100)}, {Command(Cmd::EditSelection)}, {}, {},
            "M100,100 L200,100 L200,150", "1 1 1", "1/0", 1, 0, 0},
    };
    for (const auto& c : cases) {
        CViewBench bench;
        AddFixture(bench);
        CSheet& s = bench.Sheet();
        s.selectionCriteria = c.criteria;
        if (c.dialog) {
            bench.dialogs.editSelection = [&](CSelectionEditValues& v) {
                v = *c.dialog;
                return true;
            };
        }
        bench.dialogs.layer = [&](const CLayerArray&, int) { return c.layer; };
        bench.Run(c.select);
        const int steps = s.undoPosition;
        bench.Run(c.edit);
        EXPECT_EQ(Drawn(s, 6), c.records) << c.name;
        EXPECT_EQ(Layers(s, 6), c.layers) << c.name;
        EXPECT_EQ(TextState(s), c.text) << c.name;
        EXPECT_EQ(s.pictures->GetSize(), c.pictures) << c.name;
        EXPECT_EQ(s.undoPosition - steps, c.steps) << c.name;
        EXPECT_EQ(static_cast<int>(bench.ui.messages.size()), c.messages) << c.name;
        if (c.steps > 0)
            EXPECT_TRUE(bench.doc.modified) << c.name;
    }
}

TEST(EditCommands, AnEditOfTheSelectionRestoresTheScreenInsteadOfDrawingTheSheet)
{
    CViewBench bench;
    AddFixture(bench);
    bench.Run({Click(150, 100)});
    const int draws = bench.ui.invalidated;
    bench.Run({KeyStroke(Key::F2)});
    EXPECT_EQ(bench.ui.invalidated, draws);
    EXPECT_EQ(bench.ui.restored.size(), 1U);
    bench.Run({KeyStroke(Key::Delete)});
    EXPECT_GT(bench.ui.invalidated, draws);
}

TEST(EditCommands, LayerMakesTheChosenLayerActiveAndShown)
{
    CViewBench bench;
    AddFixture(bench);
    CSheet& s = bench.Sheet();
    s.layers.SetVisible(6, 0);
    bench.dialogs.layer = [](const CLayerArray&, int) { return std::optional<int>(6); };
    bench.Run({Click(150, 100), Command(Cmd::SelectionLayer)});
    EXPECT_EQ(s.activeLayer, 6);
    EXPECT_EQ(s.layers.IsVisible(6), 1);
    EXPECT_EQ(Layers(s, 6), "6 6 6");
}

TEST(EditCommands, EnabledByWhatIsSelected)
{
    // (selecting) -> delete, mirror, rotate, layer, edit enabled.
    const struct {
        int criteria;
        std::initializer_list<CViewEvent> select;
        const char* enabled;
    } cases[] = {
        {kObjects, {}, "00000"},
        {kObjects, {Click(150, 100)}, "11111"},
        {kObjects | kTexts, {Click(320, 110)}, "10110"},
        {kObjects | CSheet::kSelectPictures, {Click(420, 120)}, "10100"},
    };
    for (const auto& c : cases) {
        CViewBench bench;
        AddFixture(bench);
        bench.Sheet().selectionCriteria = c.criteria;
        bench.Run(c.select);
        std::string enabled;
        for (int id : {Cmd::DeleteSelection, Cmd::MirrorX, Cmd::RotateSelection,
                 Cmd::SelectionLayer, Cmd::EditSelection})
            enabled += bench.view.Update(id).enabled ? '1' : '0';
        EXPECT_EQ(enabled, c.enabled) << c.criteria;
    }
}

TEST(EditCommands, TheDialogRemembersWhatOkConfirmed)
{
    CViewBench bench;
    AddFixture(bench);
    CSelectionEditValues shown;
    bench.dialogs.editSelection = [&](CSelectionEditValues& v) {
        shown = v;
        v.mirrorY = true;
        v.rotate = true;
        v.angle = "30";
        v.scale = true;
        v.factor = "100";
        return true;
    };
    bench.Run({Click(150, 100), Command(Cmd::EditSelection)});
    EXPECT_EQ(shown, CSelectionEditValues {});
    bench.Run({Command(Cmd::EditSelection)});
    CSelectionEditValues expected;
    expected.mirrorY = expected.rotate = true;
    expected.angle = "30";
    EXPECT_EQ(shown, expected);
}

TEST(EditCommands, TheDialogsScaleTakesTheSelectionWindowAlong)
{
    CViewBench bench;
    AddFixture(bench);
    CSheet& s = bench.Sheet();
    bench.dialogs.editSelection = [](CSelectionEditValues& v) {
        v = Scaled("50");
        return true;
    };
    bench.Run({Press(90, 90), Release(210, 160), Move(100, 100), Command(Cmd::EditSelection)});
    ASSERT_EQ(s.rubberActive, 1);
    EXPECT_EQ(s.rubberRect, (CRect {9500, 9500, 15500, 13000}));
    EXPECT_EQ(Drawn(s, 6), "M100,100 L150,100 L150,125");
}
