#include "dxf/dxf_import.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "document/document.h"
#include "model/file_io.h"
#include "model/number_text.h"
#include "model/sheet.h"
#include "model/text_encoding.h"
#include "model/turn.h"
#include "symbols/symbol_file.h"

namespace {

// The arcs were always stepped with this pi.
constexpr double kPi = 3.14159265359;
// The width, in DXF units, that the scale table divides: wider drawings
// take the units as 0.1 mm.
constexpr int kMaxWidth = 6000;
// Micrometres per drawing unit of 0.1 mm.
constexpr int kMicrometres = 100;
constexpr int32_t kMaxUnits = std::numeric_limits<int32_t>::max() / kMicrometres;
// An arc never sweeps more than a full circle: its angles are brought into
// 0 to 360 first, so that a damaged arc cannot make us step thousands of
// degrees, while a normal 0 to 360 stays a full circle.
constexpr int kFullCircle = 360;

constexpr size_t kReadChunk = size_t {1} << 20;

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

bool SameLetters(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y && std::tolower(x) != std::tolower(y))
            return false;
    }
    return true;
}

// Files have no decimal comma. Not a number and infinity come through, for
// the caller to refuse.
double ToDouble(std::string_view s)
{
    return LeadingDecimal(s, DecimalComma::No);
}

// cos and sin of every whole degree an arc can reach once its angles are
// reduced, computed once: the same values as computing them point by point.
struct CUnitCircle {
    static constexpr int kLow = 0;
    static constexpr int kHigh = 2 * kFullCircle;
    struct Point {
        double cos;
        double sin;
    };
    std::vector<Point> points;
    CUnitCircle()
        : points(kHigh - kLow + 1)
    {
        for (int a = kLow; a <= kHigh; ++a) {
            const double t = a * kPi / 180.0;
            points[a - kLow] = {std::cos(t), std::sin(t)};
        }
    }
    const Point& At(int a) const { return points[a - kLow]; }
};

// An angle rounded to whole degrees within 0 to 360: an angle within that
// range keeps its value (360 stays 360, so 0 to 360 is a full circle), any
// other is reduced modulo 360 first.
int WholeDegrees(double a)
{
    if (a < 0.0 || a > kFullCircle)
        a = std::fmod(a, double {kFullCircle});
    int whole = static_cast<int>(std::lround(a));
    if (whole < 0)
        whole += kFullCircle;
    return whole;
}

const CUnitCircle& UnitCircle()
{
    static const CUnitCircle table;
    return table;
}

// A message with the file in place of %1.
std::string DXFMessage(std::string_view text, const std::filesystem::path& path)
{
    std::string message(text);
    const size_t at = message.find("%1");
    if (at != std::string::npos)
        message.replace(at, 2, path.string());
    return message;
}

} // namespace

// Reads the file in chunks, one trimmed line at a time; a line is valid until
// the next read. At the end a read gives an empty line and sets atEnd.
//
// It also follows the file's sections: a "SECTION" or "ENDSEC" line after a
// "0" line opens or closes one, so that a file cut short inside a section is
// told from one that ends where it should.
class CDXFImport::CReader {
public:
    // Reads `file` from where it stands; the file stays the caller's.
    explicit CReader(std::FILE* f)
        : file(f)
        , buffer(std::make_unique_for_overwrite<char[]>(kReadChunk))
    {
    }
    CReader(const CReader&) = delete;
    CReader& operator=(const CReader&) = delete;

    std::string_view Next()
    {
        const bool afterZero = line == "0";
        Read();
        if (afterZero && SameLetters(line, "SECTION")) {
            inSection = true;
            sawSection = true;
        } else if (afterZero && SameLetters(line, "ENDSEC")) {
            inSection = false;
        }
        return line;
    }

