#include "gui/sheet_commands.h"

#include <QTimer>

#include "app/command_table.h"
#include "document/document.h"
#include "gui/drawing_view.h"
#include "gui/dxf_export_dlg.h"
#include "gui/dxf_import_command.h"
#include "gui/main_frame.h"
#include "gui/message_box.h"
#include "gui/project_windows.h"
#include "gui/sheet_dialogs.h"
#include "gui/symbol_commands.h"

CSheetCommands::CSheetCommands(CMainFrame& frame, CProjectWindows& projects)
    : QObject(&frame)
    , frame(frame)
    , projects(projects)
{
    const auto sheetCount = [this] {
        CChildFrame* w = this->projects.Active();
        return w ? static_cast<int>(w->Document().sheets.size()) : 0;
    };
    const auto atLeastOne = [sheetCount] { return CCommandState {sheetCount() >= 1, false}; };
    const auto moreThanOne = [sheetCount] { return CCommandState {sheetCount() > 1, false}; };

    handlers.On(
        Cmd::AddSheet, [this] { AddSheet(); },
        [this] {
            return CCommandState {this->projects.Active() != nullptr, false};
        });
    handlers.On(
        Cmd::DeleteSheet,
        [this] {
            CChildFrame* w = this->projects.ActiveFinished();
            if (!w)
                return;
            if (ShowMessageBox(
                    &this->frame, "Wilt u dit blad verwijderen?", CUiServices::Buttons::YesNo)
                != CUiServices::Answer::Yes)
                return;
            w->Document().DeleteActiveSheet();
            Changed(*w);
            if (!w->Document().HasSheets())
                AskForFirstSheetLater();
        },
        atLeastOne);
    handlers.On(
        Cmd::SheetOrder,
        [this] {
            CChildFrame* w = this->projects.ActiveFinished();
            if (!w)
                return;
            CSheetManagerDlg dialog(w->Document(), &this->frame);
            if (dialog.exec() != QDialog::Accepted)
                return;
            w->Document().ReorderSheets(dialog.Order(), dialog.Names());
            Changed(*w);
        },
        atLeastOne);
    handlers.On(
        Cmd::RenameSheet,
        [this] {
            CChildFrame* w = this->projects.ActiveFinished();
            if (!w)
                return;
            CEditSheetNameDlg dialog(w->Document().GetActiveSheet().sheetName, &this->frame);
            if (dialog.exec() != QDialog::Accepted)
                return;
            w->Document().RenameActiveSheet(dialog.Name());
            Changed(*w, false);
        },
        atLeastOne);
    handlers.On(
        Cmd::GoToSheet,
        [this] {
            CChildFrame* w = this->projects.ActiveFinished();
            if (!w)
                return;
            CDovereduDoc& doc = w->Document();
            CSelectSheetDlg dialog(doc.activeSheet + 1, &this->frame);
            if (dialog.exec() != QDialog::Accepted)
                return;
            const int n = dialog.Number();
            if (n >= 1 && n <= static_cast<int>(doc.sheets.size())) {
                doc.SetActiveSheet(n - 1);
                Changed(*w);
            }
        },
        moreThanOne);
    handlers.On(
        Cmd::RotateSheet,
        [this] {
            CChildFrame* w = this->projects.ActiveFinished();
            if (!w)
                return;
            if (w->Document().GetActiveSheet().RotateSheet(w->View().Ui())) {
                w->Document().MarkChanged();
                Changed(*w);
            }
        },
        atLeastOne);
    handlers.On(
        Cmd::ImportDosProject,
        [this] {
            CChildFrame* w = this->projects.ActiveFinished();
            if (w
                && RunImportOldProjectCommand(w->Document(), this->frame.Settings(), &this->frame)
                    > 0)
                Changed(*w);
        },
        atLeastOne);
    handlers.On(
        Cmd::ImportDXF,
        [this] {
            CChildFrame* w = this->projects.ActiveFinished();
            if (w && RunDXFImportCommand(w->Document(), this->frame.Settings(), &this->frame))
                Changed(*w);
        },
        [this] {
            return CCommandState {this->projects.Active() != nullptr, false};
        });
    handlers.On(
        Cmd::ExportDXF,
        [this] {
            if (CChildFrame* w = this->projects.ActiveFinished())
                RunDXFExportCommand(w->Document(), this->frame.Settings(), &this->frame);
        },
        atLeastOne);
    handlers.On(
        Cmd::SaveAsSymbol,
        [this] {
            CChildFrame* w = this->projects.ActiveFinished();
            if (!w)
                return;
            RunSaveAsSymbolCommand(w->Document().GetActiveSheet(), this->frame.Settings(),
                w->View().Ui(), &this->frame);
        },
        [this] {
            CChildFrame* w = this->projects.Active();
            return CCommandState {
                w && w->Document().HasSheets() && w->Document().GetActiveSheet().selectedCount > 0,
                false};
        });
    frame.Router().AddTarget(handlers);
}

CSheetCommands::~CSheetCommands()
{
    frame.Router().RemoveTarget(handlers);
}

void CSheetCommands::Changed(CChildFrame& window, bool redraw)
{
    frame.ShowDocumentLists(window.Document());
    window.UpdateTitle();
    if (redraw)
        window.View().Redraw();
    frame.UpdateCommandUi();
}

bool CSheetCommands::AddSheet()
{
    CChildFrame* w = projects.ActiveFinished();
    if (!w)
        return false;
    CSjablonenDlg dialog(frame.Settings().templatesFolder, &frame);
    const int result = dialog.exec();
    CDovereduDoc& doc = w->Document();
    if (result == QDialog::Accepted) {
        const CSheet* chosen = dialog.ChosenSheet();
        if (!chosen)
            return false;
        doc.AddSheetFrom(*chosen);
    } else if (result == CSjablonenDlg::WithoutTemplate) {
        doc.AddDefaultSheet();
    } else {
        return false;
    }
    Changed(*w);
    return true;
}

void CSheetCommands::AskForFirstSheetLater()
{
    QTimer::singleShot(0, this, [this] {
        CChildFrame* w = projects.Active();
        if (w && !w->Document().HasSheets())
            AddSheet();
    });
}
