#include <QCommandLineParser>
#include <QGuiApplication>
#include <clocale>

#include "model/platform_services.h"
#include "qt/qt_image_codec.h"
#include "qt/qt_text_metrics.h"
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/config_file.h"
#include "app/memory_reuse.h"
#include "app/program_folder.h"
#include "app/startup.h"
#include "cli/cli_commands.h"
#include "model/file_io.h"
#include "model/model_defaults.h"
#include "qt/file_args.h"

namespace {

// Qt looks for the user's private runtime folder as the application starts
// and complains (and makes one in /tmp that stays) when a batch job has
// none. Such a job gets a folder of its own for the run, removed when the
// program ends, also through exit().
class CRuntimeFolder {
public:
    CRuntimeFolder()
    {
        if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
            return;
        const QByteArray tmp = qgetenv("TMPDIR");
        QByteArray folder = (tmp.isEmpty() ? QByteArray("/tmp") : tmp) + "/ridizav-cli-XXXXXX";
        if (mkdtemp(folder.data()) == nullptr)
            return;
        path = folder.toStdString();
        qputenv("XDG_RUNTIME_DIR", folder);
    }
    ~CRuntimeFolder()
    {
        std::error_code ec;
        if (!path.empty())
            std::filesystem::remove_all(path, ec);
    }
    CRuntimeFolder(const CRuntimeFolder&) = delete;
    CRuntimeFolder& operator=(const CRuntimeFolder&) = delete;

private:
    std::filesystem::path path;
};

int Run(int argc, char* argv[])
{
    KeepLargeBlocksForReuse();
    IgnoreFileSizeSignal();
    // The command-line tool never needs a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static const CRuntimeFolder runtimeFolder;
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
    // Qt's own decoding of the arguments would change file names that are
    // not UTF-8.
    parser.process(DecodeArguments(argc, argv));

    const QStringList args = parser.positionalArguments();
    if (args.isEmpty()) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    }
    return RunCliCommand(args.front(), args.mid(1), parser);
}

} // namespace

int main(int argc, char* argv[])
{
    return RunReportingFailures(Run, argc, argv);
}
