#include "view/command_conditions.h"

#include "document/document.h"
#include "model/sheet.h"

namespace {

// The active sheet, or null without one: every condition on the sheet is
// false without a sheet.
const CSheet* ActiveSheet(const CDovereduDoc& doc)
{
    const auto i = static_cast<size_t>(doc.activeSheet);
    return i < doc.sheets.size() ? doc.sheets[i].get() : nullptr;
}

} // namespace

CCondition::CCondition(Test test)
    : test(std::move(test))
{
}

CCondition operator&&(CCondition a, CCondition b)
{
    return CCondition(
        [a = std::move(a), b = std::move(b)](const CDovereduDoc& doc) { return a(doc) && b(doc); });
}

CCondition operator||(CCondition a, CCondition b)
{
    return CCondition(
        [a = std::move(a), b = std::move(b)](const CDovereduDoc& doc) { return a(doc) || b(doc); });
}

CCondition operator!(CCondition a)
{
    return CCondition([a = std::move(a)](const CDovereduDoc& doc) { return !a(doc); });
}

CCondition HasSheet()
{
    return CCondition([](const CDovereduDoc& doc) { return doc.HasSheets(); });
}

CCondition InTool(int toolMode)
{
    return CCondition([toolMode](const CDovereduDoc& doc) {
        const CSheet* s = ActiveSheet(doc);
        return s && s->toolMode == toolMode;
    });
}

CCondition AtStep(int step)
{
    return CCondition([step](const CDovereduDoc& doc) {
        const CSheet* s = ActiveSheet(doc);
        return s && s->toolStep == step;
    });
}

CCondition HasSelection()
{
    return CCondition([](const CDovereduDoc& doc) {
        const CSheet* s = ActiveSheet(doc);
        return s
            && (s->selectedCount > 0 || s->texts.GetSelectedCount() > 0
                || s->pictures->GetSelectedCount() > 0);
    });
}

CCondition SheetIs(std::function<bool(const CSheet&)> test)
{
    return CCondition([test = std::move(test)](const CDovereduDoc& doc) {
        const CSheet* s = ActiveSheet(doc);
        return s && test(*s);
    });
}
