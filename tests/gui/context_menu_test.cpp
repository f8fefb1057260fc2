// The view's context menu and mouse buttons in the real window. With
// RIDIZAV_SCREENSHOTS set (and a display that can grab the screen, as under
// xvfb-run), the menus of a line being drawn and of a text ghost are saved
// there as menu_line.png and menu_text.png.
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include "app/command_table.h"
#include "document/document.h"
#include "gui/choice_dialogs.h"
#include "gui/drawing_view.h"
#include "gui/main_frame.h"
#include "gui/place_text_dlg.h"
#include "gui/project_windows.h"
#include "gui_test_main.h"
#include "model/sheet.h"
#include "model/tool_mode.h"
#include "support/shipped_data.h"
#include "view/tools/tool_machine.h"
#include "view/view_controller.h"

namespace {

// Closes every popup menu as soon as it shows, after noting its entries (and
// saving the screen as `shot` when asked).
class CMenuWatcher {
public:
    CMenuWatcher()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] { Look(); });
        timer.start(5);
    }

    std::vector<QStringList> menus;
    QString shot;

private:
    void Look()
    {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || menu == seen)
            return;
        seen = menu;
        QStringList texts;
        for (const QAction* a : menu->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        menus.push_back(texts);
        if (!shot.isEmpty()) {
            const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
            if (!screen.isNull())
                screen.save(shot);
            shot.clear();
        }
        menu->close();
    }

    QTimer timer;
    QPointer<QMenu> seen;
};

// A tool that lists the presses, releases and double clicks it gets.
class CListingTool : public CToolMachine {
public:
    std::vector<std::string> events;
    void Press(CToolContext&) override { events.push_back("press"); }
    void Release(CToolContext&) override { events.push_back("release"); }
    void DoubleClick(CToolContext&) override { events.push_back("double"); }
};

void Mouse(CDovereduView& view, QEvent::Type type, QPoint p, Qt::MouseButton button)
{
    const Qt::MouseButtons held
        = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ? button
                                                                                  : Qt::NoButton;
    QMouseEvent event(type, QPointF(p), view.viewport()->mapToGlobal(QPointF(p)),
        type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &event);
    QCoreApplication::processEvents();
}

// The key pressed and released; `between` is what the platform sends
// before it has the release.
void PressKey(QWidget& view, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
    const std::function<void()>& between = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&view, &press);
    if (between)
        between();
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(&view, &release);
    QCoreApplication::processEvents();
}

void KeyboardMenuEvent(CDovereduView& view)
{
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(0, 0));
    QApplication::sendEvent(view.viewport(), &event);
}

QString Shot(const char* name)
{
    const char* shots = std::getenv("RIDIZAV_SCREENSHOTS");
    return shots ? QString::fromLocal8Bit(shots) + QLatin1Char('/') + QLatin1String(name)
                 : QString();
}

struct CWindow {
    CWindow()
        : projects(frame)
    {
        frame.resize(1000, 760);
        projects.NewProject();
        frame.show();
        QCoreApplication::processEvents();
    }
    ~CWindow() { frame.canClose = nullptr; }
    CDovereduView& View() { return projects.Windows().front()->View(); }
    CSheet& Sheet() { return View().Document().GetActiveSheet(); }

    CMainFrame frame;
    CProjectWindows projects;
};

} // namespace

TEST(ViewContextMenu, TheRightButtonOpensOneMenuOnItsRelease)
{
    CWindow w;
    CDovereduView& view = w.View();
    CMenuWatcher watcher;
    Mouse(view, QEvent::MouseMove, {200, 200}, Qt::NoButton);
    Mouse(view, QEvent::MouseButtonPress, {200, 200}, Qt::RightButton);
    // X11 and Wayland send the mouse's menu event with the press.
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(200, 200));
    QApplication::sendEvent(view.viewport(), &event);
    QCoreApplication::processEvents();
    EXPECT_TRUE(watcher.menus.empty());
    Mouse(view, QEvent::MouseButtonRelease, {200, 200}, Qt::RightButton);
    ASSERT_EQ(watcher.menus.size(), 1u);
    // The Select tool with nothing selected: the criteria first.
    EXPECT_EQ(watcher.menus[0].front(), QStringLiteral("Selecteer per segment"));
}

