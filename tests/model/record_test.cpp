#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <random>
#include <span>

#include "model/etrec.h"
#include "model/figures.h"
#include "model/record_list.h"
#include "support/bytes.h"

TEST(Records, StoredLayouts)
{
    CETREC r = CETREC::Make(-1, 300000, 15, 7, 32767, true);
    r.SetJunction(true);
    uint8_t b[12];
    EncodeRecord(r, b);
    EXPECT_EQ(Hex({b, b + 12}),
        Hex(Bytes({0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xE0, 0x93, 0x04, 0x00})));
    EXPECT_EQ(DecodeETREC(b), r);
    EXPECT_EQ(r.Pen(), 7);
    EXPECT_EQ(r.Layer(), 15);
    EXPECT_EQ(r.Block(), 32767);
    EXPECT_TRUE(r.IsFilled());

    const CSym s {0x8003, 0x000A, -1, 300};
    uint8_t sb[8];
    EncodeRecord(s, sb);
    EXPECT_EQ(Hex({sb, sb + 8}), Hex(Bytes({0x03, 0x80, 0x0A, 0x00, 0xFF, 0xFF, 0x2C, 0x01})));
    EXPECT_EQ(DecodeSym(sb), s);

    const CLay l {0x81, 0x0B, -2, 1280};
    uint8_t lb[6];
    EncodeRecord(l, lb);
    EXPECT_EQ(Hex({lb, lb + 6}), Hex(Bytes({0x81, 0x0B, 0xFE, 0xFF, 0x00, 0x05})));
    EXPECT_EQ(DecodeLay(lb), l);
}

TEST(Records, SettersKeepTheOtherBits)
{
    CETREC r = CETREC::Make(0, 0, 9, 5, 100, true);
    r.SetJunction(true);
    r.SetLayer(3);
    EXPECT_EQ(r.Pen(), 5);
    EXPECT_TRUE(r.IsJunction());
    r.SetPen(2);
    EXPECT_EQ(r.Layer(), 3);
    r.SetBlock(0x7FFF + 5); // cannot spill into the filled flag
    EXPECT_TRUE(r.IsFilled());
    r.SetFilled(false);
    EXPECT_EQ(r.Block(), 4);
}

TEST(Records, SymbolCoordinates)
{
    const CSym s {0x8005, 0x0009, -1, 2};
    const CETREC r = SymbolToRecord(s, 1000, 2000, 12);
    EXPECT_EQ(r.x, 900);
    EXPECT_EQ(r.y, 2200);
    EXPECT_EQ(r.blockWord, 0x8000 | 12); // only the filled flag is kept
    EXPECT_EQ(r.styleWord, 0x0009);

    CETREC back = CETREC::Make(1000 - 150, 2000 + 199, 1, 1);
    const CSym saved = RecordToSymbol(back, 1000, 2000);
    EXPECT_EQ(saved.x, -1); // truncates toward zero
    EXPECT_EQ(saved.y, 1);
    EXPECT_TRUE(FitsSymbol(CETREC::Make(3276700, 0, 1, 1), 0, 0));
    EXPECT_FALSE(FitsSymbol(CETREC::Make(3276800, 0, 1, 1), 0, 0));
}

namespace {

CRecordList ListOf(std::initializer_list<CETREC> records)
{
    CRecordList list;
    list.recordCount = 1;
    for (const CETREC& r : records)
        list.Append(r);
    return list;
}

} // namespace

TEST(RecordList, FiguresAreRunsFromAMoveOrAJunction)
{
    // 1-3 a polyline, 4 a junction, 5-6 a line, 7 a junction at the end.
    const CRecordList list = ListOf({CETREC::Make(0, 0, 1, 0), CETREC::Make(1, 0, 1, 1),
        CETREC::Make(2, 0, 1, 1), CETREC::Junction(5, 5, 1), CETREC::Make(0, 9, 1, 0),
        CETREC::Make(9, 9, 1, 2), CETREC::Junction(7, 7, 1)});
    // (record, start, end)
    const struct {
        int i, start, end;
    } cases[] = {
        {1, 1, 3},
        {2, 1, 3},
        {3, 1, 3},
        {4, 4, 4},
        {5, 5, 6},
        {6, 5, 6},
        {7, 7, 7},
        {8, 8, 8},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(list.FigureStart(c.i), c.start) << c.i;
        EXPECT_EQ(list.FigureEnd(c.i), c.end) << c.i;
    }
}

