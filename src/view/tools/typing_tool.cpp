#include "view/tools/typing_tool.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

#include "app/choice_logic.h"
#include "app/edit_text_values.h"
#include "app/settings.h"
#include "document/document.h"
#include "model/platform_services.h"
#include "model/sheet.h"
#include "platform/canvas.h"
#include "platform/ui_services.h"
#include "view/keys.h"
#include "view/tools/idle_tool.h"
#include "view/tools/tool_context.h"
#include "view/view_dialogs.h"

namespace {

// The caret is a bar half a millimetre wide right of the text.
constexpr int kCaretWidth = 500;

int32_t Clamp32(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

std::vector<CText*> SelectedTexts(CSheet& s)
{
    std::vector<CText*> selected;
    for (int i = 0; i < s.texts.GetCount(); ++i) {
        if (s.texts.IsSelected(i))
            selected.push_back(s.texts.At(i));
    }
    return selected;
}

bool HasStyle(const CText& t, TextStyle style)
{
    return style == TextStyle::Bold ? t.IsBold() : t.IsItalic();
}

void SetStyle(CText& t, TextStyle style, bool on)
{
    if (style == TextStyle::Bold)
        t.SetBold(on);
    else
        t.SetItalic(on);
}

// Shows the line as it is now, with the caret on.
void ShowLine(CToolContext& ctx)
{
    ctx.State().caretShown = true;
    ctx.Ui().Recompose();
}

// A new, empty line at the typing point, in the sheet's text defaults and
// on the active layer; the pointer goes to the cursor.
void StartLine(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    const CPoint at = s.textPoint;
    auto line = std::make_unique<CText>(std::string(),
        CRect {at.x, at.y, Clamp32(int64_t {at.x} + 1), Clamp32(int64_t {at.y} + 1)},
        CText::kDefaultAttributes);
    line->SetFontNumber(std::clamp(s.textDefaults.fontNumber, 0, int(CText::kFontMask)));
    line->SetHeight(s.textDefaults.height);
    line->SetItalic(s.textDefaults.italic != 0);
    line->SetBold(s.textDefaults.bold != 0);
    line->SetAngle(s.textDefaults.angle);
    line->SetLayer(std::clamp<int>(s.activeLayer, 1, kLayerCount - 1));
    line->Measure();
    s.editText = std::move(line);
    ctx.SetStep(Step::Typing);
    ctx.WarpPointer();
    ShowLine(ctx);
}

// The line being typed becomes a text of the sheet, the current one, in an
// undo step of its own; an empty line is dropped. True when the sheet got
// a text.
bool CommitLine(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    std::unique_ptr<CText> line = std::move(s.editText);
    if (!line || line->text.empty())
        return false;
    line->SetSelected(false);
    s.texts.currentIndex = s.texts.Add(std::move(line));
    ctx.Document().RecordUndoStep();
    return true;
}

// The line being typed takes a change, or, when none is typed, every
// selected text does, in one undo step.
template<typename Change> void ChangeTexts(CToolContext& ctx, Change change)
{
    CSheet& s = ctx.Sheet();
    if (IsTyping(s)) {
        change(*s.editText);
        s.editText->Measure();
        ShowLine(ctx);
        return;
    }
    const std::vector<CText*> selected = SelectedTexts(s);
    if (selected.empty())
        return;
    for (CText* t : selected) {
        change(*t);
        t->Measure();
    }
    ctx.Document().RecordUndoStep();
    ctx.Redraw();
}

void Backspace(CToolContext& ctx)
{
    CText& line = *ctx.Sheet().editText;
    if (!line.text.empty())
        line.text.pop_back();
    line.Measure();
    ShowLine(ctx);
}

// Enter: the line is committed and the next one starts a step of the text
// grid lower, with the texts deselected.
void NextLine(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    const bool committed = CommitLine(ctx);
    const bool deselected = s.texts.DeselectAll();
    const int step = s.grids.grids[CGridArr::kText].SnapY();
    s.textPoint.y = Clamp32(int64_t {s.textPoint.y} + step);
    s.cursor = s.textPoint;
    if (committed || deselected)
        ctx.Redraw();
    StartLine(ctx);
}

void DrawCaret(const CSheet& s, CCanvas& screen)
{
    const std::optional<CRect> caret = CaretRect(s);
    if (!caret)
        return;
    screen.SelectPen({1, s.layerColours[s.editText->Layer()], PenStyle::Solid});
    for (int x = caret->left; x < caret->right; ++x) {
        screen.MoveTo(x, caret->top);
        screen.LineTo(x, caret->bottom);
    }
}

} // namespace

bool IsTyping(const CSheet& s)
{
    return s.toolMode == ToolMode::WindowsText && s.toolStep == Step::Typing && s.editText;
}

bool HasTypedText(const CSheet& s)
{
    return IsTyping(s) && !s.editText->text.empty();
}

bool HasTextsToChange(const CSheet& s)
{
    return IsTyping(s) || s.texts.GetSelectedCount() > 0;
}

// --- the machine ---------------------------------------------------------------

void CTypingTool::Press(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    ctx.Prompt("Plaats Windows tekst");
    switch (ctx.Step()) {
    case Step::Typing: {
        const bool committed = CommitLine(ctx);
        s.editText.reset();
        if (s.texts.HitTest(s.rawPoint.x, s.rawPoint.y) >= 0) {
            ctx.SetStep(Step::Idle);
            return;
        }
        if (committed)
            ctx.Redraw();
        StartLine(ctx);
        break;
    }
    default: {
        const int hit = s.texts.HitTest(s.rawPoint.x, s.rawPoint.y);
        if (hit >= 0) {
            // A selection is no change of the project: no undo step.
            if (!s.texts.IsSelected(hit)) {
                s.texts.SetSelected(hit, true);
                ctx.Redraw();
            }
            ctx.SetStep(Step::Selection);
            return;
        }
        if (s.texts.DeselectAll())
            ctx.Redraw();
        StartLine(ctx);
        break;
    }
    }
}

void CTypingTool::Release(CToolContext& ctx)
{
    switch (ctx.Step()) {
    case Step::Selection: // the text just pressed stays selected
        break;
    default:
        ReleaseToIdle(ctx);
        break;
    }
}

bool CTypingTool::KeyDown(CToolContext& ctx, const CKeyEvent& key)
{
    switch (ctx.Step()) {
    case Step::Typing:
        if (key.ctrl) {
            switch (key.key) {
            case 'B':
                ToggleTextStyle(ctx, TextStyle::Bold);
                break;
            case 'I':
                ToggleTextStyle(ctx, TextStyle::Italic);
                break;
            case 'L':
                MoveTypedLineToLayer(ctx);
                break;
            default:
                return false;
            }
            return true;
        }
        switch (key.key) {
        case Key::Backspace:
            Backspace(ctx);
            break;
        case Key::Return:
            NextLine(ctx);
            break;
        case Key::Escape:
            ctx.Sheet().editText.reset();
            ctx.SetStep(Step::Idle);
            break;
        default:
            break; // the other keys are the line's and do nothing
        }
        return true;
    default:
        return false;
    }
}

bool CTypingTool::Char(CToolContext& ctx, uint8_t ch)
{
    switch (ctx.Step()) {
    case Step::Typing: {
        CText& line = *ctx.Sheet().editText;
        // Control characters come with keys that did their work already.
        if (ch < ' ') {
            line.Measure();
            return true;
        }
        if (ch != ' ' || !line.text.empty())
            line.text.push_back(static_cast<char>(ch));
        line.Measure();
        ShowLine(ctx);
        return true;
    }
    default:
        return false;
    }
}

void CTypingTool::Tick(CToolContext& ctx)
{
    switch (ctx.Step()) {
    case Step::Typing:
        ctx.State().caretShown = !ctx.State().caretShown;
        ctx.Ui().Recompose();
        break;
    default:
        break;
    }
}

void CTypingTool::DrawFeedback(CToolContext& ctx, CCanvas& screen)
{
    const CSheet& s = ctx.Sheet();
    if (!IsTyping(s))
        return;
    const CText& line = *s.editText;
    screen.SetTransparentBackground(true);
    screen.SetTextColour(s.layerColours[line.Layer()]);
    line.Draw(screen, s.zoom);
    if (ctx.State().caretShown)
        DrawCaret(s, screen);
}

void CTypingTool::Finish(CToolContext& ctx)
{
    switch (ctx.Step()) {
    case Step::Typing:
        CommitLine(ctx);
        ctx.Sheet().editText.reset();
        ctx.SetStep(Step::Idle);
        break;
    default:
        break;
    }
}

// --- the text commands -----------------------------------------------------------

bool TextStyleTicked(const CSheet& s, TextStyle style)
{
    if (IsTyping(s))
        return HasStyle(*s.editText, style);
    bool any = false;
    for (int i = 0; i < s.texts.GetCount(); ++i) {
        if (!s.texts.IsSelected(i))
            continue;
        if (!HasStyle(*s.texts.At(i), style))
            return false;
        any = true;
    }
    return any;
}

void ToggleTextStyle(CToolContext& ctx, TextStyle style)
{
    CSheet& s = ctx.Sheet();
    const bool on = !TextStyleTicked(s, style);
    // The lines typed after this one keep the style.
    if (IsTyping(s))
        (style == TextStyle::Bold ? s.textDefaults.bold : s.textDefaults.italic) = on ? 1 : 0;
    ChangeTexts(ctx, [&](CText& t) { SetStyle(t, style, on); });
}

void EditTexts(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    const bool typing = IsTyping(s);
    CText* first = typing ? s.editText.get() : nullptr;
    const int selected = s.texts.GetSelectedCount();
    for (int i = 0; !first && i < s.texts.GetCount(); ++i) {
        if (s.texts.IsSelected(i)) {
            s.texts.currentIndex = i;
            first = s.texts.At(i);
        }
    }
    if (!first)
        return;
    std::vector<std::string> faces;
    for (const CLogFont& font : ctx.Settings().fonts)
        faces.push_back(font.Face());
    CEditTextValues values = EditTextValuesOf(*first, !typing && selected >= 2);
    if (!ctx.Dialogs().EditText(values, FontChoiceEntries(faces)) || !EditTextApplies(values))
        return;
    if (typing) {
        // The next lines are typed as this one now is.
        CText& line = *s.editText;
        ApplyEditText(values, line, true);
        s.textDefaults.fontNumber = line.FontNumber();
        s.textDefaults.height = line.Height();
        s.textDefaults.angle = line.Angle();
        s.textDefaults.bold = line.IsBold() ? 1 : 0;
        s.textDefaults.italic = line.IsItalic() ? 1 : 0;
        s.activeLayer = static_cast<int16_t>(line.Layer());
        s.layers.SetVisible(line.Layer(), 1);
        ctx.Document().RefreshSheetLists(true);
        ctx.Ui().DocumentChanged();
        ctx.State().caretShown = true;
        ctx.Redraw();
        return;
    }
    for (CText* t : SelectedTexts(s))
        ApplyEditText(values, *t, selected < 2);
    ctx.Document().RecordUndoStep();
    ctx.Redraw();
}

void MoveTypedLineToLayer(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    if (!IsTyping(s))
        return;
    const std::optional<int> layer = ctx.Dialogs().ChooseLayer(s.layers, s.editText->Layer());
    if (!layer || *layer < 1 || *layer >= kLayerCount)
        return;
    s.editText->SetLayer(*layer);
    s.activeLayer = static_cast<int16_t>(*layer);
    s.layers.SetVisible(*layer, 1);
    ctx.Document().RefreshSheetLists(true);
    ctx.Ui().DocumentChanged();
    ctx.State().caretShown = true;
    ctx.Redraw();
}

void SetTextFont(CToolContext& ctx, int fontNumber)
{
    CSheet& s = ctx.Sheet();
    const int fonts = static_cast<int>(ctx.Settings().fonts.size());
    if (fontNumber < 0 || fontNumber >= fonts)
        return;
    s.textDefaults.fontNumber = fontNumber;
    ChangeTexts(ctx, [&](CText& t) { t.SetFontNumber(fontNumber); });
    ctx.Ui().TakeFocus();
}

void SetTextHeight(CToolContext& ctx, int height)
{
    CSheet& s = ctx.Sheet();
    const int h = std::clamp(height, 1, CText::kMaxHeight);
    s.textDefaults.height = h;
    ChangeTexts(ctx, [&](CText& t) { t.SetHeight(h); });
    ctx.Ui().TakeFocus();
}

std::optional<CRect> CaretRect(const CSheet& s)
{
    if (!IsTyping(s))
        return std::nullopt;
    const int zoom = std::max(s.zoom, 1);
    const CRect extent = s.editText->GetDeviceExtent(PlatformServices().textMetrics, zoom);
    const int n = kCaretWidth / zoom;
    const int left = Clamp32(int64_t {extent.right} + 1);
    return CRect {left, extent.top, Clamp32(int64_t {left} + n + 1), extent.bottom};
}
