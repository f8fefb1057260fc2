#include "model/text.h"

#include <climits>
#include <gtest/gtest.h>

#include "model/model_defaults.h"
#include "model/platform_services.h"
#include "platform/text_metrics.h"
#include "support/bytes.h"
#include "support/recording_canvas.h"

namespace {

// Metrics with a cell exactly as high as asked and ten pixels per character;
// remembers what it was asked last.
class CFakeMetrics : public CTextMetrics {
public:
    mutable CFontDesc font;
    mutable std::string text;
    CSize TextExtent(const CFontDesc& f, std::string_view t) const override
    {
        font = f;
        text = t;
        return {static_cast<int32_t>(10 * t.size()), f.height};
    }
};

std::unique_ptr<CText> MakeText(std::string s, CRect box, int layer = 1)
{
    auto t = std::make_unique<CText>(std::move(s), box, CText::kDefaultAttributes);
    t->SetLayer(layer);
    return t;
}

std::vector<uint8_t> Store(CTextArray& texts)
{
    CArchive ar("test.ETT");
    texts.Serialize(ar);
    return ar.TakeBytes();
}

// Three texts: 0 and 1 overlap, 2 lies apart.
void FillThree(CTextArray& texts)
{
    texts.Add(MakeText("a", {0, 0, 1000, 1000}, 1));
    texts.Add(MakeText("b", {500, 500, 1500, 1500}, 2));
    texts.Add(MakeText("c", {5000, 5000, 6000, 6000}, 2));
}

} // namespace

TEST(Text, DefaultsAndPackedWord)
{
    CText t;
    EXPECT_EQ(t.attributes, 1600u);
    EXPECT_EQ(t.Height(), 200);
    EXPECT_EQ(t.box, CRect {});
    EXPECT_TRUE(t.text.empty());

    t.SetFontNumber(5);
    t.SetHeight(300);
    t.SetItalic(true);
    t.SetBold(true);
    t.SetAngle(90);
    t.SetLayer(12);
    t.SetSelected(true);
    EXPECT_EQ(
        t.attributes, 5u | 300u << 3 | 1u << 13 | 1u << 14 | 90u << 15 | 12u << 24 | 1u << 28);
    EXPECT_EQ(t.FontNumber(), 5);
    EXPECT_EQ(t.Angle(), 90);
    EXPECT_EQ(t.Layer(), 12);

    // Each setter touches only its own bits.
    t.SetFontNumber(2);
    t.SetItalic(false);
    t.SetSelected(false);
    t.SetLayer(3);
    EXPECT_EQ(t.attributes, 2u | 300u << 3 | 1u << 14 | 90u << 15 | 3u << 24);
}

TEST(Text, HeightIsClampedAndAngleNormalised)
{
    // (height asked, height kept)
    const struct {
        int in, out;
    } heights[] = {{0, 1}, {-7, 1}, {1, 1}, {1023, 1023}, {1024, 1023}, {5000, 1023}};
    for (const auto& c : heights) {
        CText t;
        t.SetHeight(c.in);
        EXPECT_EQ(t.Height(), c.out) << c.in;
        EXPECT_EQ(t.attributes & ~CText::kHeightMask, 0u) << c.in;
    }
    // (angle asked, angle kept): 360 stays apart from 0.
    const struct {
        int in, out;
    } angles[] = {
        {-90, 270},
        {0, 0},
        {360, 360},
        {450, 90},
        {-1, 359},
        {-360, 0},
        {-361, 359},
        {361, 1},
        {720, 360},
        {721, 1},
        {INT_MIN, 232},
        {INT_MAX, 127},
    };
    for (const auto& c : angles) {
        CText t;
        t.SetAngle(c.in);
        EXPECT_EQ(t.Angle(), c.out) << c.in;
        EXPECT_EQ(t.Height(), 200) << c.in;
    }
}

