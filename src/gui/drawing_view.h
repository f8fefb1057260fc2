#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "model/pen_table.h"

class CDovereduDoc;

// The drawing view of one project window: the active sheet drawn into an
// off-screen image, which is copied to the screen.
class CDovereduView : public QWidget {
    Q_OBJECT
public:
    explicit CDovereduView(CDovereduDoc& doc, QWidget* parent = nullptr);

    CDovereduDoc& Document() { return doc; }
    // Draws the active sheet anew into the off-screen image and shows it.
    void Redraw();
    const QImage& OffscreenImage() const { return offscreen; }
    // Milliseconds since the program started, for the working time.
    static uint32_t Tick();

    // Shows the working time ("T:00:00") in the status bar.
    std::function<void(const QString&)> showWorkingTime;
    // Called after every complete draw (start-up timing).
    std::function<void()> drawn;

    static constexpr int kWorkTimerMs = 400;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void DrawOffscreen();
    void UpdateWorkingTime();

    CDovereduDoc& doc;
    CPenTable pens;
    QImage offscreen;
    bool stale = true;
    QTimer workTimer;
};
