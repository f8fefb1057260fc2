#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>
#include <clocale>
#include <cstdio>

#include "app/memory_reuse.h"
#include "app/program_folder.h"
#include "app/startup.h"
#include "gui/main_frame.h"
#include "gui/print_commands.h"
#include "gui/project_windows.h"
#include "gui/sheet_commands.h"
#include "gui/single_instance.h"
#include "gui/startup_windows.h"
#include "gui/symbol_commands.h"
#include "model/file_io.h"
#include "model/platform_services.h"
#include "qt/file_args.h"
#include "qt/qt_image_codec.h"
#include "qt/qt_text_metrics.h"

namespace {

QString InstanceName()
{
    return CSingleInstance::UserSocketPath();
}

int Run(int argc, char* argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    KeepLargeBlocksForReuse();
    IgnoreFileSizeSignal();
    QApplication app(argc, argv);
    // Numbers in texts and files never follow the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    // The program's name, for captions and the settings store, is set here only.
    QApplication::setApplicationName(QStringLiteral("Vorel Ridizav"));
    QApplication::setOrganizationName(QApplication::applicationName());
    QApplication::setApplicationVersion(QStringLiteral(RIDIZAV_VERSION));

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({QStringLiteral("startup-time"),
        QStringLiteral("Print the milliseconds until the project is first drawn, then quit.")});
    parser.addPositionalArgument(
        QStringLiteral("file"), QStringLiteral("A project to open."), QStringLiteral("[FILE.ETT]"));
    // File names keep their bytes, also those that are no UTF-8.
    parser.process(DecodeArguments(argc, argv));
    const bool timing = parser.isSet(QStringLiteral("startup-time"));
    QStringList files;
    for (const QString& f : parser.positionalArguments())
        files << QFileInfo(f).absoluteFilePath();

    // One program per user: a second start hands its files to the first.
    CSingleInstance instance(InstanceName());
    if (!timing) {
        if (instance.HandOver(files))
            return 0;
        instance.Listen();
    }

    SetExecutableFolder(QCoreApplication::applicationDirPath().toStdString());
    const CQtImageCodec imageCodec;
    const CQtTextMetrics textMetrics;
    PlatformServices() = {&imageCodec, &textMetrics};

    // The main window owns the settings and reads them before it shows.
    CMainFrame frame;
    frame.LoadConfiguration();
    CProjectWindows projects(frame);
    RegisterSymbolCommands(frame);
    RegisterPrintCommands(frame, projects);
    CSheetCommands sheetCommands(frame, projects);
    projects.askForFirstSheet = [&sheetCommands] { sheetCommands.AskForFirstSheetLater(); };
    QObject::connect(
        &instance, &CSingleInstance::filesReceived, &frame, [&](const QStringList& received) {
            for (const QString& f : received)
                projects.OpenFile(f);
            frame.activateWindow();
            frame.raise();
        });

    std::vector<std::string> named;
    for (const QString& f : files)
        named.push_back(FileNameBytes(f));
    const CStartupPlan plan
        = PlanStartup(named, frame.Settings().loadLastProject, projects.RecentFiles());

    if (timing) {
        projects.drawn = [&] {
            std::printf("%lld\n", static_cast<long long>(sinceStart.elapsed()));
            std::fflush(stdout);
            projects.drawn = nullptr;
            QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
        };
    }

    // Also fills the screen where no window manager maximises it.
    frame.setGeometry(frame.screen()->availableGeometry());
    frame.showMaximized();
    if (plan.showSplash && !timing)
        (new CSplashWnd(&frame))->show();

    if (plan.openPath) {
        const bool opened = projects.OpenFile(QString::fromStdString(*plan.openPath));
        // A project named on the command line that cannot be opened ends the start.
        if (!opened && plan.fromCommandLine)
            return 1;
    }
    if (timing && projects.Windows().empty())
        return 1;
    if (plan.showSplash && !timing && CTipDlg::ShowAtStartup()) {
        QTimer::singleShot(CSplashWnd::kShowMilliseconds, &frame, [&frame] {
            auto* tips = new CTipDlg(&frame);
            tips->setAttribute(Qt::WA_DeleteOnClose);
            tips->show();
        });
    }

    const int result = app.exec();
    // A first start has no configuration yet: it is written at exit.
    if (!timing)
        frame.SaveConfiguration();
    return result;
}

} // namespace

int main(int argc, char* argv[])
{
    return RunReportingFailures(Run, argc, argv);
}
