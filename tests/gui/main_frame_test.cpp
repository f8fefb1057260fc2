#include "gui/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <gtest/gtest.h>
#include <memory>
#include <tuple>

#include "app/command_table.h"
#include "document/document.h"
#include "gui/command_actions.h"
#include "gui/tool_bar_lists.h"
#include "gui_test_main.h"
#include "model/sheet.h"
#include "model/tool_mode.h"

namespace {

// A menu as lines: "id caption" per command, "-" per separator, a submenu's
// title with ">" and its entries indented; other entries by their text.
QStringList Dump(const QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) {
            out << QStringLiteral("-");
        } else if (a->menu()) {
            out << a->text() + QStringLiteral(" >");
            for (const QString& line : Dump(a->menu()))
                out << QStringLiteral("  ") + line;
        } else if (const int id = CommandIdOf(a)) {
            out << QStringLiteral("%1 %2").arg(id).arg(a->text());
        } else {
            out << a->text() + (a->isEnabled() ? QString() : QStringLiteral(" (disabled)"));
        }
    }
    return out;
}

std::vector<std::pair<QString, QStringList>> DumpMenuBar(const CMainFrame& frame)
{
    std::vector<std::pair<QString, QStringList>> menus;
    for (QAction* a : frame.menuBar()->actions())
        menus.emplace_back(a->text(), Dump(a->menu()));
    return menus;
}

QStringList Lines(std::initializer_list<const char*> lines)
{
    QStringList out;
    for (const char* line : lines)
        out << QString::fromUtf8(line);
    return out;
}

// A tool bar as lines: "id tip" per button, "-", "[list id]".
QStringList DumpBar(const QToolBar* bar)
{
    QStringList out;
    for (QAction* a : bar->actions()) {
        if (a->isSeparator())
            out << QStringLiteral("-");
        else if (a->property("listFor").isValid())
            out << QStringLiteral("[list %1]").arg(a->property("listFor").toInt());
        else
            out << QStringLiteral("%1 %2").arg(CommandIdOf(a)).arg(a->toolTip());
    }
    return out;
}

// The arguments of every emission of a signal with one int.
template<class Signal> std::shared_ptr<std::vector<int>> Record(CMainFrame& frame, Signal signal)
{
    auto seen = std::make_shared<std::vector<int>>();
    QObject::connect(&frame, signal, &frame, [seen](int v) { seen->push_back(v); });
    return seen;
}

QAction* FindAction(const QWidget* in, int id)
{
    for (QAction* a : in->findChildren<QAction*>())
        if (CommandIdOf(a) == id)
            return a;
    return nullptr;
}

} // namespace

TEST(MainFrame, IsTitledWithTheProgramName)
{
    CMainFrame frame;
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Vorel Ridizav"));
}

TEST(MainFrame, MenusWithoutAProject)
{
    CMainFrame frame;
    const auto menus = DumpMenuBar(frame);
    ASSERT_EQ(menus.size(), 2u);
    EXPECT_EQ(menus[0].first, "Bestand");
    EXPECT_EQ(menus[0].second,
        Lines({"57600 Nieuw project\tCtrl+N", "57601 Open project...\tCtrl+O", "-",
            "57606 Printer Instellingen...", "32803 Configuratie...", "-",
            "32910 Importeer DOS PCB Library...", "-", "Recente bestanden (disabled)", "-",
            "57665 Afsluiten"}));
    EXPECT_EQ(menus[1].first, "Help");
    EXPECT_EQ(menus[1].second,
        Lines({"57667 Handleiding...", "-", "307 Tip van de dag...", "-",
            "32900 Automatische Update...", "32911 Update geschiedenis", "-", "57664 Info..."}));
}

