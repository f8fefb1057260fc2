#pragma once

// Stand-ins for the window around a view in the benchmarks: a canvas that
// draws nothing (it only counts, so the calls are not optimised away), a user
// interface whose screen is such a canvas, and a clock that never ticks.
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>

#include "platform/canvas.h"
#include "platform/clock.h"
#include "platform/ui_services.h"

class CNullCanvas : public CCanvas {
public:
    void SelectPen(const CPenDesc&) override { }
    void SelectBrush(const CBrushDesc&) override { }
    RasterOp SetRasterOp(RasterOp op) override { return std::exchange(rop, op); }
    void SetTextColour(COLORREF) override { }
    void SetTransparentBackground(bool) override { }
    void MoveTo(int x, int) override { sink += x; }
    void LineTo(int x, int) override { sink += x; }
    void Polyline(std::span<const CPoint> points) override { sink += int(points.size()); }
    void Polygon(std::span<const CPoint> points) override { sink += int(points.size()); }
    void Ellipse(int, int, int, int) override { }
    void Rectangle(int, int, int, int) override { }
    void SetPixel(int x, int, COLORREF) override { sink += x; }
    void TextOut(int, int, const CFontDesc&, std::string_view) override { }
    void DrawImage(const CImage&, const CRect&, const CRect&) override { }

    RasterOp rop = RasterOp::CopyPen;
    int64_t sink = 0;
};

class CNullUi : public CUiServices {
public:
    Answer MessageBox(std::string_view, Buttons, Icon) override { return Answer::Ok; }
    void SetStatusText(int, std::string_view text) override { sink += text.size(); }
    void Invalidate() override { ++invalidated; }
    CCanvas* ScreenCanvas() override { return &screen; }

    CNullCanvas screen;
    size_t sink = 0;
    int invalidated = 0;
};

class CNullClock : public CClock {
public:
    uint32_t Tick() const override { return 0; }
    void StartTimer(int, int) override { }
    void StopTimer(int) override { }
};