TEST(Text, OffsetAndMoveToKeepTheSizeAndRefuseOverflow)
{
    CText t("x", {100, 200, 600, 700}, CText::kDefaultAttributes);
    EXPECT_TRUE(t.Offset(10, -20));
    EXPECT_EQ(t.box, (CRect {110, 180, 610, 680}));
    EXPECT_TRUE(t.MoveTo(-1000, 50));
    EXPECT_EQ(t.box, (CRect {-1000, 50, -500, 550}));

    EXPECT_FALSE(t.Offset(0, INT_MAX));
    EXPECT_FALSE(t.MoveTo(0, INT_MAX - 10));
    EXPECT_EQ(t.box, (CRect {-1000, 50, -500, 550}));
}

TEST(Text, StoredFormAndRoundTrip)
{
    CTextArray texts;
    auto first = MakeText("AB", {1, 2, 3, -1}, 4);
    first->SetSelected(true);
    texts.Add(std::move(first));
    texts.Add(MakeText("", {0, 0, 0, 0}, 0));
    const auto bytes = Store(texts);

    const uint32_t word = 1600u | 4u << 24 | 1u << 28; // written with the selection mark
    // clang-format off
    const auto expected = Bytes({
        2, 0,                                              // count
        0xFF, 0xFF, 1, 0, 5, 0, 'C', 'T', 'e', 'x', 't',   // new class, schema 1
        2, 'A', 'B',
        1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF,
        int(word & 0xFF), int(word >> 8 & 0xFF), int(word >> 16 & 0xFF), int(word >> 24),
        0x01, 0x80,                                        // a new object of class 1
        0,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0x40, 0x06, 0, 0,
    });
    // clang-format on
    EXPECT_EQ(Hex(bytes, 200), Hex(expected, 200));

    CTextArray back;
    back.currentIndex = 1;
    CArchive ar(bytes, "test.ETT");
    back.Serialize(ar);
    EXPECT_EQ(ar.Remaining(), 0u);
    ASSERT_EQ(back.GetCount(), 2);
    EXPECT_EQ(back.At(0)->text, "AB");
    EXPECT_EQ(back.At(0)->box, (CRect {1, 2, 3, -1}));
    EXPECT_EQ(back.At(0)->attributes, 1600u | 4u << 24); // comes back unselected
    EXPECT_EQ(back.GetSelectedCount(), 0);
    EXPECT_EQ(back.currentIndex, 0);
    EXPECT_EQ(back.At(1)->attributes, 1600u);
}

TEST(Text, ReadsHandMadeBytes)
{
    // Font 3, height 42, bold, angle 91, layer 3, selected, and reserved bits
    // that are kept as they are; the string is Windows-1252.
    const uint32_t word = 3u | 42u << 3 | 1u << 14 | 91u << 15 | 3u << 24 | 1u << 28 | 0xE0000000u;
    ASSERT_EQ(word, 0xF32DC153u);
    const auto bytes = Bytes(
        {1, 0, 0xFF, 0xFF, 1, 0, 5, 0, 'C', 'T', 'e', 'x', 't', 3, 'c', 0xE9, '!', 0x10, 0x27, 0, 0,
            0x20, 0x4E, 0, 0, 0x30, 0x75, 0, 0, 0x40, 0x9C, 0, 0, 0x53, 0xC1, 0x2D, 0xF3});
    CTextArray texts;
    CArchive ar(bytes, "test.ETT");
    texts.Serialize(ar);
    ASSERT_EQ(texts.GetCount(), 1);
    const CText& t = *texts.At(0);
    EXPECT_EQ(t.text, "c\xE9!");
    EXPECT_EQ(t.box, (CRect {10000, 20000, 30000, 40000}));
    EXPECT_EQ(t.attributes, word & ~CText::kSelectedBit);
    EXPECT_EQ(t.FontNumber(), 3);
    EXPECT_EQ(t.Height(), 42);
    EXPECT_FALSE(t.IsItalic());
    EXPECT_TRUE(t.IsBold());
    EXPECT_EQ(t.Angle(), 91);
    EXPECT_EQ(t.Layer(), 3);
    EXPECT_FALSE(t.IsSelected());
}

