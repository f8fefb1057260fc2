#include "dxf/dxf_export.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "model/file_io.h"
#include "model/sheet.h"
#include "support/temp_folder.h"

namespace {

constexpr int mm = 1000;

struct Pt {
    int x, y;
};

// Appends a path: a move to the first point, then lines with `pen`.
void AddPath(CSheet& sheet, std::initializer_list<Pt> points, int layer, int pen)
{
    bool first = true;
    for (const Pt& p : points) {
        sheet.Append(CETREC::Make(p.x, p.y, layer, first ? 0 : pen));
        first = false;
    }
}

std::string ReadText(const std::filesystem::path& path)
{
    const auto bytes = ReadFileBytes(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

// The entity text of an exported file: what follows the ENTITIES header,
// with CR LF shown as "|" so that one group reads "0|VERTEX|".
std::string Entities(const std::string& file)
{
    const std::string start = "0\r\nSECTION\r\n2\r\nENTITIES\r\n";
    const size_t at = file.find(start);
    if (at == std::string::npos)
        return "no ENTITIES section";
    std::string out;
    for (size_t i = at + start.size(); i < file.size(); ++i) {
        if (file.compare(i, 2, "\r\n") == 0) {
            out += '|';
            ++i;
        } else {
            out += file[i];
        }
    }
    return out;
}

std::vector<std::pair<std::string, std::string>> Groups(const std::string& file)
{
    std::vector<std::pair<std::string, std::string>> out;
    size_t at = 0;
    std::vector<std::string> lines;
    while (at < file.size()) {
        const size_t end = file.find("\r\n", at);
        if (end == std::string::npos)
            break;
        lines.push_back(file.substr(at, end - at));
        at = end + 2;
    }
    for (size_t i = 0; i + 1 < lines.size(); i += 2)
        out.emplace_back(lines[i], lines[i + 1]);
    return out;
}

struct Exported {
    CDXFExportResult result;
    std::string text;
};

Exported Export(const CSheet& sheet, const CTempFolder& tmp, const char* name = "out.DXF")
{
    const auto path = tmp.path / name;
    Exported e {ExportDXF(sheet, path), {}};
    e.text = ReadText(path);
    return e;
}

} // namespace

TEST(DXFExport, OneLineAsExactEntities)
{
    CTempFolder tmp;
    CSheet sheet;
    AddPath(sheet, {{10 * mm, 20 * mm}, {30 * mm, 50 * mm}}, 1, 2);
    const Exported e = Export(sheet, tmp);
    ASSERT_TRUE(e.result.written) << e.result.error;
    EXPECT_EQ(Entities(e.text),
        "0|POLYLINE|8|1|66|1|10|0|20|0|30|0|40|1|41|1|"
        "0|VERTEX|8|1|10|0|20|301|40|1|41|1|"
        "0|VERTEX|8|1|10|200|20|1|"
        "0|SEQEND|8|0|"
        "0|ENDSEC|0|EOF|");
    EXPECT_NE(e.text.find("9\r\n$EXTMAX\r\n10\r\n200\r\n20\r\n300\r\n9\r\n$LIMMIN\r\n"),
        std::string::npos);
    EXPECT_NE(e.text.find("9\r\n$LIMMAX\r\n10\r\n200\r\n20\r\n300\r\n"), std::string::npos);
}

TEST(DXFExport, LineTypeOnlyOnDashLayers)
{
    // (layer, pen of the path, group 6 expected on the polyline and each vertex)
    const struct {
        int layer, pen;
        const char* lineType;
    } cases[] = {{9, 4, "CENTER"}, {8, 1, "CONTINUOUS"}, {15, 2, "DASHED"}, {10, 3, "HIDDEN"},
        {11, 5, "DOT"}, {12, 6, "DASHDOT"}, {13, 7, "DIVIDE"}, {7, 4, nullptr}, {1, 7, nullptr}};
    for (const auto& c : cases) {
        CTempFolder tmp;
        CSheet sheet;
        AddPath(sheet, {{10 * mm, 20 * mm}, {30 * mm, 50 * mm}}, c.layer, c.pen);
        const std::string layer = std::to_string(c.layer);
        const std::string six = c.lineType ? std::string("6|") + c.lineType + "|" : "";
        EXPECT_EQ(Entities(Export(sheet, tmp).text),
            "0|POLYLINE|8|" + layer + "|" + six + "66|1|10|0|20|0|30|0|40|1|41|1|" + "0|VERTEX|8|"
                + layer + "|" + six + "10|0|20|301|40|1|41|1|" + "0|VERTEX|8|" + layer + "|" + six
                + "10|200|20|1|" + "0|SEQEND|8|0|0|ENDSEC|0|EOF|")
            << "layer " << c.layer << " pen " << c.pen;
    }
}

TEST(DXFExport, PathsSplitAtMovesAndJunctions)
{
    CTempFolder tmp;
    CSheet sheet;
    // Four segments; the pen of the first one decides the line type of all.
    AddPath(sheet, {{0, 0}, {10 * mm, 0}, {10 * mm, 10 * mm}, {0, 10 * mm}, {0, 0}}, 9, 2);
    sheet.records[4].SetPen(5);
    // A junction ends the path it follows; the line after it starts anew.
    AddPath(sheet, {{0, 0}, {5 * mm, 5 * mm}}, 1, 1);
    sheet.Append(CETREC::Junction(5 * mm, 5 * mm, 1));
    sheet.Append(CETREC::Make(8 * mm, 8 * mm, 1, 3));
    AddPath(sheet, {{1 * mm, 1 * mm}, {2 * mm, 1 * mm}}, 2, 4);
    // A move followed by a junction writes nothing, and neither does a move
    // at the end; a junction far out still widens the drawing.
    AddPath(sheet, {{3 * mm, 3 * mm}}, 1, 0);
    sheet.Append(CETREC::Junction(40 * mm, 4 * mm, 1));
    AddPath(sheet, {{4 * mm, 3 * mm}}, 1, 0);

    const std::string out = Entities(Export(sheet, tmp).text);
    EXPECT_EQ(out,
        // Drawing 400 wide (the junction), 100 high; Y = 100 - y + 1.
        "0|POLYLINE|8|9|6|DASHED|66|1|10|0|20|0|30|0|40|1|41|1|"
        "0|VERTEX|8|9|6|DASHED|10|0|20|101|40|1|41|1|"
        "0|VERTEX|8|9|6|DASHED|10|100|20|101|"
        "0|VERTEX|8|9|6|DASHED|10|100|20|1|"
        "0|VERTEX|8|9|6|DASHED|10|0|20|1|"
        "0|VERTEX|8|9|6|DASHED|10|0|20|101|"
        "0|SEQEND|8|0|"
        "0|POLYLINE|8|1|66|1|10|0|20|0|30|0|40|1|41|1|"
        "0|VERTEX|8|1|10|0|20|101|"
        "0|VERTEX|8|1|10|50|20|51|"
        "0|SEQEND|8|0|"
        "0|POLYLINE|8|2|66|1|10|0|20|0|30|0|40|1|41|1|"
        "0|VERTEX|8|2|10|10|20|91|"
        "0|VERTEX|8|2|10|20|20|91|"
        "0|SEQEND|8|0|"
        "0|ENDSEC|0|EOF|");
    EXPECT_NE(
        Export(sheet, tmp).text.find("$EXTMAX\r\n10\r\n400\r\n20\r\n100\r\n"), std::string::npos);
}

TEST(DXFExport, CoordinatesTruncatedBeforeTheMinimumIsTaken)
{
    // (x of the two points in micrometres, X written for the second)
    const struct {
        int x0, x1, written;
    } cases[] = {{0, 1999, 19}, {0, 2000, 20}, {-3000, -1999, 11}, {-3000, 99, 30}};
    for (const auto& c : cases) {
        CTempFolder tmp;
        CSheet sheet;
        AddPath(sheet, {{c.x0, 0}, {c.x1, 1000}}, 1, 1);
        const std::string out = Entities(Export(sheet, tmp).text);
        EXPECT_NE(
            out.find("0|VERTEX|8|1|10|" + std::to_string(c.written) + "|20|1|"), std::string::npos)
            << c.x1 << ": " << out;
    }
}

TEST(DXFExport, SheetWithoutWidthOrHeightMakesNoFile)
{
    CSheet empty;
    CSheet horizontal;
    AddPath(horizontal, {{0, 5 * mm}, {30 * mm, 5 * mm}}, 1, 1);
    CSheet narrow; // 99 micrometres are no unit of the file
    AddPath(narrow, {{0, 0}, {99, 30 * mm}}, 1, 1);
    for (const CSheet* sheet : {&empty, &horizontal, &narrow}) {
        CTempFolder tmp;
        const Exported e = Export(*sheet, tmp);
        EXPECT_FALSE(e.result.written);
        EXPECT_FALSE(e.result.Failed());
        EXPECT_TRUE(std::filesystem::is_empty(tmp.path));
    }
}

TEST(DXFExport, FixedPartAndLineEnds)
{
    CTempFolder tmp;
    CSheet sheet;
    AddPath(sheet, {{0, 0}, {1000, 1000}}, 1, 1);
    const std::string text = Export(sheet, tmp).text;
    ASSERT_FALSE(text.empty());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at " << i;
        }
    }
    EXPECT_EQ(text.rfind("0\r\nSECTION\r\n2\r\nHEADER\r\n9\r\n$ACADVER\r\n1\r\nAC1006\r\n", 0), 0u);

