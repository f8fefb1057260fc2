#include "app/place_text.h"

#include <climits>
#include <utility>

#include <gtest/gtest.h>

#include "app/settings.h"
#include "model/model_defaults.h"
#include "model/stroke_font.h"

TEST(PlaceText, EveryIntegerFieldIsReadOnceAndHeldWithinWhatARecordCarries)
{
    // (typed in every integer field) -> layer, pen, size, angle
    const struct {
        const char* typed;
        int layer;
        int pen;
        int size;
        int32_t angle;
    } cases[] = {
        {"", 0, 0, 1, 0},
        {"abc", 0, 0, 1, 0},
        {"12abc", 12, 7, 12, 12},
        {" -3", 0, 0, 1, -3},
        {"+7", 7, 7, 7, 7},
        {"99999999999", 15, 7, 10001, INT32_MAX},
        {"-99999999999", 0, 0, 1, INT32_MIN},
        {"16", 15, 7, 16, 16}, // the junction bit stays clear
        {"-1", 0, 0, 1, -1},
        {"8", 8, 7, 8, 8}, // the pen never spills into the layer
        {"0", 0, 0, 1, 0},
        {"20000", 15, 7, 10001, 20000},
    };
    for (const auto& c : cases) {
        CPlaceTextValues fields;
        fields.text = "Kast 1";
        fields.layer = fields.pen = fields.size = fields.angle = c.typed;
        fields.mirrored = true;
        const CStrokeTextSettings s = CStrokeTextSettings::From(fields);
        EXPECT_EQ(s.text, "Kast 1");
        EXPECT_EQ(s.layer, c.layer) << '"' << c.typed << '"';
        EXPECT_EQ(s.pen, c.pen) << '"' << c.typed << '"';
        EXPECT_EQ(s.size, c.size) << '"' << c.typed << '"';
        EXPECT_EQ(s.angle, c.angle) << '"' << c.typed << '"';
        EXPECT_TRUE(s.mirrored);
    }
}

TEST(PlaceText, TheFieldsShowTheFontAndTheSizeInForce)
{
    CDovereduFont font;
    font.SetText("L1");
    font.SetLayer(3);
    font.SetPen(0);
    font.SetAngle(-450);
    font.SetMirrored(true);
    const CPlaceTextValues v = CPlaceTextValues::Of(font, 75);
    EXPECT_EQ(v.text, "L1");
    EXPECT_EQ(v.layer, "3");
    EXPECT_EQ(v.pen, "0");
    EXPECT_EQ(v.size, "75");
    EXPECT_EQ(v.angle, "-450");
    EXPECT_TRUE(v.mirrored);
    // Read back, nothing changes: a pen of 0 stays.
    const CStrokeTextSettings s = CStrokeTextSettings::From(v);
    EXPECT_EQ(s.pen, 0);
    EXPECT_EQ(s.angle, -450);
}

TEST(PlaceText, TheSizeInForceIsSetInAllThreePlacesTogether)
{
    const CModelDefaults saved = ModelDefaults();
    CSettings settings {CDefaultPaths {}};
    CDovereduFont font;
    for (const auto& [asked, held] : {std::pair {51, 51}, {0, 1}, {20000, 10001}}) {
        SetStrokeFontSize(settings, font, asked);
        EXPECT_EQ(settings.strokeFontSize, held);
        EXPECT_EQ(ModelDefaults().strokeFontSize, held);
        EXPECT_EQ(font.Size(), held);
    }
    ModelDefaults() = saved;
}

TEST(PlaceText, ATurnAddsAQuarterAndStaysWithin32Bits)
{
    EXPECT_EQ(TurnedAngle(0), 90);
    EXPECT_EQ(TurnedAngle(270), 360); // not reduced: four turns show 360
    EXPECT_EQ(TurnedAngle(-90), 0);
    EXPECT_EQ(TurnedAngle(INT32_MIN), INT32_MIN + 90);
    // Past the limit the sum is taken modulo 360, which turns the same way.
    const int32_t turned = TurnedAngle(INT32_MAX);
    EXPECT_GE(turned, 0);
    EXPECT_LT(turned, 360);
    EXPECT_EQ(turned, (int64_t {INT32_MAX} + 90) % 360);
}
