#pragma once

#include <functional>

class CMainFrame;
class CProjectWindows;

// Adds "Afdrukken..." (the print job dialog), "Dit blad afdrukken" (the
// active sheet on the default printer, without a dialog) and "Printer
// instellingen..." to the main window's commands. They share one set of
// printer settings, which lives as long as the window. `hasPrinter` says
// whether the machine has a printer; without one a page goes to a PDF file
// beside the project.
void RegisterPrintCommands(
    CMainFrame& frame, CProjectWindows& projects, std::function<bool()> hasPrinter = {});
