#include "app/choice_logic.h"

#include <gtest/gtest.h>
#include <limits>

#include "model/sheet.h"
#include "model/sheet_records.h"

TEST(LayerChoice, EntriesAndPreselection)
{
    CLayerArray layers;
    layers.SetName(2, "Kabels");
    layers.SetName(7, "");
    const std::vector<std::string> entries = LayerChoiceEntries(layers);
    ASSERT_EQ(entries.size(), 15u);
    EXPECT_EQ(entries[0], "Laag 1");
    EXPECT_EQ(entries[1], "Kabels");
    EXPECT_EQ(entries[6], "Layer 7");
    EXPECT_EQ(entries[14], "Laag 15");

    // (active layer, row selected); damaged values select the nearest row.
    const struct {
        int layer, row;
    } cases[] = {{1, 0}, {7, 6}, {15, 14}, {0, 0}, {16, 14}, {-3, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(LayerChoiceRow(c.layer), c.row) << c.layer;
}

TEST(PenChoice, WidthTexts)
{
    // (micrometres, text as shown)
    const struct {
        int32_t um;
        const char* text;
    } shown[] = {
        {500, "  0.500 mm"},
        {1, "  0.001 mm"},
        {1001, "  1.001 mm"},
        {0, "  0.000 mm"},
        {123456, "123.456 mm"},
        {12345678, "12345.678 mm"},
        {-250, " -0.250 mm"},
    };
    for (const auto& c : shown)
        EXPECT_EQ(FormatPenWidth(c.um), c.text) << c.um;

    // (text, micrometres stored): the leading number times 1000, cut off.
    const struct {
        const char* text;
        int32_t um;
    } parsed[] = {
        {"  0.500 mm", 500},
        {"0.5", 500},
        {"0,5", 500}, // a decimal comma as well
        {"1.001", 1000}, // 1000.9999... in binary
        {"  1.001 mm", 1000},
        {"1.5mm", 1500},
        {" \t2", 2000},
        {".25", 250},
        {"-0.3", -300},
        {"+1", 1000},
        {"1e-3", 1},
        {"2e", 2000}, // an exponent without digits is not part of the number
        {"dik", 0},
        {"", 0},
        {".", 0},
        {"- 1", 0},
        {"1e400", std::numeric_limits<int32_t>::max()},
        {"-1e400", std::numeric_limits<int32_t>::min()},
        {"1e-400", 0},
        {"99999999", std::numeric_limits<int32_t>::max()},
    };
    for (const auto& c : parsed)
        EXPECT_EQ(ParsePenWidth(c.text), c.um) << '"' << c.text << '"';
}

TEST(PenChoice, OkStoresEveryWidthFromItsText)
{
    std::array<int32_t, kPenCount> widths = {1, 200, 250, 1001, 500, 800, 1000, 1000};
    CPenChoice choice(widths, 3);
    EXPECT_EQ(choice.Pen(), 3);
    EXPECT_EQ(choice.WidthText(4), "  0.500 mm");

    // Unchanged texts store the same widths, except where the text does not
    // give the width back exactly; pen 0 is never touched.
    std::array<int32_t, kPenCount> stored = widths;
    stored[0] = 77;
    EXPECT_EQ(choice.Accept(stored), 3);
    EXPECT_EQ(stored, (std::array<int32_t, kPenCount> {77, 200, 250, 1000, 500, 800, 1000, 1000}));

    // "Aanpassen" on pen 2 takes the text as typed; a text that is no number
    // stores 0.
    choice.SelectPen(2);
    choice.SetWidthText(2, "0.5");
    choice.SetWidthText(7, "breed");
    EXPECT_EQ(choice.Accept(widths), 2);
    EXPECT_EQ(widths[2], 500);
    EXPECT_EQ(widths[7], 0);
    EXPECT_THROW(choice.SetWidthText(8, "1"), std::out_of_range);
}

TEST(PenChoice, OpensOnlyForAPenOnASheet)
{
    EXPECT_TRUE(CPenChoice::Opens(1, true));
    EXPECT_FALSE(CPenChoice::Opens(0, true));
    EXPECT_FALSE(CPenChoice::Opens(-2, true));
    EXPECT_FALSE(CPenChoice::Opens(3, false));

    const std::array<int32_t, kPenCount> widths {};
    EXPECT_EQ(CPenChoice(widths, 9).Pen(), 7);

    // (key, pen chosen)
    const struct {
        int key, pen;
    } keys[] = {{'1', 1}, {'3', 3}, {'7', 7}, {'0', 0}, {'8', 0}, {'a', 0}};
    for (const auto& k : keys)
        EXPECT_EQ(PenOfKey(k.key), k.pen) << char(k.key);
}

TEST(LayerTable, ShowsAndStoresTheSheetsLayers)
{
    auto sheet = SheetWith(Figure({{0, 0}, {10, 0}, {10, 10}}, 3) + Figure({{5, 5}, {6, 6}}, 0));
    sheet->layers.SetName(3, "Kabels");
    sheet->layers.SetVisible(4, 0);
    for (int i = 0; i < kLayerCount; ++i) {
        sheet->layerColours[static_cast<size_t>(i)] = static_cast<COLORREF>(0x100 + i);
        sheet->printColours[static_cast<size_t>(i)] = static_cast<COLORREF>(0x200 + i);
    }
    sheet->Recount();

    CLayerTable table(*sheet);
    EXPECT_EQ(table.names[3], "Kabels");
    EXPECT_EQ(table.uses[3], 3);
    EXPECT_EQ(table.uses[0], 2);
    EXPECT_FALSE(table.visible[4]);
    EXPECT_TRUE(table.visible[0]);
    EXPECT_FALSE(table.PrintColoursShown());
    EXPECT_EQ(table.Colour(5), 0x105u);

    // Edits to both sets survive switching between them.
    table.SetColour(5, 0xAA);
    table.ShowPrintColours(true);
    EXPECT_EQ(table.Colour(5), 0x205u);
    table.SetColour(0, 0xBB);
    table.ShowPrintColours(false);
    EXPECT_EQ(table.Colour(5), 0xAAu);
    table.names[3] = "Voeding";
    table.visible[4] = true;
    table.visible[0] = false;
    table.uses[3] = 99;
    table.Apply(*sheet);

    EXPECT_EQ(sheet->layers.Name(3), "Voeding");
    EXPECT_EQ(sheet->layers.IsVisible(4), 1);
    EXPECT_EQ(sheet->layers.IsVisible(0), 0);
    EXPECT_EQ(sheet->layers.RecordUses(3), 3);
    EXPECT_EQ(sheet->layerColours[5], 0xAAu);
    EXPECT_EQ(sheet->layerColours[0], 0x100u);
    EXPECT_EQ(sheet->printColours[0], 0xBBu);
    EXPECT_EQ(sheet->printColours[5], 0x205u);
}

TEST(LayerTable, SwitchingTheColourSetsTwiceChangesNothing)
{
    CSheet sheet;
    for (int i = 0; i < kLayerCount; ++i)
        sheet.printColours[static_cast<size_t>(i)] = static_cast<COLORREF>(0x300 + i);
    const auto screen = sheet.layerColours;
    const auto print = sheet.printColours;
    const CLayerArray layers = sheet.layers;

    CLayerTable table(sheet);
    table.ShowPrintColours(true);
    table.ShowPrintColours(false);
    table.Apply(sheet);
    EXPECT_EQ(sheet.layerColours, screen);
    EXPECT_EQ(sheet.printColours, print);
    EXPECT_EQ(sheet.layers, layers);
}

TEST(FontChoice, EntriesAndPreselection)
{
    EXPECT_EQ(FontChoiceEntries({"Arial", "Courier New"}),
        (std::vector<std::string> {"1. Arial", "2. Courier New"}));
    EXPECT_EQ(FontChoiceRow(3, 8), 3);
    EXPECT_EQ(FontChoiceRow(9, 8), 7);
    EXPECT_EQ(FontChoiceRow(-1, 8), 0);
    EXPECT_EQ(FontChoiceRow(0, 0), -1);
}
