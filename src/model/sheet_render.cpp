#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "model/divider.h"
#include "model/model_defaults.h"
#include "model/pen_table.h"
#include "model/sheet.h"

namespace {

constexpr COLORREF kGridColour = Rgb(220, 220, 220);
constexpr COLORREF kGhostColour = Rgb(127, 127, 127);
// Grid dots closer than this many pixels are not drawn, grid lines closer
// than the second.
constexpr int64_t kMinDotSpacing = 4;
constexpr int64_t kMinLineSpacing = 8;
// The metafile of the clipboard counts in units of 10 micrometres.
constexpr int kMetafileZoom = 10;
// Printed sheets keep 1 mm from the page's top-left corner.
constexpr int kPrintMargin = 1000;
constexpr double kMicrometresPerInch = 25400.0;

// Lines are drawn layer by layer: the line types first, then the widths.
constexpr int kLineLayerOrder[] = {8, 9, 10, 11, 12, 13, 14, 15, 1, 2, 3, 4, 5, 6, 7};

using CPenSet = std::array<std::array<CPenDesc, kPenCount>, kLayerCount>;
using CLayerFlags = std::array<bool, kLayerCount>;

int32_t Clamp32(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

int32_t Trunc32(double v)
{
    if (!(v == v))
        return 0;
    return static_cast<int32_t>(std::clamp(std::trunc(v), double {INT32_MIN}, double {INT32_MAX}));
}

bool IsLine(const CETREC& r)
{
    return !r.IsJunction() && r.Pen() != 0;
}

// Micrometres to device pixels: divided by the zoom on the screen and in
// the metafile, multiplied by a factor on the printer; both after taking
// away an offset (the copied area's corner, the printer's origin).
struct CDeviceMap {
    int64_t ox = 0;
    int64_t oy = 0;
    int64_t divisor = 1;
    CDivider divide {1}; // by the divisor, when it fits 32 bits
    double factor = 0; // > 0: multiply instead of dividing

    CDeviceMap() = default;
    CDeviceMap(int64_t ox, int64_t oy, int64_t divisor, double factor)
        : ox(ox)
        , oy(oy)
        , factor(factor)
    {
        SetDivisor(divisor);
    }

    void SetDivisor(int64_t z)
    {
        divisor = z;
        if (z > 0 && z <= INT32_MAX)
            divide = CDivider(static_cast<uint32_t>(z));
    }

    int32_t Length(int64_t v) const
    {
        if (factor > 0)
            return Trunc32(static_cast<double>(v) * factor);
        // The usual case, a coordinate and a zoom that fit 32 bits, needs
        // no division at all; the same result.
        if (v >= INT32_MIN && v <= INT32_MAX && divisor > 0 && divisor <= INT32_MAX)
            return divide.Divide(static_cast<int32_t>(v));
        return Clamp32(v / divisor);
    }
    int32_t X(int32_t x) const { return Length(x - ox); }
    int32_t Y(int32_t y) const { return Length(y - oy); }
    CPoint Point(const CETREC& r) const { return {X(r.x), Y(r.y)}; }
};

// What one draw of records needs besides the records.
struct CPass {
    CDeviceMap map;
    CPenSet pens {};
    int right = 0; // segments wholly beyond an edge are skipped
    int bottom = 0;
    int junctionRadius = 1;
    double dashScale = 1;
};

CPenSet PenSet(const CPenTable& table, int set)
{
    CPenSet pens;
    for (int layer = 0; layer < kLayerCount; ++layer) {
        for (int pen = 0; pen < kPenCount; ++pen)
            pens[layer][pen] = table.Pen(set, layer, pen);
    }
    return pens;
}

CPenSet PenSetAtZoom(const std::array<int32_t, kPenCount>& widths, int zoom,
    const std::array<COLORREF, kLayerCount>& colours)
{
    CPenSet pens;
    for (int layer = 0; layer < kLayerCount; ++layer) {
        for (int pen = 0; pen < kPenCount; ++pen)
            pens[layer][pen]
                = {PenPixelWidth(widths, layer, pen, zoom), colours[layer], PenStyle::Solid};
    }
    return pens;
}

CLayerFlags VisibleLayers(const CLayerArray& layers)
{
    CLayerFlags visible;
    for (int i = 0; i < kLayerCount; ++i)
        visible[i] = layers.IsVisible(i) != 0;
    return visible;
}

// The layers with something to draw in a pass of lines (no filled figures,
// junction dots when they are drawn): only they need a pass of their own.
CLayerFlags LineLayers(std::span<const CETREC> records, bool junctions)
{
    CLayerFlags used {};
    for (const CETREC& r : records) {
        if (!r.IsFilled() && (junctions || !r.IsJunction()))
            used[r.Layer()] = true;
    }
    return used;
}

// The clipping rule: a segment with both ends beyond the same edge of the
// view is left out; the device clips the rest.
bool OutOfView(CPoint a, CPoint b, int right, int bottom)
{
    return (a.x < 0 && b.x < 0) || (a.x > right && b.x > right) || (a.y < 0 && b.y < 0)
        || (a.y > bottom && b.y > bottom);
}

// Hands connected segments to the canvas as polylines. Drawn one by one,
// the short segments of an arc leave pixel gaps where they meet (a thin line
// leaves out one of its end pixels); as one polyline they stay one line of
// pixels, in fewer calls. A point on the pixel of the point before it adds
// nothing and is dropped; a segment that the clipping rule leaves out ends
// the polyline. Without a view every segment is drawn. The polylines drawn
// with one pen go to the canvas together (Emit), so that a drawing of many
// small figures costs few calls; whoever changes the pen or draws anything
// else emits them first, which keeps the order of drawing.
class CPolylineWriter {
public:
    CPolylineWriter(CCanvas& dc, int right, int bottom, bool clip = true)
        : dc(dc)
        , right(right)
        , bottom(bottom)
        , clip(clip)
    {
    }
    ~CPolylineWriter() { Emit(); }
    CPolylineWriter(const CPolylineWriter&) = delete;
    CPolylineWriter& operator=(const CPolylineWriter&) = delete;

    bool Visible(CPoint a, CPoint b) const { return !clip || !OutOfView(a, b, right, bottom); }

    void MoveTo(CPoint p)
    {
        Flush();
        points.push_back(p);
    }

    // A segment from the last point; without one, p only starts a line.
    void LineTo(CPoint p)
    {
        if (points.size() == start || !Visible(points.back(), p)) {
            MoveTo(p);
            return;
        }
        // Segments of no length still draw their pixel.
        drawn = true;
        if (p != points.back())
            points.push_back(p);
    }

    // Ends the polyline being written.
    void Flush()
    {
        EndPolyline();
        if (points.size() >= kBatchPoints)
            DrawWritten();
    }

    // Draws the polylines written so far.
    void Emit()
    {
        EndPolyline();
        DrawWritten();
    }

private:
    // Enough points that the calls cost little each, few enough that the
    // canvas's own copy of them stays small.
    static constexpr size_t kBatchPoints = 16384;

    void EndPolyline()
    {
        if (drawn) {
            counts.push_back(static_cast<int>(points.size() - start));
            start = points.size();
        } else {
            points.resize(start);
        }
        drawn = false;
    }

    void DrawWritten()
    {
        if (!counts.empty())
            dc.PolyPolyline(std::span<const CPoint>(points.data(), start), counts);
        points.resize(0);
        counts.clear();
        start = 0;
    }

    CCanvas& dc;
    int right;
    int bottom;
    bool clip;
    std::vector<CPoint> points; // the polylines ended, then the one being written
    std::vector<int> counts;
    size_t start = 0; // where the polyline being written starts
    bool drawn = false;
};

// A line in a dash pattern whose distance runs on across the vertices, so
// that an arc of short segments shows the same dashes as a straight line
// of its length. The pattern starts with a dash at the first point; each
// dash is one polyline. The distance counts in micrometres: pixels times
// `scale`.
class CDashedLine {
public:
    CDashedLine(CPolylineWriter& out, const CDashPattern& pattern, double scale)
        : out(out)
        , pattern(pattern)
        , scale(scale)
    {
        for (size_t k = 0;;) {
            period += pattern[k] + pattern[k + 1];
            k += 2;
            if (k > 4 || pattern[k] == 0 || pattern[k + 1] == 0)
                break;
        }
    }

    // Whether the pattern and scale make dashes at all.
    static bool Dashes(int type, double scale)
    {
        const CDashPattern& pattern = DashPattern(type);
        return type >= 2 && std::isfinite(scale) && scale > 0 && pattern[0] > 0 && pattern[1] > 0;
    }

    void Start(CPoint p)
    {
        k = 0;
        dash = true;
        left = pattern[0];
        current = p;
        out.MoveTo(p);
    }

    void LineTo(CPoint b)
    {
        const CPoint a = current;
        current = b;
        const double dx = double(b.x) - a.x;
        const double dy = double(b.y) - a.y;
        const double length = std::hypot(dx, dy) * scale;
        if (length > 0 && !out.Visible(a, b)) {
            // Nothing of it shows: only the pattern moves on.
            Skip(length);
            if (dash)
                out.MoveTo(b);
            return;
        }
        const double theta = std::atan2(dy, dx);
        const double c = std::cos(theta);
        const double s = std::sin(theta);
        double d = 0; // from a
        while (left < length - d) {
            d += left;
            const CPoint p {
                Trunc32(a.x + std::trunc(c * d / scale)), Trunc32(a.y + std::trunc(s * d / scale))};
            if (dash) {
                out.LineTo(p);
                out.Flush();
            } else {
                out.MoveTo(p);
            }
            Next();
        }
        left -= length - d;
        if (dash)
            out.LineTo(b);
    }

private:
    // From a dash to its gap, from a gap to the next pair's dash; the pairs
    // start again after the last or before an empty one.
    void Next()
    {
        if (dash) {
            dash = false;
            left = pattern[k + 1];
            return;
        }
        k += 2;
        if (k > 4 || pattern[k] == 0 || pattern[k + 1] == 0)
            k = 0;
        dash = true;
        left = pattern[k];
    }

    // Moves along the pattern by `length` without drawing; whole periods
    // change nothing, so a far-away segment costs no more than a near one.
    void Skip(double length)
    {
        if (length < left) {
            left -= length;
            return;
        }
        length -= left;
        Next();
        length = std::fmod(length, period);
        while (length >= left) {
            length -= left;
            Next();
        }
        left -= length;
    }

    CPolylineWriter& out;
    const CDashPattern& pattern;
    double scale;
    double period = 0;
    size_t k = 0; // the dash of the pair in force
    bool dash = true;
    double left = 0; // micrometres to the end of the dash or gap
    CPoint current;
};

// The drawn runs of a figure: segments that follow on from each other in
// one line type (1 solid, 2 ... 7 a dash pattern at the pass's scale) are
// one line. The pen is the caller's: it ends the run before changing it.
class CRunDrawer {
public:
    CRunDrawer(CCanvas& dc, int right, int bottom, double dashScale, bool clip = true)
        : out(dc, right, bottom, clip)
        , dashScale(dashScale)
    {
    }

    void Segment(CPoint a, CPoint b, int type)
    {
        if (!open || a != last || type != lineType) {
            End();
            lineType = type;
            open = true;
            if (CDashedLine::Dashes(type, dashScale)) {
                dashed.emplace(out, DashPattern(type), dashScale);
                dashed->Start(a);
            } else {
                dashed.reset();
                out.MoveTo(a);
            }
        }
        if (dashed)
            dashed->LineTo(b);
        else
            out.LineTo(b);
        last = b;
    }

    void End()
    {
        out.Flush();
        open = false;
    }

    // Ends the run and draws what was written: before a change of pen or
    // anything else is drawn.
    void Emit()
    {
        End();
        out.Emit();
    }

private:
    CPolylineWriter out;
    std::optional<CDashedLine> dashed;
    double dashScale;
    bool open = false;
    int lineType = 1;
    CPoint last;
};

void Dot(CCanvas& dc, CPoint c, int r)
{
    dc.Ellipse(c.x - r, c.y - r, c.x + r, c.y + r);
}

BrushStyle FillBrush(int pattern)
{
    switch (pattern) {
    case 1:
        return BrushStyle::Solid;
    case 2:
        return BrushStyle::Cross;
    case 3:
        return BrushStyle::DiagCross;
    case 5:
        return BrushStyle::Vertical;
    case 6:
        return BrushStyle::BDiagonal;
    case 7:
        return BrushStyle::FDiagonal;
    default:
        return BrushStyle::Horizontal;
    }
}

// The filled figures, as polygons over all their points: a polygon closes
// itself, so a figure stored with a doubled last point and one whose
// doubled point was tidied away look the same. Returns whether a brush was
// selected.
bool DrawFills(CCanvas& dc, const CPass& pass, std::span<const CETREC> records, int count,
    const std::array<COLORREF, kLayerCount>& colours, const CLayerFlags& visible)
{
    bool drawn = false;
    std::vector<CPoint> points;
    const int length = static_cast<int>(records.size());
    count = std::min(count, length);
    for (int i = 1; i < count; ++i) {
        const CETREC& r = records[i];
        if (!r.IsFilled() || !visible[r.Layer()])
            continue;
        int pattern = 0;
        if (i + 1 < length)
            pattern = records[i + 1].IsJunction() ? -1 : records[i + 1].Pen();
        points.clear();
        points.push_back(pass.map.Point(r));
        int j = i;
        while (j + 1 < count && records[j].IsFilled() && IsLine(records[j + 1])) {
            ++j;
            points.push_back(pass.map.Point(records[j]));
        }
        dc.SelectPen(pass.pens[r.Layer()][1]);
        dc.SelectBrush({FillBrush(pattern), colours[r.Layer()]});
        dc.Polygon(points);
        drawn = true;
        i = j;
    }
    return drawn;
}

// The records of each layer among records[begin, end), in order: one look
// at them all, so that the passes of the layers need not each look at
// every record.
class CLayerIndex {
public:
    CLayerIndex(std::span<const CETREC> records, int begin, int end)
    {
        std::array<int, kLayerCount> counts {};
        for (int i = begin; i < end; ++i)
            ++counts[records[i].Layer()];
        for (int l = 0; l < kLayerCount; ++l)
            first[l + 1] = first[l] + counts[l];
        indices.resize(static_cast<size_t>(first[kLayerCount]));
        std::array<int, kLayerCount> next {};
        std::copy(first.begin(), first.end() - 1, next.begin());
        for (int i = begin; i < end; ++i)
            indices[static_cast<size_t>(next[records[i].Layer()]++)] = i;
    }

    std::span<const int> Of(int layer) const
    {
        return std::span<const int>(indices).subspan(static_cast<size_t>(first[layer]),
            static_cast<size_t>(first[layer + 1] - first[layer]));
    }

private:
    std::vector<int> indices;
    std::array<int, kLayerCount + 1> first {};
};

// The lines of one layer among records[begin, end), as the complete draw
// makes them: each run of a figure with one pen as one line. `indices` are
// the records of the layer in that range, in order. With `selected`,
// selected records are left to the selection drawing together with the
// segment that leaves them.
void DrawLayerLines(CCanvas& dc, const CPass& pass, int layer, std::span<const CETREC> records,
    std::span<const int> indices, int begin, int end, const uint8_t* selected, bool junctions)
{
    constexpr size_t kReadAhead = 16;
    const bool lineTypes = layer >= kFirstLineTypeLayer;
    const CDeviceMap& map = pass.map;
    int current = 1;
    dc.SelectPen(pass.pens[layer][1]);
    CRunDrawer run(dc, pass.right, pass.bottom, pass.dashScale);
    CPoint prev = map.Point(records[begin > 0 ? begin - 1 : begin]);
    int taken = -1; // the record after a selected one goes with it
    for (size_t k = 0; k < indices.size(); ++k) {
        const int i = indices[k];
        // A layer's records lie scattered among the others: ask for those a
        // little ahead, so that memory is not waited for one at a time.
        if (k + kReadAhead < indices.size())
            __builtin_prefetch(&records[static_cast<size_t>(indices[k + kReadAhead])]);
        if (i <= taken)
            continue;
        const CETREC& r = records[i];
        if (selected != nullptr && selected[i]) {
            run.End();
            if (IsLine(r) && i + 1 < end && selected[i + 1]) {
                prev = map.Point(r);
            } else if (i + 1 < end && !records[i + 1].IsJunction()) {
                prev = map.Point(records[i + 1]);
                taken = i + 1;
            } else {
                // The selection never hides the junction dot after it.
                prev = map.Point(r);
            }
            continue;
        }
        const CPoint p = map.Point(r);
        const int pen = r.Pen();
        if (r.IsFilled() || r.IsJunction() || pen == 0) {
            run.End();
            if (r.IsJunction() && junctions && !OutOfView(prev, p, pass.right, pass.bottom)) {
                run.Emit();
                Dot(dc, p, pass.junctionRadius);
            }
            prev = p;
            continue;
        }
        // Pen 1 stays selected on a line-type layer, whose pens are dash
        // patterns.
        if (!lineTypes && pen != current) {
            run.Emit();
            dc.SelectPen(pass.pens[layer][pen]);
            current = pen;
        }
        run.Segment(prev, p, lineTypes ? pen : 1);
        prev = p;
    }
    run.Emit();
}

// Whether any of flags[begin, end) is set: one quick pass, eight at a time.
bool AnySet(const uint8_t* flags, int begin, int end)
{
    const uint8_t* p = flags + begin;
    const uint8_t* stop = flags + end;
    uint64_t any = 0;
    for (; stop - p >= 8; p += 8) {
        uint64_t eight;
        std::memcpy(&eight, p, sizeof eight);
        any |= eight;
    }
    for (; p < stop; ++p)
        any |= *p;
    return any != 0;
}

// Every visible layer's lines among records[begin, end), line types first.
void DrawLines(CCanvas& dc, const CPass& pass, std::span<const CETREC> records, int begin, int end,
    const CLayerFlags& visible, const uint8_t* selected, bool junctions = true)
{
    end = std::min(end, static_cast<int>(records.size()));
    if (begin >= end)
        return;
    // Without a selection, no record needs its flag looked up.
    if (selected != nullptr && !AnySet(selected, begin, end))
        selected = nullptr;
    const CLayerFlags used = LineLayers(records.subspan(begin, end - begin), junctions);
    const CLayerIndex index(records, begin, end);
    for (int layer : kLineLayerOrder) {
        if (visible[layer] && used[layer])
            DrawLayerLines(
                dc, pass, layer, records, index.Of(layer), begin, end, selected, junctions);
    }
}

void DrawText(CCanvas& dc, const CText& t, const CDeviceMap& map)
{
    const int height = std::max(1, map.Length(int64_t {t.Height()} * 100));
    dc.TextOut(map.X(t.box.left), map.Y(t.box.top), t.FontAt(height), t.text);
}

// The texts of the visible layers 1 to 15, layer by layer, in the layers'
// colours; without colours the canvas's text colour stays.
void DrawTexts(CCanvas& dc, const CTextArray& texts, const CDeviceMap& map,
    const std::array<COLORREF, kLayerCount>* colours, const CLayerFlags& visible, bool withSelected)
{
    dc.SetTransparentBackground(true);
    for (int layer = 1; layer < kLayerCount; ++layer) {
        if (!visible[layer])
            continue;
        bool coloured = false;
        for (const auto& t : texts) {
            if (t->Layer() != layer || (!withSelected && t->IsSelected()))
                continue;
            if (!coloured && colours != nullptr) {
                dc.SetTextColour((*colours)[layer]);
                coloured = true;
            }
            DrawText(dc, *t, map);
        }
    }
}

} // namespace

void CSheet::DrawSheet(CCanvas& dc, CPenTable& pens, int recordEnd)
{
    const int end = std::clamp(recordEnd, 1, std::max(recordCount, 1));
    if (fitMode)
        ZoomAll();
    const int z = std::max(zoom, 1);
    pens.Rebuild(penWidths, layerColours, highlightColours, z);
    dc.SelectPen(pens.Pen(CPenTable::kNormal, 0, 1));

    const CLayerFlags visible = VisibleLayers(layers);
    const CBrushDesc paper {BrushStyle::Solid, layerColours[0]};
    dc.SelectBrush(paper);
    if (visible[0]) {
        dc.Rectangle(origin.x / z, origin.y / z,
            Clamp32((int64_t {origin.x} + sheetExtent.Width()) / z),
            Clamp32((int64_t {origin.y} + sheetExtent.Height()) / z));
    }
    DrawGrid(dc);

    CPass pass;
    pass.map.SetDivisor(z);
    pass.pens = PenSet(pens, CPenTable::kNormal);
    pass.right = clientRect.right;
    pass.bottom = clientRect.bottom;
    pass.dashScale = z;
    // Junction dots are filled with the paper's brush.
    if (DrawFills(dc, pass, records, end, layerColours, visible))
        dc.SelectBrush(paper);
    pictures->DrawUnselected(dc, z);
    junctionSize = penWidths[7];
    pass.junctionRadius = std::max(1, (junctionSize / z) / 2);

    DrawLines(dc, pass, records, 1, end, visible, selectionFlags.data());
    DrawTexts(dc, texts, pass.map, &layerColours, visible, false);
    zoomAtLastDraw = zoom;

    if (zoomWindowActive)
        DrawZoomWindow(dc);
}

void CSheet::DrawSelection(CCanvas& dc, const CPenTable& pens, int mode) const
{
    RasterOp old = RasterOp::CopyPen;
    if (mode == kSelectionInvert)
        old = dc.SetRasterOp(RasterOp::Not);
    const int set = mode == kSelectionHighlight ? CPenTable::kHighlight : CPenTable::kNormal;
    const int z = std::max(zoom, 1);
    const CDeviceMap map {0, 0, z, 0};
    const int right = clientRect.right;
    const int bottom = clientRect.bottom;
    const CLayerFlags visible = VisibleLayers(layers);
    // Unlike the complete draw, the selection shows a dot too small for a
    // pixel as nothing.
    const int radius = (penWidths[7] / z) / 2;

    const int count = std::min(recordCount, static_cast<int>(selectionFlags.size()));
    // One pass gathers the selected records by layer, in record order; the
    // layers are then drawn in their order from those lists alone.
    // The scan ends at the last selected record; a count of 0 beside set
    // flags is not trusted.
    std::array<std::vector<int>, kLayerCount> byLayer;
    ForEachSelected(
        selectionFlags, 1, count,
        [&](int i) {
            const int layer = records[i].Layer();
            if (visible[layer])
                byLayer[layer].push_back(i);
        },
        selectedCount > 0 ? selectedCount : INT32_MAX);
    CRunDrawer run(dc, right, bottom, z);
    for (int layer : kLineLayerOrder) {
        if (byLayer[layer].empty())
            continue;
        const CPenDesc* current = nullptr;
        auto select = [&](int pen) {
            const CPenDesc& p = pens.Pen(set, layer, pen);
            if (current != &p) {
                run.Emit();
                dc.SelectPen(p);
            }
            current = &p;
        };
        // Selected segments that follow on from each other with one pen are
        // one line.
        auto segment = [&](int from, int to, int pen) {
            select(pen);
            run.Segment(map.Point(records[from]), map.Point(records[to]), 1);
        };
        for (const int i : byLayer[layer]) {
            const CETREC& r = records[i];
            // The unselected line record after a selected one is drawn with
            // it: the segment that ends there belongs to the selection's run.
            const bool freeNext = i + 1 < count && !selectionFlags[i + 1] && IsLine(records[i + 1]);
            if (r.IsJunction()) {
                const CPoint c = map.Point(r);
                if (c.x >= 0 && c.x <= right && c.y >= 0 && c.y <= bottom) {
                    select(1);
                    run.Emit();
                    Dot(dc, c, radius);
                }
            } else if (r.Pen() != 0) {
                segment(i - 1, i, r.Pen());
                if (freeNext)
                    segment(i, i + 1, r.Pen());
            } else if (freeNext) {
                segment(i, i + 1, records[i + 1].Pen());
            }
        }
        run.Emit();
    }

    dc.SetTransparentBackground(true);
    for (const auto& t : texts) {
        const int layer = t->Layer();
        if (!t->IsSelected() || layer == 0 || !visible[layer])
            continue;
        dc.SetTextColour(highlightColours[layer]);
        DrawText(dc, *t, map);
    }
    pictures->DrawSelected(dc, z);
    if (mode == kSelectionInvert)
        dc.SetRasterOp(old);
}

void CSheet::DrawRange(CCanvas& dc, int first, int last, bool xorFlag)
{
    if (last < 1 || last >= recordCount || last >= Length())
        return;
    first = std::clamp(first, 1, last);
    const int layer = records[last].Layer();
    layers.SetVisible(layer, 1);
    const int z = std::max(zoom, 1);

    CPass pass;
    pass.map.SetDivisor(z);
    pass.pens = PenSetAtZoom(penWidths, z, layerColours);
    pass.right = clientRect.right;
    pass.bottom = clientRect.bottom;
    pass.junctionRadius = std::max(1, (junctionSize / z) / 2);
    pass.dashScale = z;

    RasterOp old = RasterOp::CopyPen;
    if (!xorFlag)
        old = dc.SetRasterOp(RasterOp::NotXorPen);
    if (first == last && records[last].IsJunction()) {
        dc.SelectPen(pass.pens[layer][1]);
        Dot(dc, pass.map.Point(records[last]), pass.junctionRadius);
    } else {
        // The segments into the range and out of it change with it.
        int begin = first;
        int end = last + 1;
        if (begin > 1 && IsLine(records[begin - 1]))
            --begin;
        if (end < recordCount && IsLine(records[end]))
            ++end;
        const CLayerIndex index(records, begin, end);
        DrawLayerLines(dc, pass, layer, records, index.Of(layer), begin, end, nullptr, true);
    }
    if (!xorFlag)
        dc.SetRasterOp(old);
}

void CSheet::DrawPlacement(CCanvas& dc, bool xorFlag) const
{
    const int count = std::min(placementCount, static_cast<int>(placement.size()));
    if (count <= 0 && bufferTexts.empty())
        return;
    const int z = std::max(zoom, 1);
    std::array<COLORREF, kLayerCount> colours = layerColours;
    if (xorFlag)
        colours.fill(kGhostColour);

    CPass pass;
    pass.map.SetDivisor(z);
    pass.pens = PenSetAtZoom(penWidths, z, colours);
    pass.right = clientRect.right;
    pass.bottom = clientRect.bottom;
    pass.dashScale = z;

    RasterOp old = RasterOp::CopyPen;
    if (xorFlag)
        old = dc.SetRasterOp(RasterOp::XorPen);
    // What is being placed shows on hidden layers too: placing it makes its
    // layers visible.
    CLayerFlags all;
    all.fill(true);
    DrawLines(dc, pass, std::span<const CETREC>(placement.data(), static_cast<size_t>(count)), 0,
        count, all, nullptr, false);
    // Texts that ride with the buffer show as their outlines.
    if (!bufferTexts.empty()) {
        dc.SelectPen({1, xorFlag ? kGhostColour : layerColours[1], PenStyle::Solid});
        for (CText t : bufferTexts) {
            if (t.Offset(bufferAnchor.x, bufferAnchor.y))
                t.DrawFrame(dc, z);
        }
    }
    if (xorFlag)
        dc.SetRasterOp(old);
}

void CSheet::DrawDashedLine(CCanvas& dc, int x1, int y1, int x2, int y2, int type, double scale)
{
    // Along an axis the pattern runs from the smaller coordinate.
    if ((x1 == x2 && y2 < y1) || (y1 == y2 && x2 < x1)) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    CRunDrawer line(dc, 0, 0, scale, false);
    line.Segment({x1, y1}, {x2, y2}, type);
    line.Emit();
}

void CSheet::DrawZoomWindow(CCanvas& dc) const
{
    const int z = std::max(zoom, 1);
    const RasterOp old = dc.SetRasterOp(RasterOp::Not);
    dc.SelectPen({1, 0, PenStyle::Solid});
    const CRect& r = zoomWindowRect;
    dc.MoveTo(r.left / z, r.top / z);
    dc.LineTo(r.right / z, r.top / z);
    dc.LineTo(r.right / z, r.bottom / z);
    dc.LineTo(r.left / z, r.bottom / z);
    dc.LineTo(r.left / z, r.top / z);
    dc.SetRasterOp(old);
}

void CSheet::DrawRubberRect(CCanvas& dc) const
{
    const int z = std::max(zoom, 1);
    const RasterOp old = dc.SetRasterOp(RasterOp::Not);
    dc.SelectPen({1, 0, PenStyle::Solid});
    const int l = rubberRect.left / z;
    const int t = rubberRect.top / z;
    const int r = rubberRect.right / z;
    const int b = rubberRect.bottom / z;
    constexpr int kDashes = 2;
    DrawDashedLine(dc, l, t, r, t, kDashes, z);
    DrawDashedLine(dc, r, t, r, b, kDashes, z);
    DrawDashedLine(dc, r, b, l, b, kDashes, z);
    DrawDashedLine(dc, l, b, l, t, kDashes, z);
    dc.SetRasterOp(old);
}

void CSheet::DrawGrid(CCanvas& dc) const
{
    const CGrid& g = grids.Active();
    if (g.display <= 0)
        return;
    const int64_t z = std::max(zoom, 1);
    const int64_t sx = g.SpacingX();
    const int64_t sy = g.SpacingY();
    if (sx / z < kMinDotSpacing || sy / z < kMinDotSpacing)
        return;
    const int64_t width = clientRect.right;
    const int64_t height = clientRect.bottom;
    // The first column and row: the last grid line at or before the view's
    // edge, in step with the true origin on either side of it.
    int64_t a0 = origin.x % sx;
    if (a0 > 0)
        a0 -= sx;
    int64_t b0 = origin.y % sy;
    if (b0 > 0)
        b0 -= sy;

    if (g.display == 1) {
        for (int64_t a = a0; a / z < width; a += sx) {
            const int x = static_cast<int>(a / z);
            for (int64_t b = b0;; b += sy) {
                const int64_t y = b / z;
                dc.SetPixel(x, static_cast<int>(y), kGridColour);
                if (y >= height)
                    break;
            }
        }
        return;
    }
    if (sx / z < kMinLineSpacing || sy / z < kMinLineSpacing)
        return;
    dc.SelectPen({1, kGridColour, PenStyle::Solid});
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    for (int64_t a = a0; a / z < width; a += sx) {
        dc.MoveTo(static_cast<int>(a / z), 0);
        dc.LineTo(static_cast<int>(a / z), h);
    }
    for (int64_t b = b0; b / z < height; b += sy) {
        dc.MoveTo(0, static_cast<int>(b / z));
        dc.LineTo(w, static_cast<int>(b / z));
    }
}

void CSheet::DrawMetafile(CCanvas& dc)
{
    // The copied area: the selection window while it is shown, else the sheet.
    CPoint corner = origin;
    int64_t width = sheetExtent.Width();
    int64_t height = sheetExtent.Height();
    if (rubberActive) {
        corner = {std::min(rubberRect.left, rubberRect.right),
            std::min(rubberRect.top, rubberRect.bottom)};
        width = std::abs(int64_t {rubberRect.right} - rubberRect.left);
        height = std::abs(int64_t {rubberRect.bottom} - rubberRect.top);
    }
    constexpr int z = kMetafileZoom;
    CPenTable table;
    table.Rebuild(penWidths, layerColours, highlightColours, z);

    CPass pass;
    pass.map = {corner.x, corner.y, z, 0};
    pass.pens = PenSet(table, CPenTable::kNormal);
    pass.right = Clamp32(width / z);
    pass.bottom = Clamp32(height / z);
    pass.dashScale = z;
    dc.SelectPen(pass.pens[0][1]);

    const CLayerFlags visible = VisibleLayers(layers);
    const CBrushDesc paper {BrushStyle::Solid, layerColours[0]};
    dc.SelectBrush(paper);
    if (visible[0]) {
        dc.Rectangle(pass.map.X(origin.x), pass.map.Y(origin.y),
            pass.map.Length(int64_t {origin.x} + sheetExtent.Width() - corner.x),
            pass.map.Length(int64_t {origin.y} + sheetExtent.Height() - corner.y));
    }
    if (DrawFills(dc, pass, records, recordCount, layerColours, visible))
        dc.SelectBrush(paper);
    junctionSize = penWidths[7];
    pass.junctionRadius = std::max(1, (junctionSize / z) / 2);
    DrawLines(dc, pass, records, 1, recordCount, visible, nullptr);
    DrawTexts(dc, texts, pass.map, &layerColours, visible, true);
    if (editText) {
        dc.SetTextColour(layerColours[editText->Layer()]);
        DrawText(dc, *editText, pass.map);
    }
    zoomAtLastDraw = zoom;
}

void CSheet::DrawForPrinter(CCanvas& dc, CSize page, int pixelsPerInch, double scale, bool fit)
{
    const double f = fit ? std::min(page.cx / (double(sheetExtent.right) + 2 * kPrintMargin),
                         page.cy / (double(sheetExtent.bottom) + 2 * kPrintMargin))
                         : pixelsPerInch / kMicrometresPerInch * scale;
    if (!std::isfinite(f) || !(f > 0))
        return;
    const bool black = ModelDefaults().blackAndWhitePrinting;
    std::array<COLORREF, kLayerCount> colours = printColours;
    if (black)
        colours.fill(0);

    CPass pass;
    pass.map = {int64_t {origin.x} - kPrintMargin, int64_t {origin.y} - kPrintMargin, 1, f};
    for (int layer = 0; layer < kLayerCount; ++layer) {
        for (int pen = 0; pen < kPenCount; ++pen) {
            const int32_t w = layer >= kFirstLineTypeLayer ? penWidths[1] : penWidths[pen];
            pass.pens[layer][pen] = {std::max(1, Trunc32(w * f)), colours[layer], PenStyle::Solid};
        }
    }
    pass.right = page.cx;
    pass.bottom = page.cy;
    // As in the complete draw, so that a sheet prints the same whether or
    // not it was shown first.
    junctionSize = penWidths[7];
    pass.junctionRadius = std::max(1, Trunc32(junctionSize * f / 2));
    pass.dashScale = 1 / f;
    dc.SelectPen(pass.pens[0][1]);

    const CLayerFlags visible = VisibleLayers(layers);
    const CBrushDesc paper {BrushStyle::Solid, colours[0]};
    dc.SelectBrush(paper);
    if (DrawFills(dc, pass, records, recordCount, colours, visible))
        dc.SelectBrush(paper);
    pictures->DrawAllScaled(dc, origin.x, origin.y, f);
    DrawLines(dc, pass, records, 1, recordCount, visible, nullptr);
    if (black)
        dc.SetTextColour(0);
    DrawTexts(dc, texts, pass.map, black ? nullptr : &colours, visible, true);
}
