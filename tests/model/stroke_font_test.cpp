#include "model/stroke_font.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "model/model_defaults.h"
#include "model/sheet.h"
#include "model/turn.h"
#include "support/shipped_data.h"
#include "support/temp_folder.h"

namespace {

// A character of a hand-made font: stroke points in file units (draw flag
// for each) and the advance.
struct Pt {
    int x, y;
    bool draw;
};
struct Glyph {
    std::vector<Pt> points;
    int advance;
};

// Lays out the codes 0 ... lastCode, each with bit 7 flipped from the code
// before; codes without a glyph get only an advance entry of 5.
std::vector<uint8_t> FontFile(const std::map<int, Glyph>& glyphs, int lastCode)
{
    std::vector<uint8_t> out;
    for (int code = 0; code <= lastCode; ++code) {
        const uint8_t parity = (code & 1) ? 0x80 : 0;
        const auto it = glyphs.find(code);
        const Glyph g = it != glyphs.end() ? it->second : Glyph {{}, 5};
        for (const Pt& p : g.points)
            out.insert(out.end(),
                {static_cast<uint8_t>(p.x), static_cast<uint8_t>(p.y),
                    static_cast<uint8_t>(parity | (p.draw ? 1 : 0))});
        out.insert(out.end(), {static_cast<uint8_t>(g.advance), 0, parity});
    }
    return out;
}

CDovereduFont Loaded(const std::vector<uint8_t>& bytes)
{
    CTempFolder dir;
    const std::string path = (dir.path / "font.dat").string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
    CDovereduFont font;
    EXPECT_TRUE(font.Load(path));
    return font;
}

// 'A': a move to (0, 0), strokes to (10, 0) and (10, 20), advance 12.
// 'B': no strokes, advance 7. Code 233: a move to (1, 1), a stroke to (2, 2).
CDovereduFont SmallFont()
{
    return Loaded(FontFile({{'A', {{{0, 0, false}, {10, 0, true}, {10, 20, true}}, 12}},
                               {'B', {{}, 7}}, {233, {{{1, 1, false}, {2, 2, true}}, 3}}},
        240));
}

std::vector<CETREC> Built(const CRecordList& list)
{
    return {list.placement.begin(), list.placement.begin() + list.placementCount};
}

CETREC Rec(int x, int y, int pen, int layer = 9)
{
    return CETREC::Make(x, y, layer, pen);
}

} // namespace

TEST(StrokeFont, LoadFindsCharactersWhereBit7Changes)
{
    // Code 0 has only its advance; entry 1 (flags 0x81) starts code 1.
    std::vector<uint8_t> bytes = {4, 0, 0x00, // code 0
        1, 2, 0x81, 3, 4, 0x81, 6, 0, 0x80, // code 1
        5, 6, 0x01, 9, 0, 0x00, // code 2
        8, 0, 0x80}; // code 3
    bytes.resize(CDovereduFont::kFileBytes);
    bytes.insert(bytes.end(), {1, 1, 0x81}); // past 12000 bytes: ignored
    const CDovereduFont font = Loaded(bytes);

    EXPECT_TRUE(font.IsLoaded());
    // (code, first entry, advance entry)
    const struct {
        int code, first, last;
    } cases[] = {{0, 0, 0}, {1, 1, 3}, {2, 4, 5}, {3, 6, 6}, {4, 7, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(font.FirstEntry(c.code), c.first) << c.code;
        EXPECT_EQ(font.LastEntry(c.code), c.last) << c.code;
    }
    EXPECT_EQ(font.Entry(2), (CGlyphEntry {9, 12, 0x81}));
    EXPECT_EQ(font.Entry(5), (CGlyphEntry {27, 0, 0x00}));
    EXPECT_EQ(font.Entry(CDovereduFont::kEntryCount), CGlyphEntry {});
}

TEST(StrokeFont, AFailedLoadLeavesEverythingEmpty)
{
    CDovereduFont font = SmallFont();
    ASSERT_TRUE(font.IsLoaded());
    CTempFolder dir;
    // A pipe without a writer must be refused, not waited on.
    const auto fifo = dir.path / "pipe.dat";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const auto& path : {dir.path / "missing.dat", dir.path, fifo}) {
        EXPECT_FALSE(font.Load(path.string())) << path;
        EXPECT_FALSE(font.IsLoaded());
        EXPECT_EQ(font.FontPath(), path.string());
        EXPECT_EQ(font.FirstEntry('B'), 0);
        EXPECT_EQ(font.LastEntry('A'), 0);
        EXPECT_EQ(font.Entry(0), CGlyphEntry {});
    }
    // Without a font every character is empty and advances by nothing.
    CRecordList list;
    EXPECT_TRUE(font.BuildText("AB", {0, 0}, 50, list));
    EXPECT_EQ(list.placementCount, 0);
}

