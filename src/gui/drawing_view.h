#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include <QPainter>

#include "gui/view_dialogs.h"
#include "platform/clock.h"
#include "platform/ui_services.h"
#include "qt/qt_canvas.h"

class QTimer;
class CDovereduDoc;
class CMainFrame;
class CViewController;
struct CSettings;

// The drawing view of one project window: the Qt side of CViewController.
// It keeps two images: the off-screen image, into which every complete draw
// goes, and the screen image that the window shows, a copy of the first with
// the feedback drawn over it in XOR. Pointer, wheel, key, focus, scroll and
// timer events go to the controller, which answers through CUiServices and
// CClock; after each event what was drawn on the screen image is shown. A
// pointer move therefore never draws the sheet.
class CDovereduView : public QAbstractScrollArea, private CUiServices, private CClock {
    Q_OBJECT
public:
    // Without a main window (tests) the view has settings of its own and no
    // status bar.
    explicit CDovereduView(
        CDovereduDoc& doc, CMainFrame* frame = nullptr, QWidget* parent = nullptr);
    ~CDovereduView() override;

    CDovereduDoc& Document() { return doc; }
    CViewController& Controller() { return *controller; }
    // The view's user interface, also for the window's commands on the
    // active sheet: message boxes over the view.
    CUiServices& Ui() { return *this; }
    // A complete draw of the active sheet, with the scroll bars and readouts.
    void Redraw();
    const QImage& OffscreenImage() const { return offscreenImage; }
    const QImage& ScreenImage() const { return screenImage; }

    // Called after every complete draw (start-up timing).
    std::function<void()> drawn;

signals:
    // The view is going; its commands must leave the router.
    void closing();
    // The view changed the project's lists, title or commands' state.
    void documentChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Dead keys and compose sequences of a text being typed, and where the
    // input method shows its window: at the caret.
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    // Tab is a key of the view (texts), not a way out of it.
    bool focusNextPrevChild(bool) override { return false; }
    // The bars pan the sheet; the viewport itself never scrolls.
    void scrollContentsBy(int, int) override { }

private:
    // CUiServices
    Answer MessageBox(std::string_view text, Buttons buttons, Icon icon) override;
    void SetStatusText(int pane, std::string_view text) override;
    void Invalidate() override;
    CCanvas* ScreenCanvas() override;
    CCanvas* RestoreScreen(const CRect& pixels) override;
    void Recompose() override;
    void SetPointerShape(PointerShape shape) override;
    bool PutPointer(int x, int y) override;
    int PopupMenu(const std::vector<CPopupItem>& items, CPoint at) override;
    void TakeFocus() override;
    void DocumentChanged() override;
    CClipboard* Clipboard() override;
    void SetScrollBars(const CScrollBarState& horizontal, const CScrollBarState& vertical) override;
    // CClock
    uint32_t Tick() const override;
    void StartTimer(int id, int milliseconds) override;
    void StopTimer(int id) override;

    // The complete draw: off-screen image, copy, feedback.
    void Render();
    // The screen image from the off-screen image and the feedback.
    void Compose();
    // The input method is on only while a text is typed.
    void FollowTyping();
    // Ends drawing on the screen image and shows it.
    void ShowScreen();
    void ApplyScrollBars();
    void Scrolled(bool vertical, int action);

    CDovereduDoc& doc;
    CMainFrame* frame;
    std::unique_ptr<CSettings> ownSettings;
    CQtViewDialogs dialogs {this};
    std::unique_ptr<CViewController> controller;

    QImage offscreenImage;
    QImage screenImage;
    std::optional<QPainter> screenPainter;
    std::optional<CQtCanvas> screenCanvas;
    bool stale = true;
    // The key press just handled opened the context menu from the keyboard.
    bool menuKeyPressed = false;
    bool painting = false;

    std::map<int, std::unique_ptr<QTimer>> timers;
    std::optional<std::pair<CScrollBarState, CScrollBarState>> pendingBars;
};