TEST(MainFrame, MenusWithAProjectOpen)
{
    CMainFrame frame;
    frame.SetProjectOpen(true);
    const auto menus = DumpMenuBar(frame);
    const std::vector<std::pair<QString, QStringList>> expected = {
        {"Bestand",
            Lines({"57600 Nieuw project\tCtrl+N", "57601 Open project...\tCtrl+O",
                "32908 Open reservebestand...", "57602 Sluit project\tCtrl+F4", "-",
                "57603 Opslaan\tCtrl+S", "57604 Opslaan als...",
                // Ours: the project info had no menu entry of its own.
                "32990 Project info...", "-", "32799 Blad toevoegen...", "-", "Import en Export >",
                "  32782 Importeer DXF...", "  32796 Importeer DOS project...", "  -",
                "  32781 Exporteer DXF...", "-", "32906 Afdrukken...\tCtrl+P",
                "57606 Printer instellingen...", "-", "32803 Configuratie...",
                "32857 Blad configuratie", "-", "57612 Als bericht verzenden", "-",
                "Recent File (disabled)", "-", "57665 Afsluiten"})},
        {"Bewerken",
            Lines({"57643 Ongedaan maken (Undo)\tCtrl+Z", "57644 Herhalen (Redo) \tCtrl+Y", "-",
                "57635 Knippen\tCtrl+X", "57634 Kopiëren \tCtrl+C", "57637 Plakken\tCtrl+V",
                "32991 Plakken op cursor\tCtrl+Shift+V", "-", "Selectie criteria >",
                "  32816 Segmenten", "  32809 Lijnen", "  32805 Objecten", "  -",
                "  32893 Afbeeldingen", "  32897 Windows teksten", "32787 Selecteren",
                "57642 Alles selecteren\tCtrl+A", "32784 Selectie inverteren",
                "32807 Selectie verwijderen\tDel", "32812 Selectie bewerken...", "-",
                "32788 Blad indeling...", "1039 Bladnaam aanpassen", "32786 Kantel blad",
                "32785 Herbereken blad afmetingen", "32783 Verwijder blad..."})},
        {"Beeld",
            Lines({"32875 Laag configuratie...", "32877 Vorig blad\tPage Up",
                "32876 Volgende blad\tPage Down", "32874 Ga naar blad...\tCtrl + G", "-",
                "32888 Zoom in\tI", "32889 Zoom uit\tO", "32887 Zoom alles\tZ Z",
                "32890 Zoom venster", "32884 Beeld vernieuwen\tF5", "-",
                "32907 Lange cursor\tShift + A", "59392 Werkbalk", "32886 Werkset",
                "59393 Status balk", "32858 Scrollbalken", "32880 Raster tijdens tekenen\t.",
                "32881 Raster tijdens plaatsen\t.", "32882 Raster tijdens tekst\t.", "-",
                "32885 Vast relatief meetpunt\tF6"})},
        {"Plaats",
            Lines({"32837 Lijnen", "32838 Lijnen 90 graden hoek", "32836 Knooppunten",
                "32841 Symbolen", "32844 Teksten", "32842 Rechthoeken", "32833 Ellipsen of cirkels",
                "-", "Opgevulde objecten >", "  32840 Veelhoek", "  32839 Veelhoek 90 graden",
                "  32843 Rechthoeken", "  32834 Ellipsen of cirkels", "32835 Windows teksten",
                "32892 Afbeeldingen"})},
        {"Kies",
            Lines({"32854 Pen (lijntype)\tP", "32853 Actieve laag\tL", "32852 Lettertype",
                "32898 Raster"})},
        {"Venster", Lines({"57650 Trapsgewijs", "57651 Boven elkaar", "57652 Naast  elkaar"})},
        {"Help",
            Lines({"57667 Handleiding...", "-", "307 Tip van de dag...", "-",
                "32913 Website VorelElectro", "32911 Update geschiedenis", "-",
                "32914 Hulp op afstand", "-", "57664 Info..."})},
    };
    ASSERT_EQ(menus.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(menus[i].first, expected[i].first);
        EXPECT_EQ(menus[i].second, expected[i].second) << expected[i].first.toStdString();
    }

    // Back without a project.
    frame.SetProjectOpen(false);
    EXPECT_EQ(DumpMenuBar(frame).size(), 2u);
}

TEST(MainFrame, RecentFilesTakeThePlaceOfTheirEntry)
{
    CMainFrame frame;
    frame.SetRecentFiles({"/p/Kast.ETT", "/p/R&D.ETT"});
    const QStringList file = DumpMenuBar(frame)[0].second;
    ASSERT_EQ(file.size(), 12);
    EXPECT_EQ(file[8], "&1 /p/Kast.ETT");
    EXPECT_EQ(file[9], "&2 /p/R&&D.ETT");
    EXPECT_EQ(file[10], "-");

    const auto chosen = Record(frame, &CMainFrame::RecentFileChosen);
    frame.menuBar()->actions()[0]->menu()->actions()[9]->trigger();
    EXPECT_EQ(*chosen, std::vector<int>({1}));
}

