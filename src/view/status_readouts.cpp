#include "view/status_readouts.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "document/document.h"
#include "model/sheet.h"

namespace {

// Pi to nine decimals, as the angle readout has always reckoned it.
constexpr double kPi = 3.141592654;
constexpr double kMillimetresPerUnit = 0.001;
constexpr int kReadoutWidth = 6;

} // namespace

std::string Readout(std::string_view prefix, double value)
{
    char digits[64];
    const auto result
        = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 3);
    std::string_view number = result.ec == std::errc() ? std::string_view(digits, result.ptr)
                                                       : std::string_view("0.000");
    std::string text(prefix);
    if (number.size() < kReadoutWidth)
        text.append(kReadoutWidth - number.size(), ' ');
    text += number;
    return text;
}

double Direction(int64_t dx, int64_t dy)
{
    if (dx == 0)
        return dy < 0 ? 90.0 : dy > 0 ? 270.0 : 0.0;
    if (dy == 0)
        return dx > 0 ? 0.0 : 180.0;
    const double e = std::atan(std::fabs(double(dy)) / std::fabs(double(dx))) * 180.0 / kPi;
    if (dx > 0)
        return dy < 0 ? e : 360.0 - e;
    return dy < 0 ? 180.0 - e : 180.0 + e;
}

std::array<std::string, 8> ReadoutTexts(const CSheet* sheet, int32_t workingTime)
{
    if (!sheet) {
        return {Readout("X:", 0.0), Readout("Y:", 0.0), "Vrij", Readout("XR:", 0.0),
            Readout("YR:", 0.0), Readout("LN:", 0.0), Readout("HK:", 0.0), "T:00:00"};
    }
    const CPoint c = sheet->cursor;
    const CPoint o = sheet->origin;
    const CPoint r = sheet->relPoint;
    const int64_t dx = int64_t {c.x} - r.x;
    const int64_t dy = int64_t {c.y} - r.y;
    const double length = std::sqrt(double(dx) * double(dx) + double(dy) * double(dy));
    return {Readout("X:", double(int64_t {c.x} - o.x) * kMillimetresPerUnit),
        Readout("Y:", double(int64_t {c.y} - o.y) * kMillimetresPerUnit),
        sheet->relFixed ? "Vast" : "Vrij", Readout("XR:", double(dx) * kMillimetresPerUnit),
        Readout("YR:", double(dy) * kMillimetresPerUnit),
        Readout("LN:", length * kMillimetresPerUnit), Readout("HK:", Direction(dx, dy)),
        CDovereduDoc::FormatWorkingTime(workingTime)};
}

std::string RecordLine(const CSheet& sheet)
{
    const int i = sheet.currentRecord;
    const bool inUse = i >= 1 && i < sheet.recordCount;
    char text[128];
    std::snprintf(text, sizeof text, "Record:%d/%d Layer:%d Pen:%d Blok:%d", i,
        sheet.recordCount - 1, sheet.LayerOf(i), sheet.PenOf(i),
        inUse ? sheet.records[static_cast<size_t>(i)].Block() : 0);
    return text;
}
