#include <QCommandLineParser>
#include <QGuiApplication>
#include <clocale>
#include <cstdio>

#include "cli/cli_commands.h"

int main(int argc, char* argv[])
{
    // The command-line tool never needs a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QGuiApplication::setApplicationName(QStringLiteral("ridizav-cli"));
    QGuiApplication::setApplicationVersion(QStringLiteral(RIDIZAV_VERSION));

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
