#include "dxf/dxf_export.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "model/sheet.h"

namespace {

// A group of the fixed part; the values kWidth and kHeight stand for the
// drawing's W and H.
struct FixedGroup {
    int code;
    const char* value;
};
constexpr const char* kWidth = "\x01W";
constexpr const char* kHeight = "\x01H";

// The tables below keep one item (a variable, a table entry, an entity) to
// a line.
// clang-format off

// HEADER: every variable with its groups.
constexpr FixedGroup kHeader[] = {
    {0, "SECTION"}, {2, "HEADER"},
    {9, "$ACADVER"}, {1, "AC1006"},
    {9, "$INSBASE"}, {10, "0"}, {20, "0"}, {30, "0"},
    {9, "$EXTMIN"}, {10, "-8"}, {20, "-8"},
    {9, "$EXTMAX"}, {10, kWidth}, {20, kHeight},
    {9, "$LIMMIN"}, {10, "-8"}, {20, "-8"},
    {9, "$LIMMAX"}, {10, kWidth}, {20, kHeight},
    {9, "$REGENMODE"}, {70, "1"},
    {9, "$FILLMODE"}, {70, "1"},
    {9, "$MIRRTEXT"}, {70, "1"},
    {9, "$DRAGMODE"}, {70, "2"},
    {9, "$LTSCALE"}, {40, "40"},
    {9, "$ATTMODE"}, {70, "1"},
    {9, "$TEXTSIZE"}, {40, "0.2"},
    {9, "$TRACEWID"}, {40, "0.05"},
    {9, "$TEXTSTYLE"}, {7, "STANDARD"},
    {9, "$CLAYER"}, {8, "0"},
    {9, "$CELTYPE"}, {6, "BYBLOCK"},
    {9, "$CECOLOR"}, {62, "256"},
    {9, "$LUNITS"}, {70, "2"},
    {9, "$LUPREC"}, {70, "0"},
    {9, "$AXISUNIT"}, {10, "0"}, {20, "0"},
    {9, "$SKETCHINC"}, {40, "0.1"},
    {9, "$MENU"}, {1, "acad"},
    {9, "$LIMCHECK"}, {70, "1"},
    {9, "$BLIPMODE"}, {70, "1"},
    {9, "$COORDS"}, {70, "2"},
    {9, "$SPLINETYPE"}, {70, "6"},
    {9, "$SPLINESEGS"}, {70, "8"},
    {9, "$ATTREQ"}, {70, "1"},
    {9, "$UCSNAME"}, {2, " "},
    {9, "$UCSORG"}, {10, "0"}, {20, "0"}, {30, "0"},
    {9, "$UCSXDIR"}, {10, "1"}, {20, "0"}, {30, "0"},
    {9, "$UCSYDIR"}, {10, "0"}, {20, "1"}, {30, "0"},
    {9, "$WORLDVIEW"}, {70, "1"},
    {0, "ENDSEC"},
};

// TABLES up to the LAYER table's entries, which are made in a loop. There
// is no DWGMGR table: strict readers refuse a file with a table they do not
// know.
constexpr FixedGroup kTablesStart[] = {
    {0, "SECTION"}, {2, "TABLES"},
    {0, "TABLE"}, {2, "VPORT"}, {70, "2"},
    {0, "VPORT"}, {2, "*ACTIVE"}, {70, "0"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"},
    {12, "6159.64879"}, {22, "4173.150685"}, {13, "0"}, {23, "0"}, {14, "100"}, {24, "100"},
    {15, "100"}, {25, "100"}, {16, "0"}, {26, "0"}, {36, "1"}, {17, "0"}, {27, "0"}, {37, "0"},
    {40, "3875.068493"}, {41, "1.604229"}, {42, "50"}, {43, "0"}, {44, "0"}, {50, "0"},
    {51, "0"}, {71, "0"}, {72, "100"}, {73, "1"}, {74, "1"}, {75, "1"}, {76, "1"}, {77, "0"},
    {78, "0"},
    {0, "ENDTAB"},
    {0, "TABLE"}, {2, "LTYPE"}, {70, "7"},
    {0, "LTYPE"}, {2, "CONTINUOUS"}, {70, "64"}, {3, "Solidline"}, {72, "65"}, {73, "0"},
    {40, "0.0"},
    {0, "LTYPE"}, {2, "DOT"}, {70, "0"}, {3, "."}, {72, "65"}, {73, "2"}, {40, "0.25"},
    {49, "0.0"}, {49, "-0.25"},
    {0, "LTYPE"}, {2, "CENTER"}, {70, "0"}, {3, "."}, {72, "65"}, {73, "4"}, {40, "2.0"},
    {49, "1.25"}, {49, "-0.25"}, {49, "0.25"}, {49, "-0.25"},
    {0, "LTYPE"}, {2, "HIDDEN"}, {70, "0"}, {3, "."}, {72, "65"}, {73, "2"}, {40, "0.375"},
    {49, "0.25"}, {49, "-0.125"},
    {0, "LTYPE"}, {2, "DASHDOT"}, {70, "0"}, {3, "."}, {72, "65"}, {73, "4"}, {40, "1.0"},
    {49, "0.5"}, {49, "-0.25"}, {49, "0.0"}, {49, "-0.25"},
    {0, "LTYPE"}, {2, "DIVIDE"}, {70, "0"}, {3, "."}, {72, "65"}, {73, "6"}, {40, "1.25"},
    {49, "0.5"}, {49, "-0.25"}, {49, "0.0"}, {49, "-0.25"}, {49, "0.0"}, {49, "-0.25"},
    {0, "LTYPE"}, {2, "DASHED"}, {70, "0"}, {3, "."}, {72, "65"}, {73, "2"}, {40, "0.75"},
    {49, "0.5"}, {49, "-0.25"},
    {0, "ENDTAB"},
    // The count says 19 although 20 layers follow; readers go by the entries.
    {0, "TABLE"}, {2, "LAYER"}, {70, "19"},
};

// The colours of the layers 0 to 19 of the LAYER table.
constexpr const char* kLayerColours[20] = {
    "9", "5", "84", "140", "12", "190", "25", "9", "8", "150",
    "3", "4", "1", "6", "2", "7", "5", "5", "5", "5"};

// The rest of TABLES, the BLOCKS (nothing refers to them) and the start of
// ENTITIES. BLOCKS ends with its ENDSEC before ENTITIES begins, as every
// reader requires.
constexpr FixedGroup kTablesEnd[] = {
    {0, "ENDTAB"},
    {0, "TABLE"}, {2, "STYLE"}, {70, "1"},
    {0, "STYLE"}, {2, "STANDARD"}, {70, "0"}, {40, "0"}, {41, "1"}, {50, "0"}, {71, "0"},
    {42, "0.2"}, {3, "txt"}, {4, " "},
    {0, "ENDTAB"},
    {0, "TABLE"}, {2, "VIEW"}, {70, "0"}, {0, "ENDTAB"},
    {0, "TABLE"}, {2, "UCS"}, {70, "0"}, {0, "ENDTAB"},
    {0, "ENDSEC"},
    {0, "SECTION"}, {2, "BLOCKS"},
    // A junction dot.
    {0, "BLOCK"}, {8, "0"}, {2, "1000"}, {70, "64"}, {10, "0"}, {20, "0"}, {30, "0"},
    {0, "POLYLINE"}, {8, "0"}, {66, "1"}, {10, "0"}, {20, "0"}, {30, "0"}, {70, "1"},
    {40, "0.5"}, {41, "0.5"},
    {0, "VERTEX"}, {8, "0"}, {10, "-0.25"}, {20, "0"}, {30, "0"}, {42, "1"},
    {0, "VERTEX"}, {8, "0"}, {10, "0.25"}, {20, "0"}, {30, "0"}, {42, "1"},
    {0, "SEQEND"}, {8, "0"},
    {0, "ENDBLK"}, {8, "0"},
    // The dot with a cross.
    {0, "BLOCK"}, {8, "16"}, {2, "1001"}, {70, "64"}, {10, "0"}, {20, "0"}, {30, "0"},
    {0, "POLYLINE"}, {8, "16"}, {66, "1"}, {10, "0"}, {20, "0"}, {30, "0"}, {70, "1"},
    {40, "0.5"}, {41, "0.5"},
    {0, "VERTEX"}, {8, "16"}, {10, "-0.25"}, {20, "0"}, {30, "0"}, {42, "1"},
    {0, "VERTEX"}, {8, "16"}, {10, "0.25"}, {20, "0"}, {30, "0"}, {42, "1"},
    {0, "SEQEND"}, {8, "16"},
    {0, "LINE"}, {8, "17"}, {10, "0"}, {20, "0"}, {30, "0"}, {11, "-0.23166"}, {21, "0"},
    {31, "0"},
    {0, "LINE"}, {8, "17"}, {10, "0"}, {20, "0"}, {30, "0"}, {11, "0.23166"}, {21, "0"},
    {31, "0"},
    {0, "LINE"}, {8, "17"}, {10, "0"}, {20, "0"}, {30, "0"}, {11, "0"}, {21, "-0.23166"},
    {31, "0"},
    {0, "LINE"}, {8, "17"}, {10, "0"}, {20, "0"}, {30, "0"}, {11, "0"}, {21, "0.23166"},
    {31, "0"},
    {0, "LINE"}, {8, "17"}, {10, "0"}, {20, "0"}, {30, "0"}, {11, "-0.181991"}, {21, "0"},
    {31, "0"},
    {0, "ENDBLK"}, {8, "16"},
    // A circle.
    {0, "BLOCK"}, {8, "18"}, {2, "1002"}, {70, "64"}, {10, "0"}, {20, "0"}, {30, "0"},
    {0, "CIRCLE"}, {8, "18"}, {10, "0"}, {20, "0"}, {30, "0"}, {40, "20"},
    {0, "ENDBLK"}, {8, "18"},
    {0, "ENDSEC"},
    {0, "SECTION"}, {2, "ENTITIES"},
};
// clang-format on

} // namespace

CDXFExport::CDXFExport(const std::filesystem::path& path)
    : out(path)
{
}

CDXFExport::~CDXFExport()
{
    Discard();
}

bool CDXFExport::Begin(int w, int h)
{
    if (state != 0)
        return false;
    error.clear();
    if (!out.Open()) {
        error = out.Error();
        return false;
    }
    if (!buffer)
        buffer = std::make_unique<char[]>(kBufferSize);
    used = 0;
    width = w;
    height = h;
    pathOpen = false;
    pointX = pointY = 0;
    startWidth = endWidth = 1;
    lastStartWidth = lastEndWidth = 0;
    prefixes = nullptr;
    WriteFixedPart();
    state = 2;
    return true;
}

void CDXFExport::AddPoint(int x, int y, int layer, int w, int pen, bool first)
{
    if (state != 2)
        return;
    if (first) {
        if (pathOpen)
            WritePathEnd();
        pointX = x;
        pointY = height - y + 1;
        const int type = layer > 7 && pen > 0 && pen < 8 ? pen : 0;
        startWidth = endWidth = w;
        if (layer >= 0 && layer < kLayers) {
            Prefixes& cached = prefixCache[layer * 8 + type];
            if (cached.vertex.empty())
                cached = MakePrefixes(layer, lineTypeNames[type]);
            prefixes = &cached;
        } else {
            otherPrefixes = MakePrefixes(layer, lineTypeNames[type]);
            prefixes = &otherPrefixes;
        }
        return;
    }
    if (prefixes == nullptr)
        return; // no path was started in this file
    if (!pathOpen) {
        pathOpen = true;
        WritePolylineHeader();
        WriteVertex();
    }
    pointX = x;
    pointY = height - y + 1;
    WriteVertex();
}

bool CDXFExport::End()
{
    if (state != 2)
        return false;
    state = 0;
    if (pathOpen)
        WritePathEnd();
    pathOpen = false;
    Group(0, "ENDSEC");
    Group(0, "EOF");
    FlushBuffer();
    if (error.empty() && !out.Commit())
        error = out.Error();
    if (!error.empty()) {
        Discard();
        return false;
    }
    return true;
}

void CDXFExport::Put(std::string_view text)
{
    if (used + text.size() > kBufferSize)
        FlushBuffer();
    std::memcpy(buffer.get() + used, text.data(), text.size());
    used += text.size();
}

void CDXFExport::Group(int code, int value)
{
    // Room for two numbers of at most 11 characters and their line ends.
    if (used + 32 > kBufferSize)
        FlushBuffer();
    char* p = buffer.get() + used;
    char* end = buffer.get() + kBufferSize;
    p = std::to_chars(p, end, code).ptr;
    *p++ = '\r';
    *p++ = '\n';
    p = std::to_chars(p, end, value).ptr;
    *p++ = '\r';
    *p++ = '\n';
    used = static_cast<size_t>(p - buffer.get());
}

void CDXFExport::Group(int code, std::string_view value)
{
    char number[16];
    char* p = std::to_chars(number, number + sizeof number, code).ptr;
    *p++ = '\r';
    *p++ = '\n';
    Put(std::string_view(number, static_cast<size_t>(p - number)));
    Put(value);
    Put("\r\n");
}

void CDXFExport::WriteFixedPart()
{
    const auto write = [this](const auto& groups) {
        for (const FixedGroup& g : groups) {
            if (g.value == kWidth)
                Group(g.code, width);
            else if (g.value == kHeight)
                Group(g.code, height);
            else
                Group(g.code, g.value);
        }
    };
    write(kHeader);
    write(kTablesStart);
    for (int layer = 0; layer < 20; ++layer) {
        Group(0, "LAYER");
        Group(2, layer);
        Group(70, "64");
        Group(62, kLayerColours[layer]);
        Group(6, "CONTINUOUS");
    }
    write(kTablesEnd);
}

CDXFExport::Prefixes CDXFExport::MakePrefixes(int layer, std::string_view lineType)
{
    // The groups of a path's layer and line type, the same in the POLYLINE
    // and every VERTEX.
    const std::string number = std::to_string(layer);
    const auto style = [&](std::string& out) {
        out.append("8\r\n").append(number).append("\r\n");
        if (!lineType.empty())
            out.append("6\r\n").append(lineType).append("\r\n");
    };
    Prefixes p;
    p.polyline.assign("0\r\nPOLYLINE\r\n");
    style(p.polyline);
    p.polyline.append("66\r\n1\r\n10\r\n0\r\n20\r\n0\r\n30\r\n0\r\n");
    p.vertex.assign("0\r\nVERTEX\r\n");
    style(p.vertex);
    p.vertex.append("10\r\n");
    return p;
}

void CDXFExport::WritePolylineHeader()
{
    Put(prefixes->polyline);
    Group(40, startWidth);
    Group(41, endWidth);
}

void CDXFExport::WriteVertex()
{
    // The groups before X are the same for every vertex of a path.
    Put(prefixes->vertex);
    if (used + 40 > kBufferSize)
        FlushBuffer();
    char* p = buffer.get() + used;
    char* end = buffer.get() + kBufferSize;
    p = std::to_chars(p, end, pointX).ptr;
    std::memcpy(p, "\r\n20\r\n", 6);
    p = std::to_chars(p + 6, end, pointY).ptr;
    *p++ = '\r';
    *p++ = '\n';
    used = static_cast<size_t>(p - buffer.get());
    if (startWidth != lastStartWidth)
        Group(40, startWidth);
    if (endWidth != lastEndWidth)
        Group(41, endWidth);
    lastStartWidth = startWidth;
    lastEndWidth = endWidth;
}

void CDXFExport::WritePathEnd()
{
    Put("0\r\nSEQEND\r\n8\r\n0\r\n");
    pathOpen = false;
}

void CDXFExport::FlushBuffer()
{
    // After a failure the rest is dropped: End reports it.
    if (error.empty() && !out.Write(buffer.get(), used))
        error = out.Error();
    used = 0;
}

void CDXFExport::Discard()
{
    out.Discard();
    state = 0;
}

CDXFExportResult ExportDXF(const CSheet& sheet, const std::filesystem::path& path)
{
    const int count = std::min(sheet.recordCount, sheet.Length());
    if (count < 2)
        return {};
    const CETREC* r = sheet.records.data();

    // File units are 0.1 mm, each coordinate truncated on its own; junction
    // dots count for the extremes although they are not written.
    int minX = r[1].x / 100, maxX = minX;
    int minY = r[1].y / 100, maxY = minY;
    for (int i = 2; i < count; ++i) {
        const int x = r[i].x / 100;
        const int y = r[i].y / 100;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    const int w = maxX - minX;
    const int h = maxY - minY;
    if (w < 1 || h < 1)
        return {};

    CDXFExport out(path);
    if (!out.Begin(w, h))
        return {false, out.Error()};
    int i = 1;
    while (i < count) {
        if (r[i].IsJunction() || r[i].Pen() != 0) {
            ++i;
            continue;
        }
        // The pen of a path is that of its first segment.
        const int pen = i + 1 < count && !r[i + 1].IsJunction() ? r[i + 1].Pen() : -1;
        const int layer = r[i].Layer();
        out.AddPoint(r[i].x / 100 - minX, r[i].y / 100 - minY, layer, 1, pen, true);
        int j = i + 1;
        for (; j < count && !r[j].IsJunction() && r[j].Pen() > 0; ++j)
            out.AddPoint(r[j].x / 100 - minX, r[j].y / 100 - minY, layer, 1, pen, false);
        i = j;
    }
    if (!out.End())
        return {false, out.Error()};
    return {true, {}};
}
