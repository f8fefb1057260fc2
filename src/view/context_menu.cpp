#include "view/context_menu.h"

#include <array>
#include <initializer_list>
#include <utility>

#include "app/command_table.h"
#include "model/picture.h"
#include "model/sheet.h"
#include "model/tool_mode.h"

namespace {

// The tools the menu offers, by their commands.
constexpr std::array<std::pair<int, int>, 7> kMenuTools = {{
    {Cmd::ToolLines, ToolMode::Lines},
    {Cmd::ToolLines90, ToolMode::Lines90},
    {Cmd::ToolSymbols, ToolMode::Symbols},
    {Cmd::ToolText, ToolMode::Text},
    {Cmd::ToolWindowsText, ToolMode::WindowsText},
    {Cmd::ToolRectangles, ToolMode::Rectangles},
    {Cmd::ToolEllipses, ToolMode::Ellipses},
}};

constexpr std::initializer_list<int> kCriteria
    = {Cmd::SelectSegments, Cmd::SelectLines, Cmd::SelectObjects, Cmd::SelectPictures};

class CMenuBuilder {
public:
    void Add(std::initializer_list<int> ids) { items.insert(items.end(), ids); }
    void Add(int id) { items.push_back(id); }
    void Separator()
    {
        if (!items.empty() && items.back() != kMenuSeparator)
            items.push_back(kMenuSeparator);
    }
    std::vector<int> items;
};

// The Select tool's entries by what is selected; with nothing selected the
// criteria come first. Pictures choose the entries only when nothing else is
// selected.
void AddSelectEntries(CMenuBuilder& menu, const CSheet& s)
{
    const bool records = s.selectedCount > 0;
    const bool texts = s.texts.GetSelectedCount() > 0;
    const int pictures = s.pictures ? s.pictures->GetSelectedCount() : 0;
    if (records && !texts) {
        menu.Add({Cmd::EndSelection, Cmd::CopySelection, Cmd::RotateSelection, Cmd::MirrorX,
            Cmd::MirrorY, Cmd::EditSelection, Cmd::SaveAsSymbol, Cmd::DeleteSelection});
    } else if (records) {
        menu.Add(
            {Cmd::EndSelection, Cmd::RotateSelection, Cmd::SelectionLayer, Cmd::DeleteSelection});
    } else if (texts) {
        menu.Add({Cmd::EndSelection, Cmd::RotateSelection, Cmd::SelectionLayer, Cmd::Bold,
            Cmd::Italic, Cmd::EditText, Cmd::DeleteSelection});
    } else if (pictures > 0) {
        menu.Add(Cmd::EndSelection);
        if (pictures == 1)
            menu.Add(Cmd::PictureProperties);
        menu.Add({Cmd::EditSelection, Cmd::DeleteSelection});
    } else {
        menu.Add(kCriteria);
    }
}

void AddToolEntries(CMenuBuilder& menu, const CSheet& s)
{
    if (IsLineTool(s.toolMode)) {
        menu.Add(
            {s.toolStep != Step::Idle ? Cmd::EndLine : Cmd::End, Cmd::ChoosePen, Cmd::ChooseLayer});
    } else if (s.toolMode == ToolMode::Text && s.toolStep == Step::Placing) {
        // "Einde" ends a placement by mouse too.
        menu.Add({Cmd::TextAdjust, Cmd::TextMirror, Cmd::TextRotate, Cmd::TextSmaller,
            Cmd::TextBigger, Cmd::CentreOnCursor, Cmd::End, Cmd::TextPen, Cmd::TextLayer});
    } else if (s.toolStep == Step::Typing) {
        menu.Add({Cmd::EditText, Cmd::TypedTextLayer, Cmd::Bold, Cmd::Italic});
    } else if (s.toolStep == Step::Placing) {
        menu.Add({Cmd::CentreOnCursor, Cmd::End});
    }
    menu.Separator();
    menu.Add(kCriteria);
}

} // namespace

std::vector<int> ContextMenuItems(const CSheet& s)
{
    CMenuBuilder menu;
    if (s.toolMode == ToolMode::Select)
        AddSelectEntries(menu, s);
    else
        AddToolEntries(menu, s);
    menu.Separator();
    for (const auto& [id, tool] : kMenuTools) {
        if (tool != s.toolMode)
            menu.Add(id);
    }
    menu.Separator();
    menu.Add({Cmd::ZoomIn, Cmd::ZoomOut, Cmd::ZoomWindow, Cmd::ZoomAll});
    menu.Separator();
    menu.Add({Cmd::LayerTable, Cmd::RelativePoint});
    return menu.items;
}
