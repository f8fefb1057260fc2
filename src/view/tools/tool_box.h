#pragma once

#include <map>

#include "view/tools/idle_tool.h"
#include "view/tools/junction_tool.h"
#include "view/tools/line_tool.h"
#include "view/tools/picture_tool.h"
#include "view/tools/placement_tool.h"
#include "view/tools/rubber_tool.h"
#include "view/tools/select_tool.h"
#include "view/tools/stroke_text_tool.h"
#include "view/tools/tool_machine.h"
#include "view/tools/typing_tool.h"
#include "view/tools/zoom_window.h"

class CSheet;

// Picks the machine for an event from the sheet it happens on, anew at every
// event: each sheet keeps its own tool and step, so nothing carries over a
// sheet switch. Steps 101 and 102 belong to the zoom window and step 500 to
// the placement, whatever the tool; otherwise the sheet's toolMode decides.
class CToolBox {
public:
    CToolBox();
    CToolMachine& For(const CSheet& sheet);
    // The machine of a tool; tests put a listing machine in its place.
    void Use(int toolMode, CToolMachine& machine);

private:
    CZoomWindow zoomWindow;
    CPlacementTool placement;
    CIdleTool idle; // the tools that have no steps of their own yet
    CLineTool lines;
    CJunctionTool junctions;
    CRubberTool rubber;
    CPictureTool pictures;
    CStrokeTextTool strokeText;
    CSelectTool select;
    CTypingTool typing;
    std::map<int, CToolMachine*> machines; // by toolMode
};
