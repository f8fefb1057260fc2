#include "model/sheet.h"

#include <functional>
#include <gtest/gtest.h>

#include "model/model_defaults.h"
#include "model/tool_mode.h"
#include "support/bytes.h"

namespace {

// Writes a sheet body field by field, as older versions of the program did,
// so that reading is checked against bytes made without CSheet itself.
struct BodyOptions {
    int schema = 813;
    int recordCount = 3;
    int arrayLength = 5;
    int zoom = 100;
    bool withText = false;
    bool withGrids = true;
};

std::vector<uint8_t> HandMadeBody(const BodyOptions& o)
{
    CArchive ar("hand.ETT");
    ar.WriteInt(o.schema);
    ar.WriteString("C:\\Projecten\\Blad 7.ETT");
    ar.WriteString("titel");
    for (int i = 0; i < 8; ++i)
        ar.WriteInt(100 * (i + 1));
    if (o.schema >= 811 && o.schema <= 813) {
        CLayerArray layers;
        layers.SetName(3, "Kabels");
        layers.SetVisible(4, 0);
        layers.Serialize(ar);
    } else {
        for (int i = 0; i < 16; ++i) {
            ar.WriteString(i == 3 ? "Kabels" : "");
            ar.WriteInt(i == 4 ? 0 : 1);
        }
    }
    for (int i = 0; i < 16; ++i) {
        ar.WriteInt(0x010000 + i);
        ar.WriteInt(0x020000 + i);
        ar.WriteInt(0x030000 + i);
    }
    ar.WriteInt(o.recordCount);
    CRecordVector records(o.arrayLength);
    records[0] = CETREC::Make(9, 9, 1, 1); // a stale sentinel
    if (o.arrayLength > 2) {
        records[1] = CETREC::Make(1000, 2000, 2, 0);
        records[2] = CETREC::Make(5000, 7000, 2, 3);
    }
    StoreRecords(ar, records);
    ar.WriteCount(o.withText ? 1 : 0);
    if (o.withText) {
        CText text("Aarde", {100, 100, 900, 300}, CText::kDefaultAttributes);
        text.SetAngle(90);
        text.SetLayer(5);
        ar.WriteObject(&text);
    }
    if (o.schema == 813 || o.schema == 812 || o.schema == 811 || (o.schema < 811 && o.withGrids)) {
        CGridArr grids;
        grids.grids[0].snapX = 2500;
        grids.Serialize(ar);
    }
    if (o.schema == 813 || o.schema == 812) {
        ar.WriteInt(o.zoom);
        ar.WritePair(11, 12);
        ar.WritePair(13, 14);
        ar.WritePair(15, 16);
        ar.WriteInt(17);
        ar.WriteInt(18);
        if (o.schema == 813) {
            ar.WriteInt(0x1002);
            ar.WriteInt(777);
        }
        ar.WriteInt(812); // the picture list mark
        ar.WriteCount(0);
    }
    return ar.TakeBytes();
}

std::unique_ptr<CSheet> Load(const std::vector<uint8_t>& bytes)
{
    CArchive ar(bytes, "hand.ETT");
    auto sheet = std::make_unique<CSheet>();
    sheet->Serialize(ar);
    EXPECT_EQ(ar.Remaining(), 0u);
    return sheet;
}

std::vector<uint8_t> Store(CSheet& sheet)
{
    CArchive ar("x.ETT");
    sheet.Serialize(ar);
    return ar.TakeBytes();
}

} // namespace

TEST(Sheet, ResetDefaults)
{
    CSheet s;
    EXPECT_EQ(s.sheetName, "Nieuw");
    EXPECT_EQ(s.Length(), 2000);
    EXPECT_TRUE(s.placement.empty()); // until something is placed
    EXPECT_EQ(s.recordCount, 0);
    EXPECT_EQ(s.penWidths, (std::array<int32_t, 8> {1, 200, 250, 300, 500, 800, 1000, 1000}));
    EXPECT_EQ(s.layerColours[0], 0xC8FAFAu);
    EXPECT_EQ(s.layerColours[5], 0u);
    EXPECT_EQ(s.highlightColours[9], 0x0000FFu);
    EXPECT_EQ(s.printColours, s.layerColours);
    EXPECT_EQ(s.layers.Name(4), "Laag 4");
    EXPECT_EQ(s.zoom, 512);
    EXPECT_EQ(s.fitMode, 1);
    EXPECT_EQ(s.sheetExtent, (CRect {0, 0, 297000, 210000}));
    EXPECT_EQ(s.clientRect, (CRect {0, 0, 640, 480}));
    EXPECT_EQ(s.selectionCriteria, 0x1004);
    EXPECT_EQ(s.toolMode, ToolMode::Select);
    EXPECT_EQ(s.undoPosition, -1);
    EXPECT_EQ(s.undoLimit, 10);
    EXPECT_EQ(s.junctionSize, 1000);
}

