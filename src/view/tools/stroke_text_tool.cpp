#include "view/tools/stroke_text_tool.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "app/choice_logic.h"
#include "app/place_text.h"
#include "app/settings.h"
#include "document/document.h"
#include "model/sheet.h"
#include "platform/ui_services.h"
#include "view/tools/placement_tool.h"
#include "view/tools/tool_context.h"
#include "view/view_dialogs.h"

namespace {

constexpr std::string_view kMsgNoFont = "Font not found. Please load a fontfile";

CStrokeTextSettings Current(CToolContext& ctx)
{
    return CStrokeTextSettings::Of(ctx.Sheet().font, ctx.Settings().strokeFontSize);
}

bool Following(CToolContext& ctx)
{
    return ctx.Step() == Step::Placing && ctx.Sheet().placementCount > 0;
}

enum class Rebuilt { Yes, Empty, OutOfRange };

// The text that follows the pointer, built anew with `after` at its origin.
// One that builds nothing or leaves the coordinate range is built again
// with the settings it had. With `completeDraw` the sheet is drawn anew
// (its look changed too), else the ghost is erased and drawn in XOR.
Rebuilt Rebuild(CToolContext& ctx, const CStrokeTextSettings& after, bool completeDraw)
{
    CSheet& s = ctx.Sheet();
    const CStrokeTextSettings before = Current(ctx);
    Rebuilt result = Rebuilt::Yes;
    const auto refill = [&] {
        after.ApplyTo(s.font, ctx.Settings());
        if (!s.BuildTextStrokes(s.bufferAnchor))
            result = Rebuilt::OutOfRange; // the buffer is as it was
        else if (s.placementCount <= 0)
            result = Rebuilt::Empty;
        if (result == Rebuilt::Yes)
            return;
        before.ApplyTo(s.font, ctx.Settings());
        if (result == Rebuilt::Empty)
            s.BuildTextStrokes(s.bufferAnchor);
    };
    if (completeDraw) {
        refill();
        ctx.Redraw();
    } else {
        ReplaceGhost(ctx, refill);
    }
    if (result == Rebuilt::OutOfRange)
        ctx.Ui().MessageBox(CSheet::kMsgOutOfRange);
    return result;
}

// The text with one setting changed, when it follows the pointer.
template<class Change> Rebuilt ChangeText(CToolContext& ctx, Change change)
{
    if (!Following(ctx))
        return Rebuilt::Empty;
    CStrokeTextSettings after = Current(ctx);
    change(after);
    return Rebuild(ctx, after, false);
}

} // namespace

void CStrokeTextTool::Press(CToolContext& ctx)
{
    switch (ctx.Step()) {
    case Step::Placing:
        break; // the placement's
    default:
        PlaceText(ctx);
        break;
    }
}

void CStrokeTextTool::Release(CToolContext& ctx)
{
    switch (ctx.Step()) {
    case Step::Placing:
        break;
    default:
        ctx.Prompt("Place text");
        break;
    }
}

void PlaceText(CToolContext& ctx)
{
    ctx.DropCapture();
    CSheet& s = ctx.Sheet();
    // Cancelled, a text that follows the pointer keeps following: at step 0
    // it would stay in every complete draw with no press to place it.
    const bool following = Following(ctx);
    if (!s.font.IsLoaded()) {
        ctx.Ui().MessageBox(kMsgNoFont);
        if (!following)
            ctx.SetStep(Step::Idle);
        return;
    }
    CPlaceTextValues values = CPlaceTextValues::Of(s.font, ctx.Settings().strokeFontSize);
    if (!ctx.Dialogs().PlaceText(values)) {
        if (!following)
            ctx.SetStep(Step::Idle);
        return;
    }
    const CStrokeTextSettings after = CStrokeTextSettings::From(values);
    if (following) {
        Rebuild(ctx, after, false);
        return;
    }
    after.ApplyTo(s.font, ctx.Settings());
    if (!s.BuildTextStrokes()) {
        ctx.Ui().MessageBox(CSheet::kMsgOutOfRange);
        ctx.SetStep(Step::Idle);
        return;
    }
    ctx.Redraw();
    if (!StartPlacement(ctx)) {
        ctx.SetStep(Step::Idle); // nothing to place: an empty text, or only spaces
        return;
    }
    ctx.WarpPointer();
}

void ResizeText(CToolContext& ctx, int step)
{
    const int size = ctx.Settings().strokeFontSize;
    if ((step < 0 && size <= kMinStrokeFontSize) || (step > 0 && size >= kMaxStrokeFontSize))
        return;
    const int to = std::clamp(size + step, kMinStrokeFontSize, kMaxStrokeFontSize);
    if (ChangeText(ctx, [&](CStrokeTextSettings& t) { t.size = to; }) == Rebuilt::Yes)
        ctx.Prompt("Tekstformaat: " + std::to_string(to));
}

void ChooseTextLayer(CToolContext& ctx)
{
    if (!Following(ctx))
        return;
    CSheet& s = ctx.Sheet();
    const std::optional<int> layer = ctx.Dialogs().ChooseLayer(s.layers, s.font.Layer());
    if (!layer || *layer < 1 || *layer > kChoosableLayers)
        return;
    CStrokeTextSettings after = Current(ctx);
    after.layer = *layer;
    // A hidden layer shows: what the sheet has on it appears with the text.
    const bool shown = !s.layers.IsVisible(*layer);
    if (shown)
        s.layers.SetVisible(*layer, 1);
    Rebuild(ctx, after, shown);
}

void ChooseTextPen(CToolContext& ctx)
{
    if (!Following(ctx))
        return;
    CSheet& s = ctx.Sheet();
    if (!CPenChoice::Opens(s.font.Pen(), true))
        return;
    CPenValues values {s.font.Pen(), s.penWidths};
    if (!ctx.Dialogs().ChoosePen(values))
        return;
    CStrokeTextSettings after = Current(ctx);
    after.pen = std::clamp(values.pen, 1, kChoosablePens);
    const bool widths = values.widths != s.penWidths;
    if (widths) {
        // Stored with the project, and every pen of the sheet draws anew.
        s.penWidths = values.widths;
        ctx.Document().MarkChanged();
        ctx.Ui().DocumentChanged();
    }
    Rebuild(ctx, after, widths);
}

void MirrorText(CToolContext& ctx)
{
    ChangeText(ctx, [](CStrokeTextSettings& t) { t.mirrored = !t.mirrored; });
}

void TurnText(CToolContext& ctx)
{
    ChangeText(ctx, [](CStrokeTextSettings& t) { t.angle = TurnedAngle(t.angle); });
}