    const auto groups = Groups(text);
    std::vector<std::string> variables, sections, tables, ltypes, layers, blocks;
    for (size_t i = 0; i + 1 < groups.size(); ++i) {
        const auto& [code, value] = groups[i];
        const auto& next = groups[i + 1];
        if (code == "9")
            variables.push_back(value);
        if (code == "0" && (value == "SECTION" || value == "ENDSEC"))
            sections.push_back(value == "ENDSEC" ? "/" : next.second);
        if (code == "0" && value == "TABLE")
            tables.push_back(next.second + ":" + groups[i + 2].second);
        if (code == "0" && value == "LTYPE")
            ltypes.push_back(next.second + ":" + groups[i + 5].second + ":" + groups[i + 6].second);
        if (code == "0" && value == "LAYER")
            layers.push_back(next.second + ":" + groups[i + 3].second);
        if (code == "0" && value == "BLOCK")
            blocks.push_back(groups[i + 2].second + ":" + next.second);
    }
    EXPECT_EQ(variables,
        (std::vector<std::string> {"$ACADVER", "$INSBASE", "$EXTMIN", "$EXTMAX", "$LIMMIN",
            "$LIMMAX", "$REGENMODE", "$FILLMODE", "$MIRRTEXT", "$DRAGMODE", "$LTSCALE", "$ATTMODE",
            "$TEXTSIZE", "$TRACEWID", "$TEXTSTYLE", "$CLAYER", "$CELTYPE", "$CECOLOR", "$LUNITS",
            "$LUPREC", "$AXISUNIT", "$SKETCHINC", "$MENU", "$LIMCHECK", "$BLIPMODE", "$COORDS",
            "$SPLINETYPE", "$SPLINESEGS", "$ATTREQ", "$UCSNAME", "$UCSORG", "$UCSXDIR", "$UCSYDIR",
            "$WORLDVIEW"}));
    // Every section is closed before the next begins; no DWGMGR table.
    EXPECT_EQ(sections,
        (std::vector<std::string> {"HEADER", "/", "TABLES", "/", "BLOCKS", "/", "ENTITIES", "/"}));
    EXPECT_EQ(tables,
        (std::vector<std::string> {
            "VPORT:2", "LTYPE:7", "LAYER:19", "STYLE:1", "VIEW:0", "UCS:0"}));
    EXPECT_EQ(ltypes,
        (std::vector<std::string> {"CONTINUOUS:0:0.0", "DOT:2:0.25", "CENTER:4:2.0",
            "HIDDEN:2:0.375", "DASHDOT:4:1.0", "DIVIDE:6:1.25", "DASHED:2:0.75"}));
    EXPECT_EQ(layers,
        (std::vector<std::string> {"0:9", "1:5", "2:84", "3:140", "4:12", "5:190", "6:25", "7:9",
            "8:8", "9:150", "10:3", "11:4", "12:1", "13:6", "14:2", "15:7", "16:5", "17:5", "18:5",
            "19:5"}));
    EXPECT_EQ(blocks, (std::vector<std::string> {"1000:0", "1001:16", "1002:18"}));
    EXPECT_NE(text.find("9\r\n$UCSNAME\r\n2\r\n \r\n"), std::string::npos);
    EXPECT_NE(text.find("12\r\n6159.64879\r\n22\r\n4173.150685\r\n"), std::string::npos);
    EXPECT_NE(text.find("0\r\nCIRCLE\r\n8\r\n18\r\n10\r\n0\r\n20\r\n0\r\n30\r\n0\r\n40\r\n20\r\n"),
        std::string::npos);
}

