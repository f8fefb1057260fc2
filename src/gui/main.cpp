#include <QApplication>
#include <clocale>

#include "gui/qt_image_codec.h"
#include "gui/qt_text_metrics.h"
#include "model/platform_services.h"

#include "gui/main_frame.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Numbers in texts and files never follow the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setOrganizationName(QStringLiteral("Vorel Ridizav"));
    QApplication::setApplicationName(QStringLiteral("Vorel Ridizav"));
    QApplication::setApplicationVersion(QStringLiteral(RIDIZAV_VERSION));

    const CQtImageCodec imageCodec;
    const CQtTextMetrics textMetrics;
    PlatformServices() = {&imageCodec, &textMetrics};

    CMainFrame frame;
    frame.show();
    return app.exec();
}
