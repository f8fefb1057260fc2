#pragma once

#include <QTransform>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/canvas.h"

class CPdfFile;

// What the pages of one PDF share: the hatch patterns, the font of the
// searchable text, the pictures. One dictionary for every page, written
// when the last page is done.
class CPdfResources {
public:
    explicit CPdfResources(CPdfFile& file);

    // The name of the hatch pattern for a style other than Solid and Null,
    // laid on the page whose device pixels `pageMatrix` maps to points (a
    // hatch lies on the page, not on the drawing).
    std::string Pattern(BrushStyle style, const QTransform& pageMatrix);
    std::string TextFont();
    // The name of a whole picture already written, or an empty string.
    std::string Picture(const void* key) const;
    // Names a picture written as `object`; a null key for a part of one.
    std::string AddPicture(const void* key, int object);

    int Number() const { return number; }
    void Write();

private:
    CPdfFile& file;
    int number;
    // By style and page matrix: a hatch lies on the page it is drawn on.
    std::map<std::pair<BrushStyle, std::string>, std::pair<std::string, int>> patterns;
    int font = 0;
    std::map<const void*, std::string> pictureNames;
    std::vector<std::pair<std::string, int>> pictures;
};

// One PDF page as the sheets draw it, in device pixels: lines and fills as
// paths, hatches as patterns, system-font texts as the outlines of their
// glyphs (so that they look exactly as on the screen) with the text itself
// invisible on top (so that it can be searched and copied), pictures as
// images. The page's content goes to the file in parts as it grows.
class CPdfCanvas : public CCanvas {
public:
    // `pageMatrix` maps device pixels to points on the page.
    CPdfCanvas(CPdfFile& file, CPdfResources& resources, const QTransform& pageMatrix);

    // The content streams of the page, in order; the canvas draws nothing
    // after this.
    std::vector<int> Finish();

    void SelectPen(const CPenDesc& pen) override;
    void SelectBrush(const CBrushDesc& brush) override;
    // A PDF page has no raster operations: everything is drawn copying.
    RasterOp SetRasterOp(RasterOp op) override;
    void SetTextColour(COLORREF colour) override;
    void SetTransparentBackground(bool transparent) override;

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Polyline(std::span<const CPoint> points) override;
    // One path for all of them.
    void PolyPolyline(std::span<const CPoint> points, std::span<const int> counts) override;
    void Polygon(std::span<const CPoint> points) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void SetPixel(int x, int y, COLORREF colour) override;
    void TextOut(int x, int y, const CFontDesc& font, std::string_view text) override;
    void DrawImage(const CImage& image, const CRect& dest, const CRect& source) override;

private:
    void Point(int x, int y);
    void Op(const char* op);
    void Real(double v);
    // Sets the fill colour or pattern unless it is already set.
    void Fill(const std::string& fill);
    bool AddPath(std::span<const CPoint> points);
    void Dot(CPoint p);
    // Sets the line state for the selected pen; false for the null pen.
    bool UsePen();
    // Sets the fill for the selected brush (after the background under a
    // hatch); false for the null brush.
    bool UseBrush(const std::function<void()>& path);
    void Paint(const std::function<void()>& path);
    void Rest();

    CPdfFile& file;
    CPdfResources& resources;
    QTransform pageMatrix;
    std::string content;
    std::vector<int> streams;

    CPenDesc pen;
    CBrushDesc brush;
    COLORREF textColour = 0;
    bool transparent = false;
    RasterOp rasterOp = RasterOp::CopyPen;
    CPoint current;

    // The graphics state as last set in the content, to set only changes.
    struct CState {
        COLORREF stroke = 0;
        int width = 1;
        int cap = 0;
        int dash = 0; // the dash unit, 0 for solid
        std::string fill = "0 0 0 rg\n";
    } state;
};
