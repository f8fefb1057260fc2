#include "gui/drawing_view.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPixmap>
#include <QPolygon>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <utility>

#include "app/settings.h"
#include "document/document.h"
#include "gui/main_frame.h"
#include "gui/message_box.h"
#include "gui/qt_clipboard.h"
#include "qt/qt_text.h"
#include "view/view_controller.h"

namespace {

// The colour around the paper.
const QColor kBackground(100, 100, 100);

// A thin cross with an open centre, hot spot (15, 16).
QCursor CrossHairCursor()
{
    QPixmap image(32, 32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setPen(Qt::black);
    p.drawLine(0, 16, 12, 16);
    p.drawLine(19, 16, 31, 16);
    p.drawLine(15, 0, 15, 12);
    p.drawLine(15, 20, 15, 31);
    p.end();
    return QCursor(image, 15, 16);
}

// An arrow with a small four-way cross beside its tail, hot spot (1, 1).
QCursor MoveCursor()
{
    QPixmap image(32, 32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(
        QPolygon(QList<QPoint> {{1, 1}, {1, 17}, {5, 13}, {8, 20}, {10, 19}, {7, 12}, {12, 12}}));
    const QPoint c(24, 24);
    p.drawLine(c.x() - 6, c.y(), c.x() + 6, c.y());
    p.drawLine(c.x(), c.y() - 6, c.x(), c.y() + 6);
    for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
        const QPoint tip = c + 6 * d;
        const QPoint side(d.y(), d.x());
        p.drawLine(tip, tip - 2 * d + 2 * side);
        p.drawLine(tip, tip - 2 * d - 2 * side);
    }
    p.end();
    return QCursor(image, 1, 1);
}

// Qt's key codes as the view reads keys.
int KeyCode(int qtKey)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return Key::F1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace:
        return Key::Backspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return Key::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Key::Return;
    case Qt::Key_Shift:
        return Key::Shift;
    case Qt::Key_Control:
        return Key::Control;
    case Qt::Key_Alt:
        return Key::Alt;
    case Qt::Key_Escape:
        return Key::Escape;
    case Qt::Key_Space:
        return Key::Space;
    case Qt::Key_PageUp:
        return Key::PageUp;
    case Qt::Key_PageDown:
        return Key::PageDown;
    case Qt::Key_End:
        return Key::End;
    case Qt::Key_Home:
        return Key::Home;
    case Qt::Key_Left:
        return Key::Left;
    case Qt::Key_Up:
        return Key::Up;
    case Qt::Key_Right:
        return Key::Right;
    case Qt::Key_Down:
        return Key::Down;
    case Qt::Key_Insert:
        return Key::Insert;
    case Qt::Key_Delete:
        return Key::Delete;
    case Qt::Key_Menu:
        return Key::Menu;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return Key::Plus;
    case Qt::Key_Comma:
    case Qt::Key_Less:
        return Key::Comma;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        return Key::Minus;
    case Qt::Key_Period:
    case Qt::Key_Greater:
        return Key::Period;
    default:
        return Key::None;
    }
}

CKeyEvent KeyEvent(const QKeyEvent* e)
{
    // The "/" key is whichever key types "/" on the keyboard in use, the
    // keypad's included; the key that types "?" is not it.
    const int key = e->text() == QStringLiteral("/")       ? Key::Slash
        : e->key() == Qt::Key_Slash && e->text().isEmpty() ? Key::Slash
                                                           : KeyCode(e->key());
    return {key, (e->modifiers() & Qt::ControlModifier) != 0,
        (e->modifiers() & Qt::ShiftModifier) != 0, e->isAutoRepeat()};
}

// The keys that open the context menu from the keyboard.
bool OpensMenu(const CKeyEvent& k)
{
    return k.key == Key::Menu || (k.key == Key::F10 && k.shift && !k.ctrl);
}

QPoint Pixel(const QMouseEvent* e)
{
    return e->position().toPoint();
}

template<class Event> CModifiers Held(const Event* e)
{
    return {(e->modifiers() & Qt::ControlModifier) != 0, (e->modifiers() & Qt::ShiftModifier) != 0};
}

} // namespace