TEST(Sheet, NamesKeepTheBareTitle)
{
    // (given name, kept name)
    const struct {
        const char *given, *kept;
    } cases[] = {
        {"Blad 1", "Blad 1"},
        {"C:\\Projecten\\Kast 3.ETT", "Kast 3"},
        {"/home/jan/plan.v2.ETT", "plan"},
        {"", ""},
    };
    for (const auto& c : cases) {
        CSheet s(7, c.given, "t");
        EXPECT_EQ(s.sheetName, c.kept) << c.given;
        EXPECT_EQ(s.sheetTitle, "t");
        EXPECT_EQ(s.kind, 7);
    }
}

TEST(Sheet, FrameOfANewSheet)
{
    CSheet s;
    s.AddFrame(0, 0, 400000, 270000);
    ASSERT_EQ(s.recordCount, 6);
    const std::vector<CETREC> frame(s.records.begin() + 1, s.records.begin() + 6);
    EXPECT_EQ(frame,
        (std::vector<CETREC> {CETREC::Make(0, 0, 1, 0, 1), CETREC::Make(400000, 0, 1, 1, 1),
            CETREC::Make(400000, 270000, 1, 1, 1), CETREC::Make(0, 270000, 1, 1, 1),
            CETREC::Make(0, 0, 1, 1, 1)}));
    EXPECT_EQ(s.Extents(), (CPoint {0, 0}));
    EXPECT_EQ(s.sheetExtent, (CRect {0, 0, 400000, 270000}));
}

TEST(Sheet, ReadsSchema813)
{
    const auto s = Load(HandMadeBody({.schema = 813, .withText = true}));
    EXPECT_EQ(s->sheetName, "Blad 7");
    EXPECT_EQ(s->sheetTitle, "titel");
    EXPECT_EQ(s->penWidths[7], 800);
    EXPECT_EQ(s->layers.Name(3), "Kabels");
    EXPECT_EQ(s->layerColours[2], 0x010002u);
    EXPECT_EQ(s->highlightColours[2], 0x020002u);
    EXPECT_EQ(s->printColours[15], 0x03000Fu);
    EXPECT_EQ(s->recordCount, 3);
    EXPECT_EQ(s->Length(), 1003);
    EXPECT_EQ(s->selectionFlags.size(), 1003u);
    EXPECT_EQ(s->records[0], CETREC {});
    EXPECT_EQ(s->records[2], CETREC::Make(5000, 7000, 2, 3));
    ASSERT_EQ(s->texts.GetCount(), 1);
    EXPECT_EQ(s->texts.At(0)->Angle(), 90); // current files store counter-clockwise
    EXPECT_EQ(s->grids.grids[0].snapX, 2500);
    EXPECT_EQ(s->zoom, 100);
    EXPECT_EQ(s->rawPoint, (CPoint {11, 12}));
    EXPECT_EQ(s->textPoint, (CPoint {15, 16}));
    EXPECT_EQ(s->cursor, (CPoint {17, 18}));
    EXPECT_EQ(s->selectionCriteria, 0x1002);
    EXPECT_EQ(s->junctionSize, 777);
    EXPECT_EQ(s->fitMode, 0);

    // After the load: every layer shown, the extent and origin from the
    // content, the layers recounted, one snapshot.
    EXPECT_EQ(s->layers.IsVisible(4), 1);
    EXPECT_EQ(s->origin, (CPoint {1000, 2000}));
    EXPECT_EQ(s->sheetExtent, (CRect {0, 0, 4000, 5000}));
    EXPECT_EQ(s->layers.RecordUses(2), 2);
    EXPECT_EQ(s->layers.Layer(5).textUses, 1);
    EXPECT_EQ(s->undoPosition, 0);
    EXPECT_EQ(s->undoList.size(), 1u);
    EXPECT_FALSE(s->CanUndo());
}

