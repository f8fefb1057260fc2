#pragma once

#include <QObject>

#include "app/command_router.h"

class CChildFrame;
class CMainFrame;
class CProjectWindows;

// The choices for the active project window's sheet: the active layer, the
// active pen and the pen widths, the layer table, the font of new typed
// texts; and what follows a pick in the tool bar's sheet and layer lists.
class CChoiceCommands : public QObject {
    Q_OBJECT
public:
    CChoiceCommands(CMainFrame& frame, CProjectWindows& projects);
    ~CChoiceCommands() override;

    // "Actieve laag" (key L): the chosen layer becomes active and the layer
    // list follows; while a line is being drawn the line takes the layer
    // too. True when the layer changed.
    bool ChooseLayer();
    // "Pen (lijntype)" (key P): the chosen pen becomes active and the pen
    // widths are stored; true when the pen or a width changed.
    bool ChoosePen();
    // "Laag configuratie...": true after OK.
    bool ConfigureLayers();
    // "Lettertype": the font of the next typed text; true after OK.
    bool ChooseFont();

private:
    void PutPointerOnCursor(CChildFrame& window);

    CMainFrame& frame;
    CProjectWindows& projects;
    CCommandHandlers handlers;
};
