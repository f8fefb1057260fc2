#include "gui/part_lib_dlg.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "gui_test_main.h"
#include "support/shipped_data.h"
#include "support/temp_folder.h"
#include "symbols/symbol_file.h"

namespace fs = std::filesystem;

namespace {

void WriteSymbol(const fs::path& file, std::vector<CSym> records)
{
    fs::create_directories(file.parent_path());
    const auto bytes = EncodeSymbolBytes(records);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

QStringList Texts(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// A small library: A with two relays, A/B with a lower-case file, an empty
// group.
struct CLibrary {
    CTempFolder tmp;
    fs::path root = tmp.path / "Symbolen";
    CLibrary()
    {
        WriteSymbol(root / "A" / "Relais 10.SYM", {{0, 0x08, 0, 0}, {0, 0x09, 50, 0}});
        WriteSymbol(root / "A" / "Relais 2.SYM", {{0, 0x08, 0, 0}, {0, 0x09, 0, 50}});
        WriteSymbol(root / "A" / "B" / "x.sym", {});
        fs::create_directories(root / "Leeg");
    }
};

void Key(QWidget* w, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

} // namespace

TEST(PartLib, ListsGroupsAndSymbolsAndChoosesTheFileFound)
{
    CLibrary lib;
    CPartLib dlg(lib.root, {});
    EXPECT_EQ(dlg.windowTitle(), "Plaats symbolen");
    EXPECT_EQ(Texts(dlg.groupList), (QStringList {"A", "A/B", "Leeg"}));
    EXPECT_EQ(Texts(dlg.symbolList), (QStringList {"Relais 2", "Relais 10"}));
    EXPECT_EQ(dlg.ChosenPath(), lib.root / "A" / "Relais 2.SYM");
    EXPECT_TRUE(dlg.ok->isEnabled());
    ASSERT_TRUE(dlg.preview->Symbol());
    EXPECT_EQ(dlg.preview->Symbol()->size(), 2u);

    dlg.groupList->setCurrentRow(1);
    EXPECT_EQ(Texts(dlg.symbolList), (QStringList {"x"}));
    EXPECT_EQ(dlg.ChosenPath(), lib.root / "A" / "B" / "x.sym");
    ASSERT_TRUE(dlg.preview->Symbol());
    EXPECT_TRUE(dlg.preview->Symbol()->empty());

    // A group without symbols chooses none: no preview, no OK.
    dlg.groupList->setCurrentRow(2);
    EXPECT_EQ(dlg.symbolList->count(), 0);
    EXPECT_TRUE(dlg.ChosenPath().empty());
    EXPECT_FALSE(dlg.ok->isEnabled());
    EXPECT_FALSE(dlg.preview->Symbol());

    // It reopens on a symbol given, in its group.
    CPartLib again(lib.root, lib.root / "A" / "Relais 10.SYM");
    EXPECT_EQ(again.groupList->currentRow(), 0);
    EXPECT_EQ(again.symbolList->currentRow(), 1);
    EXPECT_EQ(again.ChosenPath(), lib.root / "A" / "Relais 10.SYM");
    // An unreadable file is chosen but shows no preview.
    fs::remove(lib.root / "A" / "Relais 10.SYM");
    again.symbolList->setCurrentRow(0);
    again.symbolList->setCurrentRow(1);
    EXPECT_FALSE(again.preview->Symbol());
}

TEST(PartLib, SearchListsEveryGroupsMatchesAndKeysMoveThroughIt)
{
    CLibrary lib;
    CPartLib dlg(lib.root, {});
    dlg.show();
    EXPECT_EQ(dlg.focusWidget(), dlg.search);

    dlg.search->setText(QStringLiteral("RELAIS 1"));
    EXPECT_EQ(Texts(dlg.symbolList), (QStringList {"A/Relais 10"}));
    EXPECT_EQ(dlg.ChosenPath(), lib.root / "A" / "Relais 10.SYM");
    EXPECT_EQ(dlg.groupList->currentRow(), -1);

    dlg.search->setText(QStringLiteral("a/"));
    EXPECT_EQ(Texts(dlg.symbolList), (QStringList {"A/Relais 2", "A/Relais 10", "A/B/x"}));
    Key(dlg.search, Qt::Key_Down);
    EXPECT_EQ(dlg.focusWidget(), dlg.symbolList);
    Key(dlg.symbolList, Qt::Key_Down);
    EXPECT_EQ(dlg.ChosenPath(), lib.root / "A" / "Relais 10.SYM");

    dlg.search->setText(QStringLiteral("niets"));
    EXPECT_EQ(dlg.symbolList->count(), 0);
    EXPECT_FALSE(dlg.ok->isEnabled());
    EXPECT_FALSE(dlg.preview->Symbol());

    // Esc empties the field and shows the groups again; a second Esc closes.
    Key(dlg.search, Qt::Key_Escape);
    EXPECT_TRUE(dlg.search->text().isEmpty());
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.groupList->currentRow(), 0);
    EXPECT_EQ(Texts(dlg.symbolList), (QStringList {"Relais 2", "Relais 10"}));
    EXPECT_TRUE(dlg.ok->isEnabled());

    // Enter places the chosen symbol.
    dlg.search->setText(QStringLiteral("x"));
    Key(dlg.search, Qt::Key_Return);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.ChosenPath(), lib.root / "A" / "B" / "x.sym");

    dlg.show();
    dlg.search->clear();
    Key(dlg.search, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST(PartLib, AnEmptyLibrarySaysSoAndOffersNoOk)
{
    CTempFolder tmp;
    fs::create_directories(tmp.path / "Leeg");
    CPartLib dlg(tmp.path, {});
    EXPECT_EQ(dlg.groupList->count(), 1);
    EXPECT_FALSE(dlg.ok->isEnabled());
    EXPECT_EQ(dlg.preview->Message(),
        QStringLiteral("Geen symbolen in ") + QString::fromStdString(tmp.path.string()));
}

TEST(PartLib, AskRemembersTheSymbolChosenLast)
{
    CLibrary lib;
    RunWhenModal<CPartLib>([](CPartLib* d) {
        d->groupList->setCurrentRow(1);
        d->ok->click();
    });
    EXPECT_EQ(CPartLib::Ask(lib.root, nullptr), lib.root / "A" / "B" / "x.sym");

    int row = -1;
    RunWhenModal<CPartLib>([&row](CPartLib* d) {
        row = d->groupList->currentRow();
        d->reject();
    });
    EXPECT_EQ(CPartLib::Ask(lib.root, nullptr), std::nullopt);
    EXPECT_EQ(row, 1);
}

// The shipped library searched for "wcd"; with RIDIZAV_SCREENSHOTS set, the
// dialog is saved there as a picture.
TEST(PartLib, FindsTheSocketsOfTheShippedLibrary)
{
    const fs::path root = ShippedDataFolder() / "Symbolen";
    CPartLib dlg(root, {});
    dlg.show();
    dlg.search->setText(QStringLiteral("wcd"));
    ASSERT_GE(dlg.symbolList->count(), 3);
    for (const QString& text : Texts(dlg.symbolList))
        EXPECT_TRUE(text.contains(QStringLiteral("(WCD"))) << text.toStdString();
    EXPECT_TRUE(dlg.ok->isEnabled());
    if (const char* shots = std::getenv("RIDIZAV_SCREENSHOTS")) {
        QApplication::processEvents();
        dlg.grab().save(QString::fromUtf8(shots) + QStringLiteral("/plaats_symbolen_wcd.png"));
    }
}
