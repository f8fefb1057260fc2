#include "cli/symbol_commands.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/settings.h"
#include "cli/cli_commands.h"
#include "document/document.h"
#include "model/file_io.h"
#include "qt/file_args.h"
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
    const fs::path source(FileNameBytes(args[0]));
    std::error_code ec;
    if (!fs::is_directory(source, ec))
        return CliFail(QStringLiteral("%1 is not a folder.").arg(args[0]));

    const CLibraryConversion plan = PlanLibraryConversion(source, fs::path(FileNameBytes(args[1])));
    const std::vector<std::string> lines = plan.Lines();
    int failures = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::printf("%s\n", lines[i].c_str());
        std::string why;
        if (!ConvertLibraryFile(plan.sources[i], plan.targets[i], &why)) {
            std::fprintf(
                stderr, "Cannot convert %s: %s\n", plan.sources[i].string().c_str(), why.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

int CmdImportOld(const QStringList& args, const QCommandLineParser& parser)
{
    if (args.size() < 2)
        return CliUsage(kImportUsage);
    const std::string project = FileNameBytes(args[0]);
    const std::string out = parser.isSet("o") ? FileNameBytes(parser.value("o")) : project;

    CDovereduDoc doc;
    FollowConfiguration(doc);
    std::error_code ec;
    if (fs::exists(project, ec)) {
        if (auto error = doc.Open(project))
            return CliFail(QString::fromStdString(*error));
    }
    std::vector<std::string> files;
    for (qsizetype i = 1; i < args.size(); ++i)
        files.push_back(FileNameBytes(args[i]));
    // A drawing that cannot be read would become an empty sheet, as in the
    // program; a batch job is told instead, and nothing is saved.
    const std::vector<std::string> unread = ImportOldDrawings(doc, files, CliSettings().grids);
    for (const std::string& file : unread) {
        const COpenedFile opened = OpenRegularFile(file);
        if (opened)
            std::fprintf(stderr, "Cannot read %s: it holds more than a sheet can.\n", file.c_str());
        else
            std::fprintf(stderr, "%s\n", CannotOpenMessage(file, opened.error).c_str());
    }
    if (!unread.empty())
        return 1;
    if (auto error = doc.Save(out))
        return CliFail(QString::fromStdString(*error));
    return 0;
}
