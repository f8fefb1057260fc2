#include "view/tools/tool_box.h"

#include "model/sheet.h"

CToolMachine& CToolBox::For(const CSheet& sheet)
{
    switch (sheet.toolStep) {
    case Step::ZoomArmed:
    case Step::ZoomDrag:
        return zoomWindow;
    default:
        break;
    }
    const auto it = machines.find(sheet.toolMode);
    return it != machines.end() ? *it->second : noMachine;
}

void CToolBox::Use(int toolMode, CToolMachine& machine)
{
    machines[toolMode] = &machine;
}
