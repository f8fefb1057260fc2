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
#include "model/text_encoding.h"

namespace {

QString FromModel(const std::string& text)
{
    return QString::fromStdString(Cp1252ToUtf8(text));
}

std::string ToModel(const QString& text)
{
    return Utf8ToCp1252(text.toStdString());
}

} // namespace

CProjectInfoDlg::CProjectInfoDlg(CDovereduDoc& doc, QWidget* parent)
    : QDialog(parent)
    , doc(doc)
{
    setWindowTitle(QStringLiteral("Project info"));
    group = new QLineEdit(FromModel(doc.projectGroup));
    name = new QLineEdit(FromModel(doc.projectName));
    manager = new QLineEdit(FromModel(doc.projectManager));
    notes = new QPlainTextEdit;
    // The notes keep the line ends they were typed with on Windows.
    notes->setPlainText(FromModel(doc.notes).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    sheets = new QListWidget;
    for (const auto& sheet : doc.sheets)
        sheets->addItem(FromModel(sheet->sheetName));
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
    doc.projectGroup = ToModel(group->text());
    doc.projectName = ToModel(name->text());
    doc.projectManager = ToModel(manager->text());
    doc.notes = ToModel(notes->toPlainText().replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
    doc.MarkChanged();
    QDialog::accept();
}