TEST(Text, DamagedStreamsFailAndKeepTheArray)
{
    CTextArray source;
    source.Add(MakeText("AB", {1, 2, 3, 4}));
    const auto whole = Store(source);
    const size_t boxStart = 2 + 11 + 3;

    std::vector<std::vector<uint8_t>> damaged = {
        {whole.begin(), whole.begin() + boxStart + 10}, // box cut short
        {whole.begin(), whole.end() - 1}, // attribute word cut short
        Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}), // claims far more texts than bytes
    };
    for (const auto& bytes : damaged) {
        CTextArray texts;
        texts.Add(MakeText("kept", {0, 0, 1, 1}));
        CArchive ar(bytes, "A.ETT");
        try {
            texts.Serialize(ar);
            ADD_FAILURE() << "no failure for " << Hex(bytes);
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.failure, ArchiveFailure::EndOfFile);
            EXPECT_STREQ(e.what(), "Attempted to access A.ETT past its end.");
        }
        ASSERT_EQ(texts.GetCount(), 1);
        EXPECT_EQ(texts.At(0)->text, "kept");
    }

    // An empty slot in the list is a bad format, not a missing text.
    CTextArray texts;
    const auto nullRef = Bytes({1, 0, 0, 0});
    CArchive ar(nullRef, "A.ETT");
    EXPECT_THROW(texts.Serialize(ar), CArchiveException);
    EXPECT_EQ(texts.GetCount(), 0);
}

TEST(Text, MeasureMakesASquareOfTheCellHeight)
{
    CFakeMetrics metrics;
    // (string, box after measuring from (1000, 2000) at height 50)
    const struct {
        const char* s;
        CRect box;
        const char* measured;
    } cases[] = {
        {"ABC", {1000, 2000, 6000, 7000}, "ABC"},
        {"A", {1000, 2000, 6000, 7000}, "A"},
        {"", {1000, 2000, 1001, 7000}, " "},
    };
    for (const auto& c : cases) {
        CText t(c.s, {1000, 2000, 1001, 2001}, CText::kDefaultAttributes);
        t.SetHeight(50);
        t.Measure(&metrics);
        EXPECT_EQ(t.box, c.box) << c.s;
        EXPECT_EQ(metrics.text, c.measured);
    }

    // The font: the configured face, the height unscaled, bold, italic, angle.
    ModelDefaults().fonts[6].face = "Courier New";
    CText t("x", {0, 0, 0, 0}, CText::kDefaultAttributes);
    t.SetFontNumber(6);
    t.SetBold(true);
    t.SetItalic(true);
    t.SetAngle(45);
    t.Measure(&metrics);
    ModelDefaults().fonts[6] = CFontDesc {};
    EXPECT_EQ(metrics.font, (CFontDesc {"Courier New", 200, 700, true, 450}));
    EXPECT_EQ(t.box, (CRect {0, 0, 20000, 20000}));

    // Without metrics the box stays; the installed metrics are used otherwise.
    CText u("x", {5, 5, 6, 6}, CText::kDefaultAttributes);
    u.Measure(nullptr);
    u.Measure();
    EXPECT_EQ(u.box, (CRect {5, 5, 6, 6}));
    PlatformServices().textMetrics = &metrics;
    u.Measure();
    PlatformServices().textMetrics = nullptr;
    EXPECT_EQ(u.box, (CRect {5, 5, 20005, 20005}));
}

TEST(Text, DeviceExtentAndBox)
{
    CFakeMetrics metrics;
    CText t("AB", {-1234, 5678, 3766, 10678}, CText::kDefaultAttributes);
    t.SetHeight(50);
    EXPECT_EQ(t.GetDeviceExtent(&metrics, 10), (CRect {-123, 567, -123 + 20, 567 + 500}));
    EXPECT_EQ(t.GetDeviceBox(10), (CRect {-123, 567, 376, 1067}));

    // The extent's font is not raised to a pixel; an empty text has no width.
    t.text.clear();
    EXPECT_EQ(t.GetDeviceExtent(&metrics, 100000), (CRect {0, 0, 0, 0}));
    EXPECT_EQ(metrics.font.height, 0);
    EXPECT_EQ(metrics.text, " ");

    EXPECT_EQ(t.GetDeviceExtent(nullptr, 10), t.GetDeviceBox(10));
}