TEST(DXFExport, WriterOutsideBeginWritesNothing)
{
    CTempFolder tmp;
    CDXFExport dxf(tmp.path / "a.DXF");
    dxf.AddPoint(0, 0, 1, 1, 1, true);
    dxf.AddPoint(5, 5, 1, 1, 1, false);
    EXPECT_FALSE(dxf.End());
    EXPECT_TRUE(std::filesystem::is_empty(tmp.path));

    ASSERT_TRUE(dxf.Begin(10, 10));
    EXPECT_FALSE(dxf.Begin(10, 10));
    ASSERT_TRUE(dxf.End());
    // A second file from the same writer starts its widths afresh.
    ASSERT_TRUE(dxf.Begin(10, 10));
    dxf.AddPoint(0, 0, 1, 1, 1, true);
    dxf.AddPoint(5, 5, 1, 1, 1, false);
    ASSERT_TRUE(dxf.End());
    EXPECT_NE(Entities(ReadText(tmp.path / "a.DXF")).find("0|VERTEX|8|1|10|0|20|11|40|1|41|1|"),
        std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.path),
                  std::filesystem::directory_iterator()),
        1);
}

TEST(DXFExport, WriteFailuresAreReportedAndKeepTheOldFile)
{
    CTempFolder tmp;
    CSheet sheet;
    AddPath(sheet, {{0, 0}, {1000, 1000}}, 1, 1);

    const CDXFExportResult missing = ExportDXF(sheet, tmp.path / "nowhere" / "a.DXF");
    EXPECT_FALSE(missing.written);
    EXPECT_NE(missing.error.find("nowhere"), std::string::npos) << missing.error;

    // A folder in the place of the file: the rename fails, and no
    // temporary file is left behind.
    std::filesystem::create_directories(tmp.path / "b.DXF" / "inner");
    const CDXFExportResult taken = ExportDXF(sheet, tmp.path / "b.DXF");
    EXPECT_TRUE(taken.Failed());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.path),
                  std::filesystem::directory_iterator()),
        1);

    // An existing file is replaced.
    {
        std::ofstream(tmp.path / "c.DXF") << "old";
    }
    ASSERT_TRUE(ExportDXF(sheet, tmp.path / "c.DXF").written);
    EXPECT_EQ(ReadText(tmp.path / "c.DXF").rfind("0\r\nSECTION", 0), 0u);
}
