#include "dxf/dxf_import.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "document/document.h"
#include "dxf/dxf_export.h"
#include "model/sheet.h"
#include "support/shipped_data.h"
#include "support/temp_folder.h"
#include "symbols/symbol_file.h"

namespace fs = std::filesystem;

namespace {

std::string G(int code, const std::string& value)
{
    return std::to_string(code) + "\n" + value + "\n";
}

// A header with $EXTMIN (0, 0) and $EXTMAX (maxX, 297); none when maxX is empty.
std::string Header(const std::string& maxX = "420")
{
    std::string h = G(0, "SECTION") + G(2, "HEADER");
    if (!maxX.empty())
        h += G(9, "$EXTMIN") + G(10, "0.0") + G(20, "0.0") + G(9, "$EXTMAX") + G(10, maxX)
            + G(20, "297");
    return h + G(0, "ENDSEC");
}

std::string Entities(const std::string& body)
{
    return G(0, "SECTION") + G(2, "ENTITIES") + body + G(0, "ENDSEC") + G(0, "EOF");
}

std::string Line(int x1, int y1, int x2, int y2, const std::string& type = "")
{
    return G(0, "LINE") + G(8, "0") + (type.empty() ? "" : G(6, type)) + G(10, std::to_string(x1))
        + G(20, std::to_string(y1)) + G(11, std::to_string(x2)) + G(21, std::to_string(y2));
}

std::string Polyline(const std::vector<std::pair<int, int>>& points, bool closed)
{
    std::string s = G(0, "POLYLINE") + G(8, "0") + G(66, "1") + G(70, closed ? "1" : "0");
    for (const auto& [x, y] : points)
        s += G(0, "VERTEX") + G(10, std::to_string(x)) + G(20, std::to_string(y)) + G(42, "0.5");
    return s + G(0, "SEQEND");
}

std::string Text(const std::string& text, const std::string& extra = G(8, "0"))
{
    return G(0, "TEXT") + extra + G(10, "10") + G(20, "20") + G(40, "2.5") + G(1, text);
}

CDovereduFont ShippedFont()
{
    CDovereduFont font;
    font.Load((ShippedDataFolder() / CDovereduFont::kFileName).string());
    return font;
}

struct Fixture {
    CTempFolder temp;
    CDovereduFont font = ShippedFont();