TEST(Text, DrawsAtItsPositionAndFrameRunsRound)
{
    CText t("ABC", {12345, -678, 17345, 4322}, CText::kDefaultAttributes);
    t.SetHeight(50);
    t.SetBold(true);
    t.SetAngle(90);
    // (divisor, the call): the font never drops below one pixel, and a
    // divisor of 0 acts as 1.
    const struct {
        int divisor;
        const char* call;
    } cases[] = {
        {100, "text 123 -6 Arial/50/700/0/900 ABC"},
        {7, "text 1763 -96 Arial/714/700/0/900 ABC"},
        {1000000, "text 0 0 Arial/1/700/0/900 ABC"},
        {0, "text 12345 -678 Arial/5000/700/0/900 ABC"},
    };
    for (const auto& c : cases) {
        CRecordingCanvas canvas;
        t.Draw(canvas, c.divisor);
        EXPECT_EQ(canvas.calls, std::vector<std::string> {c.call}) << c.divisor;
    }

    CRecordingCanvas canvas;
    t.DrawFrame(canvas, 100);
    EXPECT_EQ(canvas.calls,
        (std::vector<std::string> {
            "move 123 -6", "line 173 -6", "line 173 43", "line 123 43", "line 123 -6"}));
}

TEST(TextArray, SelectionBookkeeping)
{
    CTextArray texts;
    FillThree(texts);
    texts.SetSelected(1, true);
    texts.SetSelected(1, true);
    texts.SetSelected(0, false);
    EXPECT_EQ(texts.GetSelectedCount(), 1);

    texts.InvertSelection();
    EXPECT_EQ(texts.GetSelectedCount(), 2);
    EXPECT_TRUE(texts.IsSelected(0));
    EXPECT_FALSE(texts.IsSelected(1));
    texts.SelectAll();
    EXPECT_EQ(texts.GetSelectedCount(), 3);
    EXPECT_TRUE(texts.DeselectAll());
    EXPECT_FALSE(texts.DeselectAll());
    EXPECT_EQ(texts.GetSelectedCount(), 0);
    EXPECT_FALSE(texts.IsSelected(2));

    // Removing a selected text lowers the count; the gap closes.
    texts.SetSelected(0, true);
    texts.SetSelected(2, true);
    texts.RemoveAt(0);
    EXPECT_EQ(texts.GetSelectedCount(), 1);
    EXPECT_EQ(texts.At(0)->text, "b");
    texts.currentIndex = 1;
    texts.RemoveCurrent();
    EXPECT_EQ(texts.GetSelectedCount(), 0);
    EXPECT_EQ(texts.GetCount(), 1);
    EXPECT_EQ(texts.GetCurrentText(), nullptr); // the current index now lies past the end

    // Indices outside the list change nothing.
    for (int bad : {-1, 1, 99}) {
        texts.SetSelected(bad, true);
        texts.MoveText(bad, 1, 1);
        texts.RemoveAt(bad);
        EXPECT_FALSE(texts.IsSelected(bad));
        EXPECT_EQ(texts.GetLayer(bad), 0);
        EXPECT_EQ(texts.GetPosition(bad), CPoint {});
        EXPECT_EQ(texts.At(bad), nullptr);
    }
    EXPECT_EQ(texts.GetCount(), 1);
    EXPECT_EQ(texts.GetSelectedCount(), 0);

    texts.SetSelected(0, true);
    EXPECT_EQ(texts.RemoveSelected(), 1);
    EXPECT_EQ(texts.GetSelectedCount(), 0);
    EXPECT_EQ(texts.GetCurrentText(), nullptr);
}