TEST(StrokeFont, EveryFileIsReadOnceForAllSheets)
{
    CTempFolder dir;
    const std::string path = (dir.path / "font.dat").string();
    auto write = [&](const std::vector<uint8_t>& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
    };
    write(FontFile({{'A', {{{0, 0, false}, {10, 0, true}}, 12}}}, 70));
    const CModelDefaults saved = ModelDefaults();
    ModelDefaults().strokeFontPath = path;

    // Fifty sheets, as a project of fifty opens them: one read, one table.
    const int before = CStrokeGlyphs::FilesRead();
    std::vector<std::unique_ptr<CSheet>> sheets;
    for (int i = 0; i < 50; ++i)
        sheets.push_back(std::make_unique<CSheet>());
    EXPECT_EQ(CStrokeGlyphs::FilesRead(), before + 1);
    for (const auto& s : sheets) {
        EXPECT_EQ(s->font.Glyphs(), sheets[0]->font.Glyphs());
        EXPECT_EQ(s->font.LastEntry('A'), s->font.FirstEntry('A') + 2);
    }
    // A copy of a sheet's font shares the table too.
    const CDovereduFont copy = sheets[0]->font;
    EXPECT_EQ(copy.Glyphs(), sheets[0]->font.Glyphs());

    // Once the file changes, reloading every sheet reads it once more.
    write(FontFile({{'A', {{{0, 0, false}, {10, 0, true}, {10, 20, true}}, 12}}}, 70));
    for (const auto& s : sheets)
        EXPECT_TRUE(s->ReloadFont());
    EXPECT_EQ(CStrokeGlyphs::FilesRead(), before + 2);
    for (const auto& s : sheets)
        EXPECT_EQ(s->font.LastEntry('A'), s->font.FirstEntry('A') + 3);
    // The table the copy holds stays as it was.
    EXPECT_EQ(copy.LastEntry('A'), copy.FirstEntry('A') + 2);

    // Another path is another table; a path that cannot be read gives the
    // empty one, and reading it is not tried again while nothing changes.
    ModelDefaults().strokeFontPath = (dir.path / "missing.dat").string();
    for (const auto& s : sheets)
        EXPECT_FALSE(s->ReloadFont());
    EXPECT_EQ(CStrokeGlyphs::FilesRead(), before + 3);
    EXPECT_FALSE(sheets[0]->font.IsLoaded());
    EXPECT_EQ(sheets[0]->font.Glyphs(), sheets[49]->font.Glyphs());
    ModelDefaults() = saved;
}

TEST(StrokeFont, TheLastCodeNeverOwnsStrokes)
{
    // One entry per character with strokes on every entry: from code 255 on
    // each entry is a range of its own, and the last one points past the file.
    std::vector<uint8_t> bytes;
    for (int i = 0; i < CDovereduFont::kEntryCount; ++i)
        bytes.insert(bytes.end(), {7, 7, static_cast<uint8_t>((i & 1) ? 0x81 : 0x01)});
    const CDovereduFont font = Loaded(bytes);

    EXPECT_EQ(font.FirstEntry(254), 254);
    EXPECT_EQ(font.LastEntry(254), 254);
    EXPECT_EQ(font.FirstEntry(255), CDovereduFont::kEntryCount);
    EXPECT_EQ(font.LastEntry(255), CDovereduFont::kEntryCount - 1);
    CRecordList list;
    EXPECT_TRUE(font.BuildText("\xff\xff", {0, 0}, 50, list));
    EXPECT_EQ(list.placementCount, 0);
}

