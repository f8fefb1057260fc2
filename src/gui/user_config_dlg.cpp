#include "gui/user_config_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <utility>

#include "app/config_file.h"
#include "gui/dialog_buttons.h"
#include "gui/grid_fields.h"
#include "model/number_text.h"
#include "qt/file_args.h"
#include "qt/qt_text.h"

namespace {

const QString kDialogTitle = QStringLiteral("Configuratie");
const QString kMsgNumber = QStringLiteral("Geef een getal op.");
const QString kMsgScaleRange = QStringLiteral("Geef een getal tussen 0.01 en 100 op.");
constexpr int kProjectsFolderLength = 127;

QCheckBox* Check(const QString& caption, const char* name, bool on)
{
    auto* box = new QCheckBox(caption);
    box->setObjectName(QLatin1String(name));
    box->setChecked(on);
    return box;
}

QSpinBox* Spin(const char* name, int low, int high, int value)
{
    auto* spin = new QSpinBox;
    spin->setObjectName(QLatin1String(name));
    spin->setRange(low, high);
    spin->setValue(value);
    return spin;
}

QLineEdit* Edit(const QString& name, const QString& text)
{
    auto* edit = new QLineEdit(text);
    edit->setObjectName(name);
    return edit;
}

// A field whose text the settings cannot take, and what the user is told.
struct CRefusal {
    QLineEdit* field;
    QString message;
};
using Refusal = std::optional<CRefusal>;

QString FontEntry(int index, const CLogFont& font)
{
    return QStringLiteral("%1. %2").arg(index + 1).arg(FromCp1252(font.Face()));
}

} // namespace

// A page of the dialog takes its values back into the settings, or names
// the field it cannot take.
class CUserPage : public QWidget {
public:
    virtual Refusal Store(CSettings& s) = 0;
};

// "Raster": the three grids of new sheets.
class CUserGrid : public CUserPage {
public:
    explicit CUserGrid(const CSettings& s)
    {
        auto* layout = new QVBoxLayout(this);
        for (int g = 0; g < 3; ++g)
            layout->addWidget(MakeGridFields(g, s.grids.grids[g], controls[g]));
        toAll = Check(
            QStringLiteral("Toepassen op alle bladen"), "gridToAllSheets", s.gridToAllSheets);
        layout->addWidget(toAll);
        layout->addStretch();
    }

    Refusal Store(CSettings& s) override
    {
        for (int g = 0; g < 3; ++g) {
            if (QLineEdit* field = TakeGridFields(controls[g], s.grids.grids[g]))
                return CRefusal {field, kMsgNumber};
        }
        s.gridToAllSheets = toAll->isChecked();
        return std::nullopt;
    }

private:
    CGridFields controls[3];
    QCheckBox* toAll = nullptr;
};

// "Printer".
class CUserPrinter : public CUserPage {
public:
    explicit CUserPrinter(const CSettings& s)
    {
        auto* layout = new QVBoxLayout(this);
        fit = Check(QStringLiteral("Automatisch passend op papier"), "fitToPaper", s.fitToPaper);
        rotate = Check(
            QStringLiteral("Automatisch kantelen (indien nodig)"), "autoRotate", s.autoRotate);
        scale = Edit(QStringLiteral("printerScale"), FromUtf8(ScaleText(s.printerScale)));
        blackAndWhite = Check(QStringLiteral("Zwart/wit"), "blackAndWhite", s.blackAndWhite);
        layout->addWidget(fit);
        layout->addWidget(rotate);
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(QStringLiteral("Schaal")));
        row->addWidget(scale);
        row->addWidget(
            new QLabel(QStringLiteral("(Indien \"Automatisch passend op papier\" uit staat)")));
        row->addStretch();
        layout->addLayout(row);
        layout->addWidget(blackAndWhite);
        layout->addStretch();
    }

    Refusal Store(CSettings& s) override
    {
        const std::optional<double> value = ParseDecimal(scale->text().toStdString());
        if (!value || *value < kMinPrinterScale || *value > kMaxPrinterScale)
            return CRefusal {scale, kMsgScaleRange};
        s.printerScale = *value;
        s.fitToPaper = fit->isChecked();
        s.autoRotate = rotate->isChecked();
        s.blackAndWhite = blackAndWhite->isChecked();
        return std::nullopt;
    }

private:
    QCheckBox* fit = nullptr;
    QCheckBox* rotate = nullptr;
    QLineEdit* scale = nullptr;
    QCheckBox* blackAndWhite = nullptr;
};