TEST(ViewContextMenu, TheMenuKeyAndShiftF10OpenOneMenuEach)
{
    CWindow w;
    CDovereduView& view = w.View();
    view.setFocus();
    CMenuWatcher watcher;
    // The key, then the menu event some platforms send with it.
    PressKey(view, Qt::Key_Menu, Qt::NoModifier, [&] { KeyboardMenuEvent(view); });
    EXPECT_EQ(watcher.menus.size(), 1u);
    PressKey(view, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(watcher.menus.size(), 2u);
    // The platform's event alone.
    KeyboardMenuEvent(view);
    QCoreApplication::processEvents();
    EXPECT_EQ(watcher.menus.size(), 3u);
    // The key alone, twice.
    PressKey(view, Qt::Key_Menu);
    PressKey(view, Qt::Key_Menu);
    EXPECT_EQ(watcher.menus.size(), 5u);
}

TEST(ViewContextMenu, TheSlashKeyIsWhicheverKeyTypesASlash)
{
    CWindow w;
    CDovereduView& view = w.View();
    CMenuWatcher watcher;
    // (key, modifiers, text typed, whether the menu opens)
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* text;
        bool opens;
    } cases[] = {
        {Qt::Key_Slash, Qt::NoModifier, "/", true},
        {Qt::Key_Slash, Qt::KeypadModifier, "/", true},
        {Qt::Key_Slash, Qt::ShiftModifier, "/", true}, // Shift+7 on a German keyboard
        {Qt::Key_Question, Qt::ShiftModifier, "?", false},
        {Qt::Key_7, Qt::NoModifier, "7", false},
    };
    for (const auto& c : cases) {
        const size_t before = watcher.menus.size();
        QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, QString::fromLatin1(c.text));
        QApplication::sendEvent(&view, &press);
        QKeyEvent release(QEvent::KeyRelease, c.key, c.modifiers, QString::fromLatin1(c.text));
        QApplication::sendEvent(&view, &release);
        QCoreApplication::processEvents();
        EXPECT_EQ(watcher.menus.size() - before, c.opens ? 1u : 0u) << c.text << " " << c.key;
    }
}

TEST(ViewContextMenu, ADoubleClickIsOneDoubleClickAndNoThirdPress)
{
    CWindow w;
    CDovereduView& view = w.View();
    CListingTool tool;
    view.Controller().Tools().Use(ToolMode::Select, tool);
    const QPoint p(300, 300);
    Mouse(view, QEvent::MouseMove, p, Qt::NoButton);
    Mouse(view, QEvent::MouseButtonPress, p, Qt::LeftButton);
    Mouse(view, QEvent::MouseButtonRelease, p, Qt::LeftButton);
    Mouse(view, QEvent::MouseButtonDblClick, p, Qt::LeftButton);
    Mouse(view, QEvent::MouseButtonRelease, p, Qt::LeftButton);
    EXPECT_EQ(tool.events, (std::vector<std::string> {"press", "release", "double", "release"}));
    EXPECT_FALSE(view.Controller().Captured());
}

TEST(ViewContextMenu, TheMenusOfALineBeingDrawnAndOfATextGhost)
{
    CWindow w;
    CDovereduView& view = w.View();
    CSheet& s = w.Sheet();
    CMenuWatcher watcher;

    RunWhenModal<CPenDialog>([](CPenDialog* d) { d->accept(); });
    ASSERT_TRUE(w.frame.Router().Execute(Cmd::ToolLines));
    QCoreApplication::processEvents();
    Mouse(view, QEvent::MouseMove, {150, 150}, Qt::NoButton);
    Mouse(view, QEvent::MouseButtonPress, {150, 150}, Qt::LeftButton);
    Mouse(view, QEvent::MouseButtonRelease, {150, 150}, Qt::LeftButton);
    Mouse(view, QEvent::MouseMove, {400, 260}, Qt::NoButton);
    ASSERT_EQ(s.toolStep, Step::LineFollows);
    watcher.shot = Shot("menu_line.png");
    Mouse(view, QEvent::MouseButtonRelease, {400, 260}, Qt::RightButton);
    ASSERT_EQ(watcher.menus.size(), 1u);
    EXPECT_EQ(watcher.menus[0].mid(0, 4),
        (QStringList {QStringLiteral("Einde lijn\tEsc"), QStringLiteral("Kies een pen\tP"),
            QStringLiteral("Kies een laag\tL"), QStringLiteral("-")}));
    EXPECT_FALSE(watcher.menus[0].contains(QStringLiteral("Plaats lijnen")));
    EXPECT_EQ(s.toolStep, Step::LineFollows); // nothing chosen: the line goes on
    PressKey(view, Qt::Key_Escape);

    ASSERT_TRUE(s.font.Load((ShippedDataFolder() / CDovereduFont::kFileName).string()));
    RunWhenModal<CPlaceTextDlg>([](CPlaceTextDlg* d) {
        d->text->setText(QStringLiteral("Verdeelkast K1"));
        d->size->setText(QStringLiteral("120"));
        d->accept();
    });
    ASSERT_TRUE(w.frame.Router().Execute(Cmd::ToolText));
    Mouse(view, QEvent::MouseMove, {200, 400}, Qt::NoButton);
    Mouse(view, QEvent::MouseButtonPress, {200, 400}, Qt::LeftButton);
    ASSERT_EQ(s.toolStep, Step::Placing);
    Mouse(view, QEvent::MouseMove, {300, 420}, Qt::NoButton);
    watcher.shot = Shot("menu_text.png");
    PressKey(view, Qt::Key_Slash);
    ASSERT_EQ(watcher.menus.size(), 2u);
    EXPECT_EQ(watcher.menus[1].mid(0, 9),
        (QStringList {QStringLiteral("Aanpassen..."), QStringLiteral("Spiegelschrift\tSF2"),
            QStringLiteral("Kantelen\tF2"), QStringLiteral("Verkleinen\t-"),
            QStringLiteral("Vergroten\t+"), QStringLiteral("Centreer op cursor"),
            QStringLiteral("Einde\tEsc"), QStringLiteral("Penkeuze...\tP"),
            QStringLiteral("Laagkeuze...\tL")}));
    PressKey(view, Qt::Key_Escape);
    EXPECT_EQ(s.toolMode, ToolMode::Select);
}
