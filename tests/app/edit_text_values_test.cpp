#include "app/edit_text_values.h"

#include <gtest/gtest.h>

#include "model/text.h"

TEST(EditTextValues, ShowTheTextOrTheMarkForSeveral)
{
    CText t("Kabel", {0, 0, 10, 10}, CText::kDefaultAttributes);
    t.SetHeight(35);
    t.SetLayer(4);
    t.SetAngle(270);
    t.SetFontNumber(6);
    t.SetBold(true);
    const CEditTextValues one = EditTextValuesOf(t, false);
    EXPECT_EQ(one.text, "Kabel");
    EXPECT_EQ(one.height, "35");
    EXPECT_EQ(one.layer, "4");
    EXPECT_EQ(one.angle, "270");
    EXPECT_EQ(one.fontNumber, 6);
    EXPECT_TRUE(one.bold);
    EXPECT_FALSE(one.italic);
    EXPECT_EQ(EditTextValuesOf(t, true).text, "MEERDERE TEKSTEN GESELECTEERD!");
}

TEST(EditTextValues, NumbersAreLeadingDigitsHeldInRange)
{
    // (height, layer, angle typed) -> (height, layer, angle of the text)
    const struct {
        const char* height;
        const char* layer;
        const char* angle;
        int h, l, a;
    } cases[] = {
        {"20", "3", "45", 20, 3, 45},
        {"", "", "", 1, 1, 0}, // nothing is 0, held at the least
        {"12mm", "7x", "90 graden", 12, 7, 90},
        {"5000", "16", "-90", 1023, 15, 270},
        // held at 2147483647 first, then brought into 0 ... 360
        {"99999999999", "-3", "99999999999", 1023, 1, 127},
        {"-5", "0", "450", 1, 1, 90},
    };
    for (const auto& c : cases) {
        CText t;
        CEditTextValues v = EditTextValuesOf(t, false);
        v.text = "x";
        v.height = c.height;
        v.layer = c.layer;
        v.angle = c.angle;
        ApplyEditText(v, t, true);
        EXPECT_EQ(t.Height(), c.h) << c.height;
        EXPECT_EQ(t.Layer(), c.l) << c.layer;
        EXPECT_EQ(t.Angle(), c.a) << c.angle;
    }
}

TEST(EditTextValues, AnEmptyTextChangesNothingAndSeveralKeepTheirStrings)
{
    CEditTextValues v;
    EXPECT_FALSE(EditTextApplies(v));
    v.text = "nieuw";
    v.height = "30";
    v.layer = "2";
    EXPECT_TRUE(EditTextApplies(v));
    CText t("oud", {}, CText::kDefaultAttributes);
    ApplyEditText(v, t, false);
    EXPECT_EQ(t.text, "oud");
    EXPECT_EQ(t.Height(), 30);
    ApplyEditText(v, t, true);
    EXPECT_EQ(t.text, "nieuw");
}
