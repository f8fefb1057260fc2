#include "view/tools/line_tool.h"

#include "model/sheet.h"

void LineTakesLayer(CSheet& sheet, int layer)
{
    if (sheet.toolStep == Step::LineFollows && IsLineTool(sheet.toolMode))
        sheet.SetFigureLayer(sheet.recordCount - 1, layer);
}
