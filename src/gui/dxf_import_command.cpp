#include "gui/dxf_import_command.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <filesystem>
#include <string>

#include "app/settings.h"
#include "document/document.h"
#include "dxf/dxf_import.h"
#include "model/stroke_font.h"
#include "qt/file_args.h"

bool RunDXFImportCommand(CDovereduDoc& doc, const CSettings& settings, QWidget* parent)
{
    QFileDialog open(parent, QString(), QString::fromStdString(settings.projectsFolder),
        QStringLiteral("*.DXF"));
    open.setAcceptMode(QFileDialog::AcceptOpen);
    open.setFileMode(QFileDialog::ExistingFile);
    open.setDefaultSuffix(QStringLiteral("DXF"));
    open.selectFile(QStringLiteral("*.DXF"));
    // Drawings from other programs are as often named ".dxf".
    open.setFilter(open.filter() & ~QDir::CaseSensitive);
    if (open.exec() != QDialog::Accepted || open.selectedFiles().isEmpty())
        return false;
    const std::filesystem::path path(DialogFileBytes(open.selectedFiles().front()));

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const CDovereduFont font;
    const CDXFImportResult result
        = ImportDXF(doc, path, std::filesystem::path(settings.symbolsFolder), font);
    QApplication::restoreOverrideCursor();
    if (!result.message.empty())
        QMessageBox::warning(parent, QString(), QString::fromStdString(result.message));
    return result.imported;
}
