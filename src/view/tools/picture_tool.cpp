#include "view/tools/picture_tool.h"

#include <algorithm>
#include <optional>

#include "app/picture_values.h"
#include "app/settings.h"
#include "document/document.h"
#include "document/picture_folder.h"
#include "model/sheet.h"
#include "platform/ui_services.h"
#include "view/tools/idle_tool.h"
#include "view/tools/tool_context.h"
#include "view/view_dialogs.h"

namespace {

// The picture the tool placed and that still follows the pointer.
int FollowingPicture(CSheet& s)
{
    const int index = s.pictures->GetCurrentIndex();
    return s.pictures->IsValid(index) ? index : -1;
}

// The dialog, after the project has a folder for its pictures: the index of
// the picture placed, none after Cancel.
std::optional<int> AskForPicture(CToolContext& ctx)
{
    CDovereduDoc& doc = ctx.Document();
    if (doc.pathName.empty()) {
        if (ctx.Ui().MessageBox(kMsgSaveProjectFirst, CUiServices::Buttons::OkCancel,
                CUiServices::Icon::Information)
            != CUiServices::Answer::Ok)
            return std::nullopt;
        if (!ctx.Dialogs().SaveProjectAs() || doc.pathName.empty())
            return std::nullopt;
    }
    CAddPictures add(PictureFolderOf(doc.pathName), *ctx.Sheet().pictures);
    const std::optional<int> index = ctx.Dialogs().AddPicture(add, ctx.Settings().picturesFolder);
    if (!index || !ctx.Sheet().pictures->IsValid(*index))
        return std::nullopt;
    return index;
}

// The new picture, selected alone, follows the pointer from the cursor.
void Follow(CToolContext& ctx, int index)
{
    ctx.SelectTool(ToolMode::Pictures);
    CSheet& s = ctx.Sheet();
    CPictArray& pictures = *s.pictures;
    pictures.SetAllSelected(false);
    pictures.SetSelected(index, true);
    pictures.SetCurrentIndex(index);
    pictures.MoveTo(index, s.cursor.x, s.cursor.y);
    ctx.SetStep(Step::PictureFollows);
    ctx.Redraw();
}

// Takes the picture that follows the pointer off the sheet; back at 0.
void Withdraw(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    const int index = FollowingPicture(s);
    if (index >= 0)
        s.pictures->RemoveAt(index);
    s.pictures->SetCurrentIndex(-1);
    ctx.SetStep(Step::Idle);
}

// The pixels a picture covers on the screen, its frame with them.
CRect PixelsOf(const CRect& placement, int zoom)
{
    const int64_t z = std::max(zoom, 1);
    const auto px = [](int64_t v) {
        return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    };
    return {px(placement.left / z - 2), px(placement.top / z - 1), px(placement.right / z + 2),
        px(placement.bottom / z + 2)};
}

} // namespace

void AddPictures(CToolContext& ctx)
{
    if (const std::optional<int> index = AskForPicture(ctx))
        Follow(ctx, *index);
}

void ShowPictureMoved(CToolContext& ctx, int index, const CRect& oldPlacement)
{
    CSheet& s = ctx.Sheet();
    CCanvas* screen = s.pictures->IsValid(index)
        ? ctx.Ui().RestoreScreen(PixelsOf(oldPlacement, s.zoom))
        : nullptr;
    if (!screen) {
        ctx.Redraw();
        return;
    }
    const CPict& pict = s.pictures->At(index);
    pict.Draw(*screen, std::max(s.zoom, 1), pict.IsSelected());
}

void CPictureTool::Press(CToolContext& ctx)
{
    switch (ctx.Step()) {
    case Step::PictureFollows: {
        // Placed where it is: the undo step holds it.
        ctx.Document().RecordUndoStep();
        ctx.Sheet().pictures->SetCurrentIndex(-1);
        ctx.SetStep(Step::Idle);
        ctx.DropCapture();
        if (const std::optional<int> index = AskForPicture(ctx))
            Follow(ctx, *index);
        else
            ctx.SelectTool(ToolMode::Select);
        break;
    }
    default:
        break;
    }
}

void CPictureTool::Move(CToolContext& ctx)
{
    switch (ctx.Step()) {
    case Step::PictureFollows: {
        CSheet& s = ctx.Sheet();
        const int index = FollowingPicture(s);
        if (index < 0)
            break;
        const CRect old = s.pictures->At(index).placementRect;
        if (s.pictures->MoveTo(index, s.cursor.x, s.cursor.y)
            && s.pictures->At(index).placementRect != old)
            ShowPictureMoved(ctx, index, old);
        break;
    }
    default:
        break;
    }
}

void CPictureTool::Release(CToolContext& ctx)
{
    ReleaseToIdle(ctx); // a picture that follows the pointer goes on following it
}

void CPictureTool::Finish(CToolContext& ctx)
{
    switch (ctx.Step()) {
    case Step::PictureFollows:
        Withdraw(ctx);
        break;
    default:
        break;
    }
}
