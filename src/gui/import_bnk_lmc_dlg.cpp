#include "gui/import_bnk_lmc_dlg.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/settings.h"
#include "qt/file_args.h"
#include "qt/qt_text.h"

namespace {

const char* const kExplanation
    = "Hier kunt u in een klap alle BNK of LMC bestanden converteren naar het SYM formaat. "
      "Selecteer de hoofddirectory, druk op import en alle  symbolen inclusief subdirectories "
      "worden aangemaakt in de huidige Symbolen directory..";

QPushButton* Button(const char* text, const char* name)
{
    auto* b = new QPushButton(QString::fromUtf8(text));
    b->setObjectName(QLatin1String(name));
    return b;
}

// Shows the wait cursor while it lives.
class CWaitCursor {
public:
    CWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

} // namespace

CImportBnkLmcDlg::CImportBnkLmcDlg(const std::string& symbols, QWidget* parent)
    : QDialog(parent)
    , symbolsFolder(symbols)
{
    setWindowTitle(QStringLiteral("Import BNK en LMC bestanden"));
    resize(720, 310);

    auto* explanation = new QLabel(QString::fromUtf8(kExplanation));
    explanation->setObjectName(QStringLiteral("explanation"));
    explanation->setTextFormat(Qt::PlainText);
    explanation->setWordWrap(true);

    auto* found = new QLabel(QStringLiteral("Gevonden bestanden:"));
    fileList = new QListWidget;
    fileList->setObjectName(QStringLiteral("files"));
    found->setBuddy(fileList);

    auto* browse = Button("Bladeren...", "browse");
    browse->setAutoDefault(false);
    importButton = Button("Importeer", "import");
    importButton->setDefault(true);
    importButton->setEnabled(false);
    auto* cancel = Button("Annuleren", "cancel");
    cancel->setAutoDefault(false);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(browse);
    buttons->addStretch();
    buttons->addWidget(importButton);
    buttons->addWidget(cancel);

    auto* list = new QVBoxLayout;
    list->addWidget(explanation);
    list->addWidget(found);
    list->addWidget(fileList, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(list, 1);
    layout->addLayout(buttons);

    connect(browse, &QPushButton::clicked, this, &CImportBnkLmcDlg::Browse);
    connect(importButton, &QPushButton::clicked, this, &CImportBnkLmcDlg::Import);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CImportBnkLmcDlg::Browse()
{
    QFileDialog chooser(this, QString::fromUtf8(kChooserTitle), QDir::homePath());
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOption(QFileDialog::ShowDirsOnly);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return;
    ScanFolder(std::filesystem::path(DialogFileBytes(chooser.selectedFiles().front())));
}

void CImportBnkLmcDlg::ScanFolder(const std::filesystem::path& root)
{
    importButton->setEnabled(false);
    fileList->clear();
    {
        const CWaitCursor wait;
        conversion = PlanLibraryConversion(root, symbolsFolder);
        for (const std::string& line : conversion.Lines())
            fileList->addItem(QString::fromStdString(line));
    }
    importButton->setEnabled(!conversion.sources.empty());
}

void CImportBnkLmcDlg::Import()
{
    {
        const CWaitCursor wait;
        failed = conversion.Run();
    }
    if (!failed.empty()) {
        QStringList names;
        for (const auto& path : failed)
            names.append(FromUtf8(path.string()));
        QMessageBox::warning(this, windowTitle(),
            QStringLiteral("Deze bestanden konden niet worden geconverteerd:\n")
                + names.join(QLatin1Char('\n')));
    }
    accept();
}

bool RunImportBnkLmcCommand(const CSettings& settings, QWidget* parent)
{
    CImportBnkLmcDlg dlg(settings.symbolsFolder, parent);
    return dlg.exec() == QDialog::Accepted;
}
