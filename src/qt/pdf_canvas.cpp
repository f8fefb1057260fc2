#include "qt/pdf_canvas.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QPainterPath>
#include <charconv>
#include <cmath>

#include "qt/pdf_file.h"
#include "qt/qt_image_codec.h"
#include "qt/qt_text.h"
#include "qt/qt_text_metrics.h"

namespace {

// The content goes to the file in parts of about this size, each
// compressed on its own while the drawing goes on.
constexpr size_t kPartBytes = size_t {4} << 20;

// A hatch cell is 8 device pixels square, as the screen draws it; the
// lines in device pixels, y downwards (the pattern's matrix turns it over).
const char* HatchLines(BrushStyle style)
{
    switch (style) {
    case BrushStyle::Horizontal:
        return "0 4 m 8 4 l S";
    case BrushStyle::Vertical:
        return "4 0 m 4 8 l S";
    case BrushStyle::Cross:
        return "4 0 m 4 8 l 0 4 m 8 4 l S";
    case BrushStyle::BDiagonal: // "/"
        return "-1 5 m 5 -1 l 3 9 m 9 3 l S";
    case BrushStyle::FDiagonal: // "\"
        return "-1 3 m 5 9 l 3 -1 m 9 5 l S";
    case BrushStyle::DiagCross:
        return "-1 3 m 5 9 l 3 -1 m 9 5 l -1 5 m 5 -1 l 3 9 m 9 3 l S";
    case BrushStyle::Solid:
    case BrushStyle::Null:
        break;
    }
    return "";
}

// A number as PDF reads it: fixed point, never an exponent, without
// trailing zeros.
void AppendNumber(std::string& out, double v, int decimals)
{
    char buffer[64];
    char* end
        = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals).ptr;
    if (decimals > 0) {
        while (end[-1] == '0')
            --end;
        if (end[-1] == '.')
            --end;
    }
    std::string_view number(buffer, static_cast<size_t>(end - buffer));
    out += number == "-0" ? "0" : number;
    out += ' ';
}

// Hundredths of a device pixel are far below what any printer shows.
void AppendReal(std::string& out, double v)
{
    AppendNumber(out, v, 2);
}

std::string Matrix(const QTransform& m)
{
    std::string s;
    for (const double v : {m.m11(), m.m12(), m.m21(), m.m22(), m.dx(), m.dy()})
        AppendNumber(s, v, 6);
    return s;
}

// An RGB colour operator: "rg" to fill, "RG" to stroke.
std::string ColourOp(COLORREF c, const char* op)
{
    std::string s;
    for (const int part : {RedOf(c), GreenOf(c), BlueOf(c)})
        AppendNumber(s, part / 255.0, 3);
    return s + op + "\n";
}

// A PDF text string in Windows-1252, which the standard encoding of the
// text font reads the same way.
std::string LiteralString(std::string_view text)
{
    std::string s = "(";
    for (const char c : text) {
        if (c == '(' || c == ')' || c == '\\')
            s += '\\';
        s += c;
    }
    return s + ")";
}

} // namespace

// --- resources ---------------------------------------------------------------

CPdfResources::CPdfResources(CPdfFile& file)
    : file(file)
    , number(file.Reserve())
{
}

std::string CPdfResources::Pattern(BrushStyle style, const QTransform& pageMatrix)
{
    const std::string matrix = Matrix(pageMatrix);
    auto it = patterns.find({style, matrix});
    if (it != patterns.end())
        return it->second.first;
    const int object = file.Reserve();
    const std::string name = "/P" + std::to_string(patterns.size() + 1);
    patterns[{style, matrix}] = {name, object};
    // Uncoloured: the fill gives the colour, as a brush of any colour.
    file.Stream(object,
        "/Type /Pattern\n/PatternType 1\n/PaintType 2\n/TilingType 1\n/BBox [0 0 8 8]\n"
        "/XStep 8\n/YStep 8\n/Matrix ["
            + matrix + "]\n/Resources << >>\n",
        std::string("1 w ") + HatchLines(style) + "\n");
    return name;
}

std::string CPdfResources::TextFont()
{
    if (font == 0) {
        font = file.Reserve();
        file.Object(font,
            "<<\n/Type /Font\n/Subtype /Type1\n/BaseFont /Helvetica\n"
            "/Encoding /WinAnsiEncoding\n>>");
    }
    return "/F1";
}