CDovereduView::CDovereduView(CDovereduDoc& doc, CMainFrame* frame, QWidget* parent)
    : QAbstractScrollArea(parent)
    , doc(doc)
    , frame(frame)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(50, 50);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(CrossHairCursor());

    if (!frame)
        ownSettings = std::make_unique<CSettings>(CDefaultPaths {});
    CSettings& settings = frame ? frame->Settings() : *ownSettings;
    CUiServices& ui = *this;
    CClock& clock = *this;
    controller = std::make_unique<CViewController>(doc, settings, ui, dialogs, clock);
    doc.startTick = Tick();

    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
        [this](int action) { Scrolled(false, action); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
        [this](int action) { Scrolled(true, action); });
    if (frame) {
        connect(frame, &CMainFrame::ScrollBarsChanged, this, [this] {
            controller->UpdateScrollBars();
            ShowScreen();
        });
    }
}

CDovereduView::~CDovereduView()
{
    emit closing();
    screenCanvas.reset();
    screenPainter.reset();
    for (auto& [id, timer] : timers)
        timer->stop();
}

void CDovereduView::Redraw()
{
    controller->Redraw();
    ShowScreen();
}

// --- drawing --------------------------------------------------------------------

void CDovereduView::Render()
{
    screenCanvas.reset();
    screenPainter.reset();
    const QSize size = viewport()->size();
    if (offscreenImage.size() != size) {
        offscreenImage = QImage(size, QImage::Format_RGB32);
        screenImage = QImage(size, QImage::Format_RGB32);
    }
    offscreenImage.fill(kBackground);
    {
        QPainter painter(&offscreenImage);
        CQtCanvas canvas(painter);
        controller->DrawOffscreen(canvas);
    }
    Compose();
    stale = false;
    if (drawn)
        drawn();
}

void CDovereduView::Compose()
{
    std::memcpy(screenImage.bits(), offscreenImage.constBits(),
        static_cast<size_t>(offscreenImage.sizeInBytes()));
    QPainter painter(&screenImage);
    CQtCanvas canvas(painter);
    controller->DrawOverlays(canvas);
}

void CDovereduView::Recompose()
{
    if (stale || painting || offscreenImage.isNull() || offscreenImage.size() != viewport()->size())
        return;
    screenCanvas.reset();
    screenPainter.reset();
    Compose();
    viewport()->update();
}

void CDovereduView::paintEvent(QPaintEvent* event)
{
    painting = true;
    if (stale || offscreenImage.size() != viewport()->size())
        Render();
    screenCanvas.reset();
    screenPainter.reset();
    QPainter painter(viewport());
    painter.drawImage(event->rect(), screenImage, event->rect());
    painting = false;
    if (pendingBars)
        QTimer::singleShot(0, this, [this] { ApplyScrollBars(); });
}

void CDovereduView::ShowScreen()
{
    FollowTyping();
    if (screenPainter) {
        screenCanvas.reset();
        screenPainter.reset();
        viewport()->update();
    }
}

void CDovereduView::resizeEvent(QResizeEvent*)
{
    const QSize size = viewport()->size();
    controller->Resize(size.width(), size.height());
    ShowScreen();
}

// --- events -----------------------------------------------------------------------

void CDovereduView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = Pixel(event);
    controller->PointerMove(p.x(), p.y(), Held(event));
    ShowScreen();
}

void CDovereduView::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = Pixel(event);
    // The right button's press opens nothing; its modifiers count all the same.
    if (event->button() == Qt::LeftButton)
        controller->PointerPress(CViewController::Button::Left, p.x(), p.y(), Held(event));
    else if (event->button() == Qt::RightButton)
        controller->PointerPress(CViewController::Button::Right, p.x(), p.y(), Held(event));
    ShowScreen();
}

void CDovereduView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = Pixel(event);
    if (event->button() == Qt::LeftButton)
        controller->PointerRelease(CViewController::Button::Left, p.x(), p.y(), Held(event));
    else if (event->button() == Qt::RightButton)
        controller->PointerRelease(CViewController::Button::Right, p.x(), p.y(), Held(event));
    ShowScreen();
}

void CDovereduView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint p = Pixel(event);
    if (event->button() == Qt::LeftButton)
        controller->DoubleClick(p.x(), p.y(), Held(event));
    ShowScreen();
}

void CDovereduView::wheelEvent(QWheelEvent* event)
{
    const QPoint p = event->position().toPoint();
    controller->Wheel(p.x(), p.y(), event->angleDelta().y(), Held(event));
    event->accept();
    ShowScreen();
}

