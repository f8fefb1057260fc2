#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "platform/canvas.h"

// The fuzz targets' private folder: made on first use, removed with
// everything in it when the fuzzer ends. Nothing else is written.
const std::filesystem::path& FuzzFolder();

// Writes an input into the private folder under `name`, for the readers that
// take a path; returns that path.
std::filesystem::path WriteInput(std::string_view name, const uint8_t* data, size_t size);

// Empties the private folder's subfolder `name` (what a reader wrote there),
// so the folder does not grow from one input to the next.
void ClearFolder(std::string_view name);

// The program's shipped data folder (stroke font, templates), read only.
std::filesystem::path DataFolder();

// A canvas that draws nothing: the drawing code's arithmetic on read values
// runs, without the cost of a real surface.
class CNullCanvas : public CCanvas {
public:
    void SelectPen(const CPenDesc&) override { }
    void SelectBrush(const CBrushDesc&) override { }
    RasterOp SetRasterOp(RasterOp op) override { return op; }
    void SetTextColour(COLORREF) override { }
    void SetTransparentBackground(bool) override { }
    void MoveTo(int, int) override { }
    void LineTo(int, int) override { }
    void Polyline(std::span<const CPoint>) override { }
    void Polygon(std::span<const CPoint>) override { }
    void Ellipse(int, int, int, int) override { }
    void Rectangle(int, int, int, int) override { }
    void SetPixel(int, int, COLORREF) override { }
    void TextOut(int, int, const CFontDesc&, std::string_view) override { }
    void DrawImage(const CImage&, const CRect&, const CRect&) override { }
};