std::string CPdfResources::Picture(const void* key) const
{
    const auto it = pictureNames.find(key);
    return it == pictureNames.end() ? std::string() : it->second;
}

std::string CPdfResources::AddPicture(const void* key, int object)
{
    const std::string name = "/Im" + std::to_string(pictures.size() + 1);
    pictures.emplace_back(name, object);
    if (key != nullptr)
        pictureNames[key] = name;
    return name;
}

void CPdfResources::Write()
{
    std::string s = "<<\n/ColorSpace << /PCSp [/Pattern /DeviceRGB] >>\n/Pattern <<";
    for (const auto& [key, p] : patterns)
        s += " " + p.first + " " + std::to_string(p.second) + " 0 R";
    s += " >>\n/Font <<";
    if (font != 0)
        s += " /F1 " + std::to_string(font) + " 0 R";
    s += " >>\n/XObject <<";
    for (const auto& [name, object] : pictures)
        s += " " + name + " " + std::to_string(object) + " 0 R";
    s += " >>\n>>";
    file.Object(number, s);
}

// --- the page ----------------------------------------------------------------

CPdfCanvas::CPdfCanvas(CPdfFile& file, CPdfResources& resources, const QTransform& pageMatrix)
    : file(file)
    , resources(resources)
    , pageMatrix(pageMatrix)
{
    content = Matrix(pageMatrix) + "cm\n1 j\n";
}

std::vector<int> CPdfCanvas::Finish()
{
    const int number = file.Reserve();
    file.StreamLater(number, std::move(content));
    streams.push_back(number);
    content.clear();
    return streams;
}

void CPdfCanvas::Rest()
{
    if (content.size() < kPartBytes)
        return;
    const int number = file.Reserve();
    file.StreamLater(number, std::move(content));
    streams.push_back(number);
    content = std::string();
    content.reserve(kPartBytes + 4096);
}

void CPdfCanvas::Op(const char* op)
{
    content += op;
    content += '\n';
}

void CPdfCanvas::Point(int x, int y)
{
    char buffer[32];
    char* end = std::to_chars(buffer, buffer + 16, x).ptr;
    *end++ = ' ';
    end = std::to_chars(end, buffer + sizeof buffer, y).ptr;
    *end++ = ' ';
    content.append(buffer, end);
}

void CPdfCanvas::Real(double v)
{
    AppendReal(content, v);
}

void CPdfCanvas::Fill(const std::string& fill)
{
    if (state.fill != fill) {
        content += fill;
        state.fill = fill;
    }
}

void CPdfCanvas::SelectPen(const CPenDesc& desc)
{
    pen = desc;
}

void CPdfCanvas::SelectBrush(const CBrushDesc& desc)
{
    brush = desc;
}

RasterOp CPdfCanvas::SetRasterOp(RasterOp op)
{
    const RasterOp old = rasterOp;
    rasterOp = op;
    return old;
}

void CPdfCanvas::SetTextColour(COLORREF colour)
{
    textColour = colour;
}

void CPdfCanvas::SetTransparentBackground(bool t)
{
    transparent = t;
}

bool CPdfCanvas::UsePen()
{
    if (pen.style == PenStyle::Null)
        return false;
    const int width = std::max(pen.width, 1);
    if (state.stroke != pen.colour) {
        content += ColourOp(pen.colour, "RG");
        state.stroke = pen.colour;
    }
    if (state.width != width) {
        content += std::to_string(width) + " w\n";
        state.width = width;
    }
    // A thin line ends flat; a wide one has round ends, so that the
    // segments of a polyline join.
    const int cap = width == 1 ? 0 : 1;
    if (state.cap != cap) {
        content += cap == 0 ? "0 J\n" : "1 J\n";
        state.cap = cap;
    }
    const int dash = pen.style == PenStyle::Dash ? width : 0;
    if (state.dash != dash) {
        if (dash == 0)
            content += "[] 0 d\n";
        else
            content += "[" + std::to_string(4 * dash) + " " + std::to_string(2 * dash) + "] 0 d\n";
        state.dash = dash;
    }
    return true;
}

