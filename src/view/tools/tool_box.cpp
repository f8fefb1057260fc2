#include "view/tools/tool_box.h"

#include "model/sheet.h"

CToolBox::CToolBox()
{
    for (int tool :
        {ToolMode::Lines, ToolMode::Lines90, ToolMode::FilledPolygon, ToolMode::FilledPolygon90})
        Use(tool, lines);
    Use(ToolMode::Select, select);
    Use(ToolMode::Junctions, junctions);
    for (int tool : {ToolMode::Rectangles, ToolMode::Ellipses, ToolMode::FilledRectangle,
             ToolMode::FilledEllipse})
        Use(tool, rubber);
    Use(ToolMode::Pictures, pictures);
    Use(ToolMode::Text, strokeText);
    Use(ToolMode::WindowsText, typing);
}

CToolMachine& CToolBox::For(const CSheet& sheet)
{
    switch (sheet.toolStep) {
    case Step::ZoomArmed:
    case Step::ZoomDrag:
        return zoomWindow;
    case Step::Placing:
        return placement;
    default:
        break;
    }
    const auto it = machines.find(sheet.toolMode);
    return it != machines.end() ? *it->second : idle;
}

void CToolBox::Use(int toolMode, CToolMachine& machine)
{
    machines[toolMode] = &machine;
}