    fs::path Write(const std::string& content, const std::string& name = "drawing.dxf")
    {
        const fs::path path = temp.path / name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    // The records of a file, or nothing when Import fails.
    std::vector<CETREC> Read(const std::string& content, CDXFImport* out = nullptr)
    {
        CDXFImport reader(font);
        reader.symbolFolder = temp.path / "symbols";
        if (!reader.Import(Write(content)))
            return {};
        if (out != nullptr) {
            out->scale = reader.scale;
            out->blockFactor = reader.blockFactor;
            out->writtenSymbols = reader.writtenSymbols;
        }
        return {reader.Records().begin(), reader.Records().end()};
    }
};

CETREC R(int x, int y, int style, int block = 0)
{
    CETREC r;
    r.x = x;
    r.y = y;
    r.styleWord = static_cast<uint16_t>(style);
    r.blockWord = static_cast<uint16_t>(block);
    return r;
}

} // namespace

TEST(DXFImport, ScaleFollowsTheExtents)
{
    // (header, S, B, line length in micrometres of a LINE 420 units long)
    const std::string dimlfacFirst = G(0, "SECTION") + G(2, "HEADER") + G(9, "$DIMLFAC")
        + G(40, "1.0") + G(9, "$EXTMIN") + G(10, "0") + G(20, "0") + G(9, "$EXTMAX") + G(10, "420")
        + G(20, "297") + G(0, "ENDSEC");
    const struct {
        std::string header;
        double scale;
        double blockFactor;
        int length;
    } cases[] = {
        {Header("420"), 10, 1, 420000}, // an A3 drawing in millimetres at true size
        {Header(""), 100, 1, 4200000}, // without extents ten times larger
        {Header("420.9"), 10, 1, 420000}, // the extents are read as whole numbers
        {Header("6000"), 1, 10, 42000},
        // Wider than the table: 0.1 mm units, as our own export of an A1 or
        // A0 sheet writes them, and smaller by tens where they would not fit.
        {Header("6001"), 1, 10, 42000},
        {Header("11898"), 1, 10, 42000},
        {Header("2000000000"), 0.01, 10, 400},
        {Header("100"), 100, 1, 4200000},
        {Header("1"), 100, 1, 4200000},
        {Header("0"), 100, 1, 4200000}, // no width: no extents
        {dimlfacFirst, 100, 1, 4200000},
    };
    for (const auto& c : cases) {
        Fixture f;
        CDXFImport scale(f.font);
        const auto records = f.Read(c.header + Entities(Line(0, 0, 420, 0)), &scale);
        EXPECT_DOUBLE_EQ(scale.scale, c.scale) << c.header;
        EXPECT_EQ(scale.blockFactor, c.blockFactor) << c.header;
        EXPECT_EQ(records, (std::vector {R(0, 0, 88), R(c.length, 0, 89)})) << c.header;
    }
}

TEST(DXFImport, RefusesWhatIsNoDXFFile)
{
    Fixture f;
    const fs::path fifo = f.temp.path / "pipe.dxf";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directories(f.temp.path / "folder.dxf");
    const std::string notDXF = " is geen DXF-bestand.";
    const std::string cannotOpen = "Import is niet voltooid!\nCannot open ";
    // (file, message after its name); a pipe without a writer and a device
    // without end are refused before they are read.
    const struct {
        fs::path path;
        std::string prefix;
        std::string suffix;
    } cases[] = {
        {f.Write("", "empty.dxf"), "", notDXF},
        {f.Write("Dit is een brief.\nGeen tekening.\n", "letter.dxf"), "", notDXF},
        {f.Write("0\nLINE\n10\n0\n20\n0\n11\n5\n21\n0\n", "bare.dxf"), "", notDXF},
        {f.Write("BLOCKS\n0\nBLOCK\n2\nB\n" + Line(0, 0, 1, 1) + Line(1, 1, 2, 0) + "0\nENDBLK\n",
             "blocks.dxf"),
            "", notDXF},
        {f.Write(Header() + G(0, "EOF"), "header.dxf"), "", notDXF},
        {f.temp.path / "missing.dxf", cannotOpen, ": No such file or directory."},
        {f.temp.path / "folder.dxf", cannotOpen, ": Is a directory."},
        {"/dev/zero", cannotOpen, ": Not a regular file."},
        {fifo, cannotOpen, ": Not a regular file."},
    };
    for (const auto& c : cases) {
        CDXFImport reader(f.font);
        reader.symbolFolder = f.temp.path / "symbols";
        EXPECT_FALSE(reader.Import(c.path)) << c.path;
        EXPECT_EQ(reader.error, c.prefix + c.path.string() + c.suffix);
        EXPECT_TRUE(reader.Records().empty());
    }
    EXPECT_FALSE(fs::exists(f.temp.path / "symbols"));

    CDovereduDoc doc;
    const auto result = ImportDXF(doc, f.temp.path / "empty.dxf", {}, f.font);
    EXPECT_FALSE(result.imported);
    EXPECT_EQ(result.message, (f.temp.path / "empty.dxf").string() + notDXF);
    EXPECT_TRUE(doc.sheets.empty());
}

TEST(DXFImport, AFileCutShortInASectionImportsWhatWasRead)
{
    Fixture f;
    const std::string whole = Header() + Entities(Line(0, 0, 10, 0) + Line(0, 5, 10, 5));
    const std::string cut = whole.substr(0, whole.find("LINE", whole.find("LINE") + 1));
    // (content, records, ended early)
    const struct {
        std::string content;
        size_t records;
        bool endedEarly;
    } cases[] = {
        {whole, 4, false},
        {whole.substr(0, whole.rfind("0\nEOF")), 4, false}, // closed sections, no EOF
        {cut, 2, true}, {Header().substr(0, 40), 0, true}, // inside the header
    };
    for (const auto& c : cases) {
        CDXFImport reader(f.font);
        ASSERT_TRUE(reader.Import(f.Write(c.content))) << c.content;
        EXPECT_EQ(reader.Records().size(), c.records) << c.content;
        EXPECT_EQ(reader.endedEarly, c.endedEarly) << c.content;
    }

    CDovereduDoc doc;
    const fs::path path = f.Write(cut, "Kort.dxf");
    const auto result = ImportDXF(doc, path, {}, f.font);
    EXPECT_TRUE(result.imported);
    EXPECT_EQ(result.message,
        path.string() + " eindigt midden in een sectie: alleen wat ervoor stond is ingelezen.");
    ASSERT_EQ(doc.sheets.size(), 1u);
    EXPECT_EQ(doc.GetActiveSheet().recordCount, 3);
}

TEST(DXFImport, LinesTakeThePenOfTheirLineType)
{
    const struct {
        const char* type;
        int pen;
    } cases[] = {{"DASHED", 2}, {"HIDDEN", 3}, {"CENTER", 4}, {"DOT", 5}, {"PHANTOM", 6},
        {"DASHDOT", 6}, {"BORDER", 6}, {"DIVIDE", 7}, {"dashed", 1}, {"CONTINUOUS", 1}};
    for (const auto& c : cases)
        EXPECT_EQ(CDXFImport::LinePen(c.type), c.pen) << c.type;

    Fixture f;
    // The pen goes back to 1 for the next line.
    const auto records
        = f.Read(Header() + Entities(Line(0, 0, 10, 0, "DASHED") + Line(0, 5, 10, 5)));
    EXPECT_EQ(
        records, (std::vector {R(0, 0, 88), R(10000, 0, 90), R(0, 5000, 88), R(10000, 5000, 89)}));
}

TEST(DXFImport, CirclesAndArcs)
{
    const auto circle = [](const std::string& r) {
        return G(0, "CIRCLE") + G(10, "100") + G(20, "50") + G(40, r);
    };
    const auto arc = [](const std::string& a, const std::string& b) {
        return G(0, "ARC") + G(10, "0") + G(20, "0") + G(40, "10") + G(50, a) + G(51, b);
    };
    // (entity, records; first and last equal when the figure closes)
    const struct {
        std::string entity;
        size_t count;
        bool closes;
    } cases[] = {
        {circle("0.5"), 9, true}, // radius 5 units: 45-degree steps
        {circle("2"), 37, true},
        {arc("0", "90"), 91, false},
        {arc("0", "360"), 361, true},
        {arc("270", "90"), 181, false}, // through 0 degrees
        {arc("-90", "90"), 181, false},
        {arc("360", "360"), 1, false},
        // Reduced modulo 360 first: an arc never sweeps more than a circle.
        {arc("-3600", "3600"), 1, false},
        {arc("-370", "370"), 21, false},
        {arc("1e12", "1e12"), 1, false},
        {arc("-1e15", "3e15"), 0, false}, // any count, as long as it ends
        {arc("nan", "90"), 0, false},
    };
    for (const auto& c : cases) {
        Fixture f;
        const auto records = f.Read(Header() + Entities(c.entity));
        if (c.count > 0) {
            EXPECT_EQ(records.size(), c.count) << c.entity;
        } else if (c.entity.find("nan") != std::string::npos) {
            EXPECT_TRUE(records.empty());
        }
        if (records.size() < 2)
            continue;
        EXPECT_EQ(records.front().styleWord, 88);
        EXPECT_EQ(records.back().styleWord, 89);
        EXPECT_EQ(records.front().x == records.back().x && records.front().y == records.back().y,
            c.closes)
            << c.entity;
    }

    Fixture f;
    const auto r5 = f.Read(Header() + Entities(circle("0.5")));
    ASSERT_EQ(r5.size(), 9u);
    EXPECT_EQ(r5[0], R(100500, 50000, 88));
    EXPECT_EQ(r5[1], R(100400, 50400, 89)); // 45 degrees: 3.54 rounds to 4
    EXPECT_EQ(r5[2], R(100000, 50500, 89));
}

TEST(DXFImport, PolylinesSolidsAndDuplicates)
{
    Fixture f;
    const std::vector<std::pair<int, int>> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const auto closed = f.Read(Header() + Entities(Polyline(square, true)));
    ASSERT_EQ(closed.size(), 5u);
    EXPECT_EQ(closed.front(), R(0, 0, 88));
    EXPECT_EQ(closed.back(), R(0, 0, 89));
    EXPECT_EQ(f.Read(Header() + Entities(Polyline(square, false))).size(), 4u);

    // Two identical points in a row are collected once.
    const auto twice
        = f.Read(Header() + Entities(Polyline({{0, 0}, {5, 0}, {5, 0}, {9, 0}}, false)));
    EXPECT_EQ(twice, (std::vector {R(0, 0, 88), R(5000, 0, 89), R(9000, 0, 89)}));

    const std::string lw = G(0, "LWPOLYLINE") + G(8, "0") + G(90, "4") + G(70, "1") + G(10, "0")
        + G(20, "0") + G(10, "10") + G(20, "0") + G(40, "1") + G(10, "10") + G(20, "10")
        + G(42, "0.3") + G(10, "0") + G(20, "10");
    EXPECT_EQ(f.Read(Header() + Entities(lw)),
        (std::vector {
            R(0, 0, 88), R(10000, 0, 89), R(10000, 10000, 89), R(0, 10000, 89), R(0, 0, 89)}));

    // A strip of two solids: the second gives only its far corners.
    const std::string solids = G(0, "SOLID") + G(10, "0") + G(20, "0") + G(11, "0") + G(21, "10")
        + G(12, "10") + G(22, "0") + G(13, "10") + G(23, "10") + G(0, "SOLID") + G(12, "20")
        + G(22, "0") + G(13, "20") + G(23, "10");
    EXPECT_EQ(f.Read(Header() + Entities(solids)),
        (std::vector {R(0, 0, 88), R(10000, 0, 89), R(10000, 10000, 89), R(0, 10000, 89),
            R(0, 0, 89), R(10000, 0, 88), R(20000, 0, 89), R(20000, 10000, 89), R(10000, 10000, 89),
            R(10000, 0, 89)}));
}

TEST(DXFImport, ControlCodesAndSymbolNames)
{
    const std::pair<const char*, const char*> texts[] = {{"%%uTitle", "Title"}, {"AB%%dC", "C"},
        {"%%", ""}, {"AB%%", ""}, {"AB%%d", ""}, {"50%", "50%"}, {"plain", "plain"}};
    for (const auto& [in, out] : texts)
        EXPECT_EQ(CDXFImport::StripControlCodes(in), out) << in;

    const std::pair<const char*, const char*> names[]
        = {{"*U1", "$U1"}, {"R1", "R1"}, {"a/b\\c:d", "a_b_c_d"}, {"../up", "__up"},
            {"x*y?", "x_y_"}, {"tab\there", "tab_here"}, {"", ""}};
    for (const auto& [in, out] : names)
        EXPECT_EQ(CDXFImport::SymbolFileName(in), out) << in;
}

TEST(DXFImport, BlocksBecomeSymbolFiles)
{
    const auto block = [](const std::string& name, const std::string& flags, int size) {
        return G(0, "BLOCK") + G(8, "0") + G(2, name) + flags + G(10, "0") + G(20, "0")
            + Line(0, 0, size, 0) + Line(0, 0, 0, size) + G(0, "ENDBLK");
    };
    const std::string blocks = G(0, "SECTION") + G(2, "BLOCKS") + block("FLAT", G(70, "0"), 1)
        + block("XREF", G(70, "64"), 1) + block("NONE", "", 1) + block("*U1", G(70, "64"), 1)
        + block("", "", 1) + block("HUGE", "", 4000) + G(0, "ENDSEC");
    Fixture f;
    CDXFImport written(f.font);
    // The entities after the blocks are collected on their own.
    const auto records = f.Read(Header() + blocks + Entities(Line(0, 0, 1, 0)), &written);
    EXPECT_EQ(records, (std::vector {R(0, 0, 88), R(1000, 0, 89)}));

    std::vector<std::string> files;
    for (const auto& p : written.writtenSymbols)
        files.push_back(p.filename().string());
    EXPECT_EQ(files, (std::vector<std::string> {"XREF.SYM", "NONE.SYM", "$U1.SYM"}));
    // In blocks a millimetre is ten units; offsets are in 0.1 mm from the block's origin.
    const auto symbol = ReadSymbolFile(f.temp.path / "symbols" / "$U1.SYM");
    ASSERT_TRUE(symbol.has_value());
    const std::vector<CSym> expected
        = {{0, 88, 0, 0}, {0, 89, 10, 0}, {0, 88, 0, 0}, {0, 89, 0, 10}};
    EXPECT_EQ(*symbol, expected);
}

TEST(DXFImport, TextsAreUprightAtTheirInsertionPoint)
{
    Fixture f;
    ASSERT_TRUE(f.font.IsLoaded());
    // "T": a stem and a bar across its top. Insertion point (10, 20) mm.
    const CPoint at {10000, 20000};
    const auto lowest = [](const std::vector<CETREC>& r) {
        return std::min_element(r.begin(), r.end(), [](auto& a, auto& b) { return a.y < b.y; })->y;
    };
    const auto highest = [](const std::vector<CETREC>& r) {
        return std::max_element(r.begin(), r.end(), [](auto& a, auto& b) { return a.y < b.y; })->y;
    };
    const auto upright = f.Read(Header() + Entities(Text("T")));
    ASSERT_FALSE(upright.empty());
    EXPECT_EQ(lowest(upright), at.y); // standing on the baseline, y up
    EXPECT_GT(highest(upright), at.y + 2000);
    for (const CETREC& r : upright) {
        EXPECT_GE(r.x, at.x);
        EXPECT_EQ(r.Layer(), 10);
        EXPECT_EQ(r.Block(), 1);
    }

    // Upside down: turned about the insertion point.
    const auto turned = f.Read(Header() + Entities(Text("T", G(8, "0") + G(71, "4"))));
    EXPECT_EQ(highest(turned), at.y);
    for (const CETREC& r : turned)
        EXPECT_LE(r.x, at.x);

    // Rotated 90 degrees: the text runs upward, its top to the left.
    const auto rotated = f.Read(Header() + Entities(Text("T", G(50, "90"))));
    EXPECT_GT(lowest(rotated), at.y);
    EXPECT_LT(lowest(rotated), at.y + 1000);
    EXPECT_EQ(
        std::max_element(rotated.begin(), rotated.end(), [](auto& a, auto& b) { return a.x < b.x; })
            ->x,
        at.x); // the stem stands on the baseline through the insertion point
    for (const CETREC& r : rotated) {
        EXPECT_LE(r.x, at.x);
        EXPECT_EQ(r.Layer(), 8); // no layer group
    }

    // Control codes go, every text gets its own block, and a circle joins the last.
    const auto codes = f.Read(Header()
        + Entities(Text("%%uT") + Text("AB%%dT") + Text("%%") + G(0, "CIRCLE") + G(10, "0")
            + G(20, "0") + G(40, "2")));
    const auto blocks
        = std::count_if(codes.begin(), codes.end(), [](auto& r) { return r.Block() == 2; });
    EXPECT_EQ(codes.size(), 2 * upright.size() + 37);
    EXPECT_EQ(blocks, static_cast<long>(upright.size()) + 37);
}

TEST(DXFImport, DamagedFilesImportWhatTheyCan)
{
    const std::string good = Header() + G(0, "SECTION") + G(2, "BLOCKS") + G(0, "BLOCK") + G(2, "B")
        + Line(0, 0, 1, 1) + Line(1, 1, 2, 0) + G(0, "ENDBLK") + G(0, "ENDSEC")
        + Entities(Line(0, 0, 10, 0) + Polyline({{0, 0}, {1, 1}}, true) + Text("AB") + G(0, "ARC")
            + G(10, "0") + G(20, "0") + G(40, "5") + G(50, "10") + G(51, "5") + G(0, "SOLID")
            + G(10, "1") + G(20, "1") + G(13, "2") + G(23, "2"));
    Fixture f;
    // Cut anywhere: refused as no DXF file before its first section and
    // between the closed header and the next section, else what was read,
    // said to have ended early until the file is whole.
    const size_t first = good.find("SECTION") + 7;
    const size_t headerEnd = good.find("ENDSEC") + 6;
    const size_t second = good.find("SECTION", headerEnd) + 7;
    const size_t entities = good.find("ENTITIES");
    const size_t closed = good.rfind("ENDSEC") + 6;
    for (size_t cut = 0; cut <= good.size(); cut += 3) {
        CDXFImport reader(f.font);
        reader.symbolFolder = f.temp.path / "symbols";
        const bool imported = reader.Import(f.Write(good.substr(0, cut)));
        EXPECT_EQ(imported, cut >= first && (cut < headerEnd || cut >= second)) << cut;
        if (imported && cut > entities) {
            EXPECT_EQ(reader.endedEarly, cut < closed) << cut;
        }
    }

    // Numbers that are not numbers: read as C reads them, or the entity is left out.
    const auto damaged = f.Read(Header()
        + Entities(Line(0, 0, 10, 0).replace(Line(0, 0, 10, 0).find("\n10\n0"), 5, "\n10\nabc")
            + G(0, "LINE") + G(10, "1e300") + G(20, "0") + G(11, "0") + G(21, "0") + G(0, "LINE")
            + G(10, "inf") + G(20, "0") + G(11, "0") + G(21, "0") + G(0, "CIRCLE") + G(10, "0")
            + G(20, "0") + G(40, "1e9") + G(0, "TEXT") + G(10, "0") + G(20, "0") + G(40, "1e30")
            + G(1, "AAAAAAAA")));
    EXPECT_EQ(damaged, (std::vector {R(0, 0, 88), R(10000, 0, 89)}));

    // A line longer than the read buffer.
    const auto longLine
        = f.Read(Header() + Entities(Text(std::string(3 << 20, 'x')) + Line(0, 0, 10, 0)));
    EXPECT_EQ(longLine.back(), R(10000, 0, 89));
}

TEST(DXFImportDocument, AddsTheSheetDXFImport)
{
    Fixture f;
    CDovereduDoc doc;
    doc.AddDefaultSheet();
    doc.AddDefaultSheet();
    doc.modified = false;
    const fs::path dxf = f.Write(Header() + G(0, "SECTION") + G(2, "BLOCKS") + G(0, "BLOCK")
            + G(2, "R") + Line(0, 0, 1, 0) + Line(1, 0, 1, 1) + G(0, "ENDBLK") + G(0, "ENDSEC")
            + Entities(Line(0, 0, 420, 0) + Line(0, 297, 0, 0) + Text("A") + Text("B")),
        "Plan.dxf");
    const auto result = ImportDXF(doc, dxf, f.temp.path / "Symbolen", f.font);
    ASSERT_TRUE(result.imported);
    EXPECT_EQ(result.message, "");

    ASSERT_EQ(doc.sheets.size(), 3u);
    EXPECT_EQ(doc.activeSheet, 2);
    CSheet& sheet = doc.GetActiveSheet();
    EXPECT_EQ(sheet.sheetName, "DXF-Import:3");
    EXPECT_EQ(sheet.sheetTitle, "DXF Import");
    EXPECT_TRUE(doc.modified);
    EXPECT_TRUE(sheet.layers.IsVisible(11));
    EXPECT_EQ(sheet.undoValidCount, 1);
    EXPECT_TRUE(fs::exists(f.temp.path / "Symbolen" / "Plan" / "R.SYM"));

    // Flipped: the DXF's top (y 297 mm) is the sheet's top; the pan origin added.
    const CPoint o = sheet.origin;
    EXPECT_EQ(sheet.records[1], R(o.x, 297000 + o.y, 88));
    EXPECT_EQ(sheet.records[2], R(420000 + o.x, 297000 + o.y, 89));
    EXPECT_EQ(sheet.records[3], R(o.x, o.y, 88));
    std::vector<int> blocks;
    for (int i = 1; i < sheet.recordCount; ++i) {
        if (blocks.empty() || blocks.back() != sheet.records[i].Block())
            blocks.push_back(sheet.records[i].Block());
    }
    EXPECT_EQ(blocks, (std::vector {0, 1, 2}));

    const auto missing = ImportDXF(doc, f.temp.path / "none.dxf", {}, f.font);
    EXPECT_FALSE(missing.imported);
    EXPECT_TRUE(missing.message.starts_with(kMsgDXFImportIncomplete));
    EXPECT_EQ(doc.sheets.size(), 3u);
}

TEST(DXFImportDocument, BlockNumbersNeverReachTheFilledFlag)
{
    Fixture f;
    std::string texts;
    for (int i = 0; i < CETREC::kMaxBlock + 3; ++i)
        texts += Text("-");
    CDovereduDoc doc;
    ASSERT_TRUE(ImportDXF(doc, f.Write(Header() + Entities(texts)), {}, f.font).imported);
    const CSheet& sheet = doc.GetActiveSheet();
    int highest = 0;
    for (int i = 1; i < sheet.recordCount; ++i) {
        EXPECT_FALSE(sheet.records[i].IsFilled());
        highest = std::max(highest, sheet.records[i].Block());
    }
    EXPECT_EQ(highest, CETREC::kMaxBlock);
}

TEST(DXFImport, BlocksWhoseFileNamesCollideGetFilesOfTheirOwn)
{
    const auto block = [](const std::string& name, int size) {
        return G(0, "BLOCK") + G(2, name) + Line(0, 0, size, 0) + Line(0, 0, 0, size)
            + G(0, "ENDBLK");
    };
    // "a/b" and "a_b" give one file name; "A_B" the same one once case is
    // ignored, as the symbol library finds its files.
    Fixture f;
    CDXFImport written(f.font);
    f.Read(Header() + G(0, "SECTION") + G(2, "BLOCKS") + block("a/b", 1) + block("a_b", 2)
            + block("A_B", 3) + G(0, "ENDSEC") + Entities(""),
        &written);
    std::vector<std::string> files;
    for (const auto& p : written.writtenSymbols)
        files.push_back(p.filename().string());
    EXPECT_EQ(files, (std::vector<std::string> {"a_b.SYM", "a_b_2.SYM", "A_B_3.SYM"}));
    for (size_t i = 0; i < written.writtenSymbols.size(); ++i) {
        const auto symbol = ReadSymbolFile(written.writtenSymbols[i]);
        ASSERT_TRUE(symbol.has_value());
        ASSERT_EQ(symbol->size(), 4u);
        EXPECT_EQ((*symbol)[1].x, static_cast<int>(10 * (i + 1))) << files[i];
    }
}

TEST(DXFImportDocument, OurOwnExportOfEverySheetSizeComesBack)
{
    // (frame in millimetres): A4 to A0; from A1 on the drawing is wider
    // than the scale table's 6000 units.
    const std::pair<int, int> frames[] = {{297, 210}, {594, 420}, {841, 594}, {1189, 841}};
    for (const auto& [w, h] : frames) {
        Fixture f;
        CSheet sheet;
        sheet.AddFrame(0, 0, w * 1000, h * 1000);
        const fs::path path = f.temp.path / "Blad.DXF";
        ASSERT_TRUE(ExportDXF(sheet, path).written) << w;

        CDovereduDoc doc;
        const auto result = ImportDXF(doc, path, {}, f.font);
        ASSERT_TRUE(result.imported) << w << ": " << result.message;
        EXPECT_EQ(result.message, "");
        const CSheet& back = doc.GetActiveSheet();
        ASSERT_EQ(back.recordCount, 6) << w;
        int minX = back.records[1].x;
        int maxX = minX;
        int minY = back.records[1].y;
        int maxY = minY;
        for (int i = 1; i < back.recordCount; ++i) {
            minX = std::min(minX, back.records[i].x);
            maxX = std::max(maxX, back.records[i].x);
            minY = std::min(minY, back.records[i].y);
            maxY = std::max(maxY, back.records[i].y);
        }
        // At its true size.
        EXPECT_EQ(maxX - minX, w * 1000) << w;
        EXPECT_EQ(maxY - minY, h * 1000) << w;
    }
}
