// The selection criteria, "Alles selecteren", "Selectie inverteren" and
// "Einde selectie".
#include <array>
#include <cstdint>

#include "app/command_table.h"
#include "model/sheet.h"
#include "view/command_conditions.h"
#include "view/tools/select_tool.h"
#include "view/view_controller.h"

namespace {

// One command of "Selectie criteria": the criterion it stands for, and
// whether it is one of the three ways of picking elements, of which at most
// one is in force. Choosing the one in force switches it off; choosing
// another switches to it. Pictures and texts are switched on and off alone.
struct CCriterionCommand {
    int id;
    int32_t mask;
    bool picksElements;
};

constexpr int32_t kAlways = 0x1000;
constexpr int32_t kPicksElements
    = (CSheet::kSelectSegments | CSheet::kSelectFigures | CSheet::kSelectBlocks) & ~kAlways;
constexpr int32_t kAllCriteria = kPicksElements | CSheet::kSelectPictures | CSheet::kSelectTexts;

constexpr std::array<CCriterionCommand, 5> kCriterionCommands = {{
    {Cmd::SelectSegments, CSheet::kSelectSegments, true},
    {Cmd::SelectLines, CSheet::kSelectFigures, true},
    {Cmd::SelectObjects, CSheet::kSelectBlocks, true},
    {Cmd::SelectPictures, CSheet::kSelectPictures, false},
    {Cmd::SelectWindowsTexts, CSheet::kSelectTexts, false},
}};

int32_t NextCriteria(int32_t c, const CCriterionCommand& command)
{
    const int32_t m = command.mask;
    const bool on = (c & m) == m;
    if (command.picksElements)
        return on ? c & (kAllCriteria & ~kPicksElements)
                  : (c & (kAllCriteria & ~kPicksElements & ~kAlways)) | m;
    return on ? c & (kAllCriteria & ~(m & ~kAlways)) : c | m;
}

} // namespace

void CViewController::RegisterSelectCommands()
{
    for (const CCriterionCommand& command : kCriterionCommands) {
        handlers.On(
            command.id,
            [this, &command] {
                CSheet& s = Sheet();
                s.selectionCriteria = NextCriteria(s.selectionCriteria, command);
                SelectTool(ToolMode::Select);
            },
            [this, mask = command.mask] {
                const bool enabled = HasSheet();
                return CCommandState {enabled, enabled && Sheet().HasCriterion(mask)};
            });
    }

    const CCondition selecting = ::HasSheet() && InTool(ToolMode::Select);
    handlers.On(
        Cmd::SelectAll, [this] { SelectEverything(*this); },
        [this, selecting] {
            return CCommandState {selecting(doc), false};
        });
    handlers.On(
        Cmd::InvertSelection, [this] { InvertEverything(*this); },
        [this, selecting] {
            const bool enabled = selecting(doc) && Sheet().selectedCount > 0;
            return CCommandState {enabled, false};
        });
    handlers.On(
        Cmd::EndSelection, [this] { EndSelection(*this); },
        [this, selecting] {
            return CCommandState {selecting(doc), false};
        });
}
