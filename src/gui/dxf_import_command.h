#pragma once

class QWidget;
class CDovereduDoc;
struct CSettings;

// "Importeer DXF...": a DXF file chosen in an open dialog becomes a new active
// sheet of the project, its blocks symbol files in a group below the symbols
// folder. Says why when the file cannot be imported, and when it ended early.
// Returns whether a sheet was added; drawing it is the caller's.
bool RunDXFImportCommand(CDovereduDoc& doc, const CSettings& settings, QWidget* parent);
