#pragma once

// Stand-ins for the window around a view in the benchmarks: a canvas that
// draws nothing (it only counts, so the calls are not optimised away), a user
// interface whose screen is such a canvas, a clock that never ticks, and
// answers to the view's questions that ask the user nothing.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/canvas.h"
#include "platform/clock.h"
#include "platform/ui_services.h"
#include "view/view_dialogs.h"

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
    void Recompose() override
    {
        if (recompose)
            recompose();
    }
    // Copies the rows of a full-HD off-screen image into the screen image,
    // as the window does.
    CCanvas* RestoreScreen(const CRect& pixels) override
    {
        const int left = std::clamp(pixels.left, 0, kImageWidth);
        const int right = std::clamp(pixels.right, left, kImageWidth);
        const int top = std::clamp(pixels.top, 0, kImageHeight);
        const int bottom = std::clamp(pixels.bottom, top, kImageHeight);
        for (int y = top; y < bottom; ++y) {
            const size_t row = size_t(y) * kImageWidth + size_t(left);
            std::memcpy(&screenImage[row], &offscreenImage[row], size_t(right - left) * 4);
        }
        return &screen;
    }

    static constexpr int kImageWidth = 1920;
    static constexpr int kImageHeight = 1080;
    CNullCanvas screen;
    std::function<void()> recompose; // the feedback drawn over the sheet image
    std::vector<uint32_t> offscreenImage
        = std::vector<uint32_t>(size_t {kImageWidth} * kImageHeight);
    std::vector<uint32_t> screenImage = std::vector<uint32_t>(size_t {kImageWidth} * kImageHeight);
    size_t sink = 0;
    int invalidated = 0;
};

class CNullClock : public CClock {
public:
    uint32_t Tick() const override { return 0; }
    void StartTimer(int, int) override { }
    void StopTimer(int) override { }
};

// The benchmarks ask the user nothing; the edit benchmarks set the answer of
// "Selectie bewerken".
class CNoDialogs : public CViewDialogs {
public:
    std::optional<int> ChooseLayer(const CLayerArray&, int) override { return std::nullopt; }
    bool ChoosePen(CPenValues&) override { return false; }
    bool EditGrids(CGridValues&) override { return false; }
    bool EditLayerTable(CLayerTable&) override { return false; }
    std::optional<int> ChooseFont(const std::vector<std::string>&, int) override
    {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> ChooseSymbol(const std::filesystem::path&) override
    {
        return std::nullopt;
    }
    std::optional<int> AddPicture(CAddPictures&, const std::string&) override
    {
        return std::nullopt;
    }
    bool EditPicture(CPictureEdit&) override { return false; }
    bool SaveProjectAs() override { return false; }
    bool PlaceText(CPlaceTextValues&) override { return false; }
    bool EditText(CEditTextValues&, const std::vector<std::string>&) override { return false; }
    bool EditSelection(CSelectionEditValues& values) override
    {
        if (!editSelection)
            return false;
        values = *editSelection;
        return true;
    }
    std::optional<CSelectionEditValues> editSelection;
};