bool CPdfCanvas::UseBrush(const std::function<void()>& path)
{
    if (brush.style == BrushStyle::Null)
        return false;
    if (brush.style == BrushStyle::Solid) {
        Fill(ColourOp(brush.colour, "rg"));
        return true;
    }
    // An opaque background shows white between the hatch lines.
    if (!transparent) {
        Fill(ColourOp(Rgb(255, 255, 255), "rg"));
        path();
        Op("f*");
    }
    std::string colour = ColourOp(brush.colour, "");
    colour.pop_back();
    Fill("/PCSp cs " + colour + resources.Pattern(brush.style, pageMatrix) + " scn\n");
    return true;
}

// Fills with the brush and outlines with the pen the path that `path`
// writes, as a polygon, rectangle or ellipse.
void CPdfCanvas::Paint(const std::function<void()>& path)
{
    const bool filled = UseBrush(path);
    const bool stroked = UsePen();
    if (!filled && !stroked)
        return;
    path();
    Op(filled ? (stroked ? "B*" : "f*") : "S");
    Rest();
}

void CPdfCanvas::MoveTo(int x, int y)
{
    current = {x, y};
}

void CPdfCanvas::LineTo(int x, int y)
{
    const CPoint points[] = {current, {x, y}};
    Polyline(points);
    current = {x, y};
}

// A figure smaller than a pixel still shows as a dot of the pen's width.
void CPdfCanvas::Dot(CPoint p)
{
    const int width = std::max(pen.width, 1);
    Fill(ColourOp(pen.colour, "rg"));
    Real(p.x - width / 2.0);
    Real(p.y - width / 2.0);
    Point(width, width);
    Op("re f");
}

// The path of one polyline, repeated points left out; false when it is
// one point.
bool CPdfCanvas::AddPath(std::span<const CPoint> points)
{
    const size_t start = content.size();
    Point(points[0].x, points[0].y);
    content += "m\n";
    bool line = false;
    for (size_t i = 1; i < points.size(); ++i) {
        if (points[i] == points[i - 1])
            continue;
        Point(points[i].x, points[i].y);
        content += "l\n";
        line = true;
    }
    if (!line)
        content.resize(start);
    return line;
}

void CPdfCanvas::Polyline(std::span<const CPoint> points)
{
    const int counts[] = {static_cast<int>(points.size())};
    PolyPolyline(points, counts);
}

void CPdfCanvas::PolyPolyline(std::span<const CPoint> points, std::span<const int> counts)
{
    if (!UsePen())
        return;
    size_t at = 0;
    bool path = false;
    std::vector<CPoint> dots;
    for (const int n : counts) {
        const auto part = points.subspan(at, static_cast<size_t>(n));
        at += part.size();
        if (part.empty())
            continue;
        if (AddPath(part))
            path = true;
        else
            dots.push_back(part[0]);
    }
    if (path)
        Op("S");
    for (const CPoint p : dots)
        Dot(p);
    Rest();
}

void CPdfCanvas::Polygon(std::span<const CPoint> points)
{
    if (points.empty())
        return;
    Paint([&] {
        Point(points[0].x, points[0].y);
        content += "m\n";
        for (const CPoint& p : points.subspan(1)) {
            Point(p.x, p.y);
            content += "l\n";
        }
        Op("h");
    });
}

void CPdfCanvas::Ellipse(int left, int top, int right, int bottom)
{
    // The box's right and bottom edges lie outside the figure. Four cubic
    // arcs, each a quarter.
    const double rx = (right - left) / 2.0;
    const double ry = (bottom - top) / 2.0;
    const double cx = left + rx;
    const double cy = top + ry;
    constexpr double k = 0.5522847498;
    Paint([&] {
        Real(cx + rx);
        Real(cy);
        Op("m");
        const double arcs[4][6] = {
            {cx + rx, cy + k * ry, cx + k * rx, cy + ry, cx, cy + ry},
            {cx - k * rx, cy + ry, cx - rx, cy + k * ry, cx - rx, cy},
            {cx - rx, cy - k * ry, cx - k * rx, cy - ry, cx, cy - ry},
            {cx + k * rx, cy - ry, cx + rx, cy - k * ry, cx + rx, cy},
        };
        for (const auto& arc : arcs) {
            for (const double v : arc)
                Real(v);
            Op("c");
        }
        Op("h");
    });
}

