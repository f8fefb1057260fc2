#include "gui/main_frame.h"

#include <QCloseEvent>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <functional>
#include <span>

#include "app/command_surfaces.h"
#include "app/command_table.h"
#include "document/document.h"
#include "gui/command_actions.h"
#include "gui/tool_bar_lists.h"
#include "gui/user_config_dlg.h"
#include "model/model_defaults.h"
#include "model/sheet.h"
#include "model/tool_mode.h"
#include "qt/qt_text.h"

namespace {

QStringList FromCp1252List(const std::vector<std::string>& entries)
{
    QStringList list;
    for (const auto& entry : entries)
        list << FromCp1252(entry);
    return list;
}

// The status bar's panes are as wide as these texts.
constexpr const char* kPaneSamples[CMainFrame::kPaneCount] = {"", "X:0000.000", "Y:0000.000",
    "Vast", "XR:0000.000", "YR:0000.000", "LN:0000.000", "HK:0000.000", "T:000:00"};

const CSheet* ActiveSheetOf(const CDovereduDoc& doc)
{
    const auto i = static_cast<size_t>(doc.activeSheet);
    return doc.activeSheet >= 0 && i < doc.sheets.size() ? doc.sheets[i].get() : nullptr;
}

constexpr int kFontListWidth = 120;
constexpr int kSizeListWidth = 60;
constexpr int kSmallestSize = 8;
constexpr int kLargestSize = 49;

} // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent)
{
    setWindowTitle(QCoreApplication::applicationName());
    resize(1024, 768);

    mdiArea = new QMdiArea(this);
    mdiArea->setObjectName(QStringLiteral("projects"));
    setCentralWidget(mdiArea);

    RegisterFrameCommands();
    router.AddTarget(frameHandlers);

    BuildMenuBar();
    mainBar = new QToolBar(QStringLiteral("Werkbalk"), this);
    mainBar->setObjectName(QStringLiteral("mainToolBar"));
    addToolBar(Qt::TopToolBarArea, mainBar);
    RebuildMainToolBar(nullptr);
    BuildToolSet();
    BuildStatusBar();
    AddAccelerators();

    // Menus, buttons and keys follow the program's state after every input,
    // the way an idle update would.
    qApp->installEventFilter(this);
    UpdateCommandUi();
}

CMainFrame::~CMainFrame() = default;

// --- settings -------------------------------------------------------------

void CMainFrame::LoadConfiguration()
{
    ::LoadConfiguration(settings, this);
    settings.ApplyTo(ModelDefaults());
    ApplyBarSettings();
}

bool CMainFrame::SaveConfiguration()
{
    return ::SaveConfiguration(settings, this);
}

void CMainFrame::ShowConfigurationDialog()
{
    if (!::ShowConfigurationDialog(settings, this))
        return;
    settings.ApplyTo(ModelDefaults());
    ApplyBarSettings();
    // The font list shows the configured faces.
    if (textBar)
        RebuildMainToolBar(document ? ActiveSheetOf(*document) : nullptr);
    emit ConfigurationChanged();
}

void CMainFrame::ApplyBarSettings()
{
    mainBar->setVisible(settings.showToolBar);
    toolSet->setVisible(settings.showToolSet);
    statusBar()->setVisible(settings.showStatusBar);
    ScheduleCommandUi();
}

void CMainFrame::ToggleBar(bool CSettings::*setting)
{
    settings.*setting = !(settings.*setting);
    ApplyBarSettings();
}

// --- commands -------------------------------------------------------------

void CMainFrame::RegisterFrameCommands()
{
    const auto ticked = [this](bool CSettings::*setting) {
        return [this, setting] { return CCommandState {true, settings.*setting}; };
    };
    frameHandlers.On(
        Cmd::ViewToolBar, [this] { ToggleBar(&CSettings::showToolBar); },
        ticked(&CSettings::showToolBar));
    frameHandlers.On(
        Cmd::ViewToolSet, [this] { ToggleBar(&CSettings::showToolSet); },
        ticked(&CSettings::showToolSet));
    frameHandlers.On(
        Cmd::ViewStatusBar, [this] { ToggleBar(&CSettings::showStatusBar); },
        ticked(&CSettings::showStatusBar));
    frameHandlers.On(
        Cmd::ScrollBars,
        [this] {
            settings.showScrollBars = !settings.showScrollBars;
            emit ScrollBarsChanged(settings.showScrollBars);
        },
        ticked(&CSettings::showScrollBars));
    frameHandlers.On(Cmd::Configuration, [this] { ShowConfigurationDialog(); });
    frameHandlers.On(Cmd::AppExit, [this] { close(); });
    frameHandlers.On(Cmd::About, [this] {
        QMessageBox::about(this, QStringLiteral("Info"),
            QCoreApplication::applicationName() + QStringLiteral(" ")
                + QCoreApplication::applicationVersion());
    });

    const auto hasWindows = [this] {
        return CCommandState {!mdiArea->subWindowList().isEmpty(), false};
    };
    frameHandlers.On(
        Cmd::WindowCascade, [this] { mdiArea->cascadeSubWindows(); }, hasWindows);
    frameHandlers.On(
        Cmd::WindowTileHorizontal, [this] { TileProjectWindows(Qt::Vertical); }, hasWindows);
    frameHandlers.On(
        Cmd::WindowTileVertical, [this] { TileProjectWindows(Qt::Horizontal); }, hasWindows);
}