void CDovereduView::keyPressEvent(QKeyEvent* event)
{
    const CKeyEvent key = KeyEvent(event);
    // Some platforms follow the Menu key with a context-menu event of their
    // own, queued with the key: the key opened the menu already.
    menuKeyPressed = OpensMenu(key);
    bool used = controller->KeyDown(key);
    if (menuKeyPressed)
        QTimer::singleShot(0, this, [this] { menuKeyPressed = false; });
    // The characters come after the key, as the keyboard types them.
    const std::string typed = TypedCp1252(event->text());
    for (const char ch : typed)
        used = controller->Char(static_cast<uint8_t>(ch)) || used;
    event->setAccepted(used);
    ShowScreen();
}

void CDovereduView::keyReleaseEvent(QKeyEvent* event)
{
    // A held key repeats its presses only; it is released once.
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    controller->KeyUp(KeyEvent(event));
    ShowScreen();
}

void CDovereduView::contextMenuEvent(QContextMenuEvent* event)
{
    // The mouse asks on the right button's release, handled there; the
    // keyboard asks once, by its key or by this event.
    if (event->reason() != QContextMenuEvent::Mouse && !std::exchange(menuKeyPressed, false))
        controller->ContextMenu(std::nullopt);
    event->accept();
    ShowScreen();
}

void CDovereduView::focusInEvent(QFocusEvent* event)
{
    controller->FocusIn();
    QAbstractScrollArea::focusInEvent(event);
}

void CDovereduView::focusOutEvent(QFocusEvent* event)
{
    controller->FocusOut(event->reason() == Qt::PopupFocusReason);
    QAbstractScrollArea::focusOutEvent(event);
}

void CDovereduView::inputMethodEvent(QInputMethodEvent* event)
{
    for (const char ch : TypedCp1252(event->commitString()))
        controller->Char(static_cast<uint8_t>(ch));
    event->accept();
    ShowScreen();
}

QVariant CDovereduView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled:
        return controller->Typing();
    case Qt::ImCursorRectangle: {
        const std::optional<CRect> caret = controller->CaretRect();
        if (!caret)
            return QRect();
        const QRect r(QPoint(caret->left, caret->top), QPoint(caret->right, caret->bottom));
        return QRect(viewport()->mapTo(this, r.topLeft()), r.size());
    }
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

void CDovereduView::FollowTyping()
{
    const bool typing = controller->Typing();
    if (testAttribute(Qt::WA_InputMethodEnabled) == typing) {
        if (typing && hasFocus())
            QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
        return;
    }
    setAttribute(Qt::WA_InputMethodEnabled, typing);
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImEnabled | Qt::ImCursorRectangle);
}

void CDovereduView::Scrolled(bool vertical, int action)
{
    using Code = CViewController::ScrollCode;
    QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        controller->Scroll(vertical, Code::LineUp);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        controller->Scroll(vertical, Code::LineDown);
        break;
    case QAbstractSlider::SliderPageStepSub:
        controller->Scroll(vertical, Code::PageUp);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        controller->Scroll(vertical, Code::PageDown);
        break;
    case QAbstractSlider::SliderMove:
        controller->Scroll(vertical, Code::ThumbTrack, bar->sliderPosition());
        break;
    default:
        controller->Scroll(vertical, Code::End);
        break;
    }
    ShowScreen();
}

// --- CUiServices -----------------------------------------------------------------

CUiServices::Answer CDovereduView::MessageBox(std::string_view text, Buttons buttons, Icon icon)
{
    return ShowMessageBox(this, text, buttons, icon);
}

void CDovereduView::SetStatusText(int pane, std::string_view text)
{
    if (frame && pane >= 0 && pane < CMainFrame::kPaneCount)
        frame->SetPaneText(pane, FromCp1252(text));
}

void CDovereduView::Invalidate()
{
    stale = true;
    viewport()->update();
}

CCanvas* CDovereduView::ScreenCanvas()
{
    if (screenImage.isNull() || painting)
        return nullptr;
    if (!screenPainter) {
        screenPainter.emplace(&screenImage);
        screenCanvas.emplace(*screenPainter);
    }
    return &*screenCanvas;
}

