#include "app/selection_edit.h"

#include <gtest/gtest.h>

#include "model/sheet.h"

TEST(SelectionEdit, FieldTextsGiveTheirValueOrTheMessage)
{
    // (angle, factor) -> message, angle read, percent read.
    const struct {
        const char* angle;
        const char* factor;
        const char* message;
        int degrees;
        double percent;
    } cases[] = {
        {"90", "50", "", 90, 50.0},
        {"-359", "100", "", -359, 100.0},
        {"359", "12.5", "", 359, 12.5},
        {" 45 ", "12,5", "", 45, 12.5}, // a decimal comma is a decimal mark
        {"360", "100", "Enter an integer between -359 and 359.", 0, 0},
        {"-360", "100", "Enter an integer between -359 and 359.", 0, 0},
        {"4.5", "100", "Enter an integer between -359 and 359.", 0, 0},
        {"", "100", "Enter an integer between -359 and 359.", 0, 0},
        {"99999999999", "100", "Enter an integer between -359 and 359.", 0, 0},
        {"abc", "x", "Enter an integer between -359 and 359.", 0, 0}, // the angle first
        {"0", "", "Enter a number.", 0, 0},
        {"0", "1e999", "Enter a number.", 0, 0},
        {"0", "inf", "Enter a number.", 0, 0},
        {"0", "nan", "Enter a number.", 0, 0},
        {"0", "50%", "Enter a number.", 0, 0},
        {"0", "-50", "", 0, -50.0},
    };
    for (const auto& c : cases) {
        CSelectionEditValues v;
        v.rotate = v.scale = true;
        v.angle = c.angle;
        v.factor = c.factor;
        const auto message = CheckSelectionEdit(v);
        EXPECT_EQ(std::string(message.value_or("")), c.message) << c.angle << " " << c.factor;
        const auto edit = ReadSelectionEdit(v);
        EXPECT_EQ(edit.has_value(), !message) << c.angle << " " << c.factor;
        if (edit) {
            EXPECT_EQ(edit->angle, c.degrees) << c.angle;
            EXPECT_EQ(edit->percent, c.percent) << c.factor;
        }
    }
}

TEST(SelectionEdit, ChoicesReadAsAllOrANumber)
{
    CSelectionEditValues v;
    EXPECT_FALSE(ReadSelectionEdit(v)->Any());
    v.changePen = v.changeLayer = true;
    auto e = ReadSelectionEdit(v);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->pen.value_or(std::pair {0, 0}), (std::pair {CSheet::kAll, 1}));
    EXPECT_EQ(e->layer.value_or(std::pair {0, 0}), (std::pair {CSheet::kAll, 1}));
    v.penFrom = "3";
    v.penTo = "7";
    v.layerFrom = "15";
    v.layerTo = "8";
    e = ReadSelectionEdit(v);
    EXPECT_EQ(e->pen.value_or(std::pair {0, 0}), (std::pair {3, 7}));
    EXPECT_EQ(e->layer.value_or(std::pair {0, 0}), (std::pair {15, 8}));
    v.penTo = "8";
    EXPECT_FALSE(ReadSelectionEdit(v));
    EXPECT_EQ(FromChoices(7).front(), "All");
    EXPECT_EQ(FromChoices(15).size(), 16u);
    EXPECT_EQ(ToChoices(7).front(), "1");
}

TEST(SelectionEdit, MirrorAndRotateReopenAsConfirmedTheRestAtTheirDefaults)
{
    // A new project: nothing ticked, angle 0, "All", "1" and 100, whatever
    // the project's reset values are.
    CDovereduDoc doc;
    const CSelectionEditValues fresh = OpenSelectionEdit(doc.selectionEdit);
    EXPECT_EQ(fresh, CSelectionEditValues {});
    EXPECT_EQ(fresh.angle, "0");
    EXPECT_EQ(fresh.factor, "100");

    CSelectionEditValues v;
    v.mirrorX = true;
    v.rotate = true;
    v.angle = "-45";
    v.changePen = true;
    v.penFrom = "2";
    v.penTo = "5";
    v.changeLayer = true;
    v.layerTo = "9";
    v.scale = true;
    v.factor = "50,5";
    RememberSelectionEdit(doc.selectionEdit, v);
    EXPECT_EQ(doc.selectionEdit.angle, -45);
    EXPECT_EQ(doc.selectionEdit.factor, 50.5);
    EXPECT_EQ(doc.selectionEdit.penTo, "5");
    EXPECT_EQ(doc.selectionEdit.changeLayer, 1);

    CSelectionEditValues again;
    again.mirrorX = true;
    again.rotate = true;
    again.angle = "-45";
    EXPECT_EQ(OpenSelectionEdit(doc.selectionEdit), again);

    // A new project forgets them.
    doc.ResetContents();
    EXPECT_EQ(OpenSelectionEdit(doc.selectionEdit), CSelectionEditValues {});
}