TEST(Sheet, ReadsOlderSchemas)
{
    // 812: no criteria nor junction size; angles were clockwise.
    auto s = Load(HandMadeBody({.schema = 812, .withText = true}));
    EXPECT_EQ(s->selectionCriteria, 0x1004);
    EXPECT_EQ(s->junctionSize, 1000);
    EXPECT_EQ(s->texts.At(0)->Angle(), 270);
    EXPECT_EQ(s->cursor, (CPoint {17, 18}));
    EXPECT_EQ(s->fitMode, 0);

    // 811: nothing after the grids; the first draw fits the drawing.
    s = Load(HandMadeBody({.schema = 811, .withText = true}));
    EXPECT_EQ(s->texts.At(0)->Angle(), 270);
    EXPECT_EQ(s->grids.grids[0].snapX, 2500);
    EXPECT_EQ(s->zoom, 512);
    EXPECT_EQ(s->cursor, (CPoint {0, 0}));
    EXPECT_EQ(s->fitMode, 1);

    // The oldest: names and visibility in place of the layer array; grids
    // only from 806 on.
    s = Load(HandMadeBody({.schema = 806, .withText = true}));
    EXPECT_EQ(s->layers.Name(3), "Kabels");
    EXPECT_EQ(s->layers.IsVisible(4), 1);
    EXPECT_EQ(s->grids.grids[0].snapX, 2500);
    EXPECT_EQ(s->texts.At(0)->Angle(), 270);
    s = Load(HandMadeBody({.schema = 805, .withGrids = false}));
    EXPECT_EQ(s->grids.grids[0].snapX, 5000);
    EXPECT_EQ(s->recordCount, 3);
    s = Load(HandMadeBody({.schema = -4, .withGrids = false}));
    EXPECT_EQ(s->sheetName, "Blad 7");
}

TEST(Sheet, ChecksWhatLaterCodeRelies)
{
    // A stored count of 0 (a sheet reset and stored before its frame) is
    // kept; so is a count of the whole stored array.
    auto s = Load(HandMadeBody({.recordCount = 0}));
    EXPECT_EQ(s->recordCount, 0);
    EXPECT_EQ(s->Length(), 1000);
    s = Load(HandMadeBody({.recordCount = 0, .arrayLength = 1}));
    EXPECT_EQ(s->recordCount, 0);
    EXPECT_EQ(s->Length(), 1000);
    s = Load(HandMadeBody({.recordCount = 5}));
    EXPECT_EQ(s->recordCount, 5);

    // A zoom outside 2 to 10000 becomes the new-sheet zoom with fit.
    for (int zoom : {0, 1, 10001, -5}) {
        s = Load(HandMadeBody({.zoom = zoom}));
        EXPECT_EQ(s->zoom, 512) << zoom;
        EXPECT_EQ(s->fitMode, 1) << zoom;
    }
    s = Load(HandMadeBody({.zoom = 10000}));
    EXPECT_EQ(s->zoom, 10000);

    for (int count : {6, -1}) {
        const auto bytes = HandMadeBody({.recordCount = count});
        CArchive ar(bytes, "hand.ETT");
        CSheet bad;
        try {
            bad.Serialize(ar);
            ADD_FAILURE() << count;
        } catch (const CArchiveException& e) {
            EXPECT_STREQ(e.what(), "hand.ETT has a bad format.");
        }
    }
}

TEST(Sheet, EveryCutFailsAsPastItsEnd)
{
    const auto bytes = HandMadeBody({.withText = true});
    for (size_t n = 0; n < bytes.size(); ++n) {
        const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + n);
        CArchive ar(cut, "cut.ETT");
        CSheet s;
        EXPECT_THROW(s.Serialize(ar), CArchiveException) << n;
    }
}

