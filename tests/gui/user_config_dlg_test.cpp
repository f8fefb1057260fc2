#include "gui/user_config_dlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

#include "app/config_file.h"
#include "gui_test_main.h"
#include "support/temp_folder.h"

namespace {

CDefaultPaths TestPaths()
{
    return {"/p/Projecten", "/p/Sjablonen", "/p/Symbolen", "/p/Afbeeldingen", "/p/Vorelpf1.dat",
        "/data/ETT"};
}

CSettings Sample()
{
    CSettings s(TestPaths());
    s.grids.grids[1] = CGrid {7500, 2000, 250, 1, 1, 0, 1};
    s.printerScale = 0.5;
    s.blackAndWhite = true;
    s.symbolsFolder = "/home/jan/Symbolen";
    s.backupFolder = "/elders";
    s.fonts[3].SetFace("Courier New");
    s.maxReserveCopies = 4;
    s.undoLevels = 12;
    s.showToolSet = false;
    return s;
}

template<class T> T* Find(QWidget& dialog, const char* name)
{
    T* w = dialog.findChild<T*>(QLatin1String(name));
    if (w == nullptr)
        ADD_FAILURE() << "no control " << name;
    return w;
}

// Runs `action` on the next modal window once its event loop runs.
void OnNextModal(std::function<void(QWidget*)> action)
{
    QTimer::singleShot(0, [action] {
        if (QWidget* w = QApplication::activeModalWidget())
            action(w);
    });
}

} // namespace

