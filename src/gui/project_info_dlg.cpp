#include "gui/project_info_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/document.h"
#include "gui/dialog_buttons.h"
#include "qt/qt_text.h"

namespace {

} // namespace

CProjectInfoDlg::CProjectInfoDlg(CDovereduDoc& doc, QWidget* parent)
    : QDialog(parent)
    , doc(doc)
{
    setWindowTitle(QStringLiteral("Project info"));
    group = new QLineEdit(FromCp1252(doc.projectGroup));
    name = new QLineEdit(FromCp1252(doc.projectName));
    manager = new QLineEdit(FromCp1252(doc.projectManager));
    notes = new QPlainTextEdit;
    // The notes keep the line ends they were typed with on Windows.
    notes->setPlainText(
        FromCp1252(doc.notes).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    sheets = new QListWidget;
    for (const auto& sheet : doc.sheets)
        sheets->addItem(FromCp1252(sheet->sheetName));
    sheets->setSelectionMode(QAbstractItemView::NoSelection);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Project Groep:"), group);
    form->addRow(QStringLiteral("Project Naam:"), name);
    form->addRow(QStringLiteral("Project Manager:"), manager);
    form->addRow(QStringLiteral("Notities:"), notes);
    form->addRow(QStringLiteral("Bladen"), sheets);

    auto* buttons = OkCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CProjectInfoDlg::accept()
{
    doc.projectGroup = ToCp1252(group->text());
    doc.projectName = ToCp1252(name->text());
    doc.projectManager = ToCp1252(manager->text());
    doc.notes
        = ToCp1252(notes->toPlainText().replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
    doc.MarkChanged();
    QDialog::accept();
}
