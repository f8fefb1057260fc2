#include "gui/view_dialogs.h"

#include <QListWidget>

#include "app/command_table.h"
#include "gui/choice_dialogs.h"
#include "gui/edit_selection_dlg.h"
#include "gui/edit_text_dlg.h"
#include "gui/grid_dlg.h"
#include "gui/main_frame.h"
#include "gui/part_lib_dlg.h"
#include "gui/picture_dialogs.h"
#include "gui/place_text_dlg.h"

std::optional<int> CQtViewDialogs::ChooseLayer(const CLayerArray& layers, int layer)
{
    CSelectLayerDlg dialog(layers, layer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Layer();
}

bool CQtViewDialogs::ChoosePen(CPenValues& values)
{
    CPenDialog dialog(values.widths, values.pen, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    values.pen = dialog.Choice().Accept(values.widths);
    return true;
}

bool CQtViewDialogs::EditGrids(CGridValues& values)
{
    return EditSheetGrids(values.grids, values.applyToAll, parent);
}

bool CQtViewDialogs::EditLayerTable(CLayerTable& table)
{
    CLayerDlg dialog(table, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    table = dialog.Table();
    return true;
}

std::optional<int> CQtViewDialogs::ChooseFont(const std::vector<std::string>& faces, int fontNumber)
{
    CChooseFontDlg dialog(faces, fontNumber, parent);
    if (dialog.exec() != QDialog::Accepted || dialog.FontNumber() < 0)
        return std::nullopt;
    return dialog.FontNumber();
}

std::optional<std::filesystem::path> CQtViewDialogs::ChooseSymbol(
    const std::filesystem::path& symbolsFolder)
{
    return CPartLib::Ask(symbolsFolder, parent);
}

std::optional<int> CQtViewDialogs::AddPicture(CAddPictures& add, const std::string& pickFolder)
{
    CAddPictureDlg dialog(add, QString::fromStdString(pickFolder), parent);
    if (dialog.exec() != QDialog::Accepted || dialog.Placed() < 0)
        return std::nullopt;
    return dialog.Placed();
}

bool CQtViewDialogs::EditPicture(CPictureEdit& edit)
{
    CEditPictDlg dialog(edit, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool CQtViewDialogs::SaveProjectAs()
{
    auto* frame = parent ? qobject_cast<CMainFrame*>(parent->window()) : nullptr;
    return frame && frame->Router().Execute(Cmd::FileSaveAs);
}

bool CQtViewDialogs::PlaceText(CPlaceTextValues& values)
{
    CPlaceTextDlg dialog(values, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    values = dialog.Values();
    return true;
}

bool CQtViewDialogs::EditSelection(CSelectionEditValues& values)
{
    CEditSelectionDlg dialog(values, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    values = dialog.Values();
    return true;
}

bool CQtViewDialogs::EditText(CEditTextValues& values, const std::vector<std::string>& fontEntries)
{
    CEditTextDlg dialog(values, fontEntries, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    values = dialog.Values();
    return true;
}