TEST(StrokeFont, BuildsStrokesWithAdvances)
{
    CDovereduFont font = SmallFont();
    font.SetPen(3);
    CRecordList list;
    list.recordCount = 1;
    ASSERT_TRUE(font.BuildText("ABA", {1000, 2000}, 50, list));
    // One file unit is 150 micrometres at size 50; 'A' and 'B' advance by
    // 1800 and 1050.
    EXPECT_EQ(Built(list),
        (std::vector<CETREC> {Rec(1000, 2000, 0), Rec(2500, 2000, 3), Rec(2500, 5000, 3),
            Rec(3850, 2000, 0), Rec(5350, 2000, 3), Rec(5350, 5000, 3)}));
    EXPECT_EQ(list.recordCount, 1);

    // Size scales every point and advance; layer and pen are the font's.
    font.SetLayer(4);
    font.SetPen(9); // only the pen bits count
    ASSERT_TRUE(font.BuildText("BA", {0, 0}, 7, list));
    EXPECT_EQ(Built(list),
        (std::vector<CETREC> {Rec(147, 0, 0, 4), Rec(357, 0, 1, 4), Rec(357, 420, 1, 4)}));
    // Code 233 is read as 233, not as a negative char.
    ASSERT_TRUE(font.BuildText("\xe9", {0, 0}, 50, list));
    EXPECT_EQ(Built(list), (std::vector<CETREC> {Rec(150, 150, 0, 4), Rec(300, 300, 1, 4)}));
    EXPECT_EQ(list.placement[2], CETREC {}); // nothing stale past the new text

    ASSERT_TRUE(font.BuildText("", {0, 0}, 50, list));
    EXPECT_EQ(list.placementCount, 0);
    EXPECT_EQ(list.placement[0], CETREC {});
}

TEST(StrokeFont, RotationAndMirror)
{
    // (angle, mirrored, the three points of "BA" at (100, 200), size 50);
    // unturned, 'A' starts 1050 right of the cursor.
    const struct {
        int angle;
        bool mirrored;
        CPoint p0, p1, p2;
    } cases[] = {
        {0, false, {1150, 200}, {2650, 200}, {2650, 3200}},
        {90, false, {100, -850}, {100, -2350}, {3100, -2350}},
        {-270, false, {100, -850}, {100, -2350}, {3100, -2350}},
        {180, false, {-950, 200}, {-2450, 200}, {-2450, -2800}},
        {270, false, {100, 1250}, {100, 2750}, {-2900, 2750}},
        {0, true, {-950, 200}, {-2450, 200}, {-2450, 3200}},
        {360, true, {-950, 200}, {-2450, 200}, {-2450, 3200}},
        {-720, true, {-950, 200}, {-2450, 200}, {-2450, 3200}},
        // 1050 turned by 30 degrees is (909.3, -525.0), 2550 is (2208.4, -1275.0),
        // and 3000 further down (3708.4, 1323.1).
        {30, false, {1009, -325}, {2308, -1075}, {3808, 1523}},
    };
    CDovereduFont font = SmallFont();
    for (const auto& c : cases) {
        font.SetAngle(c.angle);
        font.SetMirrored(c.mirrored);
        CRecordList list;
        ASSERT_TRUE(font.BuildText("BA", {100, 200}, 50, list));
        ASSERT_EQ(list.placementCount, 3);
        EXPECT_EQ((CPoint {list.placement[0].x, list.placement[0].y}), c.p0) << c.angle;
        EXPECT_EQ((CPoint {list.placement[1].x, list.placement[1].y}), c.p1) << c.angle;
        EXPECT_EQ((CPoint {list.placement[2].x, list.placement[2].y}), c.p2) << c.angle;
    }
}

