#include <QCommandLineParser>
#include <QGuiApplication>
#include <clocale>

#include "model/platform_services.h"
#include "qt/qt_image_codec.h"
#include "qt/qt_text_metrics.h"
#include <cstdio>
#include <cstdlib>

#include "app/config_file.h"
#include "app/memory_reuse.h"
#include "app/program_folder.h"
#include "cli/cli_commands.h"
#include "model/model_defaults.h"

int main(int argc, char* argv[])
{
    KeepLargeBlocksForReuse();
    // The command-line tool never needs a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt wants a private runtime folder; a batch job may have none.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        char folder[] = "/tmp/ridizav-cli-XXXXXX";
        if (mkdtemp(folder) != nullptr)
            qputenv("XDG_RUNTIME_DIR", folder);
    }
    QGuiApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QGuiApplication::setApplicationName(QStringLiteral("ridizav-cli"));
    QGuiApplication::setApplicationVersion(QStringLiteral(RIDIZAV_VERSION));

    SetExecutableFolder(QCoreApplication::applicationDirPath().toStdString());
    // The configuration is read as the program reads it, and never written.
    ReadConfigFile(ConfigFilePath(), CliSettings());
    CliSettings().ApplyTo(ModelDefaults());

    const CQtImageCodec imageCodec;
    const CQtTextMetrics textMetrics;
    PlatformServices() = {&imageCodec, &textMetrics};

    QCommandLineParser parser;
    parser.setApplicationDescription(CliDescription());
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("The command to run."));
    parser.addPositionalArgument(QStringLiteral("arguments"), QStringLiteral("Its arguments."),
        QStringLiteral("[arguments...]"));
    AddCliOptions(parser);
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.isEmpty()) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    }
    return RunCliCommand(args.front(), args.mid(1), parser);
}
