#include "gui/drawing_view.h"

#include <QPainter>
#include <QResizeEvent>

#include "document/document.h"
#include "gui/qt_canvas.h"

namespace {

// The colour around the paper.
const QColor kBackground(100, 100, 100);

}  // namespace

CDovereduView::CDovereduView(CDovereduDoc& doc, QWidget* parent) : QWidget(parent), doc(doc)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(50, 50);
    workTimer.setInterval(kWorkTimerMs);
    connect(&workTimer, &QTimer::timeout, this, &CDovereduView::UpdateWorkingTime);
    doc.startTick = Tick();
}

uint32_t CDovereduView::Tick()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return static_cast<uint32_t>(clock.elapsed());
}

void CDovereduView::Redraw()
{
    stale = true;
    update();
}

void CDovereduView::DrawOffscreen()
{
    if (offscreen.size() != size())
        offscreen = QImage(size(), QImage::Format_RGB32);
    offscreen.fill(kBackground);
    if (doc.HasSheets()) {
        QPainter painter(&offscreen);
        CQtCanvas canvas(painter);
        doc.GetActiveSheet().DrawSheet(canvas, pens);
    }
    stale = false;
    if (drawn)
        drawn();
}

void CDovereduView::paintEvent(QPaintEvent* event)
{
    if (stale || offscreen.size() != size())
        DrawOffscreen();
    QPainter painter(this);
    painter.drawImage(event->rect(), offscreen, event->rect());
}

void CDovereduView::resizeEvent(QResizeEvent* event)
{
    doc.SetViewRect(0, 0, event->size().width(), event->size().height());
    // Until zoom and pan are the user's, the whole sheet is shown.
    if (doc.HasSheets())
        doc.GetActiveSheet().fitMode = 1;
    Redraw();
}

void CDovereduView::focusInEvent(QFocusEvent* event)
{
    // Time without the focus is not counted.
    doc.startTick = Tick();
    workTimer.start();
    QWidget::focusInEvent(event);
}

void CDovereduView::focusOutEvent(QFocusEvent* event)
{
    UpdateWorkingTime();
    workTimer.stop();
    QWidget::focusOutEvent(event);
}

void CDovereduView::UpdateWorkingTime()
{
    doc.UpdateWorkingTime(Tick());
    if (showWorkingTime)
        showWorkingTime(QString::fromStdString(CDovereduDoc::FormatWorkingTime(doc.workingTime)));
}