// "Bestanden en mappen": the folders and the reserve copies.
class CUserFiles : public CUserPage {
public:
    explicit CUserFiles(const CSettings& s)
    {
        auto* layout = new QVBoxLayout(this);
        auto* grid = new QGridLayout;
        const struct {
            QLineEdit*& edit;
            const char* name;
            QString label;
            QString chooserTitle;
            const std::string& value;
            const std::string& standard;
        } rows[] = {
            {projects, "projectsFolder", QStringLiteral("Projecten"), QStringLiteral("Projectmap"),
                s.projectsFolder, s.defaults.projects},
            {templates, "templatesFolder", QStringLiteral("Sjablonen"),
                QStringLiteral("Sjablonenmap"), s.templatesFolder, s.defaults.templates},
            {symbols, "symbolsFolder", QStringLiteral("Symbolen"), QStringLiteral("Symbolenmap"),
                s.symbolsFolder, s.defaults.symbols},
            {pictures, "picturesFolder", QStringLiteral("Afbeeldingen"),
                QStringLiteral("Afbeeldingenmap"), s.picturesFolder, s.defaults.pictures},
            {backup, "backupFolder", QStringLiteral("Map voor reserve kopiën:"),
                QStringLiteral("Reservebestandenmap"), s.backupFolder, s.defaults.backup},
        };
        int r = 0;
        for (const auto& row : rows) {
            QLineEdit* edit = Edit(QLatin1String(row.name), QString());
            row.edit = edit;
            edit->setMinimumWidth(320);
            SetFolder(edit, FileNameString(row.value));
            auto* browse = new QPushButton(QStringLiteral("Blader..."));
            browse->setObjectName(QLatin1String(row.name) + QStringLiteral("Browse"));
            auto* standard = new QPushButton(QStringLiteral("Standaard"));
            standard->setObjectName(QLatin1String(row.name) + QStringLiteral("Default"));
            const QString title = row.chooserTitle;
            QObject::connect(browse, &QPushButton::clicked, this, [this, edit, title] {
                const QString folder = QFileDialog::getExistingDirectory(this, title, edit->text());
                if (!folder.isEmpty())
                    SetFolder(edit, FileNameString(DialogFileBytes(folder)));
            });
            const QString standardValue = FileNameString(row.standard);
            QObject::connect(standard, &QPushButton::clicked, this,
                [this, edit, standardValue] { SetFolder(edit, standardValue); });
            grid->addWidget(new QLabel(row.label), r, 0);
            grid->addWidget(edit, r, 1);
            grid->addWidget(browse, r, 2);
            grid->addWidget(standard, r, 3);
            ++r;
        }
        layout->addLayout(grid);

        auto* box = new QGroupBox;
        auto* reserve = new QGridLayout(box);
        autoReserve = Check(
            QStringLiteral("Automatisch reservekopien maken"), "autoReserve", s.autoReserve);
        copies = Spin("maxReserveCopies", 0, kMaxReserveCopies, s.maxReserveCopies);
        interval = Spin("reserveInterval", 0, kMaxReserveInterval, s.reserveInterval);
        reserve->addWidget(autoReserve, 0, 0, 1, 3);
        reserve->addWidget(new QLabel(QStringLiteral("Maximaal:")), 1, 0);
        reserve->addWidget(copies, 1, 1);
        reserve->addWidget(new QLabel(QStringLiteral("bestanden")), 1, 2);
        reserve->addWidget(new QLabel(QStringLiteral("Opslaan om de:")), 2, 0);
        reserve->addWidget(interval, 2, 1);
        reserve->addWidget(new QLabel(QStringLiteral("min.")), 2, 2);
        layout->addWidget(box);
        layout->addStretch();
    }

    Refusal Store(CSettings& s) override
    {
        // Folder names are bytes: one that is not UTF-8 comes back as it was.
        s.projectsFolder = FileNameBytes(projects->text());
        s.templatesFolder = FileNameBytes(templates->text());
        s.symbolsFolder = FileNameBytes(symbols->text());
        s.picturesFolder = FileNameBytes(pictures->text());
        s.backupFolder = FileNameBytes(backup->text());
        s.autoReserve = autoReserve->isChecked();
        s.maxReserveCopies = copies->value();
        s.reserveInterval = interval->value();
        return std::nullopt;
    }

private:
    // The projects folder is typed in at most 127 characters; a longer
    // folder that comes from the settings, a default or the chooser is shown
    // whole rather than cut.
    void SetFolder(QLineEdit* edit, const QString& folder)
    {
        if (edit == projects)
            edit->setMaxLength(std::max<int>(kProjectsFolderLength, folder.size()));
        edit->setText(folder);
    }

