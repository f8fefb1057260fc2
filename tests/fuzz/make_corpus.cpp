// Writes the seed inputs of the fuzz targets into a corpus folder
// (tests/fuzz/corpus/): small valid files made by the program's own writers
// where it has one, and by the archive's primitives in the layouts of older
// versions and of the DOS libraries, which the program only reads.
// Usage: make_fuzz_corpus CORPUS_FOLDER
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/config_file.h"
#include "document/document.h"
#include "dxf/dxf_import.h"
#include "dxf/dxf_sheet_choice.h"
#include "model/archive.h"
#include "model/etrec.h"
#include "model/grid.h"
#include "model/layer.h"
#include "model/picture.h"
#include "model/sheet.h"
#include "model/stroke_font.h"
#include "model/text.h"
#include "symbols/symbol_file.h"

namespace fs = std::filesystem;

namespace {

fs::path corpus;

void Put(const std::string& target, const std::string& name, const std::vector<uint8_t>& bytes)
{
    fs::create_directories(corpus / target);
    std::ofstream out(corpus / target / name, std::ios::binary | std::ios::trunc);
    out.write(
        reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void Put(const std::string& target, const std::string& name, const std::string& text)
{
    Put(target, name, std::vector<uint8_t>(text.begin(), text.end()));
}

// A small sheet with something of every kind: a frame, a line of three
// points on a dash layer, a filled triangle, a junction, a text and a
// picture (its file need not exist). The record array is cut to what is in
// use, so the seed stays small.
std::unique_ptr<CSheet> SmallSheet(const std::string& name)
{
    auto s = std::make_unique<CSheet>(0, name, "titel");
    s->AddFrame(0, 0, 420000, 297000);
    const CETREC figure[] = {
        CETREC::Make(10000, 10000, 9, 0),
        CETREC::Make(50000, 10000, 9, 2),
        CETREC::Make(50000, 40000, 9, 2),
        CETREC::Make(60000, 60000, 2, 0, 1, true),
        CETREC::Make(90000, 60000, 2, 1, 1, true),
        CETREC::Make(75000, 80000, 2, 1, 1, true),
        CETREC::Junction(50000, 10000, 1),
    };
    for (const CETREC& r : figure)
        s->Append(r);
    s->texts.Add(std::make_unique<CText>(
        "Aarde", CRect {100000, 100000, 130000, 104000}, CText::kDefaultAttributes));
    auto picture = std::make_unique<CPict>();
    picture->fileName = "foto.png";
    picture->pictureSize = {2000, 1000};
    picture->sourceRect = {0, 0, 2000, 1000};
    picture->placementRect = {200000, 100000, 240000, 120000};
    s->pictures->pictures.push_back(std::move(picture));
    s->ResizeArrays(s->recordCount + 1);
    return s;
}

std::vector<uint8_t> StoredSheet(CSheet& sheet)
{
    CArchive ar("seed.ETT");
    sheet.Serialize(ar);
    return ar.TakeBytes();
}

// A sheet body as the versions before the current schema wrote it: up to
// 810 layer names and visibility in place of the layer array; from 806 the
// grids; from 812 the view fields and the picture list. The archive knows
// objects by address: each body's text must live until the archive is done.
void WriteOldSheetBody(CArchive& ar, int schema, const CText& text)
{
    ar.WriteInt(schema);
    ar.WriteString("Oud");
    ar.WriteString("");
    for (int i = 0; i < 8; ++i)
        ar.WriteInt(200 * (i + 1));
    if (schema >= 811) {
        CLayerArray layers;
        layers.Serialize(ar);
    } else {
        for (int i = 0; i < 16; ++i) {
            ar.WriteString(i == 3 ? "Kabels" : "");
            ar.WriteInt(1);
        }
    }
    for (int i = 0; i < 48; ++i)
        ar.WriteInt(0x102030 + i);
    const std::vector<CETREC> records = {CETREC {}, CETREC::Make(1000, 500, 2, 0),
        CETREC::Make(9000, 500, 2, 1), CETREC::Make(9000, 7000, 10, 3)};
    ar.WriteInt(static_cast<int32_t>(records.size()));
    StoreRecords(ar, records);
    ar.WriteCount(1);
    ar.WriteObject(&text);
    if (schema >= 806) {
        CGridArr grids;
        grids.Serialize(ar);
    }
    if (schema >= 812) {
        ar.WriteInt(100); // zoom
        for (int i = 0; i < 3; ++i)
            ar.WritePair(10 * i, 10 * i + 1);
        ar.WriteInt(17);
        ar.WriteInt(18);
        ar.WriteInt(812); // the picture list
        ar.WriteCount(0);
    }
}

std::vector<uint8_t> OldSheetBody(int schema)
{
    CArchive ar("seed.ETT");
    const CText text("L1", {100, 100, 900, 300}, CText::kDefaultAttributes);
    WriteOldSheetBody(ar, schema, text);
    return ar.TakeBytes();
}

void ProjectSeeds()
{
    CDovereduDoc doc;
    doc.projectName = "Seed";
    doc.sheets.push_back(SmallSheet("Een"));
    doc.sheets.push_back(SmallSheet("Twee"));
    doc.activeSheet = 1;
    Put("project", "v900.ETT", doc.Store("seed.ETT"));

    // 811 and 820 have no active sheet after the sheets.
    for (int version : {820, 811}) {
        CArchive ar("seed.ETT");
        ar.WriteInt(version);
        for (const char* t : {"Groep", "Naam", "Beheerder", "Notities"})
            ar.WriteString(t);
        ar.WriteInt(3725000);
        ar.WriteCount(1);
        ar.WriteObject(doc.sheets[0].get());
        Put("project", "v" + std::to_string(version) + ".ETT", ar.TakeBytes());
    }

    // The oldest layout starts with the working time (above 2000) and holds
    // bare sheet bodies.
    CArchive ar("seed.ETT");
    ar.WriteInt(90000);
    for (const char* t : {"Groep", "Naam", "Beheerder", "Notities"})
        ar.WriteString(t);
    ar.WriteInt(2);
    const CText texts[] = {{"L1", {100, 100, 900, 300}, CText::kDefaultAttributes},
        {"L2", {100, 400, 900, 600}, CText::kDefaultAttributes}};
    WriteOldSheetBody(ar, 805, texts[0]);
    WriteOldSheetBody(ar, 810, texts[1]);
    Put("project", "oldest.ETT", ar.TakeBytes());
}

void SheetSeeds()
{
    Put("sheet", "s813", StoredSheet(*SmallSheet("Blad")));
    for (int schema : {812, 811, 810, 805})
        Put("sheet", "s" + std::to_string(schema), OldSheetBody(schema));
}

// The clipboard's stream of a small sheet with everything selected: records
// of two blocks, a filled figure, a junction, texts.
void ClipboardSeeds()
{
    auto sheet = SmallSheet("Blad");
    sheet->SelectAll();
    for (int i = 0; i < sheet->texts.GetCount(); ++i)
        sheet->texts.SetSelected(i, true);
    CArchive ar("seed");
    sheet->WriteSelection(ar);
    Put("clipboard", "all", ar.TakeBytes());
}

// A symbol: a filled square on layer 2, a line on a dash layer, a junction.
std::vector<CSym> SmallSymbol()
{
    const auto sym = [](int block, int style, int x, int y) {
        CSym s;
        s.blockWord = static_cast<uint16_t>(block);
        s.styleWord = static_cast<uint16_t>(style);
        s.x = static_cast<int16_t>(x);
        s.y = static_cast<int16_t>(y);
        return s;
    };
    const uint16_t filled = CETREC::kFilledBit;
    return {sym(filled, 2 << 3, 0, 0), sym(filled, (2 << 3) | 1, 100, 0),
        sym(filled, (2 << 3) | 1, 100, 100), sym(filled, (2 << 3) | 1, 0, 100),
        sym(0, 9 << 3, -50, 50), sym(0, (9 << 3) | 3, -200, 50),
        sym(0, CETREC::kJunctionBit | (1 << 3), 0, 50)};
}

void SymbolAndLibrarySeeds()
{
    const std::vector<CSym> symbol = SmallSymbol();
    const std::vector<uint8_t> sym = EncodeSymbolBytes(symbol);
    Put("symbol", "a.SYM", sym);
    Put("old_drawing", "a.sym", sym);

    // ".LMC": the symbol layout in old units, between zero records.
    std::vector<uint8_t> lmc(CSym::kStoredSize, 0);
    lmc.insert(lmc.end(), sym.begin(), sym.end());
    lmc.insert(lmc.end(), CSym::kStoredSize, 0);
    Put("dos_library", "a.LMC", lmc);
    Put("old_drawing", "a.lmc", lmc);

    // ".BNK" and ".LAY": the same records with byte attributes; a
    // 30-degree track for the corner rule.
    std::vector<uint8_t> lay;
    for (CSym s : symbol) {
        const CLay r {static_cast<uint8_t>(s.blockWord >> 8), static_cast<uint8_t>(s.styleWord),
            static_cast<int16_t>(s.x * 5), static_cast<int16_t>(s.y * 5 / 3)};
        uint8_t bytes[CLay::kStoredSize];
        EncodeRecord(r, bytes);
        lay.insert(lay.end(), bytes, bytes + sizeof bytes);
    }
    Put("dos_library", "a.BNK", lay);
    Put("old_drawing", "a.lay", lay);
}

void ConfigSeeds()
{
    const std::vector<uint8_t> bytes = FormatConfig(CSettings {});
    Put("config", "default.cfg", bytes);
}

void DxfSeeds()
{
    // The program's own export of a small sheet.
    CDovereduDoc doc;
    doc.sheets.push_back(SmallSheet("Export"));
    const fs::path folder = fs::temp_directory_path() / "ridizav-fuzz-corpus-dxf";
    fs::create_directories(folder);
    ExportSheets(doc, {{0, "Export.DXF"}}, folder);
    std::ifstream in(folder / "Export.DXF", std::ios::binary);
    const std::vector<uint8_t> exported {
        std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    fs::remove_all(folder);
    Put("dxf", "export.DXF", exported);

    // Every entity the import reads, and a block, which the export never
    // writes.
    const char* const groups[] = {"0", "SECTION", "2", "HEADER", "9", "$EXTMIN", "10", "0", "20",
        "0", "9", "$EXTMAX", "10", "420", "20", "297", "0", "ENDSEC", "0", "SECTION", "2", "BLOCKS",
        "0", "BLOCK", "2", "LAMP", "70", "64", "10", "0", "20", "0", "0", "LINE", "8", "0", "10",
        "0", "20", "0", "11", "5", "21", "5", "0", "ENDBLK", "0", "ENDSEC", "0", "SECTION", "2",
        "ENTITIES", "0", "LINE", "8", "0", "6", "DASHED", "10", "10", "20", "10", "11", "100", "21",
        "10", "0", "CIRCLE", "8", "0", "10", "50", "20", "50", "40", "10", "0", "ARC", "8", "0",
        "10", "80", "20", "50", "40", "10", "50", "0", "51", "90", "0", "SOLID", "8", "0", "10",
        "0", "20", "0", "11", "5", "21", "0", "12", "0", "22", "5", "13", "5", "23", "5", "0",
        "POLYLINE", "8", "0", "66", "1", "0", "VERTEX", "10", "0", "20", "0", "0", "VERTEX", "10",
        "20", "20", "0", "0", "SEQEND", "0", "LWPOLYLINE", "8", "0", "90", "2", "70", "1", "10",
        "0", "20", "30", "10", "20", "20", "30", "0", "TEXT", "8", "0", "10", "30", "20", "30",
        "40", "2.5", "50", "90", "1", "%%uL1", "0", "ENDSEC", "0", "EOF"};
    std::string text;
    for (const char* g : groups)
        text += std::string(g) + "\r\n";
    Put("dxf", "entities.DXF", text);
}

// The shipped font, cut after the digits and capitals: its characters
// start at code 0, so a cut keeps every code before it.
void StrokeFontSeeds()
{
    const fs::path path = fs::path(RIDIZAV_DATA_FOLDER) / CDovereduFont::kFileName;
    CDovereduFont font;
    if (!font.Load(path.string())) {
        std::fprintf(stderr, "Cannot read %s\n", path.c_str());
        std::exit(1);
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes {
        std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    bytes.resize(std::min(bytes.size(), size_t {3} * font.FirstEntry('[')));
    Put("stroke_font", "capitals.dat", bytes);
}

// Every seed must be read whole by its reader, or it would only teach the
// fuzzer the reader's first refusal.
bool SeedsRead()
{
    bool ok = true;
    const auto check = [&ok](bool read, const fs::path& file) {
        if (!read) {
            std::fprintf(stderr, "Seed not read: %s\n", file.c_str());
            ok = false;
        }
    };
    for (const auto& e : fs::directory_iterator(corpus / "project")) {
        CDovereduDoc doc;
        check(!doc.Open(e.path().string()) && !doc.sheets.empty(), e.path());
    }
    for (const auto& e : fs::directory_iterator(corpus / "sheet")) {
        std::ifstream in(e.path(), std::ios::binary);
        const std::vector<uint8_t> bytes {
            std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        CSheet sheet;
        bool read = true;
        try {
            CArchive ar(bytes, e.path().string());
            sheet.Serialize(ar);
            read = ar.Remaining() == 0 && sheet.recordCount > 1;
        } catch (const CArchiveException&) {
            read = false;
        }
        check(read, e.path());
    }
    for (const auto& e : fs::directory_iterator(corpus / "clipboard")) {
        std::ifstream in(e.path(), std::ios::binary);
        const std::vector<uint8_t> bytes {
            std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        CSheet sheet;
        CArchive ar(bytes, e.path().string());
        check(sheet.PasteSelection(ar) == CSheet::PasteResult::Pasted && ar.Remaining() == 0,
            e.path());
    }
    {
        CSettings settings;
        const fs::path file = corpus / "config" / "default.cfg";
        check(ReadConfigFile(file, settings) == ConfigStatus::Read, file);
    }
    for (const auto& e : fs::directory_iterator(corpus / "dxf")) {
        CDovereduDoc doc;
        const CDXFImportResult result = ImportDXF(doc, e.path(), {}, CDovereduFont {});
        check(result.imported && result.message.empty() && doc.HasSheets()
                && doc.GetActiveSheet().recordCount > 1,
            e.path());
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "Usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    corpus = argv[1];
    ProjectSeeds();
    SheetSeeds();
    ClipboardSeeds();
    SymbolAndLibrarySeeds();
    ConfigSeeds();
    DxfSeeds();
    StrokeFontSeeds();
    return SeedsRead() ? 0 : 1;
}
