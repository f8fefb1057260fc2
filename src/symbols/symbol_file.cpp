#include "symbols/symbol_file.h"

#include <algorithm>
#include <climits>
#include <string>

#include "model/file_io.h"
#include "model/sheet.h"
#include "model/text_encoding.h"
#include "platform/ui_services.h"

namespace {

constexpr int64_t kSymbolUnit = 100; // micrometres per unit of a symbol file

constexpr std::string_view kMsgSymbolNotWritten = "Het symbool kon niet worden opgeslagen.\n";

bool Fits32(int64_t v)
{
    return v >= INT32_MIN && v <= INT32_MAX;
}

} // namespace

std::vector<CSym> DecodeSymbolBytes(std::span<const uint8_t> bytes)
{
    const size_t n = bytes.size() / CSym::kStoredSize;
    std::vector<CSym> out;
    out.reserve(n);
    for (size_t k = 0; k < n; ++k)
        out.push_back(DecodeSym(bytes.data() + k * CSym::kStoredSize));
    return out;
}

std::vector<uint8_t> EncodeSymbolBytes(std::span<const CSym> symbol)
{
    std::vector<uint8_t> out(symbol.size() * CSym::kStoredSize);
    for (size_t k = 0; k < symbol.size(); ++k)
        EncodeRecord(symbol[k], out.data() + k * CSym::kStoredSize);
    return out;
}

std::optional<std::vector<CSym>> ReadSymbolFile(const std::filesystem::path& path)
{
    const auto bytes = ReadFileBytes(path);
    if (!bytes)
        return std::nullopt;
    return DecodeSymbolBytes(*bytes);
}

bool SaveSelectionAsSymbol(CSheet& sheet, const std::filesystem::path& path, CUiServices& ui)
{
    if (sheet.selectionCriteria == CSheet::kSelectSegments) {
        ui.MessageBox(CSheet::kMsgSelectionCriteria);
        return false;
    }
    const int32_t cx = sheet.cursor.x;
    const int32_t cy = sheet.cursor.y;
    std::vector<CSym> symbol;
    for (const CETREC& r : sheet.SelectedForCopy()) {
        // Old versions kept the low 16 bits of a far offset, which turned
        // the symbol into something else; better to save nothing.
        if (!FitsSymbol(r, cx, cy)) {
            ui.MessageBox(kMsgSymbolTooLarge);
            return false;
        }
        symbol.push_back(RecordToSymbol(r, cx, cy));
    }
    if (auto error = WriteFileAtomically(path, EncodeSymbolBytes(symbol))) {
        ui.MessageBox(std::string(kMsgSymbolNotWritten) + Utf8ToCp1252(*error));
        return false;
    }
    return true;
}

bool LoadSymbol(CSheet& sheet, std::span<const CSym> symbol, CUiServices& ui)
{
    const int block = sheet.NewBlockNumber();
    if (block == 0) {
        ui.MessageBox(CSheet::kMsgNoBlockNumber);
        return false;
    }
    const int64_t n = static_cast<int64_t>(symbol.size());
    const int64_t used = std::max(sheet.recordCount, 0);
    const int32_t cx = sheet.cursor.x;
    const int32_t cy = sheet.cursor.y;
    bool fits = used + n + CRecordList::kGrowth <= INT32_MAX;
    for (size_t k = 0; fits && k < symbol.size(); ++k) {
        fits = Fits32(symbol[k].x * kSymbolUnit + cx) && Fits32(symbol[k].y * kSymbolUnit + cy);
    }
    if (!fits) {
        ui.MessageBox(CSheet::kMsgOutOfRange);
        return false;
    }

    if (used + n + CRecordList::kMinSpare > sheet.Length())
        sheet.ResizeArrays(static_cast<int>(used + n + CRecordList::kGrowth));
    sheet.ReadyPlacement();
    sheet.ClearBuffer();
    for (const CSym& s : symbol) {
        const CETREC r = SymbolToRecord(s, cx, cy, block);
        sheet.placement[sheet.placementCount++] = r;
        if (r.Layer() != 0)
            sheet.layers.SetVisible(r.Layer(), 1);
    }
    return true;
}

bool LoadSymbolForPlacement(CSheet& sheet, const std::filesystem::path& path, CUiServices& ui)
{
    const auto symbol = ReadSymbolFile(path);
    if (!symbol)
        return false;
    return LoadSymbol(sheet, *symbol, ui);
}
