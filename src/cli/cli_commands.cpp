#include "cli/cli_commands.h"

#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct CliCommand {
    const char* name;
    const char* usage;
    std::function<int(const QStringList&, const QCommandLineParser&)> run;
};

const std::vector<CliCommand>& Commands()
{
    static const std::vector<CliCommand> commands = {};
    return commands;
}

}  // namespace

QString CliDescription()
{
    QString text = QStringLiteral("Headless commands on ridizav project files.\n\nCommands:");
    if (Commands().empty())
        text += QStringLiteral("\n  (none yet)");
    for (const CliCommand& c : Commands())
        text += QStringLiteral("\n  %1 %2").arg(QLatin1String(c.name), QLatin1String(c.usage));
    return text;
}

void AddCliOptions(QCommandLineParser&) {}

int RunCliCommand(const QString& command, const QStringList& args, const QCommandLineParser& parser)
{
    for (const CliCommand& c : Commands()) {
        if (command == QLatin1String(c.name))
            return c.run(args, parser);
    }
    std::fprintf(stderr, "Unknown command: %s\n", qPrintable(command));
    return 2;
}