    QLineEdit* projects = nullptr;
    QLineEdit* templates = nullptr;
    QLineEdit* symbols = nullptr;
    QLineEdit* pictures = nullptr;
    QLineEdit* backup = nullptr;
    QCheckBox* autoReserve = nullptr;
    QSpinBox* copies = nullptr;
    QSpinBox* interval = nullptr;
};

// "Lettertype": the stroke-font file and the eight system fonts.
class CUserFont : public CUserPage {
public:
    explicit CUserFont(const CSettings& s)
        : fonts(s.fonts)
    {
        auto* layout = new QVBoxLayout(this);
        auto* row = new QHBoxLayout;
        strokeFont = Edit(QStringLiteral("strokeFontFile"), FileNameString(s.strokeFontFile));
        auto* standard = new QPushButton(QStringLiteral("Standaard"));
        standard->setObjectName(QStringLiteral("strokeFontFileDefault"));
        const QString standardValue = FileNameString(s.defaults.strokeFont);
        QObject::connect(standard, &QPushButton::clicked, this,
            [this, standardValue] { strokeFont->setText(standardValue); });
        row->addWidget(new QLabel(QStringLiteral("Vorel lettertype")));
        row->addWidget(strokeFont);
        row->addWidget(standard);
        layout->addLayout(row);

        layout->addWidget(new QLabel(QStringLiteral("Windows lettertypen:")));
        list = new QListWidget;
        list->setObjectName(QStringLiteral("fontList"));
        for (size_t i = 0; i < fonts.size(); ++i)
            list->addItem(FontEntry(static_cast<int>(i), fonts[i]));
        list->setCurrentRow(0);
        layout->addWidget(list);
        auto* choose = new QPushButton(QStringLiteral("Kies lettertype"));
        choose->setObjectName(QStringLiteral("chooseFont"));
        QObject::connect(choose, &QPushButton::clicked, this, [this] { Choose(); });
        QObject::connect(list, &QListWidget::itemDoubleClicked, this, [this] { Choose(); });
        layout->addWidget(choose, 0, Qt::AlignLeft);
    }

    Refusal Store(CSettings& s) override
    {
        s.strokeFontFile = FileNameBytes(strokeFont->text());
        s.fonts = fonts;
        return std::nullopt;
    }

private:
    void Choose()
    {
        const int row = list->currentRow();
        if (row < 0 || row >= static_cast<int>(fonts.size()))
            return;
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(
            &ok, QFontFromLogFont(fonts[row]), this, QStringLiteral("Lettertype"));
        if (!ok)
            return;
        StoreChosenFont(chosen, fonts[row]);
        list->item(row)->setText(FontEntry(row, fonts[row]));
    }

    std::array<CLogFont, 8> fonts;
    QLineEdit* strokeFont = nullptr;
    QListWidget* list = nullptr;
};

// "Opties".
class CUserOptions : public CUserPage {
public:
    explicit CUserOptions(const CSettings& s)
    {
        auto* layout = new QVBoxLayout(this);
        loadLast = Check(QStringLiteral("Laatste project automatisch laden na opstarten"),
            "loadLastProject", s.loadLastProject);
        toolBar = Check(QStringLiteral("Toon werkbalk"), "showToolBar", s.showToolBar);
        toolSet = Check(QStringLiteral("Toon werkset"), "showToolSet", s.showToolSet);
        statusBar = Check(QStringLiteral("Toon statusbalk"), "showStatusBar", s.showStatusBar);
        scrollBars = Check(QStringLiteral("Toon scrollbalken"), "showScrollBars", s.showScrollBars);
        longCursor = Check(QStringLiteral("Toon lange cursor"), "longCursor", s.longCursor);
        undo = Spin("undoLevels", kMinUndoLevels, kMaxUndoLevels, s.undoLevels);
        for (QCheckBox* box : {loadLast, toolBar, toolSet, statusBar, scrollBars, longCursor})
            layout->addWidget(box);
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(QStringLiteral("Maximaal aantal keer ongedaan maken")));
        row->addWidget(undo);
        row->addStretch();
        layout->addLayout(row);
        layout->addStretch();
    }

    Refusal Store(CSettings& s) override
    {
        s.loadLastProject = loadLast->isChecked();
        s.showToolBar = toolBar->isChecked();
        s.showToolSet = toolSet->isChecked();
        s.showStatusBar = statusBar->isChecked();
        s.showScrollBars = scrollBars->isChecked();
        s.longCursor = longCursor->isChecked();
        s.undoLevels = undo->value();
        return std::nullopt;
    }