    // A group: the code line and the value line. False at the end of the file
    // (a code without its value counts as the end).
    bool Group()
    {
        code = LeadingInt(Next());
        if (atEnd)
            return false;
        value = Next();
        return !atEnd;
    }
    // Reads groups until a code-0 group; false at the end of the file.
    bool SkipToEntity()
    {
        while (Group()) {
            if (code == 0)
                return true;
        }
        return false;
    }
    bool AtEntity() const { return !atEnd && code == 0; }

    bool atEnd = false;
    int32_t code = -1;
    std::string_view line;
    std::string_view value;
    bool inSection = false; // the last section opened has not been closed
    bool sawSection = false;

private:
    std::string_view Read()
    {
        for (;;) {
            char* start = buffer.get() + pos;
            const auto* nl = static_cast<const char*>(std::memchr(start, '\n', used - pos));
            if (nl != nullptr) {
                const size_t n = static_cast<size_t>(nl - start);
                pos += n + 1;
                if (discarding) {
                    discarding = false;
                    continue;
                }
                return line = Trim({start, n});
            }
            if (fileDone) {
                if (pos < used && !discarding) {
                    const std::string_view rest(start, used - pos);
                    pos = used;
                    return line = Trim(rest);
                }
                pos = used;
                atEnd = true;
                return line = {};
            }
            if (pos == 0 && used == kReadChunk) {
                // A line longer than the buffer: its start stands for it and
                // the rest, up to the next line break, is dropped.
                pos = used;
                if (!discarding) {
                    discarding = true;
                    return line = Trim({start, used});
                }
            }
            std::memmove(buffer.get(), start, used - pos);
            used -= pos;
            pos = 0;
            const size_t got = std::fread(buffer.get() + used, 1, kReadChunk - used, file);
            if (got == 0)
                fileDone = true;
            used += got;
        }
    }

    std::FILE* file = nullptr;
    std::unique_ptr<char[]> buffer;
    size_t used = 0;
    size_t pos = 0;
    bool fileDone = false;
    bool discarding = false;
};

CDXFImport::CDXFImport(const CDovereduFont& f)
    : font(f)
{
    // The font's capitals stand on its baseline; a DXF text's insertion
    // point is on the baseline too.
    const auto h = static_cast<uint8_t>('H');
    for (int k = font.FirstEntry(h); k < font.LastEntry(h); ++k)
        baseline = std::max(baseline, static_cast<int>(font.Entry(k).y));
    if (baseline == 0)
        baseline = kDefaultBaseline;
}

int CDXFImport::LinePen(std::string_view lineType)
{
    static constexpr struct {
        std::string_view name;
        int pen;
    } kPens[] = {{"DASHED", 2}, {"HIDDEN", 3}, {"CENTER", 4}, {"DOT", 5}, {"PHANTOM", 6},
        {"DASHDOT", 6}, {"BORDER", 6}, {"DIVIDE", 7}};
    for (const auto& p : kPens) {
        if (p.name == lineType)
            return p.pen;
    }
    return 1;
}

std::string CDXFImport::StripControlCodes(std::string_view text)
{
    for (;;) {
        const size_t at = text.find("%%");
        if (at == std::string_view::npos)
            break;
        const size_t cut = at + 3;
        text = cut <= text.size() ? text.substr(cut) : std::string_view {};
    }
    return std::string(text);
}

std::string CDXFImport::SymbolFileName(std::string_view blockName)
{
    std::string name(blockName);
    if (name.empty())
        return name;
    if (name.front() == '*')
        name.front() = '$';
    for (size_t at = name.find(".."); at != std::string::npos; at = name.find("..", at))
        name.replace(at, 2, "_");
    for (char& c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || std::strchr("/\\:<>\"|?*", c) != nullptr)
            c = '_';
    }
    return name;
}

std::string CDXFImport::DistinctSymbolFileName(std::string_view blockName)
{
    const std::string base = SymbolFileName(blockName);
    if (base.empty())
        return base;
    const auto folded = [](std::string name) {
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return name;
    };
    std::string name = base;
    for (int n = 2; !symbolNames.insert(folded(name)).second; ++n)
        name = base + "_" + std::to_string(n);
    return name;
}

