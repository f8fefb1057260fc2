#include "model/grid.h"

#include "model/archive.h"
#include "model/tool_mode.h"

CGridArr::CGridArr()
{
    grids[kText].snapX = 1000;
    grids[kText].snapY = 1000;
}

void CGridArr::CopyFrom(const CGridArr& other)
{
    grids = other.grids;
}

void CGridArr::SelectFor(int toolMode)
{
    if (toolMode == ToolMode::Symbols)
        activeGrid = kPlace;
    else if (toolMode == ToolMode::Text || toolMode == ToolMode::WindowsText)
        activeGrid = kText;
    else
        activeGrid = kDraw;
}

void CGridArr::Serialize(CArchive& ar)
{
    for (CGrid& g : grids) {
        int32_t* fields[] = {&g.spacingX, &g.spacingY, &g.snapX, &g.snapY, &g.display, &g.snapOn};
        for (int32_t* f : fields) {
            if (ar.IsStoring())
                ar.WriteInt(*f);
            else
                *f = ar.ReadInt();
        }
    }
}