private:
    QCheckBox* loadLast = nullptr;
    QCheckBox* toolBar = nullptr;
    QCheckBox* toolSet = nullptr;
    QCheckBox* statusBar = nullptr;
    QCheckBox* scrollBars = nullptr;
    QCheckBox* longCursor = nullptr;
    QSpinBox* undo = nullptr;
};

CUserConfig::CUserConfig(const CSettings& s, QWidget* parent)
    : QDialog(parent)
    , settings(s)
{
    setWindowTitle(kDialogTitle);
    auto* layout = new QVBoxLayout(this);
    tabs = new QTabWidget;
    pages = {new CUserGrid(settings), new CUserPrinter(settings), new CUserFiles(settings),
        new CUserFont(settings), new CUserOptions(settings)};
    const QString titles[] = {QStringLiteral("Raster"), QStringLiteral("Printer"),
        QStringLiteral("Bestanden en mappen"), QStringLiteral("Lettertype"),
        QStringLiteral("Opties")};
    for (size_t i = 0; i < pages.size(); ++i)
        tabs->addTab(pages[i], titles[i]);
    layout->addWidget(tabs);

    layout->addWidget(OkCancelButtons(this));
}

void CUserConfig::accept()
{
    CSettings taken = settings;
    for (CUserPage* page : pages) {
        if (const Refusal r = page->Store(taken)) {
            // The dialog stays open on the field.
            tabs->setCurrentWidget(page);
            QMessageBox::warning(this, kDialogTitle, r->message);
            r->field->setFocus();
            r->field->selectAll();
            return;
        }
    }
    taken.KeepInRange();
    settings = std::move(taken);
    QDialog::accept();
}

bool ShowConfigurationDialog(CSettings& settings, QWidget* parent)
{
    CUserConfig dialog(settings, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    settings = dialog.Settings();
    SaveConfiguration(settings, parent);
    return true;
}

void LoadConfiguration(CSettings& settings, QWidget* parent)
{
    if (ReadConfigFile(ConfigFilePath(), settings) == ConfigStatus::Unreadable)
        QMessageBox::warning(
            parent, QCoreApplication::applicationName(), QString::fromUtf8(kMsgConfigLoad));
}

bool SaveConfiguration(const CSettings& settings, QWidget* parent)
{
    if (WriteConfigFile(ConfigFilePath(), settings)) {
        QMessageBox::warning(
            parent, QCoreApplication::applicationName(), QString::fromUtf8(kMsgConfigSave));
        return false;
    }
    return true;
}

QFont QFontFromLogFont(const CLogFont& font)
{
    QFont q(FromCp1252(font.Face()));
    // A negative height is the character height, a positive one the cell
    // height; pixels either way.
    const int64_t h = std::llabs(int64_t {font.height});
    if (h > 0)
        q.setPixelSize(static_cast<int>(std::min<int64_t>(h, 10000)));
    if (font.weight > 0)
        q.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));
    q.setItalic(font.italic != 0);
    q.setUnderline(font.underline != 0);
    q.setStrikeOut(font.strikeOut != 0);
    return q;
}

void StoreChosenFont(const QFont& chosen, CLogFont& font)
{
    font.SetFace(ToCp1252(chosen.family()));
    // The chooser answers in points; the configuration keeps the character
    // height in screen pixels (96 per inch), negative as its font API does.
    // A size left as it was keeps its sign.
    int pixels = chosen.pixelSize();
    if (pixels <= 0 && chosen.pointSizeF() > 0)
        pixels = static_cast<int>(std::lround(chosen.pointSizeF() * 96.0 / 72.0));
    if (pixels > 0 && pixels != std::llabs(int64_t {font.height}))
        font.height = -pixels;
    font.weight = chosen.weight();
    font.italic = chosen.italic() ? 1 : 0;
    font.underline = chosen.underline() ? 1 : 0;
    font.strikeOut = chosen.strikeOut() ? 1 : 0;
}
