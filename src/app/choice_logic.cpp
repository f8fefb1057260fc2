#include "app/choice_logic.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "model/number_text.h"
#include "model/sheet.h"

// --- Layer choice ----------------------------------------------------------

std::vector<std::string> LayerChoiceEntries(const CLayerArray& layers)
{
    std::vector<std::string> entries;
    for (int layer = 1; layer <= kChoosableLayers; ++layer)
        entries.push_back(layers.DisplayName(layer, "Layer %d"));
    return entries;
}

int LayerChoiceRow(int layer)
{
    return std::clamp(layer, 1, kChoosableLayers) - 1;
}

// --- Pen choice ------------------------------------------------------------

std::string FormatPenWidth(int32_t micrometres)
{
    std::string text = FixedText(micrometres * 0.001, 3);
    constexpr size_t kWidth = 7;
    if (text.size() < kWidth)
        text.insert(0, kWidth - text.size(), ' ');
    return text + " mm";
}

int32_t ParsePenWidth(std::string_view text)
{
    return SaturatedInt(LeadingDecimal(text, DecimalComma::Yes) * 1000.0);
}

int PenOfKey(int key)
{
    return key >= '1' && key <= '0' + kChoosablePens ? key - '0' : 0;
}

CPenChoice::CPenChoice(const std::array<int32_t, kPenCount>& penWidths, int pen)
{
    for (int p = 1; p <= kChoosablePens; ++p)
        widths[static_cast<size_t>(p - 1)] = FormatPenWidth(penWidths[static_cast<size_t>(p)]);
    SelectPen(pen);
}

void CPenChoice::SelectPen(int pen)
{
    row = std::clamp(pen, 1, kChoosablePens) - 1;
}

const std::string& CPenChoice::WidthText(int pen) const
{
    if (pen < 1 || pen > kChoosablePens)
        throw std::out_of_range("pen outside 1 ... 7");
    return widths[static_cast<size_t>(pen - 1)];
}

void CPenChoice::SetWidthText(int pen, std::string text)
{
    if (pen < 1 || pen > kChoosablePens)
        throw std::out_of_range("pen outside 1 ... 7");
    widths[static_cast<size_t>(pen - 1)] = std::move(text);
}

int CPenChoice::Accept(std::array<int32_t, kPenCount>& penWidths) const
{
    for (int p = 1; p <= kChoosablePens; ++p)
        penWidths[static_cast<size_t>(p)] = ParsePenWidth(widths[static_cast<size_t>(p - 1)]);
    return Pen();
}

// --- Layer table -----------------------------------------------------------

CLayerTable::CLayerTable(const CSheet& sheet)
    : screenSet(sheet.layerColours)
    , printSet(sheet.printColours)
{
    for (int i = 0; i < kLayerCount; ++i) {
        const auto k = static_cast<size_t>(i);
        names[k] = sheet.layers.Name(i);
        uses[k] = sheet.layers.RecordUses(i);
        visible[k] = sheet.layers.IsVisible(i) != 0;
    }
}

void CLayerTable::ShowPrintColours(bool on)
{
    // The fields write straight into the set they show, so switching only
    // changes which set they show.
    printShown = on;
}

COLORREF CLayerTable::Colour(int layer) const
{
    return Shown().at(static_cast<size_t>(layer));
}

void CLayerTable::SetColour(int layer, COLORREF colour)
{
    Shown().at(static_cast<size_t>(layer)) = colour;
}

void CLayerTable::Apply(CSheet& sheet) const
{
    for (int i = 1; i < kLayerCount; ++i)
        sheet.layers.SetName(i, names[static_cast<size_t>(i)]);
    for (int i = 0; i < kLayerCount; ++i)
        sheet.layers.SetVisible(i, visible[static_cast<size_t>(i)] ? 1 : 0);
    sheet.layerColours = screenSet;
    sheet.printColours = printSet;
}

// --- Font choice -----------------------------------------------------------

std::vector<std::string> FontChoiceEntries(const std::vector<std::string>& faces)
{
    std::vector<std::string> entries;
    for (size_t i = 0; i < faces.size(); ++i)
        entries.push_back(std::to_string(i + 1) + ". " + faces[i]);
    return entries;
}

int FontChoiceRow(int fontNumber, int fontCount)
{
    if (fontCount <= 0)
        return -1;
    return std::clamp(fontNumber, 0, fontCount - 1);
}
