// Writes the starter symbol library the program ships in data/Symbolen from
// its description, and on request a project with a legend of it: every
// symbol with its name, a sheet per top group.
//   make_symbols SYMBOLS.TXT FONT.DAT OUT_FOLDER [--legend OUT.ETT]
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "document/document.h"
#include "model/file_io.h"
#include "model/stroke_font.h"
#include "model/text_encoding.h"
#include "symbol_source.h"

namespace {

constexpr int kMm = 1000;
constexpr int kColumns = 5;
constexpr int kCellWidth = 80 * kMm;
constexpr int kCellHeight = 30 * kMm;
constexpr int kNameSize = 29; // a capital of 1.8 mm

void AddSymbol(CSheet& sheet, const CSourceSymbol& s, const CDovereduFont& font, int block,
    int cellX, int cellY)
{
    int lowX = 0, highX = 0, lowY = 0, highY = 0;
    for (const CSym& r : s.records) {
        lowX = std::min<int>(lowX, r.x);
        highX = std::max<int>(highX, r.x);
        lowY = std::min<int>(lowY, r.y);
        highY = std::max<int>(highY, r.y);
    }
    // The symbol centred in the upper part of its cell, on whole mm.
    const int refX = (cellX + kCellWidth / 2 - (lowX + highX) * 50) / kMm * kMm;
    const int refY = (cellY + 11 * kMm - (lowY + highY) * 50) / kMm * kMm;
    for (const CSym& r : s.records)
        sheet.Append(SymbolToRecord(r, refX, refY, block));

    CRecordList text;
    font.BuildText(Utf8ToCp1252(s.name), {0, 0}, kNameSize, text);
    int width = 0;
    for (int i = 0; i < text.placementCount; ++i)
        width = std::max(width, text.placement[static_cast<size_t>(i)].x);
    for (int i = 0; i < text.placementCount; ++i) {
        CETREC r = text.placement[static_cast<size_t>(i)];
        r.x += cellX + (kCellWidth - width) / 2;
        r.y += cellY + 23 * kMm;
        r.SetLayer(1);
        if (r.Pen() != 0)
            r.SetPen(1);
        r.SetBlock(block + 1);
        sheet.Append(r);
    }
}

std::optional<std::string> WriteLegend(
    const std::vector<CSourceSymbol>& symbols, const CDovereduFont& font, const char* path)
{
    CDovereduDoc doc;
    std::map<std::string, std::vector<const CSourceSymbol*>> byTop;
    std::vector<std::string> tops;
    for (const CSourceSymbol& s : symbols) {
        const std::string top = s.group.substr(0, s.group.find('/'));
        if (byTop.find(top) == byTop.end())
            tops.push_back(top);
        byTop[top].push_back(&s);
    }
    for (const std::string& top : tops) {
        const auto& list = byTop[top];
        const int rows = (static_cast<int>(list.size()) + kColumns - 1) / kColumns;
        CSheet& sheet = *doc.sheets[static_cast<size_t>(doc.AddSheet(0, top, "Legenda"))];
        sheet.AddFrame(0, 0, kColumns * kCellWidth + 20 * kMm, rows * kCellHeight + 20 * kMm);
        int block = 2;
        for (size_t i = 0; i < list.size(); ++i) {
            const int col = static_cast<int>(i) % kColumns;
            const int row = static_cast<int>(i) / kColumns;
            AddSymbol(sheet, *list[i], font, block, 10 * kMm + col * kCellWidth,
                10 * kMm + row * kCellHeight);
            block += 2;
        }
        sheet.origin = sheet.Extents();
        sheet.Recount();
    }
    doc.projectName = "Legenda symbolen";
    return doc.Save(path);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 4 && !(argc == 6 && std::strcmp(argv[4], "--legend") == 0)) {
        std::fprintf(
            stderr, "usage: make_symbols SYMBOLS.TXT FONT.DAT OUT_FOLDER [--legend OUT.ETT]\n");
        return 2;
    }
    const auto text = ReadFileBytes(argv[1]);
    if (!text) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    CDovereduFont font;
    if (!font.Load(argv[2])) {
        std::fprintf(stderr, "cannot read the stroke font %s\n", argv[2]);
        return 1;
    }
    const CSourceResult source
        = ReadSymbolSource({reinterpret_cast<const char*>(text->data()), text->size()}, font);
    for (const std::string& e : source.errors)
        std::fprintf(stderr, "%s: %s\n", argv[1], e.c_str());
    if (!source.errors.empty())
        return 1;
    std::string error;
    const auto written = WriteSymbolLibrary(source.symbols, argv[3], error);
    if (written.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf("%zu symbols written to %s\n", written.size(), argv[3]);
    if (argc == 6) {
        if (auto e = WriteLegend(source.symbols, font, argv[5])) {
            std::fprintf(stderr, "%s\n", e->c_str());
            return 1;
        }
    }
    return 0;
}
