#include "cli/symbol_commands.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/settings.h"
#include "cli/cli_commands.h"
#include "document/document.h"
#include "symbols/dos_library.h"
#include "symbols/old_import.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kConvertUsage = "convert-lib SOURCE_FOLDER SYMBOLS_FOLDER";
constexpr const char* kImportUsage = "import-old PROJECT.ETT FILE... [-o OUT.ETT]";

} // namespace

int CmdConvertLib(const QStringList& args, const QCommandLineParser&)
{
    if (args.size() != 2)
        return CliUsage(kConvertUsage);
    const fs::path source(args[0].toStdString());
    std::error_code ec;
    if (!fs::is_directory(source, ec))
        return CliFail(QStringLiteral("%1 is not a folder.").arg(args[0]));

    const CLibraryConversion plan = PlanLibraryConversion(source, fs::path(args[1].toStdString()));
    const std::vector<std::string> lines = plan.Lines();
    int failures = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::printf("%s\n", lines[i].c_str());
        if (!ConvertLibraryFile(plan.sources[i], plan.targets[i])) {
            std::fprintf(stderr, "Cannot convert %s\n", plan.sources[i].string().c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

int CmdImportOld(const QStringList& args, const QCommandLineParser& parser)
{
    if (args.size() < 2)
        return CliUsage(kImportUsage);
    const std::string project = args[0].toStdString();
    const std::string out = parser.isSet("o") ? parser.value("o").toStdString() : project;

    CDovereduDoc doc;
    FollowConfiguration(doc);
    std::error_code ec;
    if (fs::exists(project, ec)) {
        if (auto error = doc.Open(project))
            return CliFail(QString::fromStdString(*error));
    }
    std::vector<std::string> files;
    for (qsizetype i = 1; i < args.size(); ++i)
        files.push_back(args[i].toStdString());
    // As in the program, a file that cannot be read gives an empty sheet.
    for (const std::string& file : ImportOldDrawings(doc, files, CliSettings().grids))
        std::fprintf(stderr, "Cannot read %s: its sheet is empty.\n", file.c_str());
    if (auto error = doc.Save(out))
        return CliFail(QString::fromStdString(*error));
    return 0;
}
