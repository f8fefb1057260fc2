#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/archive.h"
#include "model/selection_stream.h"
#include "model/sheet.h"
#include "sheet_records.h"
#include "support/bytes.h"

namespace {

using Result = CSheet::PasteResult;

struct StreamRecord {
    int block;
    int layer = 1;
    int pen = 1;
    int x = 0;
    int y = 0;
    bool filled = false;
    uint16_t highStyle = 0; // bits 8-15 of styleWord
};

std::vector<uint8_t> Stream(
    const std::vector<StreamRecord>& records, const std::vector<CText>& texts = {})
{
    CArchive ar("clipboard");
    ar.WriteInt(static_cast<int32_t>(records.size()));
    for (const StreamRecord& s : records) {
        CETREC r = CETREC::Make(s.x, s.y, s.layer, s.pen, s.block, s.filled);
        ar.WriteWord(static_cast<uint16_t>(r.styleWord | s.highStyle));
        ar.WriteWord(r.blockWord);
        ar.WriteInt(r.x);
        ar.WriteInt(r.y);
    }
    ar.WriteInt(static_cast<int32_t>(texts.size()));
    for (CText t : texts)
        t.Serialize(ar);
    return ar.TakeBytes();
}

CText Text(const std::string& s, CRect box, int layer = 1)
{
    CText t(s, box, CText::kDefaultAttributes);
    t.SetLayer(layer);
    return t;
}

Result Paste(CSheet& s, const std::vector<uint8_t>& bytes)
{
    CArchive ar(std::span<const uint8_t>(bytes), "clipboard");
    return s.PasteSelection(ar);
}

std::vector<uint8_t> Copy(const CSheet& s)
{
    CArchive ar("clipboard");
    EXPECT_EQ(s.WriteSelection(ar), 1);
    return ar.TakeBytes();
}

// A sheet whose highest block is 12, with its history started.
std::unique_ptr<CSheet> Target()
{
    auto s = SheetWith(
        Figure({{0, 0}, {1000, 0}}, 1, 1, 12) + Figure({{0, 500}, {800, 500}}, 2, 1, 3));
    s->Recount();
    s->RestartUndo();
    return s;
}

std::vector<int> BlocksFrom(const CSheet& s, int first)
{
    std::vector<int> out;
    for (int i = first; i < s.recordCount; ++i)
        out.push_back(s.records[i].Block());
    return out;
}

TEST(PasteSelection, StreamsIntoASheet)
{
    // What each stream leaves on a sheet whose records are blocks 12 and 3;
    // anything but Pasted leaves it as it was.
    const struct Case {
        const char* name;
        std::function<void(CSheet&)> prepare;
        std::vector<uint8_t> stream;
        Result result;
        std::vector<int> newBlocks; // of the pasted records
        int newTexts = 0;
    } cases[] = {
        {"blocks renumbered above the highest", {},
            Stream({{5}, {5, 1, 1, 0, 0, true}, {7}, {0}, {3}}), Result::Pasted,
            {13, 13, 14, 0, 14}},
        {"texts only", {}, Stream({}, {Text("A", {10, 10, 50, 40})}), Result::Pasted, {}, 1},
        {"records and texts", {}, Stream({{1}, {1}}, {Text("A", {0, 0, 5, 5})}), Result::Pasted,
            {13, 13}, 1},
        {"highest block 32767: the lowest free numbers",
            [](CSheet& s) { s.records[1].SetBlock(CETREC::kMaxBlock); }, Stream({{4}, {9}, {2}}),
            Result::Pasted, {1, 2, 2}},
        {"too few free numbers",
            [](CSheet& s) {
                // Every number but 7 in use.
                for (int b = 1; b <= CETREC::kMaxBlock; ++b) {
                    if (b != 7)
                        s.Append(CETREC::Make(b, 0, 1, 0, b));
                }
            },
            Stream({{1}, {2}}), Result::NoBlockNumber, {}},
        {"a point past 32 bits",
            [](CSheet& s) {
                s.origin = {2'000'000'000, 0};
            },
            Stream({{1, 1, 1, 200'000'000, 0}}), Result::OutOfRange, {}},
        {"a text box past 32 bits",
            [](CSheet& s) {
                s.origin = {0, -2'000'000'000};
            },
            Stream({}, {Text("A", {0, -200'000'000, 10, 10})}), Result::OutOfRange, {}},
        {"empty stream", {}, Stream({}), Result::Empty, {}},
        {"record count 2^31 - 1", {}, Bytes({0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0}), Result::Damaged,
            {}},
        {"negative record count", {}, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}), Result::Damaged,
            {}},
        {"text count 2^31 - 1", {}, Bytes({0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F}), Result::Damaged,
            {}},
        {"trailing bytes allowed", {},
            [] {
                auto b = Stream({{1}});
                b.resize(b.size() + 4096);
                return b;
            }(),
            Result::Pasted, {13}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto s = Target();
        if (c.prepare) {
            c.prepare(*s);
            s->RestartUndo();
        }
        const int before = s->recordCount;
        const int undo = s->undoPosition;
        const CPoint origin = s->origin;
        EXPECT_EQ(Paste(*s, c.stream), c.result);
        EXPECT_EQ(BlocksFrom(*s, before), c.newBlocks);
        EXPECT_EQ(s->texts.GetCount(), c.newTexts);
        EXPECT_EQ(s->undoPosition, undo + (c.result == Result::Pasted ? 1 : 0));
        if (c.result != Result::Pasted) {
            EXPECT_EQ(s->origin, origin);
        }
    }
}

TEST(PasteSelection, KeepsTheStepsOfAFullHistoryAndThoseToRedo)
{
    // A paste copies the sheet into its undo step before it knows whether
    // it will go on: a refused one must leave every step as it was, and one
    // that goes on drops only what any change drops.
    const auto edited = [](bool everyNumberUsed) {
        auto s = Target();
        if (everyNumberUsed) {
            for (int b = 1; b <= CETREC::kMaxBlock; ++b) {
                if (b != 7)
                    s->Append(CETREC::Make(b, 0, 1, 0, b));
            }
        }
        s->RestartUndo();
        for (int step = 1; step <= s->undoLimit + 2; ++step) {
            s->records[1].x = step;
            s->PushUndo();
        }
        return s;
    };
    const auto xAfterUndos = [](CSheet& s) {
        std::vector<int> xs;
        while (s.CanUndo()) {
            s.Undo();
            xs.push_back(s.records[1].x);
        }
        return xs;
    };
    std::vector<int> fullHistory; // 11, 10, ... as many steps as the history keeps
    {
        auto s = edited(false);
        fullHistory = xAfterUndos(*s);
        ASSERT_EQ(static_cast<int>(fullHistory.size()), s->undoLimit);
    }
    for (const int redoSteps : {0, 3}) {
        SCOPED_TRACE(redoSteps);
        auto s = edited(true);
        for (int k = 0; k < redoSteps; ++k)
            s->Undo();
        EXPECT_EQ(Paste(*s, Stream({{1}, {2}})), Result::NoBlockNumber);
        for (int k = 0; k < redoSteps; ++k)
            EXPECT_EQ(s->Redo(), 1);
        EXPECT_FALSE(s->CanRedo());
        EXPECT_EQ(xAfterUndos(*s), fullHistory);
    }
    for (const int redoSteps : {0, 3}) {
        SCOPED_TRACE(redoSteps);
        auto s = edited(false);
        for (int k = 0; k < redoSteps; ++k)
            s->Undo();
        const int count = s->recordCount;
        ASSERT_EQ(Paste(*s, Stream({{1}, {2}})), Result::Pasted);
        EXPECT_FALSE(s->CanRedo());
        s->Undo();
        EXPECT_EQ(s->recordCount, count);
        s->Redo();
        EXPECT_EQ(s->recordCount, count + 2);
        // The step before the paste and those before it, as many as the
        // history keeps: from a full one the oldest drops out.
        std::vector<int> expected {s->records[1].x};
        for (size_t k = size_t(redoSteps);
             k < fullHistory.size() && static_cast<int>(expected.size()) < s->undoLimit; ++k)
            expected.push_back(fullHistory[k]);
        EXPECT_EQ(xAfterUndos(*s), expected);
    }
}

TEST(PasteSelection, FilledFlagsStayAndStyleHighBitsAreCleared)
{
    auto s = Target();
    ASSERT_EQ(Paste(*s, Stream({{5, 1, 0, 0, 0, true, 0xFF00}, {5, 1, 1, 10, 0, false, 0x0100}})),
        Result::Pasted);
    const CETREC& a = s->records[s->recordCount - 2];
    const CETREC& b = s->records[s->recordCount - 1];
    EXPECT_TRUE(a.IsFilled());
    EXPECT_FALSE(b.IsFilled());
    EXPECT_EQ(a.styleWord, CETREC::Make(0, 0, 1, 0).styleWord);
    EXPECT_EQ(b.styleWord, CETREC::Make(0, 0, 1, 1).styleWord);
}

TEST(PasteSelection, ShowsTheLayersOfWhatItPastesAndLeavesItUnselected)
{
    auto s = Target();
    s->layers.SetVisible(9, 0);
    s->layers.SetVisible(4, 0);
    s->layers.SetVisible(5, 0);
    ASSERT_EQ(Paste(*s, Stream({{0, 9, 0, 0, 0}, {0, 9, 1, 100, 0}}, {Text("T", {0, 0, 5, 5}, 4)})),
        Result::Pasted);
    EXPECT_EQ(s->layers.IsVisible(9), 1);
    EXPECT_EQ(s->layers.IsVisible(4), 1);
    EXPECT_EQ(s->layers.IsVisible(5), 0);
    EXPECT_EQ(s->layers.RecordUses(9), 2);
    EXPECT_EQ(s->layers.TextUses(4), 1);
    EXPECT_EQ(s->selectedCount, 0);
    EXPECT_TRUE(SelectedOf(*s).empty());
    EXPECT_EQ(s->texts.GetSelectedCount(), 0);
    EXPECT_EQ(s->texts.currentIndex, 0);
}

TEST(PasteSelection, LandsRelativeToOriginAndMovesOriginToTheLowestPoint)
{
    // The source panned by (5000, 7000); its lowest point lies at (1000, 1000)
    // relative to that, so the first paste into it moves origin there, and
    // the second lands offset by the move.
    auto s = SheetWith(Figure({{6000, 8000}, {9000, 8000}}, 1, 1, 1));
    s->origin = {5000, 7000};
    s->SelectRecord(1);
    s->SelectRecord(2);
    const auto stream = Copy(*s);
    s->ClearSelection();
    s->RestartUndo();

    ASSERT_EQ(Paste(*s, stream), Result::Pasted);
    EXPECT_EQ(PointsOf(*s),
        (std::vector<CPoint> {{6000, 8000}, {9000, 8000}, {6000, 8000}, {9000, 8000}}));
    EXPECT_EQ(BlocksFrom(*s, 1), (std::vector {1, 1, 2, 2}));
    EXPECT_EQ(s->origin, (CPoint {6000, 8000}));
    EXPECT_EQ(s->sheetExtent, (CRect {0, 0, 3000, 0}));

    ASSERT_EQ(Paste(*s, stream), Result::Pasted);
    EXPECT_EQ(s->records[5].x, 7000);
    EXPECT_EQ(s->records[5].y, 9000);
    EXPECT_EQ(s->undoPosition, 2);
}

TEST(PasteSelection, AShortStreamPastesNothing)
{
    const auto full = Stream({{5, 1, 0, 0, 0}, {5, 1, 1, 100, 200}, {0, 3, 1, -5, 7}},
        {Text("Kast", {10, 20, 300, 400}), Text("", {0, 0, 1, 1}, 2)});
    for (size_t length = 0; length < full.size(); ++length) {
        auto s = Target();
        const std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<long>(length));
        EXPECT_EQ(Paste(*s, cut), Result::Damaged) << "cut at " << length;
        EXPECT_EQ(s->recordCount, 5);
        EXPECT_EQ(s->texts.GetCount(), 0);
        EXPECT_EQ(s->undoPosition, 0);
    }
    auto s = Target();
    EXPECT_EQ(Paste(*s, full), Result::Pasted);
    EXPECT_EQ(s->recordCount, 8);
    EXPECT_EQ(s->texts.GetCount(), 2);
}

TEST(PasteSelection, GrowsTheArraysForALargeStream)
{
    std::vector<StreamRecord> many;
    for (int i = 0; i < 5000; ++i)
        many.push_back({1, 1, i == 0 ? 0 : 1, i, 0});
    auto s = Target();
    ASSERT_EQ(Paste(*s, Stream(many)), Result::Pasted);
    EXPECT_EQ(s->recordCount, 5005);
    EXPECT_GT(s->Length(), s->recordCount + CRecordList::kMinSpare);
    EXPECT_EQ(s->selectionFlags.size(), s->records.size());
}

// --- WriteSelection ----------------------------------------------------------

TEST(WriteSelection, GoldenBytes)
{
    const auto sheet = [] {
        auto filled = Figure({{1000, 2000}, {3000, 2000}, {3000, 4000}}, 2, 3, 5);
        for (CETREC& r : filled)
            r.SetFilled(true);
        auto s = SheetWith(filled + Figure({{100, 100}, {200, 100}}, 1, 1));
        s->origin = {1000, 1000};
        s->texts.Add(std::make_unique<CText>("Ab", CRect {1500, 1600, 1700, 1800}, 0x1000640));
        s->texts.Add(std::make_unique<CText>("X", CRect {0, 0, 1, 1}, 1600));
        return s;
    };
    // Record 1 of the first figure: styleWord 0x0010 (layer 2, pen 0), block
    // word 0x8005, (0, 1000) relative to origin.
    const auto rec1 = Bytes({0x10, 0x00, 0x05, 0x80, 0, 0, 0, 0, 0xE8, 0x03, 0, 0});
    const auto rec2 = Bytes({0x13, 0x00, 0x05, 0x80, 0xD0, 0x07, 0, 0, 0xE8, 0x03, 0, 0});
    const auto rec3 = Bytes({0x13, 0x00, 0x05, 0x80, 0xD0, 0x07, 0, 0, 0xB8, 0x0B, 0, 0});
    // "Ab" at (500, 600)-(700, 800), its attribute word with the selected bit.
    const auto text = Bytes({2, 'A', 'b', 0xF4, 0x01, 0, 0, 0x58, 0x02, 0, 0, 0xBC, 0x02, 0, 0,
        0x20, 0x03, 0, 0, 0x40, 0x06, 0x00, 0x11});
    const auto count = [](int n) { return Bytes({n, 0, 0, 0}); };
    const auto join = [](std::initializer_list<std::vector<uint8_t>> parts) {
        std::vector<uint8_t> out;
        for (const auto& p : parts)
            out.insert(out.end(), p.begin(), p.end());
        return out;
    };

    const struct Case {
        const char* name;
        std::vector<int> records;
        bool text;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"records", {1, 2, 3}, false, join({count(3), rec1, rec2, rec3, count(0)})},
        {"texts", {}, true, join({count(0), count(1), text})},
        {"both", {1, 2, 3}, true, join({count(3), rec1, rec2, rec3, count(1), text})},
        // The segment from record 2 to 3 alone: a move to record 2's point
        // with record 3's layer and block word comes first.
        {"a segment", {3}, false,
            join({count(2), Bytes({0x10, 0x00, 0x05, 0x80, 0xD0, 0x07, 0, 0, 0xE8, 0x03, 0, 0}),
                rec3, count(0)})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto s = sheet();
        for (int i : c.records)
            s->SelectRecord(i);
        s->texts.SetSelected(0, c.text);
        EXPECT_EQ(Hex(Copy(*s), 200), Hex(c.bytes, 200));
    }
}

TEST(WriteSelection, RoundTripsThroughPasteIntoAnotherSheet)
{
    auto source
        = SheetWith(Figure({{0, 0}, {100, 0}}, 3, 2, 8) + Figure({{50, 50}, {60, 60}}, 1, 1, 0));
    source->origin = {-40, -40};
    source->SelectRecord(1);
    source->SelectRecord(2);
    source->texts.Add(std::make_unique<CText>("T", CRect {1, 2, 3, 4}, CText::kDefaultAttributes));
    source->texts.SetSelected(0, true);
    const auto stream = Copy(*source);

    CSheet target;
    target.recordCount = 1;
    target.origin = {1000, 2000};
    target.RestartUndo();
    ASSERT_EQ(Paste(target, stream), Result::Pasted);
    ASSERT_EQ(target.recordCount, 3);
    EXPECT_EQ(target.records[1].x, 40 + 1000);
    EXPECT_EQ(target.records[2].x, 140 + 1000);
    EXPECT_EQ(target.records[2].y, 40 + 2000);
    EXPECT_EQ(target.records[2].Pen(), 2);
    EXPECT_EQ(target.records[2].Block(), 1);
    ASSERT_EQ(target.texts.GetCount(), 1);
    EXPECT_EQ(target.texts.At(0)->box, (CRect {1041, 2042, 1043, 2044}));
    EXPECT_FALSE(target.texts.At(0)->IsSelected());
}

TEST(WriteSelection, RefusesAPointThatDoesNotFitRelativeToOrigin)
{
    auto s = SheetWith(Figure({{2'000'000'000, 0}, {2'000'000'100, 0}}));
    s->origin = {-2'000'000'000, 0};
    s->SelectRecord(1);
    CArchive ar("clipboard");
    EXPECT_EQ(s->WriteSelection(ar), 0);
    EXPECT_TRUE(ar.Bytes().empty());
}

} // namespace
