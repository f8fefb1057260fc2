#include <QApplication>
#include <clocale>

#include "gui/main_frame.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Numbers in texts and files never follow the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setOrganizationName(QStringLiteral("Vorel Ridizav"));
    QApplication::setApplicationName(QStringLiteral("Vorel Ridizav"));
    QApplication::setApplicationVersion(QStringLiteral(RIDIZAV_VERSION));

    CMainFrame frame;
    frame.show();
    return app.exec();
}