TEST(MainFrame, MenuEntriesShowPromptsAndFollowTheirHandlers)
{
    CMainFrame frame;
    frame.SetProjectOpen(true);
    frame.UpdateCommandUi();
    QAction* zoomIn = FindAction(&frame, Cmd::ZoomIn);
    ASSERT_NE(zoomIn, nullptr);
    // Not handled yet: disabled; its key is shown, not bound.
    EXPECT_FALSE(zoomIn->isEnabled());
    EXPECT_TRUE(zoomIn->shortcut().isEmpty());
    EXPECT_EQ(FindAction(&frame, Cmd::AddSheet)->statusTip(), "Toevoegen van een nieuw blad");

    int zooms = 0;
    CCommandHandlers view;
    view.On(
        Cmd::ZoomIn, [&] { ++zooms; },
        [] {
            return CCommandState {true, true};
        });
    frame.Router().AddTarget(view);
    frame.UpdateCommandUi();
    EXPECT_TRUE(zoomIn->isEnabled());
    EXPECT_TRUE(zoomIn->isChecked());
    zoomIn->trigger();
    EXPECT_EQ(zooms, 1);
    frame.Router().RemoveTarget(view);
    frame.UpdateCommandUi();
    EXPECT_FALSE(zoomIn->isEnabled());
    EXPECT_FALSE(zoomIn->isChecked());
}

TEST(MainFrame, AcceleratorsAreBoundOnTheWindow)
{
    CMainFrame frame;
    QMap<QString, int> keys;
    for (QAction* a : frame.actions()) {
        for (const QKeySequence& k : a->shortcuts())
            keys[k.toString(QKeySequence::PortableText)] = a->property("acceleratorFor").toInt();
    }
    EXPECT_EQ(keys.size(), 18);
    EXPECT_EQ(keys.value("Ctrl+Ins"), Cmd::Copy);
    EXPECT_EQ(keys.value("Shift+Ins"), Cmd::Paste);
    EXPECT_EQ(keys.value("Alt+Backspace"), Cmd::Undo);
    EXPECT_EQ(keys.value("Shift+Del"), Cmd::Cut);
    EXPECT_EQ(keys.value("Ctrl+G"), Cmd::GoToSheet);
    EXPECT_EQ(keys.value("Alt+F4"), Cmd::AppExit);
    EXPECT_FALSE(keys.contains("Ctrl+A")); // the view's key
}

TEST(MainFrame, MainToolBarInBothVariants)
{
    CMainFrame frame;
    const QStringList normal = {"57600 Nieuw project", "57601 Open project", "32799 Nieuw blad",
        "57603 Bewaar project", "-", "32802 Dit blad afdrukken", "-", "57635 Knippen",
        "57634 Kopie", "57637 Plakken", "-", "57643 Ongedaan maken", "57644 Herhalen", "-",
        "[list 32856]", "-", "[list 32826]", "-", "32887 Zoom alles", "32890 Zoom mbv venster", "-",
        "32857 Blad configuratie", "32879 Show raster dots", "-", "32816 Selecteer per segment",
        "32809 Selecteer volledige lijnen", "32805 Selecteer volledige objecten",
        "32893 Selecteer afbeeldingen", "32897 Selecteer Windows teksten"};
    EXPECT_EQ(DumpBar(frame.MainToolBar()), normal);
    EXPECT_FALSE(frame.TextToolBarShown());
    EXPECT_EQ(frame.FontCombo(), nullptr);
    EXPECT_EQ(frame.SheetCombo()->width(), 180);
    EXPECT_EQ(frame.LayerCombo()->width(), 180);
    EXPECT_EQ(frame.SheetCombo()->DropDownHeight(), 380);
    EXPECT_EQ(frame.LayerCombo()->DropDownHeight(), 420);

    frame.ShowSheetList({"1: Een", "2: Twee"}, 1);

    // A sheet in any other tool keeps the normal bar.
    CSheet sheet;
    sheet.toolMode = ToolMode::Text;
    frame.RebuildMainToolBar(&sheet);
    EXPECT_FALSE(frame.TextToolBarShown());

    sheet.toolMode = ToolMode::WindowsText;
    frame.Settings().fonts[1].SetFace("Courier New");
    frame.RebuildMainToolBar(&sheet);
    EXPECT_TRUE(frame.TextToolBarShown());
    EXPECT_EQ(DumpBar(frame.MainToolBar()),
        QStringList({"57643 Ongedaan maken", "57644 Herhalen", "-", "[list 32856]", "-",
            "[list 32826]", "-", "32887 Zoom alles", "32890 Zoom mbv venster", "-",
            "32857 Blad configuratie", "32879 Show raster dots", "-", "[list 32901]", "-",
            "[list 32904]", "-", "32859 Vet", "32866 Schuin"}));
    QComboBox* fonts = frame.FontCombo();
    ASSERT_NE(fonts, nullptr);
    EXPECT_EQ(fonts->width(), 120);
    ASSERT_EQ(fonts->count(), 8);
    EXPECT_EQ(fonts->itemText(0), "1. Arial");
    EXPECT_EQ(fonts->itemText(1), "2. Courier New");
    QComboBox* sizes = frame.SizeCombo();
    ASSERT_NE(sizes, nullptr);
    EXPECT_EQ(sizes->width(), 60);
    // 8 to 49, and the sheet's height of 50 after them, selected.
    ASSERT_EQ(sizes->count(), 43);
    EXPECT_EQ(sizes->itemText(0), "8");
    EXPECT_EQ(sizes->itemText(41), "49");
    EXPECT_EQ(sizes->currentText(), "50");
    const auto sized = Record(frame, &CMainFrame::SizePicked);
    emit sizes->activated(4);
    EXPECT_EQ(*sized, std::vector<int>({12}));
    // A height among the sizes is selected, one outside them added in order.
    for (const auto& [height, index, count] :
        {std::tuple {20, 12, 42}, std::tuple {5, 0, 43}, std::tuple {300, 42, 43}}) {
        sheet.textDefaults.height = height;
        sheet.textDefaults.fontNumber = 1;
        frame.ShowToolBarFor(&sheet);
        EXPECT_EQ(frame.SizeCombo()->count(), count) << height;
        EXPECT_EQ(frame.SizeCombo()->currentIndex(), index) << height;
        EXPECT_EQ(frame.SizeCombo()->currentText().toInt(), height);
        EXPECT_EQ(frame.FontCombo()->currentIndex(), 1);
    }
    emit frame.SizeCombo()->activated(42);
    EXPECT_EQ(sized->back(), 300);

    // Leaving the text tool brings the normal bar back, the lists refilled.
    frame.RebuildMainToolBar(nullptr);
    EXPECT_EQ(DumpBar(frame.MainToolBar()), normal);
    EXPECT_EQ(frame.SizeCombo(), nullptr);
    EXPECT_EQ(frame.SheetCombo()->count(), 2);
    EXPECT_EQ(frame.SheetCombo()->currentIndex(), 1);
}

