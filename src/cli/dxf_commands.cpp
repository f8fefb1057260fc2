#include "cli/dxf_commands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cli/cli_commands.h"
#include "document/document.h"
#include "dxf/dxf_sheet_choice.h"
#include "qt/file_args.h"
#include "qt/qt_text.h"

namespace {

constexpr const char* kUsage = "export-dxf PROJECT.ETT OUT_FOLDER [--sheet NAME]...";

} // namespace

int CmdExportDXF(const QStringList& args, const QCommandLineParser& parser)
{
    if (args.size() != 2)
        return CliUsage(kUsage);
    CDovereduDoc doc;
    if (auto error = doc.Open(FileNameBytes(args[0])))
        return CliFail(QString::fromStdString(*error));

    std::vector<std::string> names;
    for (const auto& sheet : doc.sheets)
        names.push_back(sheet->sheetName);
    std::vector<std::string> chosen;
    for (const QString& name : parser.values(QStringLiteral("sheet"))) {
        const std::string cp1252 = ToCp1252(name);
        if (std::none_of(names.begin(), names.end(),
                [&](const std::string& n) { return SameName(n, cp1252); }))
            return CliFail(QStringLiteral("No such sheet: %1").arg(name));
        chosen.push_back(cp1252);
    }
    if (chosen.empty())
        chosen = names;

    const std::filesystem::path folder(FileNameBytes(args[1]));
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        return CliFail(QStringLiteral("Cannot create the folder %1: %2")
                           .arg(args[1], QString::fromStdString(ec.message())));
    }

    const auto jobs = PlanDXFExport(names, chosen);
    const auto results = ExportSheets(doc, jobs, folder);
    // Every sheet with its file; a sheet without width or height has none.
    QJsonArray out;
    int failures = 0;
    for (size_t i = 0; i < jobs.size(); ++i) {
        QJsonObject o {{"sheet", jobs[i].sheet + 1}, {"name", FromCp1252(names[jobs[i].sheet])},
            {"file", QString::fromStdString(jobs[i].fileName)}, {"written", results[i].written}};
        if (results[i].Failed()) {
            ++failures;
            std::fprintf(stderr, "%s\n", results[i].error.c_str());
            o["error"] = QString::fromStdString(results[i].error);
        }
        out.append(o);
    }
    std::fputs(QJsonDocument(out).toJson(QJsonDocument::Indented).constData(), stdout);
    return failures > 0 ? 1 : 0;
}
