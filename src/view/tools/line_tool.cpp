#include "view/tools/line_tool.h"

#include <cstdlib>

#include "document/document.h"
#include "model/sheet.h"
#include "platform/ui_services.h"
#include "view/keys.h"
#include "view/tools/tool_context.h"

namespace {

bool RightAngles(const CSheet& s)
{
    return s.toolMode == ToolMode::Lines90 || s.toolMode == ToolMode::FilledPolygon90;
}

CPoint PointOf(const CETREC& r)
{
    return {r.x, r.y};
}

// The line being drawn, from its move on, in NOT-XOR on the screen image:
// drawn twice it is gone. The whole line is one run, drawn and erased alike,
// so that no pixel where two segments meet is left behind.
void DrawLine(CSheet& s, int lineStartCount, CCanvas* screen)
{
    const int first = lineStartCount + 1;
    if (screen && first >= 2 && first < s.recordCount)
        s.DrawRange(*screen, first, s.recordCount - 1, false);
}

void DrawLine(CToolContext& ctx)
{
    DrawLine(ctx.Sheet(), ctx.State().lineStartCount, ctx.Ui().ScreenCanvas());
}

// The corner of the last leg pair, between the vertex before it and the end,
// taking the horizontal leg first in corner mode 1 and the vertical one in 2.
void PlaceCorner(CSheet& s)
{
    const int end = s.recordCount - 1;
    const CETREC& from = s.records[end - 2];
    CETREC& corner = s.records[end - 1];
    const CETREC& to = s.records[end];
    corner.x = s.cornerMode == 1 ? to.x : from.x;
    corner.y = s.cornerMode == 1 ? from.y : to.y;
}

// Deletes the records first ... last at the end of the line; when that
// takes the line's move too, nothing of the line is left and the tool is
// idle.
void TakeBack(CToolContext& ctx, int first, int last)
{
    CSheet& s = ctx.Sheet();
    const bool whole = s.records[first].Pen() == 0;
    for (int i = last; i >= first; --i)
        s.DeleteRecord(i);
    s.currentRecord = s.recordCount - 1;
    if (whole) {
        s.pendingChange = 0;
        ctx.SetStep(Step::Idle);
    }
}

// The first segment (or leg pair) from the pressed point to the cursor.
void StartLine(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    const CPoint from = s.rubberAnchor;
    ctx.State().lineStartCount = s.recordCount;
    s.StartLine(from);
    if (RightAngles(s)) {
        // The main direction of the first movement decides which leg comes
        // first; exactly diagonal goes vertical first.
        s.cornerMode
            = std::abs(int64_t {s.cursor.y} - from.y) >= std::abs(int64_t {s.cursor.x} - from.x)
            ? 2
            : 1;
        s.AddVertex(s.cursor);
        PlaceCorner(s);
    }
    s.pendingChange = 1;
}

// The end of the line follows the cursor. Back on the vertex before it, the
// last segment (or leg pair) is taken back.
void FollowCursor(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    const int end = s.recordCount - 1;
    s.records[end].x = s.cursor.x;
    s.records[end].y = s.cursor.y;
    if (!RightAngles(s)) {
        // The end takes the place of the vertex it came back to; back on the
        // start, the line is gone.
        if (PointOf(s.records[end - 1]) == s.cursor)
            TakeBack(ctx, end - 1, s.records[end - 1].Pen() == 0 ? end : end - 1);
        return;
    }
    const CPoint from = PointOf(s.records[end - 2]);
    // Passing level with or plumb under the vertex turns the legs round.
    if (s.cursor.x == from.x)
        s.cornerMode = 2;
    if (s.cursor.y == from.y)
        s.cornerMode = 1;
    PlaceCorner(s);
    if (s.cursor == from)
        TakeBack(ctx, s.records[end - 2].Pen() == 0 ? end - 2 : end - 1, end);
}

// A vertex was pressed: once the cursor has left it, a new segment (or leg
// pair) starts there.
void StartSegment(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    const CPoint vertex = PointOf(s.records[s.recordCount - 1]);
    if (s.cursor == vertex)
        return;
    DrawLine(ctx);
    if (RightAngles(s)) {
        s.AddVertex(vertex);
        s.AddVertex(vertex);
        s.cornerMode = vertex.y == s.cursor.y ? 1 : 2;
        ctx.SetStep(Step::LineFollows);
        FollowCursor(ctx);
    } else {
        s.AddVertex(s.cursor);
        ctx.SetStep(Step::LineFollows);
    }
    DrawLine(ctx);
}

// "Einde lijn": the line tidied (a closed, filled figure for the polygon
// tools) and recorded as one undo step; the tool waits for the next line.
void EndLine(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    switch (ctx.Step()) {
    case Step::LineStarted:
        ctx.SetStep(Step::Idle);
        break;
    case Step::LineFollows:
    case Step::VertexPressed: {
        const bool grew = s.recordCount > ctx.State().lineStartCount;
        if (grew) {
            s.currentRecord = s.recordCount - 1;
            s.NormalizeFigure(s.currentRecord);
            if (IsFilledTool(s.toolMode))
                s.FillFigure();
        }
        s.pendingChange = 0;
        ctx.SetStep(Step::Idle);
        if (grew)
            ctx.Document().RecordUndoStep();
        break;
    }
    default:
        break;
    }
}

} // namespace

bool LineInProgress(const CSheet& s)
{
    return IsLineTool(s.toolMode)
        && (s.toolStep == Step::LineFollows || s.toolStep == Step::VertexPressed);
}

bool LineTakesLayer(CSheet& sheet, int layer)
{
    if (sheet.toolStep != Step::LineFollows || !IsLineTool(sheet.toolMode))
        return false;
    sheet.SetFigureLayer(sheet.recordCount - 1, layer);
    return true;
}

void CLineTool::Press(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    switch (ctx.Step()) {
    case Step::Idle:
        s.rubberAnchor = s.cursor; // the pressed point starts the line
        ctx.SetStep(Step::LineStarted);
        break;
    case Step::LineFollows:
        ctx.SetStep(Step::VertexPressed); // the next move starts a segment
        break;
    default:
        break;
    }
}

void CLineTool::Move(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    switch (ctx.Step()) {
    case Step::LineStarted:
        // A move inside the pressed point's cell is no segment yet.
        if (s.cursor == s.rubberAnchor)
            break;
        StartLine(ctx);
        ctx.SetStep(Step::LineFollows);
        DrawLine(ctx);
        break;
    case Step::LineFollows:
        DrawLine(ctx);
        FollowCursor(ctx);
        DrawLine(ctx);
        break;
    case Step::VertexPressed:
        StartSegment(ctx);
        break;
    default:
        break;
    }
}

void CLineTool::DrawFeedback(CToolContext& ctx, CCanvas& screen)
{
    if (LineInProgress(ctx.Sheet()))
        DrawLine(ctx.Sheet(), ctx.State().lineStartCount, &screen);
}

void CLineTool::Finish(CToolContext& ctx)
{
    EndLine(ctx);
}