void CMainFrame::UpdateCommandUi()
{
    updatePending = false;
    for (QAction* action : findChildren<QAction*>()) {
        if (CommandIdOf(action) != 0)
            RefreshAction(action, router);
    }
}

void CMainFrame::ScheduleCommandUi()
{
    if (updatePending)
        return;
    updatePending = true;
    QTimer::singleShot(0, this, [this] {
        if (updatePending)
            UpdateCommandUi();
    });
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
        ScheduleCommandUi();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::AddAccelerators()
{
    // Only these keys belong to the whole window; the keys the view reads
    // itself are shown in the captions but not bound, so that typing a text
    // never runs a command. The keys always reach the router, which runs the
    // command only when it is enabled.
    for (const CCommandInfo& command : AllCommands()) {
        QList<QKeySequence> keys;
        for (std::string_view key : command.accelerators) {
            if (!key.empty())
                keys << QKeySequence(FromUtf8(key), QKeySequence::PortableText);
        }
        if (keys.isEmpty())
            continue;
        auto* action = new QAction(this);
        action->setProperty("acceleratorFor", command.id);
        action->setShortcuts(keys);
        const int id = command.id;
        connect(action, &QAction::triggered, this, [this, id] {
            router.Execute(id);
            ScheduleCommandUi();
        });
        addAction(action);
    }
}

// --- menus ----------------------------------------------------------------

void CMainFrame::SetProjectOpen(bool open)
{
    if (open == projectOpen)
        return;
    projectOpen = open;
    BuildMenuBar();
}

void CMainFrame::SetRecentFiles(const std::vector<std::string>& paths)
{
    recentFiles.clear();
    for (const auto& path : paths)
        recentFiles << QDir::toNativeSeparators(QString::fromStdString(path));
    BuildMenuBar();
}

void CMainFrame::BuildMenuBar()
{
    auto* bar = new QMenuBar(this);
    const std::function<void(QMenu*, std::span<const CMenuEntry>)> fill
        = [&](QMenu* menu, std::span<const CMenuEntry> entries) {
              connect(menu, &QMenu::aboutToShow, this, [this, menu] {
                  for (QAction* action : menu->actions()) {
                      if (CommandIdOf(action) != 0)
                          RefreshAction(action, router);
                  }
              });
              for (const CMenuEntry& entry : entries) {
                  switch (entry.kind) {
                  case CMenuEntry::Kind::Command:
                      menu->addAction(MakeMenuAction(entry.id, router, menu, entry.caption));
                      break;
                  case CMenuEntry::Kind::Separator:
                      menu->addSeparator();
                      break;
                  case CMenuEntry::Kind::Submenu:
                      fill(menu->addMenu(FromUtf8(entry.caption)), entry.items);
                      break;
                  case CMenuEntry::Kind::RecentFiles:
                      if (recentFiles.isEmpty()) {
                          menu->addAction(FromUtf8(entry.caption))->setEnabled(false);
                          break;
                      }
                      for (int i = 0; i < recentFiles.size(); ++i) {
                          QString path = recentFiles[i];
                          path.replace(QLatin1Char('&'), QStringLiteral("&&"));
                          QAction* action
                              = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
                          connect(action, &QAction::triggered, this,
                              [this, i] { emit RecentFileChosen(i); });
                      }
                      break;
                  }
              }
          };
    for (const CMenu& menu : MenuBar(projectOpen))
        fill(bar->addMenu(FromUtf8(menu.title)), menu.items);
    // The menu bar that is replaced goes away once its own events are done,
    // so a command may switch the menus from the menu itself.
    setMenuBar(bar);
}

// --- tool bars ------------------------------------------------------------

void CMainFrame::RebuildMainToolBar(const CSheet* sheet)
{
    textBar = sheet && sheet->toolMode == ToolMode::WindowsText;

    // A list may be closing on an entry that changed the tool: its widgets go
    // once their events are done.
    const QList<QAction*> old = mainBar->actions();
    mainBar->clear();
    for (QAction* action : old)
        action->deleteLater();
    sheetCombo = nullptr;
    layerCombo = nullptr;
    fontCombo = nullptr;
    sizeCombo = nullptr;

    for (const CToolBarEntry& entry : ::MainToolBar(textBar)) {
        switch (entry.kind) {
        case CToolBarEntry::Kind::Button:
            mainBar->addAction(MakeButtonAction(entry.id, router, mainBar));
            break;
        case CToolBarEntry::Kind::Separator:
            mainBar->addSeparator();
            break;
        case CToolBarEntry::Kind::SheetList:
            sheetCombo = new CSheetCombo;
            sheetCombo->Show(sheetEntries, sheetSelection);
            connect(sheetCombo, &CToolBarList::Picked, this, &CMainFrame::PickSheet);
            mainBar->addWidget(sheetCombo)->setProperty("listFor", entry.id);
            break;
        case CToolBarEntry::Kind::LayerList:
            layerCombo = new CLayerCombo;
            layerCombo->Show(layerEntries, layerSelection);
            connect(layerCombo, &CToolBarList::Picked, this, &CMainFrame::PickLayer);
            mainBar->addWidget(layerCombo)->setProperty("listFor", entry.id);
            break;
        case CToolBarEntry::Kind::FontList: {
            fontCombo = new QComboBox;
            fontCombo->setObjectName(QStringLiteral("fontList"));
            fontCombo->setFixedWidth(kFontListWidth);
            for (size_t i = 0; i < settings.fonts.size(); ++i) {
                fontCombo->addItem(
                    QStringLiteral("%1. %2").arg(i + 1).arg(FromCp1252(settings.fonts[i].Face())));
            }
            connect(fontCombo, &QComboBox::activated, this, &CMainFrame::FontPicked);
            mainBar->addWidget(fontCombo)->setProperty("listFor", entry.id);
            break;
        }
        case CToolBarEntry::Kind::SizeList: {
            QComboBox* sizes = new QComboBox;
            sizeCombo = sizes;
            sizeCombo->setObjectName(QStringLiteral("sizeList"));
            sizeCombo->setFixedWidth(kSizeListWidth);
            // The entries need not start at the smallest size: the entry's
            // own number is the size picked.
            connect(sizes, &QComboBox::activated, this,
                [this, sizes](int index) { emit SizePicked(sizes->itemText(index).toInt()); });
            mainBar->addWidget(sizeCombo)->setProperty("listFor", entry.id);
            break;
        }
        }
    }
    if (textBar)
        ShowTextLists(*sheet);
    ScheduleCommandUi();
}

void CMainFrame::ShowToolBarFor(const CSheet* sheet)
{
    const bool text = sheet && sheet->toolMode == ToolMode::WindowsText;
    if (text != textBar)
        RebuildMainToolBar(sheet);
    else if (text)
        ShowTextLists(*sheet);
}

void CMainFrame::ShowTextLists(const CSheet& sheet)
{
    if (fontCombo) {
        const QSignalBlocker block(fontCombo);
        fontCombo->setCurrentIndex(
            std::clamp(sheet.textDefaults.fontNumber, 0, std::max(fontCombo->count() - 1, 0)));
    }
    if (sizeCombo) {
        const QSignalBlocker block(sizeCombo);
        const int height = sheet.textDefaults.height;
        std::vector<int> sizes;
        for (int size = kSmallestSize; size <= kLargestSize; ++size)
            sizes.push_back(size);
        if (height < kSmallestSize || height > kLargestSize)
            sizes.insert(std::lower_bound(sizes.begin(), sizes.end(), height), height);
        sizeCombo->clear();
        for (int size : sizes)
            sizeCombo->addItem(QString::number(size));
        sizeCombo->setCurrentIndex(
            static_cast<int>(std::lower_bound(sizes.begin(), sizes.end(), height) - sizes.begin()));
    }
}

void CMainFrame::BuildToolSet()
{
    toolSet = new QToolBar(QStringLiteral("Werkset"), this);
    toolSet->setObjectName(QStringLiteral("toolSet"));
    toolSet->setAllowedAreas(Qt::AllToolBarAreas);
    toolSet->setOrientation(Qt::Vertical);
    for (int id : ::ToolSet())
        toolSet->addAction(MakeButtonAction(id, router, toolSet));
    addToolBar(Qt::RightToolBarArea, toolSet);
}

QMenu* CMainFrame::createPopupMenu()
{
    // The bars are shown by the settings and the "Beeld" menu only.
    return nullptr;
}

// --- sheet and layer lists ------------------------------------------------

void CMainFrame::ShowSheetList(const std::vector<std::string>& entries, int selection)
{
    sheetEntries = FromCp1252List(entries);
    sheetSelection = selection;
    if (sheetCombo)
        sheetCombo->Show(sheetEntries, sheetSelection);
}

void CMainFrame::ShowLayerList(const std::vector<std::string>& entries, int selection)
{
    layerEntries = FromCp1252List(entries);
    layerSelection = selection;
    if (layerCombo)
        layerCombo->Show(layerEntries, layerSelection);
}

void CMainFrame::ShowDocumentLists(const CDovereduDoc& doc)
{
    ShowSheetList(doc.sheetList, doc.sheetListSelection);
    ShowLayerList(doc.layerList, doc.layerListSelection);
    ShowToolBarFor(ActiveSheetOf(doc));
}

void CMainFrame::AttachDocument(CDovereduDoc* doc)
{
    document = doc;
    if (doc) {
        ShowDocumentLists(*doc);
    } else {
        ShowSheetList({}, 0);
        ShowLayerList({}, 0);
        ShowToolBarFor(nullptr);
    }
}

void CMainFrame::PickSheet(int index)
{
    if (document && index >= 0 && index < static_cast<int>(document->sheets.size())) {
        emit SheetPicking(index);
        document->SetActiveSheet(index);
        ShowDocumentLists(*document);
    }
    emit SheetPicked(index);
}

void CMainFrame::PickLayer(int index)
{
    layerSelection = index;
    if (document && document->HasSheets() && index >= 0 && index + 1 < kLayerCount) {
        CSheet& sheet = document->GetActiveSheet();
        const int layer = index + 1;
        sheet.activeLayer = static_cast<int16_t>(layer);
        // Drawing on a hidden layer would show nothing.
        if (!sheet.layers.IsVisible(layer))
            sheet.layers.SetVisible(layer, 1);
        document->layerListSelection = index;
    }
    emit LayerPicked(index);
}

// --- status bar -----------------------------------------------------------

void CMainFrame::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    const QFontMetrics metrics(bar->font());
    for (int i = 0; i < kPaneCount; ++i) {
        auto* pane = new QLabel(bar);
        pane->setObjectName(QStringLiteral("pane%1").arg(i));
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setIndent(2);
        panes[static_cast<size_t>(i)] = pane;
        if (i == 0) {
            bar->addWidget(pane, 1);
            continue;
        }
        const int margins = 2 * (pane->frameWidth() + pane->indent()) + 4;
        pane->setFixedWidth(
            metrics.horizontalAdvance(QString::fromLatin1(kPaneSamples[i])) + margins);
        bar->addPermanentWidget(pane);
    }
    panes[0]->setText(QStringLiteral("Gereed"));
}