// The text built point by point as the rule reads, for holding the build
// against it; nothing when a point falls outside the 32-bit range.
std::optional<std::vector<CETREC>> ByTheRule(
    const CDovereduFont& font, const std::string& text, CPoint c, int size)
{
    std::vector<CETREC> out;
    const int64_t sign = font.IsMirrored() ? -1 : 1;
    int64_t a = 0;
    for (const char ch : text) {
        const auto code = static_cast<uint8_t>(ch);
        int k = font.FirstEntry(code);
        for (; k < font.LastEntry(code); ++k) {
            const CGlyphEntry& e = font.Entry(k);
            const CWideVector p
                = RotateVector({a + sign * size * e.x, int64_t {size} * e.y}, font.Angle());
            const int64_t x = c.x + p.x;
            const int64_t y = c.y + p.y;
            if (x != static_cast<int32_t>(x) || y != static_cast<int32_t>(y))
                return std::nullopt;
            out.push_back(CETREC::Make(static_cast<int32_t>(x), static_cast<int32_t>(y),
                font.Layer(), (e.flags & 1) ? font.Pen() : 0));
        }
        a += sign * size * font.Entry(k).x;
    }
    return out;
}

TEST(StrokeFont, EveryAngleMirrorAndPlaceBuildsByTheRule)
{
    CDovereduFont font;
    ASSERT_TRUE(font.Load((ShippedDataFolder() / CDovereduFont::kFileName).string()));
    font.SetLayer(12);
    font.SetPen(5);
    const std::string text = "Kast 12: \xe9\xe9n groep, 3 x 2,5 mm2";
    const int32_t high = std::numeric_limits<int32_t>::max();
    // Near the ends of the range the text is walked before it is built, and
    // refused in the directions that leave it.
    int refused = 0;
    for (const CPoint at : {CPoint {1000, 2000}, CPoint {-50000, 90000},
             CPoint {high - 2000000, high - 20000}, CPoint {-high + 20000, 0}}) {
        for (const int angle : {0, 90, 180, 270, 360, -90, 30, 45, 1000}) {
            for (const bool mirrored : {false, true}) {
                font.SetAngle(angle);
                font.SetMirrored(mirrored);
                const auto expected = ByTheRule(font, text, at, 50);
                CRecordList list;
                const bool built = font.BuildText(text, at, 50, list);
                const std::string name = std::to_string(at.x) + "," + std::to_string(at.y)
                    + " angle " + std::to_string(angle) + (mirrored ? " mirrored" : "");
                ASSERT_EQ(built, expected.has_value()) << name;
                if (built)
                    EXPECT_EQ(Built(list), *expected) << name;
                refused += built ? 0 : 1;
            }
        }
    }
    EXPECT_GT(refused, 0);
}