bool CDXFImport::Scaled(double v, int32_t& out) const
{
    const double t = std::round(v * scale * entityFactor);
    if (!(std::fabs(t) <= kMaxUnits))
        return false;
    out = static_cast<int32_t>(t);
    return true;
}

bool CDXFImport::ScaledPoint(double x, double y, CPoint& out) const
{
    if (!Scaled(x, out.x) || !Scaled(y, out.y))
        return false;
    out.x *= kMicrometres;
    out.y *= kMicrometres;
    return true;
}

void CDXFImport::Add(int32_t x, int32_t y, int layer, int pen, int block)
{
    CETREC r;
    r.x = x;
    r.y = y;
    r.styleWord = static_cast<uint16_t>(((layer & 15) << 3) | (pen & 7));
    r.blockWord = static_cast<uint16_t>(block & CETREC::kBlockMask);
    if (records.size() > floor && records.back() == r)
        return;
    records.push_back(r);
}

bool CDXFImport::Import(const std::filesystem::path& path)
{
    records.clear();
    writtenSymbols.clear();
    symbolNames.clear();
    error.clear();
    endedEarly = false;
    floor = 0;
    currentBlock = 0;
    solid = {};
    scale = 1.0;
    blockFactor = 1.0;

    const COpenedFile file = OpenRegularFile(path);
    if (!file) {
        error = std::string(kMsgDXFImportIncomplete) + "\n"
            + CannotOpenMessage(path.string(), file.error);
        return false;
    }
    ChooseScale(file.file.get());
    std::rewind(file.file.get());

    CReader in(file.file.get());
    bool sawContent = false;
    while (!in.atEnd) {
        const std::string_view l = in.Next();
        // Nothing is read, and no symbol written, before a section begins.
        if (!in.sawSection)
            continue;
        if (SameLetters(l, "BLOCKS")) {
            sawContent = true;
            entityFactor = blockFactor;
            ReadBlocks(in);
        } else if (l == "ENTITIES") {
            sawContent = true;
            entityFactor = 1.0;
            ReadEntities(in, false);
        }
    }
    // A file cut short inside its first section may not have come to its
    // content yet; one that ends as it should must have had some.
    if (!in.sawSection || (!in.inSection && !sawContent)) {
        records.clear();
        writtenSymbols.clear();
        error = DXFMessage(kMsgNotDXF, path);
        return false;
    }
    endedEarly = in.inSection;
    return true;
}

void CDXFImport::ChooseScale(std::FILE* file)
{
    CReader in(file);
    int32_t minX = 0;
    int32_t maxX = 0;
    bool haveMax = false;
    while (!in.atEnd) {
        const std::string_view l = in.Next();
        if (SameLetters(l, "$INSBASE")) {
            for (int i = 0; i < 4; ++i)
                in.Next();
        } else if (SameLetters(l, "$EXTMIN")) {
            in.Next();
            minX = LeadingInt(in.Next());
            in.Next();
            in.Next();
        } else if (SameLetters(l, "$EXTMAX")) {
            in.Next();
            maxX = LeadingInt(in.Next());
            in.Next();
            in.Next();
            haveMax = true;
        } else if (SameLetters(l, "$DIMLFAC")) {
            in.Next();
            in.Next();
            break;
        }
    }

    // Extents of no width, or a $DIMLFAC before $EXTMAX, count as none.
    scale = 100.0;
    blockFactor = 1.0;
    if (!haveMax || maxX == minX)
        return;
    const int64_t width = std::llabs(int64_t {maxX} - minX);
    const int64_t s = kMaxWidth / width;
    if (s == 0) {
        // Wider than the table: the units are taken as 0.1 mm, as in the
        // widest row (our own export of a large sheet is such a file), and a
        // drawing that would not fit the coordinate range is made smaller
        // by tens until it does.
        scale = 1.0;
        blockFactor = 10.0;
        const int64_t reach = std::max(std::llabs(int64_t {minX}), std::llabs(int64_t {maxX}));
        while (static_cast<double>(reach) * scale > kMaxUnits)
            scale /= 10.0;
    } else if (s <= 4) {
        scale = 1.0;
        blockFactor = 10.0;
    } else if (s <= 49) {
        scale = 10.0;
    }
}

