#include "gui/dxf_export_dlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

#include "app/settings.h"
#include "document/document.h"
#include "gui/dialog_buttons.h"
#include "qt/file_args.h"
#include "qt/qt_text.h"

namespace {

QPushButton* Button(const char* text, const char* name)
{
    auto* b = new QPushButton(QString::fromUtf8(text));
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

void Fill(QListWidget* list, const std::vector<std::string>& names, int selected)
{
    list->clear();
    for (const std::string& name : names)
        list->addItem(FromCp1252(name));
    list->setCurrentRow(selected);
}

} // namespace

CDXFExportDlg::CDXFExportDlg(const std::vector<std::string>& sheetNames, QWidget* parent)
    : QDialog(parent)
    , choice(sheetNames)
{
    setWindowTitle(QStringLiteral("Export DXF"));

    availableList = new QListWidget;
    availableList->setObjectName(QStringLiteral("available"));
    chosenList = new QListWidget;
    chosenList->setObjectName(QStringLiteral("chosen"));

    auto* add = Button(">", "add");
    auto* addAll = Button(">>", "addAll");
    auto* remove = Button("<", "remove");
    auto* removeAll = Button("<<", "removeAll");
    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {add, addAll, remove, removeAll})
        buttons->addWidget(b);
    buttons->addStretch();

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Beschikbare bladen")), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Te exporteren bladen")), 0, 2);
    grid->addWidget(availableList, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(chosenList, 1, 2);

    auto* box = OkCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(box);
    resize(520, 260);

    // The lists follow the user's clicks; every change rebuilds them.
    connect(availableList, &QListWidget::currentRowChanged, this,
        [this](int row) { choice.SelectAvailable(row); });
    connect(chosenList, &QListWidget::currentRowChanged, this,
        [this](int row) { choice.SelectChosen(row); });
    const auto act = [this](void (CDXFSheetChoice::*op)()) {
        return [this, op] {
            (choice.*op)();
            Refill();
        };
    };
    connect(add, &QPushButton::clicked, this, act(&CDXFSheetChoice::Add));
    connect(addAll, &QPushButton::clicked, this, act(&CDXFSheetChoice::AddAll));
    connect(remove, &QPushButton::clicked, this, act(&CDXFSheetChoice::Remove));
    connect(removeAll, &QPushButton::clicked, this, act(&CDXFSheetChoice::RemoveAll));
    // A double-click acts on the entry clicked.
    connect(availableList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        choice.SelectAvailable(availableList->row(item));
        choice.Add();
        Refill();
    });
    connect(chosenList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        choice.SelectChosen(chosenList->row(item));
        choice.Remove();
        Refill();
    });

    Refill();
}

void CDXFExportDlg::Refill()
{
    // Filling a list moves its current row; the choice keeps its own.
    const int available = choice.AvailableSelection();
    const int chosen = choice.ChosenSelection();
    const QSignalBlocker blockAvailable(availableList);
    const QSignalBlocker blockChosen(chosenList);
    Fill(availableList, choice.Available(), available);
    Fill(chosenList, choice.Chosen(), chosen);
}

void CDXFExportDlg::accept()
{
    chosenNames = choice.Chosen();
    if (chosenNames.empty())
        reject();
    else
        QDialog::accept();
}

bool RunDXFExportCommand(const CDovereduDoc& doc, const CSettings& settings, QWidget* parent)
{
    std::vector<std::string> names;
    for (const auto& sheet : doc.sheets)
        names.push_back(sheet->sheetName);
    CDXFExportDlg dlg(names, parent);
    if (dlg.exec() != QDialog::Accepted || dlg.Result().empty())
        return false;

    const std::filesystem::path folder = DXFExportFolder(settings.projectsFolder, doc.pathName);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        // The save dialog still lets the user choose another folder.
        QMessageBox::warning(parent, QCoreApplication::applicationName(),
            QStringLiteral("Cannot create the folder %1: %2")
                .arg(
                    QString::fromStdString(folder.string()), QString::fromStdString(ec.message())));
    }

    // Only the folder of the chosen file is used: each sheet gets its own
    // file there.
    QFileDialog save(parent);
    save.setAcceptMode(QFileDialog::AcceptSave);
    save.setFileMode(QFileDialog::AnyFile);
    save.setOption(QFileDialog::DontConfirmOverwrite);
    save.setDirectory(QString::fromStdString(folder.string()));
    save.setDefaultSuffix(QStringLiteral("DXF"));
    save.setNameFilter(QStringLiteral("*.DXF"));
    save.selectFile(FromCp1252(dlg.Result().front()) + QStringLiteral(".DXF"));
    if (save.exec() != QDialog::Accepted || save.selectedFiles().isEmpty())
        return false;
    const std::filesystem::path target
        = std::filesystem::path(DialogFileBytes(save.selectedFiles().front())).parent_path();

    const auto jobs = PlanDXFExport(names, dlg.Result());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto results = ExportSheets(doc, jobs, target);
    QApplication::restoreOverrideCursor();

    QStringList errors;
    for (const CDXFExportResult& r : results) {
        if (r.Failed())
            errors.append(QString::fromStdString(r.error));
    }
    if (!errors.isEmpty())
        QMessageBox::warning(
            parent, QCoreApplication::applicationName(), errors.join(QLatin1Char('\n')));
    return errors.isEmpty();
}
