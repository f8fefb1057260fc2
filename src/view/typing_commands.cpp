// The commands of texts in the system fonts: "Vet", "Schuin", "Bewerk de
// geselecteerde tekst", the layer of the line being typed, and the picks of
// the text tool bar's lists.
#include "app/command_table.h"
#include "model/sheet.h"
#include "view/command_conditions.h"
#include "view/tools/typing_tool.h"
#include "view/view_controller.h"

void CViewController::RegisterTypingCommands()
{
    const CCondition changing = ::HasSheet() && SheetIs(HasTextsToChange);
    for (const auto& [id, style] :
        {std::pair {Cmd::Bold, TextStyle::Bold}, std::pair {Cmd::Italic, TextStyle::Italic}}) {
        handlers.On(
            id, [this, style = style] { ToggleTextStyle(*this, style); },
            [this, changing, style = style] {
                const bool enabled = changing(doc);
                return CCommandState {enabled, enabled && TextStyleTicked(Sheet(), style)};
            });
    }
    handlers.On(
        Cmd::EditText, [this] { EditTexts(*this); },
        [this, changing] {
            return CCommandState {changing(doc), false};
        });
    const CCondition typing = ::HasSheet() && SheetIs(IsTyping);
    handlers.On(
        Cmd::TypedTextLayer, [this] { MoveTypedLineToLayer(*this); },
        [this, typing] {
            return CCommandState {typing(doc), false};
        });
}

void CViewController::PickFont(int fontNumber)
{
    if (HasSheet())
        SetTextFont(*this, fontNumber);
}

void CViewController::PickTextHeight(int height)
{
    if (HasSheet())
        SetTextHeight(*this, height);
}

bool CViewController::Typing()
{
    return HasSheet() && IsTyping(Sheet());
}

std::optional<CRect> CViewController::CaretRect()
{
    if (!HasSheet())
        return std::nullopt;
    return ::CaretRect(Sheet());
}