void CDXFImport::ReadBlocks(CReader& in)
{
    while (in.Group()) {
        if (in.code != 0)
            continue;
        if (SameLetters(in.value, "ENDSEC"))
            return;
        if (!SameLetters(in.value, "BLOCK"))
            continue;

        std::string name;
        bool hasFlags = false;
        int flags = 0;
        while (in.Group() && in.code != 0) {
            if (in.code == 2)
                name = in.value;
            else if (in.code == 70) {
                hasFlags = true;
                flags = LeadingInt(in.value);
            }
        }
        if (in.atEnd)
            return;
        if (hasFlags && (flags & 64) == 0)
            continue; // its entities are passed over by this loop

        // A block is collected apart from anything collected before it.
        const size_t before = records.size();
        const int blockBefore = currentBlock;
        floor = before;
        currentBlock = 0;
        ReadEntities(in, true);
        if (!in.atEnd)
            WriteBlock(name);
        records.resize(before);
        floor = 0;
        currentBlock = blockBefore;
    }
}

void CDXFImport::WriteBlock(const std::string& name)
{
    if (records.size() - floor < 2 || symbolFolder.empty())
        return;
    const std::string fileName = DistinctSymbolFileName(name);
    if (fileName.empty())
        return;
    std::vector<CSym> symbol;
    symbol.reserve(records.size() - floor);
    for (size_t i = floor; i < records.size(); ++i) {
        // The block's own origin is the symbol's reference point; an offset
        // past 16 bits would wrap round, so such a block is left out.
        if (!FitsSymbol(records[i], 0, 0))
            return;
        symbol.push_back(RecordToSymbol(records[i], 0, 0));
    }
    std::error_code ec;
    std::filesystem::create_directories(symbolFolder, ec);
    const auto file = symbolFolder / (Cp1252ToUtf8(fileName) + ".SYM");
    if (!WriteFileAtomically(file, EncodeSymbolBytes(symbol)))
        writtenSymbols.push_back(file);
}

void CDXFImport::ReadEntities(CReader& in, bool inBlock)
{
    if (!in.AtEntity() && !in.SkipToEntity())
        return;
    while (in.AtEntity()) {
        const std::string_view name = in.value;
        if (inBlock && name == "ENDBLK")
            return;
        if (name == "LINE")
            ReadLine(in);
        else if (name == "CIRCLE")
            ReadCircle(in, false);
        else if (name == "ARC")
            ReadCircle(in, true);
        else if (name == "SOLID")
            ReadSolid(in);
        else if (name == "POLYLINE")
            ReadPolyline(in);
        else if (name == "LWPOLYLINE")
            ReadLwPolyline(in);
        else if (name == "TEXT")
            ReadText(in);
        else
            in.SkipToEntity();
    }
}

void CDXFImport::ReadLine(CReader& in)
{
    double v[4] = {};
    int have = 0;
    int pen = 1;
    while (in.Group() && in.code != 0) {
        switch (in.code) {
        case 6:
            pen = LinePen(in.value);
            break;
        case 10:
            v[0] = ToDouble(in.value);
            have |= 1;
            break;
        case 20:
            v[1] = ToDouble(in.value);
            have |= 2;
            break;
        case 11:
            v[2] = ToDouble(in.value);
            have |= 4;
            break;
        case 21:
            v[3] = ToDouble(in.value);
            have |= 8;
            break;
        default:
            break;
        }
    }
    CPoint a;
    CPoint b;
    if (have != 15 || !ScaledPoint(v[0], v[1], a) || !ScaledPoint(v[2], v[3], b))
        return;
    Add(a.x, a.y, kLayer, 0, 0);
    Add(b.x, b.y, kLayer, pen, 0);
}