void CPdfCanvas::Rectangle(int left, int top, int right, int bottom)
{
    Paint([&] {
        Point(left, top);
        Point(right - left, bottom - top);
        Op("re");
    });
}

void CPdfCanvas::SetPixel(int x, int y, COLORREF colour)
{
    const CPenDesc old = pen;
    pen = {1, colour, PenStyle::Solid};
    Dot({x, y});
    pen = old;
    Rest();
}

void CPdfCanvas::TextOut(int x, int y, const CFontDesc& desc, std::string_view text)
{
    if (text.empty())
        return;
    const QFont font = MakeQFont(desc);
    const QString s = FromCp1252(text);
    const QFontMetricsF metrics(font);
    // The baseline as the painter puts it, a whole pixel below the top.
    const int ascent = QFontMetrics(font).ascent();
    QTransform place;
    place.translate(x, y);
    place.rotate(-desc.escapement / 10.0);
    // Inside q and Q only the fill changes, and Q puts it back.
    const CState saved = state;
    content += "q\n" + Matrix(place) + "cm\n";
    if (!transparent) {
        Op("1 1 1 rg");
        Real(0);
        Real(0);
        Real(metrics.horizontalAdvance(s));
        Real(metrics.ascent() + metrics.descent());
        Op("re f");
    }
    content += ColourOp(textColour, "rg");
    QPainterPath glyphs;
    glyphs.addText(QPointF(0, ascent), font, s);
    for (int i = 0; i < glyphs.elementCount(); ++i) {
        const QPainterPath::Element& e = glyphs.elementAt(i);
        Real(e.x);
        Real(e.y);
        if (e.isMoveTo()) {
            Op("m");
        } else if (e.isLineTo()) {
            Op("l");
        } else {
            for (int k = 1; k <= 2; ++k) {
                Real(glyphs.elementAt(i + k).x);
                Real(glyphs.elementAt(i + k).y);
            }
            Op("c");
            i += 2;
        }
    }
    if (!glyphs.isEmpty())
        Op("f");
    // The text itself, invisible, where the glyphs are, stretched to their
    // width (a Helvetica em is about half as wide per character as it is
    // high), upright in the y-down page.
    const double size = std::max(1.0, metrics.ascent() + metrics.descent());
    const double stretch
        = 100.0 * metrics.horizontalAdvance(s) / std::max(1.0, 0.5 * size * s.size());
    content += "BT\n3 Tr\n" + resources.TextFont() + " ";
    Real(size);
    Op("Tf");
    Real(stretch);
    Op("Tz");
    content += "1 0 0 -1 0 ";
    Real(ascent);
    Op("Tm");
    content += LiteralString(text) + " Tj\nET\nQ\n";
    state = saved;
    Rest();
}

void CPdfCanvas::DrawImage(const CImage& image, const CRect& dest, const CRect& source)
{
    const auto* qt = dynamic_cast<const CQtImage*>(&image);
    if (qt == nullptr || qt->Image().isNull())
        return;
    const QImage& full = qt->Image();
    const QRect from = qt->PixelsOf(source).toAlignedRect().intersected(full.rect());
    if (from.isEmpty() || dest.Width() == 0 || dest.Height() == 0)
        return;
    std::string name = resources.Picture(&image);
    if (name.empty() || from != full.rect()) {
        const QImage part = full.copy(from).convertToFormat(QImage::Format_RGB888);
        std::string rgb;
        rgb.reserve(static_cast<size_t>(part.width()) * part.height() * 3);
        for (int row = 0; row < part.height(); ++row)
            rgb.append(reinterpret_cast<const char*>(part.constScanLine(row)),
                static_cast<size_t>(part.width()) * 3);
        const int object = file.Reserve();
        file.Stream(object,
            "/Type /XObject\n/Subtype /Image\n/Width " + std::to_string(part.width()) + "\n/Height "
                + std::to_string(part.height()) + "\n/ColorSpace /DeviceRGB\n/BitsPerComponent 8\n",
            rgb);
        // A part of a picture is an image of its own.
        name = resources.AddPicture(from == full.rect() ? &image : nullptr, object);
    }
    // The image's first row at the top of `dest`.
    content += "q\n";
    Point(dest.Width(), 0);
    Point(0, -dest.Height());
    Point(dest.left, dest.top + dest.Height());
    content += "cm\n" + name + " Do\nQ\n";
    Rest();
}
