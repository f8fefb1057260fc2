#include "view/command_conditions.h"

#include <gtest/gtest.h>

#include "document/document.h"
#include "model/sheet.h"

TEST(CommandConditions, ReadTheActiveSheet)
{
    CDovereduDoc none;
    CDovereduDoc plain; // the select tool at rest
    plain.AddDefaultSheet();
    CDovereduDoc typing; // a text typed in the text tool, with a selected record
    typing.AddDefaultSheet();
    typing.GetActiveSheet().toolMode = ToolMode::Text;
    typing.GetActiveSheet().toolStep = Step::Typing;
    typing.GetActiveSheet().SelectRecord(1);

    // (condition, on no sheet, plain, typing)
    const struct {
        const char* name;
        CCondition condition;
        bool none, plain, typing;
    } cases[] = {
        {"HasSheet", HasSheet(), false, true, true},
        {"!HasSheet", !HasSheet(), true, false, false},
        {"InTool(Select)", InTool(ToolMode::Select), false, true, false},
        {"InTool(Text)", InTool(ToolMode::Text), false, false, true},
        {"AtStep(Idle)", AtStep(Step::Idle), false, true, false},
        {"AtStep(Typing)", AtStep(Step::Typing), false, false, true},
        {"HasSelection", HasSelection(), false, false, true},
        {"HasSheet && !AtStep(Typing)", HasSheet() && !AtStep(Step::Typing), false, true, false},
        {"AtStep(Idle) || HasSelection", AtStep(Step::Idle) || HasSelection(), false, true, true},
        {"!(InTool(Text) || InTool(Select))", !(InTool(ToolMode::Text) || InTool(ToolMode::Select)),
            true, false, false},
        {"SheetIs(zoom)", SheetIs([](const CSheet& s) { return s.zoom > 0; }), false, true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.condition(none), c.none) << c.name;
        EXPECT_EQ(c.condition(plain), c.plain) << c.name;
        EXPECT_EQ(c.condition(typing), c.typing) << c.name;
    }
}