void CDXFImport::ReadCircle(CReader& in, bool arc)
{
    double cx = 0.0;
    double cy = 0.0;
    double radius = 0.0;
    double angles[2] = {0.0, 0.0};
    int have = 0;
    while (in.Group() && in.code != 0) {
        switch (in.code) {
        case 10:
            cx = ToDouble(in.value);
            have |= 1;
            break;
        case 20:
            cy = ToDouble(in.value);
            have |= 2;
            break;
        case 40:
            radius = ToDouble(in.value);
            have |= 4;
            break;
        case 50:
            angles[0] = ToDouble(in.value);
            break;
        case 51:
            angles[1] = ToDouble(in.value);
            break;
        default:
            break;
        }
    }
    int32_t x = 0;
    int32_t y = 0;
    int32_t r = 0;
    if (have != 7 || !Scaled(cx, x) || !Scaled(cy, y) || !Scaled(radius, r))
        return;
    // Every point must stay within the 32-bit range once in micrometres.
    const int64_t reach = std::abs(int64_t {r}) + 1;
    if (std::abs(int64_t {x}) + reach > kMaxUnits || std::abs(int64_t {y}) + reach > kMaxUnits)
        return;

    int start = 0;
    int end = 360;
    int step = r > 0 && r <= 10 ? 45 : 10;
    if (arc) {
        int whole[2] = {0, 0};
        for (int i = 0; i < 2; ++i) {
            if (!std::isfinite(angles[i]))
                return;
            whole[i] = WholeDegrees(angles[i]);
        }
        start = whole[0];
        end = whole[1] < start ? whole[1] + kFullCircle : whole[1];
        step = 1;
    }
    const CUnitCircle& unit = UnitCircle();
    for (int a = start; a <= end; a += step) {
        const CUnitCircle::Point& u = unit.At(a);
        const auto px = static_cast<int32_t>(std::lround(u.cos * r)) + x;
        const auto py = static_cast<int32_t>(std::lround(u.sin * r)) + y;
        Add(px * kMicrometres, py * kMicrometres, kLayer, a == start ? 0 : 1, currentBlock);
    }
}

void CDXFImport::ReadSolid(CReader& in)
{
    while (in.Group() && in.code != 0) {
        const int corner = in.code % 10;
        const bool isX = in.code >= 10 && in.code <= 13;
        const bool isY = in.code >= 20 && in.code <= 23;
        if (!isX && !isY)
            continue;
        (isX ? solid.x : solid.y)[corner] = ToDouble(in.value);
        if (in.code != 23)
            continue;
        // The outline P1 P3 P4 P2 P1; a following SOLID that gives only its
        // third and fourth corners continues the strip.
        CPoint p[4];
        bool inRange = true;
        for (int i = 0; i < 4; ++i)
            inRange = inRange && ScaledPoint(solid.x[i], solid.y[i], p[i]);
        if (inRange) {
            Add(p[0].x, p[0].y, kLayer, 0, 0);
            for (const int i : {2, 3, 1, 0})
                Add(p[i].x, p[i].y, kLayer, 1, 0);
        }
        solid.x[0] = solid.x[2];
        solid.y[0] = solid.y[2];
        solid.x[1] = solid.x[3];
        solid.y[1] = solid.y[3];
    }
}

void CDXFImport::ReadPolyline(CReader& in)
{
    bool closed = false;
    while (in.Group() && in.code != 0) {
        if (in.code == 70)
            closed = (LeadingInt(in.value) & 1) != 0;
    }
    bool first = true;
    CPoint start;
    // A polyline that another entity or the end of the file cuts short ends
    // there, closed as it says.
    while (in.AtEntity() && in.value == "VERTEX") {
        double x = 0.0;
        double y = 0.0;
        int have = 0;
        while (in.Group() && in.code != 0) {
            if (in.code == 10) {
                x = ToDouble(in.value);
                have |= 1;
            } else if (in.code == 20) {
                y = ToDouble(in.value);
                have |= 2;
            }
        }
        CPoint p;
        if (have != 3 || !ScaledPoint(x, y, p))
            continue;
        Add(p.x, p.y, kLayer, first ? 0 : 1, 0);
        if (first)
            start = p;
        first = false;
    }
    if (closed && !first)
        Add(start.x, start.y, kLayer, 1, 0);
    if (in.AtEntity() && in.value == "SEQEND")
        in.SkipToEntity();
}

