#pragma once

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/command_router.h"
#include "app/settings.h"

class QComboBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QToolBar;
class CDovereduDoc;
class CLayerCombo;
class CSheet;
class CSheetCombo;

// The program's main window: the project windows in its client area, the
// menus, the main tool bar with the sheet and layer lists, the tool set
// "Werkset" at the right edge and the status bar. It owns the program's
// settings and routes every command.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kPaneCount = 9;

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Settings.
    CSettings& Settings() { return settings; }
    const CSettings& Settings() const { return settings; }
    // Reads the configuration file into the settings and hands the model its
    // part of them.
    void LoadConfiguration();
    bool SaveConfiguration();
    // The dialog "Configuratie"; on OK the bars follow the settings at once.
    void ShowConfigurationDialog();
    // Shows or hides the tool bar, the tool set and the status bar as the
    // settings say.
    void ApplyBarSettings();

    // Commands. Later parts add their handlers as targets of the router; the
    // frame's own handlers are the last target asked.
    CCommandRouter& Router() { return router; }
    // Brings every menu entry, button and accelerator up to date.
    void UpdateCommandUi();

    // The menu bar without a project, or the one with a project open.
    void SetProjectOpen(bool open);
    bool ProjectOpen() const { return projectOpen; }
    // The recent projects (UTF-8 paths, newest first) in the file menu.
    void SetRecentFiles(const std::vector<std::string>& paths);

    // Lays out the main tool bar: the text variant while `sheet` is in the
    // Windows-text tool, its lists showing the sheet's font and height; else
    // the normal one. No sheet is kept: the lists' picks go to the active
    // view.
    void RebuildMainToolBar(const CSheet* sheet);
    // The one place that decides the variant, for the active sheet of the
    // active window (none without one): lays the bar out anew when the
    // variant changes, else shows the sheet's font and height in the lists.
    // Showing the document's lists calls it.
    void ShowToolBarFor(const CSheet* sheet);
    bool TextToolBarShown() const { return textBar; }
    QToolBar* MainToolBar() const { return mainBar; }
    QToolBar* ToolSet() const { return toolSet; }
    CSheetCombo* SheetCombo() const { return sheetCombo; }
    CLayerCombo* LayerCombo() const { return layerCombo; }
    QComboBox* FontCombo() const { return fontCombo; } // null in the normal variant
    QComboBox* SizeCombo() const { return sizeCombo; } // null in the normal variant

    // The lists' entries as the document keeps them (Windows-1252).
    void ShowSheetList(const std::vector<std::string>& entries, int selection);
    void ShowLayerList(const std::vector<std::string>& entries, int selection);
    // Shows the document's lists; while a document is attached, picking a
    // sheet or a layer changes its active sheet or the active sheet's layer.
    void ShowDocumentLists(const CDovereduDoc& doc);
    void AttachDocument(CDovereduDoc* doc);

    // Status bar panes 0 (messages) to 8.
    void SetPaneText(int pane, const QString& text);
    QString PaneText(int pane) const;
    QLabel* Pane(int pane) const { return panes.at(static_cast<size_t>(pane)); }

    // The project windows.
    QMdiArea* MdiArea() const { return mdiArea; }
    // Adds a project window, maximised as every project window is.
    QMdiSubWindow* AddProjectWindow(QWidget* window);

    QMenu* createPopupMenu() override;

    // Asked before the window closes (every open project may refuse).
    std::function<bool()> canClose;

signals:
    // The user closed a list on another entry (after the attached document
    // took the change).
    // A sheet was picked in the list: before the switch, then after it.
    void SheetPicking(int index);
    void SheetPicked(int index);
    void LayerPicked(int index);
    // The text variant's lists: a font number from 0, a height.
    void FontPicked(int index);
    void SizePicked(int size);
    void RecentFileChosen(int index);
    void ScrollBarsChanged(bool shown);
    void ConfigurationChanged();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RegisterFrameCommands();
    void BuildMenuBar();
    void BuildToolSet();
    void BuildStatusBar();
    void AddAccelerators();
    void ScheduleCommandUi();
    void ToggleBar(bool CSettings::*setting);
    void TileProjectWindows(Qt::Orientation orientation);
    void PickSheet(int index);
    void PickLayer(int index);
    // The font and size lists select the sheet's font number and height;
    // a height that is not among the sizes gets an entry of its own.
    void ShowTextLists(const CSheet& sheet);

    CSettings settings;
    CCommandRouter router;
    CCommandHandlers frameHandlers;

    bool projectOpen = false;
    QStringList recentFiles;
    bool textBar = false;
    CDovereduDoc* document = nullptr;
    QStringList sheetEntries;
    int sheetSelection = 0;
    QStringList layerEntries;
    int layerSelection = 0;
    bool updatePending = false;

    QMdiArea* mdiArea = nullptr;
    QToolBar* mainBar = nullptr;
    QToolBar* toolSet = nullptr;
    CSheetCombo* sheetCombo = nullptr;
    CLayerCombo* layerCombo = nullptr;
    QComboBox* fontCombo = nullptr;
    QComboBox* sizeCombo = nullptr;
    std::array<QLabel*, kPaneCount> panes {};
};