TEST(RecordList, GrowsByAThousandWhenFewerThanTenSpare)
{
    CRecordList list;
    EXPECT_EQ(list.Length(), 2000);
    list.recordCount = 1990;
    list.EnsureSpare();
    EXPECT_EQ(list.Length(), 2000);
    list.recordCount = 1991;
    list.records[5] = CETREC::Make(1, 2, 3, 4);
    list.EnsureSpare();
    EXPECT_EQ(list.Length(), 3000);
    EXPECT_TRUE(list.placement.empty()); // nothing was placed yet
    EXPECT_EQ(list.selectionFlags.size(), 3000u);
    EXPECT_EQ(list.records[5], CETREC::Make(1, 2, 3, 4));
    EXPECT_EQ(list.records[2999], CETREC {});
}

TEST(RecordList, DebugStatusLine)
{
    const CRecordList list = ListOf(
        {CETREC::Make(0, 0, 4, 0, 3), CETREC::Make(1, 0, 4, 6, 3), CETREC::Junction(2, 2, 9)});
    EXPECT_EQ(list.DebugStatus(2), "Record:2/3 Layer:4 Pen:6 Blok:3");
    EXPECT_EQ(list.DebugStatus(3), "Record:3/3 Layer:9 Pen:-1 Blok:0");
}

TEST(Ellipse, AngleStepFollowsTheRadius)
{
    // (larger semi-axis in micrometres, step in degrees)
    const struct {
        int r, step;
    } cases[] = {
        {16, 90},
        {500, 90},
        {501, 90},
        {1000, 45},
        {2000, 24},
        {4500, 10},
        {5000, 9},
        {6000, 8},
        {7000, 6},
        {10000, 4},
        {15000, 3},
        {22500, 2},
        {22501, 2},
        {100000, 2},
        {600, 90},
        {700, 72},
        {800, 60},
        {3000, 15},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EllipseAngleStep(c.r), c.step) << c.r;
}

TEST(Ellipse, BuiltFromTheBoundingBox)
{
    std::vector<CETREC> out;
    EXPECT_FALSE(BuildEllipseRecords(0, 0, 31, 100, 1, 1, false, out));
    EXPECT_TRUE(out.empty());

    ASSERT_TRUE(BuildEllipseRecords(0, 0, 32, 32, 2, 3, false, out));
    const std::vector<CETREC> expected = {
        CETREC::Make(16, 32, 2, 0),
        CETREC::Make(16, 32, 2, 3),
        CETREC::Make(32, 16, 2, 3),
        CETREC::Make(16, 0, 2, 3),
        CETREC::Make(0, 16, 2, 3),
        CETREC::Make(16, 32, 2, 3),
    };
    EXPECT_EQ(out, expected);

    out.clear();
    ASSERT_TRUE(BuildEllipseRecords(-10000, -5000, 10000, 5000, 9, 1, true, out));
    EXPECT_EQ(out.size(), 1u + 360 / 4 + 1);
    EXPECT_EQ(out.front(), CETREC::Make(0, 5000, 9, 0, 0, true));
    EXPECT_EQ(out[3], CETREC::Make(1391, 4951, 9, 1, 0, true)); // 8 degrees, truncated
    EXPECT_EQ(out.back(), CETREC::Make(0, 5000, 9, 1, 0, true));
    for (const CETREC& r : out)
        EXPECT_TRUE(r.IsFilled());
}