TEST(MainFrame, ToolSetAtTheRightWithItsButtonsInOrder)
{
    CMainFrame frame;
    QToolBar* set = frame.ToolSet();
    EXPECT_EQ(set->windowTitle(), "Werkset");
    EXPECT_EQ(frame.toolBarArea(set), Qt::RightToolBarArea);
    EXPECT_EQ(set->orientation(), Qt::Vertical);
    EXPECT_EQ(DumpBar(set),
        QStringList({"32787 Selecteren", "32837 Plaats lijnen", "32838 Lijnen 90 graden hoek",
            "32836 Knooppunten", "32841 Plaats symbolen", "32844 Plaats tekst met Vorel tekenset",
            "32835 Plaats tekst met Windows font", "32842 Plaats rechthoeken",
            "32833 Plaats ellipsen of cirkels", "32840 Opgevulde veelhoek",
            "32839 Opgevulde 90 graden veelhoek", "32843 Opgevulde rechthoek",
            "32834 Opgevulde ellipsen of cirkels", "32777 Solide", "32773 Kruislijnen",
            "32774 Diagonale kruislijnen", "32776 Horizontale lijnen", "32778 Verticale lijnen",
            QString::fromUtf8("32772 Diagonale lijnen linksboven–rechtsonder"),
            QString::fromUtf8("32775 Diagonale lijnen linksonder–rechtsboven"),
            "32892 Plaats afbeeldingen"}));
    EXPECT_EQ(FindAction(set, Cmd::FillSolid)->statusTip(), "Opvullen met solide kleur");
}

TEST(MainFrame, EveryButtonImageIsBuiltIn)
{
    const CMainFrame frame;
    for (const CCommandInfo& c : AllCommands()) {
        if (c.icon.empty())
            continue;
        const QString name = QString::fromUtf8(c.icon.data(), c.icon.size());
        EXPECT_TRUE(QFile::exists(QStringLiteral(":/icons/") + name + QStringLiteral(".svg")))
            << c.id;
        const QImage image = CommandIcon(c.icon).pixmap(24).toImage();
        ASSERT_FALSE(image.isNull()) << c.id;
        int drawn = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                drawn += image.pixelColor(x, y).alpha() > 0;
        EXPECT_GT(drawn, 40) << c.id;
    }
}

