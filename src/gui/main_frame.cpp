#include "gui/main_frame.h"

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Vorel Ridizav"));
    resize(1024, 768);
}