TEST(TextArray, HitTestPrefersTheLaterText)
{
    CTextArray texts;
    FillThree(texts);
    // (point, index found): right and bottom edges lie outside.
    const struct {
        int x, y, index;
    } cases[] = {
        {700, 700, 1},
        {100, 100, 0},
        {0, 0, 0},
        {1499, 1499, 1},
        {1500, 1500, -1},
        {5999, 6000, -1},
    };
    for (const auto& c : cases) {
        texts.currentIndex = 2;
        EXPECT_EQ(texts.HitTest(c.x, c.y), c.index) << c.x << "," << c.y;
        EXPECT_EQ(texts.currentIndex, std::max(c.index, 0)) << c.x << "," << c.y;
    }
    texts.HitTest(5500, 5500);
    EXPECT_EQ(texts.GetCurrentText()->text, "c");

    CTextArray none;
    EXPECT_EQ(none.GetCurrentText(), nullptr);
    EXPECT_EQ(none.HitTest(0, 0), -1);
}

TEST(TextArray, WindowTogglesOverlappingTexts)
{
    CTextArray texts;
    FillThree(texts);
    texts.SetSelected(0, true);
    // A window drawn backwards from (5000, 5000) to (1000, 1000): it touches
    // texts 0 and 2 at a corner and overlaps text 1.
    EXPECT_EQ(texts.ToggleInWindow({5000, 5000, 1000, 1000}), 3);
    EXPECT_FALSE(texts.IsSelected(0));
    EXPECT_TRUE(texts.IsSelected(1));
    EXPECT_TRUE(texts.IsSelected(2));
    EXPECT_EQ(texts.GetSelectedCount(), 2);

    // One unit away from every box: nothing.
    EXPECT_EQ(texts.ToggleInWindow({1501, 1501, 4999, 4999}), 0);
    EXPECT_EQ(texts.ToggleInWindow({6001, 0, 9000, 9000}), 0);
    EXPECT_EQ(texts.GetSelectedCount(), 2);
}

TEST(TextArray, CopyIsDeepAndBulkEditsApplyToAll)
{
    CTextArray texts;
    FillThree(texts);
    texts.SetSelected(2, true);
    texts.currentIndex = 1;

    CTextArray copy;
    copy.Add(MakeText("old", {}));
    copy.CopyFrom(texts);
    ASSERT_EQ(copy.GetCount(), 3);
    EXPECT_EQ(copy.currentIndex, 1);
    EXPECT_EQ(copy.GetSelectedCount(), 1);
    texts.At(0)->text = "changed";
    texts.RemoveAt(2);
    EXPECT_EQ(copy.At(0)->text, "a");
    EXPECT_TRUE(copy.IsSelected(2));

    EXPECT_EQ(copy.CountOnLayer(2), 2);
    EXPECT_EQ(copy.CountOnLayer(1), 1);

    // Old files store angles clockwise.
    copy.At(0)->SetAngle(90);
    copy.At(1)->SetAngle(360);
    copy.NegateAngles();
    EXPECT_EQ(copy.At(0)->Angle(), 270);
    EXPECT_EQ(copy.At(1)->Angle(), 0);
    EXPECT_EQ(copy.At(2)->Angle(), 0);

    EXPECT_TRUE(copy.OffsetSelected(10, 20));
    EXPECT_EQ(copy.GetPosition(2), (CPoint {5010, 5020}));
    EXPECT_EQ(copy.GetPosition(1), (CPoint {500, 500}));
    EXPECT_TRUE(copy.Offset(-10, -20));
    EXPECT_EQ(copy.GetPosition(2), (CPoint {5000, 5000}));
    EXPECT_EQ(copy.GetPosition(0), (CPoint {-10, -20}));
    copy.MoveText(1, 0, 0);
    EXPECT_EQ(copy.At(1)->box, (CRect {0, 0, 1000, 1000}));

    // A move that would overflow one text moves none.
    EXPECT_FALSE(copy.Offset(INT_MAX - 2000, 0));
    EXPECT_EQ(copy.GetPosition(0), (CPoint {-10, -20}));
    EXPECT_EQ(copy.GetPosition(2), (CPoint {5000, 5000}));
}
