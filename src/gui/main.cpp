#include <QApplication>
#include <clocale>

#include "gui/qt_image_codec.h"
#include "gui/qt_text_metrics.h"
#include "model/platform_services.h"

#include "app/program_folder.h"
#include "app/settings.h"
#include "gui/main_frame.h"
#include "gui/user_config_dlg.h"
#include "model/model_defaults.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Numbers in texts and files never follow the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setOrganizationName(QStringLiteral("Vorel Ridizav"));
    QApplication::setApplicationName(QStringLiteral("Vorel Ridizav"));
    QApplication::setApplicationVersion(QStringLiteral(RIDIZAV_VERSION));

    SetExecutableFolder(QCoreApplication::applicationDirPath().toStdString());
    CSettings settings;
    LoadConfiguration(settings, nullptr);
    settings.ApplyTo(ModelDefaults());

    const CQtImageCodec imageCodec;
    const CQtTextMetrics textMetrics;
    PlatformServices() = {&imageCodec, &textMetrics};

    CMainFrame frame;
    frame.show();
    const int result = app.exec();
    // A first start has no configuration yet: it is written at exit.
    SaveConfiguration(settings, nullptr);
    return result;
}
