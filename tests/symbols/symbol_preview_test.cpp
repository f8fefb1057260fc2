#include <gtest/gtest.h>

#include <fstream>

#include "support/recording_canvas.h"
#include "support/temp_folder.h"
#include "symbols/symbol_file.h"
#include "symbols/symbol_preview.h"

namespace {

CSym Sym(int16_t x, int16_t y, uint16_t style, uint16_t block = 0)
{
    return {block, style, x, y};
}

const std::vector<std::string> kErase = {"rop copy", "pen 1 0xffffff null", "brush solid 0xffffff"};

// The calls of the reference point mark at (x, y), after the pen and brush.
std::vector<std::string> MarkAt(int x, int y)
{
    auto f = [](int a, int b) { return std::to_string(a) + " " + std::to_string(b); };
    return {"pen 1 0x000000 solid", "brush solid 0xffffff",
        "ellipse " + f(x - 4, y - 4) + " " + f(x + 5, y + 5), "move " + f(x - 8, y),
        "line " + f(x + 8, y), "move " + f(x, y - 8), "line " + f(x, y + 8)};
}

} // namespace

TEST(SymbolPreview, FitsTheSymbolAndMarksTheReferencePoint)
{
    const uint16_t line = 0x08 | 1; // layer 1, pen 1
    const struct {
        const char* what;
        std::vector<CSym> symbol;
        int width, height;
        int markX, markY; // the reference point mark
        std::vector<std::string> drawn; // after the erase and the mark
    } cases[] = {
        {"100 x 50 units at two pixels per unit, the minimum corner at (10, 10)",
            {Sym(-20, -10, 0x08), Sym(80, 40, line)}, 320, 220, 50, 30,
            {"move 10 10", "line 210 110"}},
        {"a large symbol fills the frame inside the margins",
            {Sym(0, 0, 0x08), Sym(600, 0, line), Sym(600, 200, line)}, 320, 220, 10, 10,
            {"move 10 10", "line 310 10", "move 310 10", "line 310 110"}},
        {"a single start record shows the mark alone", {Sym(0, 0, 0x08)}, 320, 220, 10, 10, {}},
        {"an empty symbol shows the mark alone", {}, 320, 220, 10, 10, {}},
        {"a draw-to record first has nothing to draw from", {Sym(4, 4, line), Sym(8, 4, line)}, 320,
            220, 2, 2, {"move 10 10", "line 18 10"}},
        {"a junction dot is a small circle whatever its layer; the bounds are the records'",
            {Sym(10, 0, 0x80 | (15 << 3))}, 320, 220, -10, 10, {"ellipse 8 8 13 13"}},
        {"a pad of size class 16 or more is a square, a smaller one a circle",
            {Sym(0, 0, 0x100 | 16), Sym(10, 0, 0x200 | 5)}, 320, 220, 10, 10,
            {"rectangle 8 8 13 13", "ellipse 28 8 33 13"}},
        {"a frame of 21 pixels leaves one pixel inside the margins",
            {Sym(0, 0, 0x08), Sym(10, 0, line)}, 21, 21, 10, 10, {"move 10 10", "line 11 10"}},
    };
    for (const auto& c : cases) {
        CRecordingCanvas canvas;
        DrawSymbolPreview(canvas, c.symbol, c.width, c.height);
        std::vector<std::string> expected = kErase;
        expected.push_back(
            "rectangle 0 0 " + std::to_string(c.width) + " " + std::to_string(c.height));
        for (const std::string& call : MarkAt(c.markX, c.markY))
            expected.push_back(call);
        expected.insert(expected.end(), c.drawn.begin(), c.drawn.end());
        EXPECT_EQ(canvas.calls, expected) << c.what;
    }
}

TEST(SymbolPreview, AFrameOf20PixelsOrLessStaysBlank)
{
    const std::vector<CSym> symbol = {Sym(0, 0, 0x08), Sym(10, 0, 0x09)};
    for (const auto& [w, h] : {std::pair {20, 200}, {200, 20}, {0, 0}, {-5, 40}}) {
        CRecordingCanvas canvas;
        DrawSymbolPreview(canvas, symbol, w, h);
        ASSERT_EQ(canvas.calls.size(), 4u) << w << "x" << h;
        EXPECT_EQ(canvas.calls[3], "rectangle 0 0 " + std::to_string(w) + " " + std::to_string(h));
    }
}

TEST(SymbolPreview, ReadsSymbolFilesUpToTheLimit)
{
    CTempFolder tmp;
    const auto write = [&](const char* name, size_t bytes) {
        std::ofstream(tmp.path / name, std::ios::binary) << std::string(bytes, '\0');
        return tmp.path / name;
    };
    EXPECT_EQ(ReadSymbolForPreview(write("leeg.SYM", 0))->size(), 0u);
    EXPECT_EQ(ReadSymbolForPreview(write("rest.SYM", 19))->size(), 2u);
    EXPECT_EQ(
        ReadSymbolForPreview(write("grens.SYM", kPreviewMaxBytes))->size(), kPreviewMaxBytes / 8);
    EXPECT_FALSE(ReadSymbolForPreview(write("groot.SYM", kPreviewMaxBytes + 1)));
    EXPECT_FALSE(ReadSymbolForPreview(tmp.path / "weg.SYM"));
    EXPECT_FALSE(ReadSymbolForPreview(tmp.path));
}
