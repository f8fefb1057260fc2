#include "symbols/symbol_preview.h"

#include <algorithm>
#include <cstdint>

#include "model/file_io.h"
#include "platform/canvas.h"
#include "symbols/symbol_file.h"

namespace {

constexpr COLORREF kBlack = Rgb(0, 0, 0);
constexpr COLORREF kWhite = Rgb(255, 255, 255);
constexpr int kMargin = 10;
constexpr double kLeastScale = 0.5; // 0.1-mm units per pixel

// The kind bits of a style word: the junction flag and, in records of the
// old DOS libraries, the pad bits whose low bits give a pad's size class.
constexpr uint16_t kKindBits = 0x380;
constexpr uint16_t kJunctionKind = 0x80;
constexpr uint16_t kPadBits = 0x300;
constexpr int kSquarePadClass = 16;

// A junction or pad: a small circle, or a square from size class 16 up.
void Mark(CCanvas& canvas, int px, int py, int sizeClass)
{
    if (sizeClass >= kSquarePadClass)
        canvas.Rectangle(px - 2, py - 2, px + 3, py + 3);
    else
        canvas.Ellipse(px - 2, py - 2, px + 3, py + 3);
}

} // namespace

std::optional<std::vector<CSym>> ReadSymbolForPreview(const std::filesystem::path& path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kPreviewMaxBytes)
        return std::nullopt;
    const auto bytes = ReadFileBytes(path);
    if (!bytes || bytes->size() > kPreviewMaxBytes)
        return std::nullopt;
    return DecodeSymbolBytes(*bytes);
}

void ErasePreview(CCanvas& canvas, int width, int height)
{
    canvas.SetRasterOp(RasterOp::CopyPen);
    canvas.SelectPen({1, kWhite, PenStyle::Null});
    canvas.SelectBrush({BrushStyle::Solid, kWhite});
    canvas.Rectangle(0, 0, width, height);
}

void DrawSymbolPreview(CCanvas& canvas, std::span<const CSym> symbol, int width, int height)
{
    ErasePreview(canvas, width, height);
    if (width <= 2 * kMargin || height <= 2 * kMargin)
        return;

    int minX = 0, maxX = 0, minY = 0, maxY = 0;
    if (!symbol.empty()) {
        minX = maxX = symbol[0].x;
        minY = maxY = symbol[0].y;
    }
    for (const CSym& r : symbol) {
        minX = std::min<int>(minX, r.x);
        maxX = std::max<int>(maxX, r.x);
        minY = std::min<int>(minY, r.y);
        maxY = std::max<int>(maxY, r.y);
    }
    const double s = std::max({static_cast<double>(maxX - minX) / (width - 2 * kMargin),
        static_cast<double>(maxY - minY) / (height - 2 * kMargin), kLeastScale});
    const double ox = -minX / s + kMargin;
    const double oy = -minY / s + kMargin;
    const int ix = static_cast<int>(ox);
    const int iy = static_cast<int>(oy);

    canvas.SelectPen({1, kBlack, PenStyle::Solid});
    canvas.SelectBrush({BrushStyle::Solid, kWhite});
    canvas.Ellipse(ix - 4, iy - 4, ix + 5, iy + 5);
    canvas.MoveTo(ix - 8, iy);
    canvas.LineTo(ix + 8, iy);
    canvas.MoveTo(ix, iy - 8);
    canvas.LineTo(ix, iy + 8);

    auto at = [&](const CSym& r) {
        return CPoint {static_cast<int>(r.x / s) + ix, static_cast<int>(r.y / s) + iy};
    };
    for (size_t i = 0; i < symbol.size(); ++i) {
        const uint16_t w = symbol[i].styleWord;
        const auto x = static_cast<int>(symbol[i].x / s + ox);
        const auto y = static_cast<int>(symbol[i].y / s + oy);
        if ((w & kKindBits) == 0 && (w & 7) > 0) {
            // A draw-to record as the very first one has nothing to draw from.
            if (i == 0)
                continue;
            const CPoint from = at(symbol[i - 1]);
            const CPoint to = at(symbol[i]);
            canvas.MoveTo(from.x, from.y);
            canvas.LineTo(to.x, to.y);
        } else if ((w & kKindBits) == kJunctionKind) {
            Mark(canvas, x, y, (w >> 3) & 0xF);
        } else if ((w & kPadBits) != 0) {
            Mark(canvas, x, y, w & 0x7F);
        }
    }
}