TEST(MainFrame, StatusBarHasNinePanesSizedByTheirSamples)
{
    CMainFrame frame;
    const QList<QLabel*> panes = frame.statusBar()->findChildren<QLabel*>();
    EXPECT_EQ(panes.size(), CMainFrame::kPaneCount);
    EXPECT_EQ(frame.PaneText(0), "Gereed");
    // "Vast" < "T:000:00" < "X:0000.000" < "XR:0000.000"
    EXPECT_LT(frame.Pane(3)->width(), frame.Pane(8)->width());
    EXPECT_LT(frame.Pane(8)->width(), frame.Pane(1)->width());
    EXPECT_LT(frame.Pane(1)->width(), frame.Pane(4)->width());
    frame.SetPaneText(3, "Vrij");
    EXPECT_EQ(frame.PaneText(3), "Vrij");
}

TEST(MainFrame, BarsFollowTheSettingsAndTheViewMenu)
{
    CMainFrame frame;
    frame.SetProjectOpen(true);
    frame.show();
    frame.Settings().showToolSet = false;
    frame.ApplyBarSettings();
    EXPECT_TRUE(frame.ToolSet()->isHidden());

    // Shown by other means, it is hidden again when the window comes to the
    // front.
    frame.ToolSet()->show();
    QEvent activation(QEvent::ActivationChange);
    frame.activateWindow();
    QApplication::setActiveWindow(&frame);
    QApplication::sendEvent(&frame, &activation);
    EXPECT_TRUE(frame.ToolSet()->isHidden());

    // "Beeld": "Status balk" hides the status bar and changes the setting.
    QAction* statusEntry = FindAction(&frame, Cmd::ViewStatusBar);
    frame.UpdateCommandUi();
    EXPECT_TRUE(statusEntry->isChecked());
    statusEntry->trigger();
    EXPECT_FALSE(frame.Settings().showStatusBar);
    EXPECT_TRUE(frame.statusBar()->isHidden());
    frame.UpdateCommandUi();
    EXPECT_FALSE(statusEntry->isChecked());
    FindAction(&frame, Cmd::ViewToolSet)->trigger();
    EXPECT_TRUE(frame.Settings().showToolSet);
    EXPECT_FALSE(frame.ToolSet()->isHidden());
}

TEST(MainFrame, ListsShowTheDocumentAndPicksChangeIt)
{
    CDovereduDoc doc;
    doc.sheets.push_back(std::make_unique<CSheet>(0, "Een", ""));
    doc.sheets.push_back(std::make_unique<CSheet>(0, "Tw\xe9\x65", "")); // Windows-1252
    doc.sheets[1]->layers.SetName(2, "Kabels");
    doc.sheets[1]->layers.SetVisible(3, 0);
    doc.RefreshSheetLists(true);

    CMainFrame frame;
    frame.AttachDocument(&doc);
    CSheetCombo* sheets = frame.SheetCombo();
    ASSERT_EQ(sheets->count(), 2);
    EXPECT_EQ(sheets->itemText(1), QString::fromUtf8("2: Twée"));
    EXPECT_EQ(sheets->currentIndex(), 0);
    EXPECT_EQ(sheets->focusPolicy(), Qt::StrongFocus);

    const auto sheetPicks = Record(frame, &CMainFrame::SheetPicked);
    emit sheets->activated(1);
    EXPECT_EQ(doc.activeSheet, 1);
    EXPECT_EQ(*sheetPicks, std::vector<int>({1}));
    EXPECT_EQ(frame.LayerCombo()->itemText(1), "Kabels");
    emit sheets->activated(1); // the same entry again: no pick
    EXPECT_EQ(sheetPicks->size(), 1u);

    // Picking a hidden layer makes it active and shows it.
    const auto layerPicks = Record(frame, &CMainFrame::LayerPicked);
    emit frame.LayerCombo()->activated(2);
    EXPECT_EQ(doc.sheets[1]->activeLayer, 3);
    EXPECT_EQ(doc.sheets[1]->layers.IsVisible(3), 1);
    EXPECT_EQ(*layerPicks, std::vector<int>({2}));

    frame.AttachDocument(nullptr);
    EXPECT_EQ(frame.SheetCombo()->count(), 0);
    EXPECT_EQ(frame.SheetCombo()->focusPolicy(), Qt::NoFocus);
}

TEST(MainFrame, ProjectWindowsAreMaximisedAndNamedInTheTitle)
{
    CMainFrame frame;
    frame.show();
    EXPECT_FALSE(frame.Router().Update(Cmd::WindowCascade).enabled);
    auto* child = new QWidget;
    child->setWindowTitle("Kast");
    QMdiSubWindow* sub = frame.AddProjectWindow(child);
    EXPECT_TRUE(sub->isMaximized());
    EXPECT_TRUE(frame.Router().Update(Cmd::WindowCascade).enabled);
    EXPECT_EQ(frame.windowTitle(), "Vorel Ridizav - [Kast]");
}
