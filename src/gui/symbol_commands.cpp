#include "gui/symbol_commands.h"

#include <QFileDialog>
#include <QObject>
#include <filesystem>
#include <string>
#include <vector>

#include "app/command_router.h"
#include "app/command_table.h"
#include "app/settings.h"
#include "gui/import_bnk_lmc_dlg.h"
#include "gui/main_frame.h"
#include "model/sheet.h"
#include "platform/ui_services.h"
#include "qt/file_args.h"
#include "qt/qt_text.h"
#include "symbols/old_import.h"
#include "symbols/symbol_file.h"

namespace {

// Owns the handlers and is owned by the window. It does not take itself out
// of the router: the router goes with the window, before its children.
class CSymbolCommandTarget : public QObject {
public:
    explicit CSymbolCommandTarget(CMainFrame& frame)
        : QObject(&frame)
    {
        handlers.On(
            Cmd::ImportDosLibrary, [&frame] { RunImportBnkLmcCommand(frame.Settings(), &frame); });
        frame.Router().AddTarget(handlers);
    }

private:
    CCommandHandlers handlers;
};

} // namespace

void RegisterSymbolCommands(CMainFrame& frame)
{
    new CSymbolCommandTarget(frame);
}

bool RunSaveAsSymbolCommand(
    CSheet& sheet, const CSettings& settings, CUiServices& ui, QWidget* parent)
{
    // Refused before a name is asked for, not after.
    if (sheet.selectionCriteria == CSheet::kSelectSegments) {
        ui.MessageBox(CSheet::kMsgSelectionCriteria);
        return false;
    }
    QFileDialog save(parent, QString(), FromUtf8(settings.symbolsFolder));
    save.setAcceptMode(QFileDialog::AcceptSave);
    save.setFileMode(QFileDialog::AnyFile);
    save.setDefaultSuffix(QStringLiteral("SYM"));
    save.setNameFilter(QStringLiteral("*.SYM"));
    // Symbol files of old libraries may be named ".sym".
    save.setFilter(save.filter() & ~QDir::CaseSensitive);
    if (save.exec() != QDialog::Accepted || save.selectedFiles().isEmpty())
        return false;
    return SaveSelectionAsSymbol(
        sheet, std::filesystem::path(DialogFileBytes(save.selectedFiles().front())), ui);
}

int RunImportOldProjectCommand(CDovereduDoc& doc, const CSettings& settings, QWidget* parent)
{
    QFileDialog open(parent, QString(), FromUtf8(settings.projectsFolder));
    open.setAcceptMode(QFileDialog::AcceptOpen);
    open.setFileMode(QFileDialog::ExistingFiles);
    open.setDefaultSuffix(QStringLiteral("sch"));
    open.setNameFilters({QStringLiteral("Vorel Tekeningen (*.sch)"),
        QStringLiteral("Vorel Symbolen (*.sym)"), QStringLiteral("Vorel PCB DOS Symbolen (*.lmc)"),
        QStringLiteral("Vorel PCB DOS Tekeningen (*.lay)")});
    // Drawings made on Windows are as often named ".SCH".
    open.setFilter(open.filter() & ~QDir::CaseSensitive);
    if (open.exec() != QDialog::Accepted)
        return 0;
    std::vector<std::string> paths;
    for (const QString& file : open.selectedFiles())
        paths.push_back(DialogFileBytes(file));
    ImportOldDrawings(doc, paths, settings.grids);
    return static_cast<int>(paths.size());
}
