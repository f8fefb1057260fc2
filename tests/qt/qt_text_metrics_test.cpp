#include "qt/qt_text_metrics.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <gtest/gtest.h>

#include "model/platform_services.h"
#include "model/text.h"

namespace {

// Installs the Qt metrics for one test.
class QtTextMetrics : public ::testing::Test {
protected:
    void SetUp() override { PlatformServices().textMetrics = &metrics; }
    void TearDown() override { PlatformServices().textMetrics = nullptr; }
    CQtTextMetrics metrics;
};

} // namespace

TEST_F(QtTextMetrics, TextBoxIsASquareOfTheCellWhateverTheLength)
{
    // (string, bold, box measured from (1000, 2000) at height 50)
    const struct {
        const char* s;
        bool bold;
        CRect box;
    } cases[] = {
        {"ABC", false, {1000, 2000, 6000, 7000}},
        {"A", false, {1000, 2000, 6000, 7000}},
        {"A much longer line of text", true, {1000, 2000, 6000, 7000}},
        {"", false, {1000, 2000, 1001, 7000}},
    };
    for (const auto& c : cases) {
        CText t(c.s, {1000, 2000, 1001, 2001}, CText::kDefaultAttributes);
        t.SetHeight(50);
        t.SetBold(c.bold);
        t.Measure();
        EXPECT_EQ(t.box, c.box) << c.s;
    }
}

TEST_F(QtTextMetrics, ArialIsLiberationSansSizedByItsCell)
{
    const QFont font = MakeQFont(CFontDesc {"Arial", 50, 700, true, 900});
    EXPECT_EQ(QFontInfo(font).family(), "Liberation Sans");
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
    EXPECT_FALSE(font.kerning());

    // The largest pixel size whose cell fits the height asked for.
    for (int h : {1, 7, 13, 50, 51, 200, 1000}) {
        QFont f = MakeQFont(CFontDesc {"ARIAL", h, 400, false, 0});
        EXPECT_LE(QFontMetrics(f).ascent() + QFontMetrics(f).descent(), h) << h;
        if (f.pixelSize() > 1) {
            f.setPixelSize(f.pixelSize() + 1);
            EXPECT_GT(QFontMetrics(f).ascent() + QFontMetrics(f).descent(), h) << h;
        }
    }

    // Face names are Windows-1252.
    EXPECT_EQ(
        MakeQFont(CFontDesc {"Caf\xE9", 20, 400, false, 0}).family(), QString::fromUtf8("Café"));
}

TEST_F(QtTextMetrics, ExtentsFollowTheString)
{
    const CFontDesc font {"Arial", 50, 400, false, 0};
    const CSize a = metrics.TextExtent(font, "A");
    const CSize abc = metrics.TextExtent(font, "ABC");
    EXPECT_EQ(a.cy, 50);
    EXPECT_EQ(abc.cy, 50);
    EXPECT_GT(a.cx, 0);
    EXPECT_GT(abc.cx, 2 * a.cx);
    EXPECT_EQ(metrics.TextExtent(font, "").cx, 0);
    // An 8-bit character measures as the character it stands for, not as
    // broken UTF-8.
    EXPECT_EQ(metrics.TextExtent(font, "\xE9").cx, metrics.TextExtent(font, "e").cx);

    // A height of 0 or below still measures a real cell; nothing breaks at
    // extreme heights.
    for (int h : {0, -20, INT_MIN}) {
        const CSize s = metrics.TextExtent(CFontDesc {"Arial", h, 400, false, 0}, "A");
        EXPECT_GT(s.cy, 0) << h;
    }
    EXPECT_EQ(metrics.TextExtent(CFontDesc {"Arial", 100000, 400, false, 0}, "A").cy, 100000);
}
