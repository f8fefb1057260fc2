#include "symbols/old_import.h"

#include <memory>

#include "document/document.h"
#include "model/grid.h"
#include "model/sheet.h"
#include "symbols/dos_library.h"

std::vector<std::string> ImportOldDrawings(
    CDovereduDoc& doc, const std::vector<std::string>& paths, const CGridArr& configuredGrids)
{
    std::vector<std::string> unread;
    for (const std::string& path : paths) {
        doc.sheets.push_back(std::make_unique<CSheet>(0, path, kOldDrawingTitle));
        doc.SetActiveSheet(static_cast<int>(doc.sheets.size()) - 1);
        CSheet& sheet = doc.GetActiveSheet();
        if (!LoadLibraryFileAsSheet(sheet, path)) {
            unread.push_back(path);
            sheet.recordCount = 1; // the sentinel alone, ready to draw on
        }
        sheet.RecomputeExtent();
        // A document that was never shown keeps the sheet's own view size.
        if (doc.viewRect.Width() > 0 && doc.viewRect.Height() > 0)
            sheet.clientRect = doc.viewRect;
        sheet.ZoomAll();
        sheet.grids.CopyFrom(configuredGrids);
        sheet.PushUndo();
    }
    if (paths.empty())
        return unread;
    doc.MarkChanged(true);
    doc.RefreshSheetLists(true);
    return unread;
}
