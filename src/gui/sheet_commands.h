#pragma once

#include <QObject>

#include "app/command_router.h"

class CMainFrame;
class CProjectWindows;
class CChildFrame;

// The sheet commands of a project window: add (with the templates dialog),
// delete, order and names, rename, previous, next, go to, and turn a sheet.
class CSheetCommands : public QObject {
    Q_OBJECT
public:
    CSheetCommands(CMainFrame& frame, CProjectWindows& projects);
    ~CSheetCommands() override;

    // "Blad toevoegen": the templates dialog; true when a sheet was added.
    bool AddSheet();
    // A project without sheets asks for its first sheet at once.
    void AskForFirstSheetLater();

private:
    void Changed(CChildFrame& window, bool redraw = true);

    CMainFrame& frame;
    CProjectWindows& projects;
    CCommandHandlers handlers;
};