TEST(RecordList, TallyAgreesWithLookingAtEveryRecord)
{
    // Lists of every length round the groups of four and sixteen, and long
    // ones past the points where the counters are emptied (240 and 4,080
    // records), with the extremes in every position and layers that change
    // at every record or not at all. A streamed copy tallies the same (or
    // finds the same highest block) and copies exactly, into a target at every offset a record
    // array can have.
    std::mt19937 random(99);
    std::vector<size_t> lengths;
    for (size_t n = 0; n < 40; ++n)
        lengths.push_back(n);
    for (size_t n : {239, 240, 241, 4079, 4080, 4081, 9000})
        lengths.push_back(n);
    for (int round = 0; round < 600; ++round) {
        const size_t n = lengths[size_t(round) % lengths.size()];
        std::vector<CETREC> records;
        for (size_t i = 0; i < n; ++i) {
            const auto coordinate = [&] {
                const int kind = static_cast<int>(random() % 8);
                return kind == 0 ? INT32_MIN
                    : kind == 1  ? INT32_MAX
                                 : static_cast<int32_t>(random()) / 7;
            };
            const int layer = round % 3 == 0 ? 5 : static_cast<int>(random() % 16);
            records.push_back(
                CETREC::Make(coordinate(), coordinate(), layer, static_cast<int>(random() % 8),
                    static_cast<int>(random() % 0x7FFF), random() % 2 == 0));
        }
        CRecordTally expected;
        for (const CETREC& r : records) {
            expected.lowX = std::min(expected.lowX, r.x);
            expected.lowY = std::min(expected.lowY, r.y);
            expected.highX = std::max(expected.highX, r.x);
            expected.highY = std::max(expected.highY, r.y);
            expected.highestBlock = std::max(expected.highestBlock, r.Block());
            ++expected.layerUses[r.Layer()];
        }
        const size_t offset = size_t(round) % 4;
        std::vector<CETREC> copy(n + 4);
        CRecordTally streamed;
        StreamRecordsTallied(copy.data() + offset, records.data(), n, streamed);
        CRecordTally tally;
        tally.Take(records);
        for (const CRecordTally* t : {&tally, &streamed}) {
            ASSERT_EQ(t->lowX, expected.lowX) << round;
            ASSERT_EQ(t->lowY, expected.lowY) << round;
            ASSERT_EQ(t->highX, expected.highX) << round;
            ASSERT_EQ(t->highY, expected.highY) << round;
            ASSERT_EQ(t->highestBlock, expected.highestBlock) << round;
            ASSERT_EQ(t->layerUses, expected.layerUses) << round;
            EXPECT_EQ(t->Empty(), n == 0);
        }
        ASSERT_TRUE(std::equal(records.begin(), records.end(), copy.begin() + long(offset)))
            << round;
        std::vector<CETREC> numbered(n + 4);
        ASSERT_EQ(StreamRecordsHighestBlock(numbered.data() + offset, records.data(), n),
            expected.highestBlock)
            << round;
        ASSERT_TRUE(std::equal(records.begin(), records.end(), numbered.begin() + long(offset)))
            << round;
    }
}

TEST(RecordList, TallyOfTheRecordsInUse)
{
    // Record 0 and the records from recordCount on are not counted, also
    // when they arrive in pieces.
    CRecordList list;
    list.records[0] = CETREC::Make(-99, -99, 7, 0);
    list.recordCount = 1;
    list.Append(CETREC::Make(10, 20, 2, 0));
    list.Append(CETREC::Make(30, -5, 2, 1));
    list.records[3] = CETREC::Make(1000, 1000, 9, 1); // past the list
    const CRecordTally whole = list.Tally();
    EXPECT_EQ((std::array {whole.lowX, whole.lowY, whole.highX, whole.highY}),
        (std::array {10, -5, 30, 20}));
    EXPECT_EQ(whole.layerUses[2], 2);
    EXPECT_EQ(whole.layerUses[7] + whole.layerUses[9], 0);

    CRecordTally pieces;
    pieces.TakeInUse(0, std::span(list.records).subspan(0, 2), list.recordCount);
    pieces.TakeInUse(2, std::span(list.records).subspan(2, 2), list.recordCount);
    pieces.TakeInUse(4, std::span(list.records).subspan(4, 2), list.recordCount);
    EXPECT_EQ(pieces.layerUses, whole.layerUses);
    EXPECT_EQ(pieces.lowY, -5);
}

TEST(RecordList, StreamedCopiesAreExact)
{
    // Every count round the 64-byte steps, into targets at every offset
    // from a 16-byte boundary that a record array can have.
    std::vector<CETREC> from(45);
    for (int i = 0; i < 45; ++i)
        from[i] = CETREC::Make(i * 1001, -i, i % 16, i % 8, i, i % 2 == 0);
    for (size_t offset = 0; offset < 4; ++offset) {
        for (size_t count = 0; count + offset <= 40; ++count) {
            std::vector<CETREC> to(45, CETREC::Make(7, 7, 7, 7));
            StreamRecords(to.data() + offset, from.data() + 1, count);
            for (size_t i = 0; i < to.size(); ++i) {
                const bool copied = i >= offset && i < offset + count;
                ASSERT_EQ(to[i], copied ? from[i - offset + 1] : CETREC::Make(7, 7, 7, 7))
                    << offset << " " << count << " " << i;
            }
        }
    }
    StreamRecords(nullptr, nullptr, 0); // an empty array may have no memory
}