TEST(Sheet, StoredAndReadBack)
{
    CSheet a(0, "Installatie", "begane grond");
    a.AddFrame(0, 0, 400000, 270000);
    a.Append(CETREC::Junction(5000, 5000, 3));
    a.texts.Add(std::make_unique<CText>("L1", CRect {10, 10, 500, 200}, CText::kDefaultAttributes));
    a.layers.SetName(2, "Verlichting");
    a.layerColours[3] = 0x123456;
    a.penWidths[2] = 333;
    a.zoom = 64;
    a.cursor = {500, 600};
    a.selectionCriteria = 0x1001;
    a.grids.grids[2].spacingX = 2000;

    const auto first = Store(a);
    const auto b = Load(first);
    EXPECT_EQ(b->sheetName, "Installatie");
    EXPECT_EQ(b->sheetTitle, "begane grond");
    EXPECT_EQ(b->recordCount, 7);
    EXPECT_EQ(std::vector<CETREC>(b->records.begin(), b->records.begin() + 7),
        std::vector<CETREC>(a.records.begin(), a.records.begin() + 7));
    EXPECT_EQ(b->texts.At(0)->text, "L1");
    EXPECT_EQ(b->layers.Name(2), "Verlichting");
    EXPECT_EQ(b->layerColours, a.layerColours);
    EXPECT_EQ(b->penWidths, a.penWidths);
    EXPECT_EQ(b->zoom, 64);
    EXPECT_EQ(b->cursor, a.cursor);
    EXPECT_EQ(b->selectionCriteria, 0x1001);
    EXPECT_EQ(b->grids.grids, a.grids.grids);
    EXPECT_EQ(b->Length(), 1007);

    // From the second write on the bytes stay the same.
    const auto second = Store(*b);
    const auto third = Store(*Load(second));
    EXPECT_EQ(second, third);
}

TEST(Sheet, CopySettingsFromAnotherSheet)
{
    CSheet a(0, "Sjabloon", "A3");
    a.AddFrame(0, 0, 420000, 297000);
    a.texts.Add(std::make_unique<CText>("Titel", CRect {1, 2, 3, 4}, CText::kDefaultAttributes));
    a.layers.SetName(1, "Kader");
    a.printColours[1] = 0xFF;
    a.origin = {5, 5};
    a.grids.grids[0].spacingX = 1234;

    CSheet b;
    b.CopySettingsFrom(a);
    EXPECT_EQ(b.sheetName, "Sjabloon");
    EXPECT_EQ(b.sheetTitle, "A3");
    EXPECT_EQ(b.recordCount, 6);
    EXPECT_EQ(b.records[3], a.records[3]);
    EXPECT_EQ(b.texts.GetCount(), 1);
    EXPECT_NE(b.texts.At(0), a.texts.At(0));
    EXPECT_EQ(b.layers.Name(1), "Kader");
    EXPECT_EQ(b.printColours[1], 0xFFu);
    EXPECT_EQ(b.origin, (CPoint {5, 5}));
    EXPECT_EQ(b.grids.grids[0].spacingX, 1234);
}

namespace {

// A loaded sheet with one line, as after opening a project.
std::unique_ptr<CSheet> LoadedSheet()
{
    CSheet s;
    s.AddFrame(0, 0, 400000, 270000);
    return Load(Store(s));
}

void Change(CSheet& s, int x)
{
    s.Append(CETREC::Make(x, 0, 1, 0));
    s.PushUndo();
}

} // namespace

TEST(Undo, TwelveChangesWithLimitTen)
{
    auto s = LoadedSheet();
    for (int i = 1; i <= 12; ++i)
        Change(*s, i);
    EXPECT_EQ(s->undoList.size(), 11u);
    int undone = 0;
    while (s->Undo())
        ++undone;
    EXPECT_EQ(undone, 10);
    EXPECT_EQ(s->recordCount, 6 + 2); // the oldest two changes are beyond reach
    EXPECT_EQ(s->records[7].x, 2);
    EXPECT_EQ(s->records[8], CETREC {});
    EXPECT_FALSE(s->CanUndo());
    EXPECT_TRUE(s->CanRedo());
    while (s->Redo()) { }
    EXPECT_EQ(s->recordCount, 6 + 12);
    // Every change came back, also through the snapshots whose memory the
    // full history handed on.
    for (int i = 1; i <= 12; ++i)
        EXPECT_EQ(s->records[5 + i].x, i) << i;

    // Undone once, changed again: the snapshot slot is written over.
    s->Undo();
    Change(*s, 99);
    s->Undo();
    s->Redo();
    EXPECT_EQ(s->records[17].x, 99);
    EXPECT_EQ(s->records[18], CETREC {});
}

