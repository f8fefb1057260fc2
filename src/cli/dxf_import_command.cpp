#include "cli/dxf_import_command.h"

#include <filesystem>
#include <string>

#include "app/settings.h"
#include "cli/cli_commands.h"
#include "document/document.h"
#include "dxf/dxf_import.h"
#include "model/stroke_font.h"
#include "qt/file_args.h"

namespace fs = std::filesystem;

int CmdImportDXF(const QStringList& args, const QCommandLineParser& parser)
{
    if (args.size() != 2)
        return CliUsage("import-dxf PROJECT.ETT FILE.DXF [-o OUT.ETT] [--symbols FOLDER]");
    const std::string project = FileNameBytes(args[0]);
    const std::string out = parser.isSet("o") ? FileNameBytes(parser.value("o")) : project;
    const fs::path symbols = parser.isSet("symbols")
        ? fs::path(FileNameBytes(parser.value("symbols")))
        : fs::path(CliSettings().symbolsFolder);

    CDovereduDoc doc;
    FollowConfiguration(doc);
    std::error_code ec;
    if (fs::exists(project, ec)) {
        if (auto error = doc.Open(project))
            return CliFail(QString::fromStdString(*error));
    }
    const CDovereduFont font;
    const CDXFImportResult result = ImportDXF(doc, fs::path(FileNameBytes(args[1])), symbols, font);
    if (!result.imported)
        return CliFail(QString::fromStdString(result.message));
    if (auto error = doc.Save(out))
        return CliFail(QString::fromStdString(*error));
    // What was read is saved; a file that ended early still fails the run.
    if (!result.message.empty())
        return CliFail(QString::fromStdString(result.message));
    return 0;
}