void CDXFImport::ReadLwPolyline(CReader& in)
{
    bool closed = false;
    bool first = true;
    bool haveX = false;
    double x = 0.0;
    CPoint start;
    while (in.Group() && in.code != 0) {
        if (in.code == 70) {
            closed = (LeadingInt(in.value) & 1) != 0;
        } else if (in.code == 10) {
            x = ToDouble(in.value);
            haveX = true;
        } else if (in.code == 20 && haveX) {
            haveX = false;
            CPoint p;
            if (!ScaledPoint(x, ToDouble(in.value), p))
                continue;
            Add(p.x, p.y, kLayer, first ? 0 : 1, 0);
            if (first)
                start = p;
            first = false;
        }
    }
    if (closed && !first)
        Add(start.x, start.y, kLayer, 1, 0);
}

void CDXFImport::ReadText(CReader& in)
{
    std::string text;
    double x = 0.0;
    double y = 0.0;
    double height = 0.0;
    double rotation = 0.0;
    int flags = 0;
    int have = 0;
    int layer = kTextLayerWithoutGroup8;
    while (in.Group() && in.code != 0) {
        switch (in.code) {
        case 1:
            text = in.value;
            break;
        case 8:
            layer = kTextLayer;
            break;
        case 10:
            x = ToDouble(in.value);
            have |= 1;
            break;
        case 20:
            y = ToDouble(in.value);
            have |= 2;
            break;
        case 40:
            height = ToDouble(in.value);
            break;
        case 50:
            rotation = ToDouble(in.value);
            break;
        case 71:
            flags = LeadingInt(in.value);
            break;
        default:
            break;
        }
    }
    CPoint at;
    if (have != 3 || !ScaledPoint(x, y, at))
        return;
    text = StripControlCodes(text);
    if (text.empty())
        return;
    const double size = std::trunc(height * 50 * 0.3333 * (scale / 10) * entityFactor);
    if (!std::isfinite(size) || !std::isfinite(rotation))
        return;
    const int c = static_cast<int>(std::clamp(size, 1.0, static_cast<double>(kMaxUnits)));
    int angle = static_cast<int>(std::trunc(std::fmod(rotation, 360.0)));
    if (flags & 4)
        angle += 180; // upside down: turned about the insertion point

    // The strokes are built the way the sheet shows them (y downward) with
    // the insertion point at (0, 0) and the baseline through it, then turned
    // into the DXF's upward y, so that the text reads normally once the
    // drawing is flipped onto the sheet.
    font.SetAngle(angle);
    font.SetMirrored((flags & 2) != 0);
    font.SetLayer(layer);
    font.SetPen(1);
    const CWideVector lift = RotateVector({0, -int64_t {baseline} * c}, angle);
    if (std::llabs(lift.x) > kMaxUnits * int64_t {kMicrometres}
        || std::llabs(lift.y) > kMaxUnits * int64_t {kMicrometres})
        return;
    const CPoint cursor {static_cast<int32_t>(lift.x), static_cast<int32_t>(lift.y)};
    if (!font.BuildText(text, cursor, c, textBuffer))
        return;
    constexpr int64_t kLow = std::numeric_limits<int32_t>::min();
    constexpr int64_t kHigh = std::numeric_limits<int32_t>::max();
    for (int i = 0; i < textBuffer.placementCount; ++i) {
        const CETREC& r = textBuffer.placement[i];
        const int64_t px = int64_t {at.x} + r.x;
        const int64_t py = int64_t {at.y} - r.y;
        if (px < kLow || px > kHigh || py < kLow || py > kHigh)
            return;
    }
    if (textBuffer.placementCount == 0)
        return;
    // Block numbers stay within 15 bits: past the top they start again at 1,
    // still differing from the text before.
    currentBlock = currentBlock % CETREC::kMaxBlock + 1;
    for (int i = 0; i < textBuffer.placementCount; ++i) {
        const CETREC& r = textBuffer.placement[i];
        Add(at.x + r.x, at.y - r.y, layer, r.Pen(), currentBlock);
    }
}

