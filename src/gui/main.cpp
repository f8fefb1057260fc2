#include <QApplication>
#include <QScreen>
#include <clocale>

#include "gui/qt_image_codec.h"
#include "gui/qt_text_metrics.h"
#include "model/platform_services.h"

#include "app/program_folder.h"
#include "gui/main_frame.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Numbers in texts and files never follow the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setOrganizationName(QStringLiteral("Vorel Ridizav"));
    QApplication::setApplicationName(QStringLiteral("Vorel Ridizav"));
    QApplication::setApplicationVersion(QStringLiteral(RIDIZAV_VERSION));

    SetExecutableFolder(QCoreApplication::applicationDirPath().toStdString());

    const CQtImageCodec imageCodec;
    const CQtTextMetrics textMetrics;
    PlatformServices() = {&imageCodec, &textMetrics};

    // The main window owns the settings and reads them before it shows.
    CMainFrame frame;
    frame.LoadConfiguration();
    // Also fills the screen where no window manager maximises it.
    frame.setGeometry(frame.screen()->availableGeometry());
    frame.showMaximized();
    const int result = app.exec();
    // A first start has no configuration yet: it is written at exit.
    frame.SaveConfiguration();
    return result;
}