void CMainFrame::SetPaneText(int pane, const QString& text)
{
    if (pane >= 0 && pane < kPaneCount)
        panes[static_cast<size_t>(pane)]->setText(text);
}

QString CMainFrame::PaneText(int pane) const
{
    if (pane < 0 || pane >= kPaneCount)
        return {};
    return panes[static_cast<size_t>(pane)]->text();
}

// --- project windows ------------------------------------------------------

QMdiSubWindow* CMainFrame::AddProjectWindow(QWidget* window)
{
    QMdiSubWindow* sub = mdiArea->addSubWindow(window);
    // A maximised project window names its project in the frame's title.
    sub->showMaximized();
    ScheduleCommandUi();
    return sub;
}

void CMainFrame::TileProjectWindows(Qt::Orientation orientation)
{
    const QList<QMdiSubWindow*> windows = mdiArea->subWindowList();
    if (windows.isEmpty())
        return;
    const QRect area = mdiArea->viewport()->rect();
    const int n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* sub = windows[i];
        sub->showNormal();
        if (orientation == Qt::Vertical) {
            const int top = area.height() * i / n;
            sub->setGeometry(0, top, area.width(), area.height() * (i + 1) / n - top);
        } else {
            const int left = area.width() * i / n;
            sub->setGeometry(left, 0, area.width() * (i + 1) / n - left, area.height());
        }
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (canClose && !canClose()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void CMainFrame::changeEvent(QEvent* event)
{
    // The settings decide which bars show, each time the window comes to
    // the front.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        ApplyBarSettings();
    QMainWindow::changeEvent(event);
}