CDXFImportResult ImportDXF(CDovereduDoc& doc, const std::filesystem::path& path,
    const std::filesystem::path& symbolsFolder, const CDovereduFont& font)
{
    const CDXFImportResult tooLarge {
        false, std::string(kMsgDXFImportIncomplete) + "\n" + DXFMessage(kMsgDXFTooLarge, path)};
    auto reader = std::make_unique<CDXFImport>(font);
    if (!symbolsFolder.empty())
        reader->symbolFolder = symbolsFolder / path.stem();
    if (!reader->Import(path))
        return {false, reader->error};
    const bool endedEarly = reader->endedEarly;
    CRecordVector& collected = reader->Records();
    if (collected.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max() / 2))
        return tooLarge;

    const int n = static_cast<int>(collected.size());
    auto sheet = std::make_unique<CSheet>(
        0, "DXF-Import:" + std::to_string(doc.sheets.size() + 1), "DXF Import");
    sheet->ResizeArrays(n + 1 + CSheet::kGrowth);
    sheet->records[0] = CETREC {};
    sheet->recordCount = 1;

    // The DXF's y axis points up, the sheet's down.
    int64_t maxY = 0;
    if (n > 0)
        maxY = std::max_element(collected.begin(), collected.end(), [](auto& a, auto& b) {
            return a.y < b.y;
        })->y;
    const CPoint origin = sheet->origin;
    int base = sheet->NewBlockNumber() - 1;
    int last = 0;
    bool blocksLeft = true;
    uint16_t layersUsed = 0;
    for (int i = 0; i < n; ++i) {
        const CETREC& c = collected[i];
        const int64_t x = int64_t {c.x} + origin.x;
        const int64_t y = maxY - c.y + origin.y;
        if (y > std::numeric_limits<int32_t>::max() || x > std::numeric_limits<int32_t>::max()
            || x < std::numeric_limits<int32_t>::min())
            return tooLarge;
        CETREC r;
        r.styleWord = c.styleWord;
        r.x = static_cast<int32_t>(x);
        r.y = static_cast<int32_t>(y);
        const int w = c.Block();
        if (w != 0 && w != last) {
            last = w;
            // New numbers never reach the filled flag: once 15 bits are used
            // up, later texts keep block 0.
            blocksLeft = blocksLeft && base < CETREC::kMaxBlock;
            base = blocksLeft ? base + 1 : base;
        }
        r.blockWord = static_cast<uint16_t>(w != 0 && blocksLeft ? base : 0);
        sheet->records[i + 1] = r;
        layersUsed |= static_cast<uint16_t>(1u << r.Layer());
    }
    sheet->recordCount = n + 1;
    reader.reset();

    for (int l = 1; l < 16; ++l) {
        if (layersUsed & (1u << l))
            sheet->layers.SetVisible(l, 1);
    }
    sheet->Recount();
    sheet->RecomputeExtent();
    if (doc.viewRect.Width() > 0 && doc.viewRect.Height() > 0)
        sheet->clientRect = doc.viewRect;
    sheet->ZoomAll();
    sheet->PushUndo();
    doc.sheets.push_back(std::move(sheet));
    doc.SetActiveSheet(static_cast<int>(doc.sheets.size()) - 1);
    doc.MarkChanged(true);
    doc.RefreshSheetLists(true);
    return {true, endedEarly ? DXFMessage(kMsgDXFEndedEarly, path) : std::string()};
}