CCanvas* CDovereduView::RestoreScreen(const CRect& pixels)
{
    if (stale || screenImage.isNull() || painting || offscreenImage.size() != screenImage.size())
        return nullptr;
    const QRect area
        = QRect(QPoint(pixels.left, pixels.top), QPoint(pixels.right - 1, pixels.bottom - 1))
              .intersected(screenImage.rect());
    if (area == screenImage.rect()) {
        // The whole image: one copy, and a fresh painter on it.
        screenCanvas.reset();
        screenPainter.reset();
        std::memcpy(screenImage.bits(), offscreenImage.constBits(),
            static_cast<size_t>(offscreenImage.sizeInBytes()));
        return ScreenCanvas();
    }
    CCanvas* screen = ScreenCanvas();
    if (!screen || area.isEmpty())
        return screen;
    screenPainter->save();
    screenPainter->setCompositionMode(QPainter::CompositionMode_Source);
    screenPainter->drawImage(area.topLeft(), offscreenImage, area);
    screenPainter->restore();
    return screen;
}

void CDovereduView::SetPointerShape(PointerShape shape)
{
    switch (shape) {
    case PointerShape::CrossHair: {
        static const QCursor cross = CrossHairCursor();
        viewport()->setCursor(cross);
        break;
    }
    case PointerShape::Move: {
        static const QCursor move = MoveCursor();
        viewport()->setCursor(move);
        break;
    }
    case PointerShape::Blank:
        viewport()->setCursor(Qt::BlankCursor);
        break;
    }
}

bool CDovereduView::PutPointer(int x, int y)
{
    // Wayland lets no program move the pointer.
    if (QGuiApplication::platformName().startsWith(QStringLiteral("wayland")))
        return false;
    // Logical pixels: on a scaled screen the pointer may land a device
    // pixel beside them.
    const QPoint global = viewport()->mapToGlobal(QPoint(x, y));
    QCursor::setPos(screen(), global);
    return (QCursor::pos(screen()) - global).manhattanLength() <= 1;
}

int CDovereduView::PopupMenu(const std::vector<CPopupItem>& items, CPoint at)
{
    QMenu menu(this);
    for (const CPopupItem& item : items) {
        if (item.id == 0) {
            menu.addSeparator();
            continue;
        }
        // The text after a tab shows as the key.
        QAction* action = menu.addAction(QString::fromUtf8(item.caption));
        action->setData(item.id);
        action->setEnabled(item.enabled);
    }
    const QAction* chosen = menu.exec(viewport()->mapToGlobal(QPoint(at.x, at.y)));
    return chosen ? chosen->data().toInt() : 0;
}

void CDovereduView::TakeFocus()
{
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
}

void CDovereduView::DocumentChanged()
{
    // The lists show the document, the text bar included.
    if (frame)
        frame->ShowDocumentLists(doc);
    emit documentChanged();
    if (frame)
        frame->UpdateCommandUi();
}

CClipboard* CDovereduView::Clipboard()
{
    return &ApplicationClipboard();
}

void CDovereduView::SetScrollBars(
    const CScrollBarState& horizontal, const CScrollBarState& vertical)
{
    pendingBars.emplace(horizontal, vertical);
    // Showing a bar resizes the viewport, which may not happen in a paint.
    if (!painting)
        ApplyScrollBars();
}

void CDovereduView::ApplyScrollBars()
{
    if (!pendingBars)
        return;
    const auto [horizontal, vertical] = *pendingBars;
    pendingBars.reset();
    const auto apply = [](QScrollBar* bar, const CScrollBarState& state) {
        const QSignalBlocker block(bar);
        // The thumb of a bar of range 0 ... maximum with a page goes up to
        // maximum - page + 1.
        const int page = std::max(state.page, 1);
        bar->setRange(0, std::max(0, state.maximum - page + 1));
        bar->setPageStep(page);
        bar->setValue(state.position);
    };
    apply(horizontalScrollBar(), horizontal);
    apply(verticalScrollBar(), vertical);
    setHorizontalScrollBarPolicy(horizontal.shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vertical.shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

// --- CClock --------------------------------------------------------------------------

uint32_t CDovereduView::Tick() const
{
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return static_cast<uint32_t>(clock.elapsed());
}

void CDovereduView::StartTimer(int id, int milliseconds)
{
    std::unique_ptr<QTimer>& timer = timers[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        connect(timer.get(), &QTimer::timeout, this, [this, id] {
            controller->Timer(id);
            ShowScreen();
        });
    }
    timer->start(milliseconds);
}

void CDovereduView::StopTimer(int id)
{
    if (auto it = timers.find(id); it != timers.end())
        it->second->stop();
}