TEST(Undo, LimitTakenAtResetWithinOneToTwenty)
{
    for (const auto& [configured, limit] : {std::pair {0, 1}, {25, 20}, {3, 3}}) {
        ModelDefaults().undoLimit = configured;
        CSheet s;
        EXPECT_EQ(s.undoLimit, limit);
    }
    ModelDefaults().undoLimit = 10;
}

TEST(Undo, AnUnrecordedMoveIsRecordedFirst)
{
    auto s = LoadedSheet();
    const CETREC before = s->records[2];
    s->records[2].x += 1000; // a move leaves only the pending mark
    s->pendingChange = 1;
    EXPECT_EQ(s->Undo(), 1);
    EXPECT_EQ(s->records[2], before);
    EXPECT_EQ(s->Redo(), 1);
    EXPECT_EQ(s->records[2].x, before.x + 1000);
}

TEST(Undo, GivesBackTheWholeArrayWithWhatLiesPastTheList)
{
    // Files may carry old records past the list; undo must give them back
    // as they were, and the array with its length.
    auto s = LoadedSheet();
    s->records[s->recordCount + 3] = CETREC::Make(7, 8, 2, 1);
    s->RestartUndo();
    const CRecordVector before = s->records;
    s->records[s->recordCount + 3] = CETREC {};
    s->EnsureSpare(s->Length() - s->recordCount + 500); // the array grows
    Change(*s, 5);
    EXPECT_EQ(s->Undo(), 1);
    EXPECT_EQ(s->records, before);
    EXPECT_EQ(s->selectionFlags.size(), before.size());
    EXPECT_EQ(s->Redo(), 1);
    EXPECT_EQ(s->records[s->recordCount + 3], CETREC {});
    EXPECT_GT(s->Length(), static_cast<int>(before.size()));
}

TEST(Undo, ANewChangeEndsRedo)
{
    auto s = LoadedSheet();
    for (int i = 1; i <= 3; ++i)
        Change(*s, i);
    s->Undo();
    s->Undo();
    EXPECT_TRUE(s->CanRedo());
    Change(*s, 99);
    EXPECT_FALSE(s->CanRedo());
    EXPECT_EQ(s->Redo(), 0);
}

TEST(Undo, ClearsTheSelectionAndReturnsToSelecting)
{
    auto s = LoadedSheet();
    Change(*s, 7);
    s->selectionFlags[2] = 1;
    s->selectedCount = 1;
    s->texts.Add(std::make_unique<CText>("x", CRect {}, CText::kDefaultAttributes));
    s->texts.SetSelected(0, true);
    s->toolMode = ToolMode::Lines;
    s->toolStep = Step::ZoomArmed;
    EXPECT_EQ(s->Undo(), 1);
    EXPECT_EQ(s->selectedCount, 0);
    EXPECT_EQ(s->selectionFlags[2], 0);
    EXPECT_EQ(s->texts.GetSelectedCount(), 0);
    EXPECT_EQ(s->toolMode, ToolMode::Select);
    EXPECT_EQ(s->toolStep, Step::Idle);
}

TEST(Normalize, DropsStraightRunsAndDoubledPoints)
{
    // (points of one line on layer 1, points kept)
    const struct {
        std::vector<CPoint> points;
        std::vector<CPoint> kept;
    } cases[] = {
        {{{0, 0}, {10, 0}, {20, 0}, {30, 0}}, {{0, 0}, {10, 0}, {30, 0}}},
        {{{0, 0}, {10, 0}, {10, 0}, {10, 10}}, {{0, 0}, {10, 0}, {10, 10}}},
        {{{0, 0}, {0, 10}, {0, 20}, {5, 25}}, {{0, 0}, {0, 10}, {0, 20}, {5, 25}}},
        {{{0, 0}, {10, 10}, {20, 20}}, {{0, 0}, {10, 10}, {20, 20}}},
    };
    for (const auto& c : cases) {
        CSheet s;
        s.recordCount = 1;
        for (size_t i = 0; i < c.points.size(); ++i)
            s.Append(CETREC::Make(c.points[i].x, c.points[i].y, 1, i == 0 ? 0 : 1));
        s.Normalize(0, 0);
        std::vector<CPoint> kept;
        for (int i = 1; i < s.recordCount; ++i)
            kept.push_back({s.records[i].x, s.records[i].y});
        EXPECT_EQ(kept, c.kept);
    }
}
