#pragma once

#include <functional>

class CDovereduDoc;
class CSheet;

// When a command of the view is enabled, said with named conditions on the
// project and its active sheet, combined with &&, || and !:
//     HasSheet() && !AtStep(Step::Typing)
class CCondition {
public:
    using Test = std::function<bool(const CDovereduDoc&)>;

    explicit CCondition(Test test);
    bool operator()(const CDovereduDoc& doc) const { return test(doc); }

    friend CCondition operator&&(CCondition a, CCondition b);
    friend CCondition operator||(CCondition a, CCondition b);
    friend CCondition operator!(CCondition a);

private:
    Test test;
};

// The project has a sheet.
CCondition HasSheet();
// The active sheet's tool is `toolMode`.
CCondition InTool(int toolMode);
// The active sheet's tool is at `step`.
CCondition AtStep(int step);
// Something of the active sheet is selected: records, texts or pictures.
CCondition HasSelection();
// A test of the active sheet's own state.
CCondition SheetIs(std::function<bool(const CSheet&)> test);
