#include "app/selection_edit.h"

#include "model/number_text.h"
#include "model/sheet.h"

namespace {

std::optional<int> Angle(const std::string& text)
{
    const std::optional<int32_t> a = ParseInt(text);
    if (!a || *a < kLowestAngle || *a > kHighestAngle)
        return std::nullopt;
    return *a;
}

// "All" or a number 1 ... highest; none for anything else.
std::optional<int> Choice(const std::string& text, int highest, bool all)
{
    if (all && text == kAllChoice)
        return CSheet::kAll;
    const std::optional<int32_t> n = ParseInt(text);
    if (!n || *n < 1 || *n > highest)
        return std::nullopt;
    return *n;
}

constexpr int kHighestPen = 7;
constexpr int kHighestLayer = 15;

} // namespace

std::vector<std::string> FromChoices(int highest)
{
    std::vector<std::string> out {std::string(kAllChoice)};
    for (int i = 1; i <= highest; ++i)
        out.push_back(std::to_string(i));
    return out;
}

std::vector<std::string> ToChoices(int highest)
{
    std::vector<std::string> out;
    for (int i = 1; i <= highest; ++i)
        out.push_back(std::to_string(i));
    return out;
}

CSelectionEditValues OpenSelectionEdit(const CDovereduDoc::SelectionEditSettings& remembered)
{
    CSelectionEditValues v;
    v.mirrorX = remembered.mirrorX != 0;
    v.mirrorY = remembered.mirrorY != 0;
    v.rotate = remembered.rotate != 0;
    v.angle = std::to_string(remembered.angle);
    return v;
}

std::optional<std::string_view> CheckSelectionEdit(const CSelectionEditValues& values)
{
    if (!Angle(values.angle))
        return kMsgAngle;
    if (!ParseDecimal(values.factor))
        return kMsgNumber;
    return std::nullopt;
}

std::optional<CSelectionEdit> ReadSelectionEdit(const CSelectionEditValues& v)
{
    if (CheckSelectionEdit(v))
        return std::nullopt;
    CSelectionEdit e;
    e.mirrorX = v.mirrorX;
    e.mirrorY = v.mirrorY;
    if (v.rotate)
        e.angle = Angle(v.angle);
    if (v.changePen) {
        const auto from = Choice(v.penFrom, kHighestPen, true);
        const auto to = Choice(v.penTo, kHighestPen, false);
        if (!from || !to)
            return std::nullopt;
        e.pen = {*from, *to};
    }
    if (v.changeLayer) {
        const auto from = Choice(v.layerFrom, kHighestLayer, true);
        const auto to = Choice(v.layerTo, kHighestLayer, false);
        if (!from || !to)
            return std::nullopt;
        e.layer = {*from, *to};
    }
    if (v.scale)
        e.percent = ParseDecimal(v.factor);
    return e;
}

void RememberSelectionEdit(
    CDovereduDoc::SelectionEditSettings& remembered, const CSelectionEditValues& v)
{
    remembered.mirrorX = v.mirrorX ? 1 : 0;
    remembered.mirrorY = v.mirrorY ? 1 : 0;
    remembered.rotate = v.rotate ? 1 : 0;
    remembered.angle = Angle(v.angle).value_or(0);
    remembered.changePen = v.changePen ? 1 : 0;
    remembered.changeLayer = v.changeLayer ? 1 : 0;
    remembered.scale = v.scale ? 1 : 0;
    remembered.factor = ParseDecimal(v.factor).value_or(100.0);
    remembered.penFrom = v.penFrom;
    remembered.penTo = v.penTo;
    remembered.layerFrom = v.layerFrom;
    remembered.layerTo = v.layerTo;
}
