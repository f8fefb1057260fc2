#pragma once

class QWidget;
class CDovereduDoc;
class CMainFrame;
class CSheet;
class CUiServices;
struct CSettings;

// Adds "Importeer DOS PCB Library..." to the main window's commands; it needs
// no open project. The handlers live as long as the window.
void RegisterSymbolCommands(CMainFrame& frame);

// "Opslaan als symbool": a save dialog in the symbols folder, then the
// sheet's selection saved there, relative to the cursor. Returns whether a
// symbol file was written.
bool RunSaveAsSymbolCommand(
    CSheet& sheet, const CSettings& settings, CUiServices& ui, QWidget* parent);

// "Importeer DOS project...": old drawings chosen in an open dialog become new
// sheets of the project, in the dialog's order, the last one active. Returns
// the number of sheets added (0 when cancelled); drawing them is the caller's.
int RunImportOldProjectCommand(CDovereduDoc& doc, const CSettings& settings, QWidget* parent);
