#include "gui/choice_commands.h"

#include <QComboBox>
#include <QCursor>

#include "app/command_table.h"
#include "document/document.h"
#include "gui/choice_dialogs.h"
#include "gui/drawing_view.h"
#include "gui/main_frame.h"
#include "gui/project_windows.h"

namespace {

CSheet* ActiveSheet(CChildFrame* window)
{
    return window && window->Document().HasSheets() ? &window->Document().GetActiveSheet()
                                                    : nullptr;
}

} // namespace

CChoiceCommands::CChoiceCommands(CMainFrame& frame, CProjectWindows& projects)
    : QObject(&frame)
    , frame(frame)
    , projects(projects)
{
    const auto hasSheet = [this] {
        return CCommandState {ActiveSheet(this->projects.Active()) != nullptr, false};
    };
    handlers.On(
        Cmd::ChooseLayer, [this] { ChooseLayer(); }, hasSheet);
    handlers.On(
        Cmd::ChoosePen, [this] { ChoosePen(); }, hasSheet);
    handlers.On(
        Cmd::LayerTable, [this] { ConfigureLayers(); }, hasSheet);
    handlers.On(
        Cmd::ChooseFont, [this] { ChooseFont(); }, hasSheet);
    frame.Router().AddTarget(handlers);

    // The lists have already changed the document; the view shows it.
    connect(&frame, &CMainFrame::LayerPicked, this, [this](int) {
        if (CChildFrame* w = this->projects.Active(); w && w->Document().HasSheets()) {
            w->View().Redraw();
            PutPointerOnCursor(*w);
        }
    });
    connect(&frame, &CMainFrame::SheetPicked, this, [this](int) {
        if (CChildFrame* w = this->projects.Active(); w && w->Document().HasSheets())
            PutPointerOnCursor(*w);
    });
}

CChoiceCommands::~CChoiceCommands()
{
    frame.Router().RemoveTarget(handlers);
}

bool CChoiceCommands::ChooseLayer()
{
    CChildFrame* w = projects.Active();
    CSheet* sheet = ActiveSheet(w);
    if (!sheet)
        return false;
    const int before = sheet->activeLayer;
    SetActiveLayer(*sheet, CSelectLayerDlg::Choose(&frame, sheet, before));
    CDovereduDoc& doc = w->Document();
    doc.RefreshSheetLists(true);
    frame.ShowDocumentLists(doc);
    return sheet->activeLayer != before;
}

bool CChoiceCommands::ChoosePen()
{
    CChildFrame* w = projects.Active();
    CSheet* sheet = ActiveSheet(w);
    if (!sheet)
        return false;
    const int before = sheet->activePen;
    const auto widths = sheet->penWidths;
    sheet->activePen = static_cast<int16_t>(CPenDialog::Choose(&frame, sheet, before));
    if (sheet->penWidths != widths) {
        // The widths are stored with the project: closing must ask for them.
        w->Document().MarkChanged();
        w->UpdateTitle();
        w->View().Redraw();
        return true;
    }
    return sheet->activePen != before;
}

bool CChoiceCommands::ConfigureLayers()
{
    CChildFrame* w = projects.Active();
    CSheet* sheet = ActiveSheet(w);
    if (!sheet)
        return false;
    sheet->Recount();
    CLayerDlg dialog(*sheet, &frame);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.Apply(*sheet);
    CDovereduDoc& doc = w->Document();
    doc.MarkChanged();
    // Refreshing the lists also gives every sheet the configured grids when
    // they apply to all sheets.
    doc.RefreshSheetLists(true);
    frame.ShowDocumentLists(doc);
    w->UpdateTitle();
    w->View().Redraw();
    frame.UpdateCommandUi();
    return true;
}

bool CChoiceCommands::ChooseFont()
{
    CSheet* sheet = ActiveSheet(projects.Active());
    if (!sheet)
        return false;
    std::vector<std::string> faces;
    for (const CLogFont& font : frame.Settings().fonts)
        faces.push_back(font.Face());
    CChooseFontDlg dialog(faces, sheet->textDefaults.fontNumber, &frame);
    if (dialog.exec() != QDialog::Accepted || dialog.FontNumber() < 0)
        return false;
    sheet->textDefaults.fontNumber = dialog.FontNumber();
    if (QComboBox* fonts = frame.FontCombo())
        fonts->setCurrentIndex(dialog.FontNumber());
    return true;
}

void CChoiceCommands::PutPointerOnCursor(CChildFrame& window)
{
    const CSheet& sheet = window.Document().GetActiveSheet();
    if (sheet.zoom <= 0)
        return;
    const QPoint pixel(sheet.cursor.x / sheet.zoom, sheet.cursor.y / sheet.zoom);
    // Some platforms refuse to move the pointer; nothing depends on it.
    QCursor::setPos(window.View().mapToGlobal(pixel));
}