TEST(UserConfig, ShowsTheSettings)
{
    CUserConfig dlg(Sample());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Configuratie"));
    const QStringList titles = {QStringLiteral("Raster"), QStringLiteral("Printer"),
        QStringLiteral("Bestanden en mappen"), QStringLiteral("Lettertype"),
        QStringLiteral("Opties")};
    ASSERT_EQ(dlg.Pages()->count(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(dlg.Pages()->tabText(i), titles[i]);

    EXPECT_EQ(Find<QLineEdit>(dlg, "spacingX1")->text(), QStringLiteral("7.500"));
    EXPECT_EQ(Find<QLineEdit>(dlg, "spacingY1")->text(), QStringLiteral("2.000"));
    EXPECT_EQ(Find<QLineEdit>(dlg, "snapX1")->text(), QStringLiteral("0.250"));
    EXPECT_EQ(Find<QLineEdit>(dlg, "snapY1")->text(), QStringLiteral("0.001"));
    EXPECT_EQ(Find<QLineEdit>(dlg, "snapX2")->text(), QStringLiteral("1.000"));
    EXPECT_TRUE(Find<QRadioButton>(dlg, "display1_1")->isChecked());
    EXPECT_TRUE(Find<QRadioButton>(dlg, "display0_2")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(dlg, "snapOn1")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>(dlg, "gridToAllSheets")->isChecked());

    EXPECT_EQ(Find<QLineEdit>(dlg, "printerScale")->text(), QStringLiteral("0.500"));
    EXPECT_TRUE(Find<QCheckBox>(dlg, "fitToPaper")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>(dlg, "blackAndWhite")->isChecked());

    EXPECT_EQ(Find<QLineEdit>(dlg, "projectsFolder")->text(), QStringLiteral("/p/Projecten"));
    EXPECT_EQ(Find<QLineEdit>(dlg, "symbolsFolder")->text(), QStringLiteral("/home/jan/Symbolen"));
    EXPECT_EQ(Find<QLineEdit>(dlg, "backupFolder")->text(), QStringLiteral("/elders"));
    EXPECT_EQ(Find<QSpinBox>(dlg, "maxReserveCopies")->value(), 4);
    EXPECT_EQ(Find<QSpinBox>(dlg, "maxReserveCopies")->maximum(), 10);
    EXPECT_EQ(Find<QSpinBox>(dlg, "reserveInterval")->value(), 1);
    EXPECT_EQ(Find<QSpinBox>(dlg, "reserveInterval")->minimum(), 0);

    EXPECT_EQ(Find<QLineEdit>(dlg, "strokeFontFile")->text(), QStringLiteral("/p/Vorelpf1.dat"));
    const QListWidget* fonts = Find<QListWidget>(dlg, "fontList");
    ASSERT_EQ(fonts->count(), 8);
    EXPECT_EQ(fonts->item(0)->text(), QStringLiteral("1. Arial"));
    EXPECT_EQ(fonts->item(3)->text(), QStringLiteral("4. Courier New"));

    EXPECT_EQ(Find<QSpinBox>(dlg, "undoLevels")->value(), 12);
    EXPECT_EQ(Find<QSpinBox>(dlg, "undoLevels")->minimum(), 1);
    EXPECT_EQ(Find<QSpinBox>(dlg, "undoLevels")->maximum(), 20);
    EXPECT_FALSE(Find<QCheckBox>(dlg, "showToolSet")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>(dlg, "loadLastProject")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(dlg, "longCursor")->isChecked());
}

TEST(UserConfig, OkTakesTheEditedValuesBack)
{
    CUserConfig dlg(Sample());
    Find<QLineEdit>(dlg, "spacingX0")->setText(QStringLiteral("7.5"));
    Find<QLineEdit>(dlg, "snapY0")->setText(QStringLiteral("0,25"));
    Find<QLineEdit>(dlg, "snapX2")->setText(QStringLiteral("1.0059"));
    Find<QRadioButton>(dlg, "display0_0")->setChecked(true);
    Find<QRadioButton>(dlg, "display1_2")->setChecked(true);
    Find<QCheckBox>(dlg, "snapOn1")->setChecked(true);
    Find<QCheckBox>(dlg, "gridToAllSheets")->setChecked(false);
    Find<QLineEdit>(dlg, "printerScale")->setText(QStringLiteral("1,25"));
    Find<QCheckBox>(dlg, "autoRotate")->setChecked(false);
    Find<QLineEdit>(dlg, "templatesFolder")->setText(QStringLiteral("/home/jan/Sjablonen ë"));
    Find<QPushButton>(dlg, "backupFolderDefault")->click();
    Find<QPushButton>(dlg, "symbolsFolderDefault")->click();
    Find<QSpinBox>(dlg, "reserveInterval")->setValue(9);
    Find<QCheckBox>(dlg, "autoReserve")->setChecked(false);
    Find<QLineEdit>(dlg, "strokeFontFile")->setText(QStringLiteral("/x.dat"));
    Find<QSpinBox>(dlg, "undoLevels")->setValue(20);
    Find<QCheckBox>(dlg, "longCursor")->setChecked(true);
    Find<QCheckBox>(dlg, "showStatusBar")->setChecked(false);

    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    const CSettings& s = dlg.Settings();
    // Display 0 keeps the last visible choice to come back to.
    EXPECT_EQ(s.grids.grids[0], (CGrid {7500, 10000, 5000, 250, 0, 1, 2}));
    EXPECT_EQ(s.grids.grids[1], (CGrid {7500, 2000, 250, 1, 2, 1, 2}));
    EXPECT_EQ(s.grids.grids[2].snapX, 1005);
    EXPECT_FALSE(s.gridToAllSheets);
    EXPECT_EQ(s.printerScale, 1.25);
    EXPECT_FALSE(s.autoRotate);
    EXPECT_TRUE(s.blackAndWhite);
    EXPECT_EQ(s.templatesFolder, "/home/jan/Sjablonen ë");
    EXPECT_EQ(s.backupFolder, "/data/ETT");
    EXPECT_EQ(s.symbolsFolder, "/p/Symbolen");
    EXPECT_EQ(s.reserveInterval, 9);
    EXPECT_FALSE(s.autoReserve);
    EXPECT_EQ(s.strokeFontFile, "/x.dat");
    EXPECT_EQ(s.undoLevels, 20);
    EXPECT_TRUE(s.longCursor);
    EXPECT_FALSE(s.showStatusBar);
    EXPECT_EQ(s.fonts, Sample().fonts);

    CUserConfig again(s);
    EXPECT_EQ(Find<QLineEdit>(again, "spacingX0")->text(), QStringLiteral("7.500"));
    EXPECT_EQ(Find<QLineEdit>(again, "printerScale")->text(), QStringLiteral("1.250"));
}

TEST(UserConfig, CancelAndRefusedNumbersChangeNothing)
{
    const CSettings sample = Sample();
    CUserConfig dlg(sample);
    Find<QLineEdit>(dlg, "spacingX0")->setText(QStringLiteral("3"));
    Find<QSpinBox>(dlg, "undoLevels")->setValue(2);
    dlg.reject();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(dlg.Settings(), sample);

    // (control, text that cannot be taken, page it is on)
    const struct {
        const char* field;
        const char* text;
        int page;
    } refused[] = {
        {"snapY2", "abc", 0},
        {"spacingX0", "", 0},
        {"printerScale", "200", 1},
        {"printerScale", "0.001", 1},
        {"printerScale", "1.5x", 1},
    };
    for (const auto& c : refused) {
        CUserConfig d(sample);
        d.Pages()->setCurrentIndex(4);
        Find<QLineEdit>(d, c.field)->setText(QLatin1String(c.text));
        Find<QSpinBox>(d, "undoLevels")->setValue(2);
        QString message;
        OnNextModal([&message](QWidget* w) {
            if (auto* box = qobject_cast<QMessageBox*>(w))
                message = box->text();
            w->close();
        });
        d.accept();
        EXPECT_NE(d.result(), QDialog::Accepted) << c.field << " " << c.text;
        EXPECT_FALSE(message.isEmpty()) << c.field;
        EXPECT_EQ(d.Pages()->currentIndex(), c.page) << c.field;
        EXPECT_EQ(d.Settings(), sample) << c.field;
    }
}

TEST(UserConfig, OkWritesTheFileAndCancelDoesNot)
{
    CTempFolder home;
    setenv("RIDIZAV_HOME", home.path.c_str(), 1);
    const auto file = home.path / kConfigFileName;

    CSettings settings = Sample();
    OnNextModal([](QWidget* w) {
        w->findChild<QSpinBox*>(QStringLiteral("undoLevels"))->setValue(5);
        static_cast<QDialog*>(w)->reject();
    });
    EXPECT_FALSE(ShowConfigurationDialog(settings, nullptr));
    EXPECT_EQ(settings, Sample());
    EXPECT_FALSE(std::filesystem::exists(file));

    OnNextModal([](QWidget* w) {
        w->findChild<QSpinBox*>(QStringLiteral("undoLevels"))->setValue(5);
        static_cast<QDialog*>(w)->accept();
    });
    EXPECT_TRUE(ShowConfigurationDialog(settings, nullptr));
    EXPECT_EQ(settings.undoLevels, 5);
    CSettings read(TestPaths());
    EXPECT_EQ(ReadConfigFile(file, read), ConfigStatus::Read);
    EXPECT_EQ(read, settings);

    CSettings loaded(TestPaths());
    LoadConfiguration(loaded, nullptr);
    EXPECT_EQ(loaded, settings);
    unsetenv("RIDIZAV_HOME");
}

TEST(UserConfig, FontChooserKeepsWhatItDoesNotShow)
{
    CLogFont f;
    f.height = 40;
    f.charSet = 0xEE;
    f.quality = 5;
    f.pitchAndFamily = 0x22;
    f.SetFace("Arial");
    const QFont shown = QFontFromLogFont(f);
    EXPECT_EQ(shown.family(), QStringLiteral("Arial"));
    EXPECT_EQ(shown.pixelSize(), 40);
    EXPECT_FALSE(shown.bold());

    // An unchanged size keeps its sign; a new one is the character height.
    CLogFont same = f;
    StoreChosenFont(shown, same);
    EXPECT_EQ(same, f);

    QFont chosen(QStringLiteral("Liberation Serif"));
    chosen.setPointSize(12);
    chosen.setWeight(QFont::Bold);
    chosen.setItalic(true);
    StoreChosenFont(chosen, f);
    EXPECT_EQ(f.Face(), "Liberation Serif");
    EXPECT_EQ(f.height, -16);
    EXPECT_EQ(f.weight, 700);
    EXPECT_EQ(f.italic, 1);
    EXPECT_EQ(f.charSet, 0xEE);
    EXPECT_EQ(f.quality, 5);
    EXPECT_EQ(f.pitchAndFamily, 0x22);
}

TEST(UserConfig, ALongProjectsFolderIsShownWhole)
{
    CSettings s = Sample();
    s.projectsFolder = "/" + std::string(200, 'p');
    CUserConfig dlg(s);
    QLineEdit* edit = Find<QLineEdit>(dlg, "projectsFolder");
    EXPECT_EQ(edit->text().size(), 201);
    dlg.accept();
    EXPECT_EQ(dlg.Settings().projectsFolder, s.projectsFolder);

    CUserConfig typed(Sample());
    edit = Find<QLineEdit>(typed, "projectsFolder");
    edit->clear();
    edit->insert(QString(300, QLatin1Char('q')));
    EXPECT_EQ(edit->text().size(), 127);
}

// Folder and file names are bytes: names that are not UTF-8 (Windows-1252
// here) go through the dialog unchanged, also when another field is edited.
TEST(UserConfig, NamesThatAreNotUtf8ComeBackAsTheyWere)
{
    CSettings settings = Sample();
    settings.projectsFolder = "/home/jan/Caf\xe9";
    settings.picturesFolder = "/home/jan/Foto\x92s";
    settings.strokeFontFile = "/home/jan/Vorel\xe9.dat";
    CUserConfig dlg(settings);
    Find<QLineEdit>(dlg, "templatesFolder")->setText(QStringLiteral("/home/jan/Sjablonen ë"));
    dlg.accept();
    const CSettings& s = dlg.Settings();
    EXPECT_EQ(s.projectsFolder, "/home/jan/Caf\xe9");
    EXPECT_EQ(s.picturesFolder, "/home/jan/Foto\x92s");
    EXPECT_EQ(s.strokeFontFile, "/home/jan/Vorel\xe9.dat");
    EXPECT_EQ(s.templatesFolder, "/home/jan/Sjablonen \xc3\xab");
}