TEST(StrokeFont, RotateVector)
{
    // (vector, degrees, result): quarter turns exact, others rounded to the
    // nearest micrometre; positive angles turn counter-clockwise on screen.
    const struct {
        CWideVector v;
        int64_t degrees;
        CWideVector turned;
    } cases[] = {
        {{1000, 0}, 90, {0, -1000}},
        {{1000, 0}, 0, {1000, 0}},
        {{1000, 0}, 360, {1000, 0}},
        {{1000, 0}, -360, {1000, 0}},
        {{1000, 0}, -90, {0, 1000}},
        {{1000, 0}, 450, {0, -1000}},
        {{3, -7}, 180, {-3, 7}},
        {{3, -7}, 270, {7, 3}},
        {{1000, 0}, 45, {707, -707}},
        {{1, 0}, 30, {1, -1}},
        {{-3, 0}, 120, {2, 3}},
        {{int64_t {1} << 40, 0}, 90, {0, -(int64_t {1} << 40)}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RotateVector(c.v, c.degrees), c.turned) << c.degrees;
    EXPECT_EQ(NormaliseRotation(std::numeric_limits<int32_t>::min()), 232);
    EXPECT_EQ(NormaliseRotation(-1), 359);
}

TEST(StrokeFont, LongTextGrowsTheBuffers)
{
    const CDovereduFont font = SmallFont();
    CRecordList list;
    list.recordCount = 1;
    list.records[1] = Rec(5, 5, 0);
    ASSERT_TRUE(font.BuildText(std::string(2000, 'A'), {-100, 0}, 50, list));
    ASSERT_EQ(list.placementCount, 6000);
    EXPECT_GE(list.Length(), 6000 + CRecordList::kMinSpare);
    EXPECT_EQ(list.placement.size(), list.records.size());
    EXPECT_EQ(list.selectionFlags.size(), list.records.size());
    EXPECT_EQ(list.placement[5999], Rec(-100 + 1999 * 1800 + 1500, 3000, 1));
    EXPECT_EQ(list.records[1], Rec(5, 5, 0));
}

TEST(StrokeFont, ATextBeyondTheCoordinateRangeIsRefused)
{
    CDovereduFont font = SmallFont();
    CRecordList list;
    ASSERT_TRUE(font.BuildText("A", {0, 0}, 50, list));
    const std::vector<CETREC> before = Built(list);

    const int big = std::numeric_limits<int32_t>::max();
    EXPECT_FALSE(font.BuildText("A", {0, 0}, big, list));
    // Near the edge: the stroke of 'A' crosses it.
    EXPECT_FALSE(font.BuildText("A", {std::numeric_limits<int32_t>::max() - 1000, 0}, 50, list));
    // Empty characters alone never leave the range, however far they advance.
    EXPECT_FALSE(font.BuildText(std::string(100000, 'B') + "A", {0, 0}, big, list));
    EXPECT_TRUE(font.BuildText(std::string(100000, 'B'), {0, 0}, big, list));
    EXPECT_EQ(list.placementCount, 0);

    ASSERT_TRUE(font.BuildText("A", {0, 0}, 50, list));
    font.SetAngle(45);
    EXPECT_FALSE(font.BuildText("A", {0, 0}, big, list));
    EXPECT_EQ(Built(list), before);
}

TEST(StrokeFont, TheShippedFont)
{
    const auto path = ShippedDataFolder() / CDovereduFont::kFileName;
    ASSERT_LE(std::filesystem::file_size(path), static_cast<uintmax_t>(CDovereduFont::kFileBytes));
    CDovereduFont font;
    ASSERT_TRUE(font.Load(path.string()));
    EXPECT_TRUE(font.IsLoaded());

    std::string drawn;
    for (int c = 33; c <= 126; ++c)
        drawn += static_cast<char>(c);
    drawn
        += "\xe0\xe1\xe2\xe4\xe7\xe8\xe9\xea\xeb\xed\xef\xf3\xf4\xf6\xfa\xfc\xf1"; // àáâäçèéêëíïóôöúüñ
    drawn
        += "\xc0\xc1\xc2\xc4\xc7\xc8\xc9\xca\xcb\xcd\xcf\xd3\xd4\xd6\xda\xdc\xd1"; // their capitals
    for (const char ch : drawn) {
        const auto code = static_cast<uint8_t>(ch);
        EXPECT_LT(font.FirstEntry(code), font.LastEntry(code)) << "code " << int(code);
        EXPECT_GT(font.Entry(font.LastEntry(code)).x, 0) << "code " << int(code);
    }
    // Characters without strokes still take room.
    for (const int code : {0, 9, 32, 127, 255}) {
        EXPECT_GE(font.FirstEntry(code), font.LastEntry(code)) << code;
        EXPECT_GT(font.Entry(font.FirstEntry(code)).x, 0) << code;
    }

    // A capital at the default size is about 3 mm tall.
    CRecordList list;
    ASSERT_TRUE(font.BuildText("H", {0, 0}, 50, list));
    int top = std::numeric_limits<int>::max(), bottom = std::numeric_limits<int>::min();
    for (const CETREC& r : Built(list)) {
        top = std::min(top, r.y);
        bottom = std::max(bottom, r.y);
    }
    EXPECT_GE(bottom - top, 2500);
    EXPECT_LE(bottom - top, 3500);
}
