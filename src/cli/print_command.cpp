#include "cli/print_command.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <cstdio>
#include <optional>
#include <vector>

#include "app/print_plan.h"
#include "app/settings.h"
#include "cli/cli_commands.h"
#include "document/document.h"
#include "model/number_text.h"
#include "qt/file_args.h"
#include "qt/print_output.h"
#include "qt/qt_text.h"

namespace {

constexpr const char* kUsage = "print-pdf PROJECT.ETT OUT.pdf [--sheet N]... [--fit | --scale S] "
                               "[--bw] [--paper A4|A3|A2|A1|A0]";

// A sheet by its 1-based number or its name.
std::optional<int> SheetIndex(const CDovereduDoc& doc, const QString& value)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    if (ok) {
        if (number >= 1 && number <= static_cast<int>(doc.sheets.size()))
            return number - 1;
        return std::nullopt;
    }
    for (size_t i = 0; i < doc.sheets.size(); ++i) {
        if (FromCp1252(doc.sheets[i]->sheetName) == value)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

std::optional<QPageSize::PageSizeId> Paper(const QString& name)
{
    const struct {
        const char* name;
        QPageSize::PageSizeId id;
    } papers[] = {{"A4", QPageSize::A4}, {"A3", QPageSize::A3}, {"A2", QPageSize::A2},
        {"A1", QPageSize::A1}, {"A0", QPageSize::A0}};
    for (const auto& p : papers) {
        if (name.compare(QLatin1String(p.name), Qt::CaseInsensitive) == 0)
            return p.id;
    }
    return std::nullopt;
}

} // namespace

int CmdPrintPdf(const QStringList& args, const QCommandLineParser& parser)
{
    if (args.size() != 2)
        return CliUsage(kUsage);
    CPrintOptions options = PrintOptionsFrom(CliSettings());
    if (parser.isSet("fit") && parser.isSet("scale"))
        return CliFail(QStringLiteral("--fit and --scale cannot go together."));
    if (parser.isSet("fit"))
        options.fitToPaper = true;
    if (parser.isSet("scale")) {
        const auto scale = ParseDecimal(parser.value("scale").toStdString());
        if (!scale || *scale < kMinPrinterScale || *scale > kMaxPrinterScale)
            return CliFail(QStringLiteral("--scale takes a number from %1 to %2.")
                               .arg(kMinPrinterScale)
                               .arg(kMaxPrinterScale));
        options.scale = *scale;
        options.fitToPaper = false;
    }
    if (parser.isSet("bw"))
        options.blackAndWhite = true;
    const auto paper = Paper(parser.value("paper"));
    if (!paper)
        return CliFail(
            QStringLiteral("No such paper: %1 (A4, A3, A2, A1 or A0)").arg(parser.value("paper")));

    CDovereduDoc doc;
    if (auto error = doc.Open(FileNameBytes(args[0])))
        return CliFail(QString::fromStdString(*error));
    if (!doc.HasSheets())
        return CliFail(QStringLiteral("The project has no sheet."));
    std::vector<int> chosen;
    for (const QString& value : parser.values("sheet")) {
        const auto index = SheetIndex(doc, value);
        if (!index)
            return CliFail(QStringLiteral("No such sheet: %1").arg(value));
        chosen.push_back(*index);
    }
    if (chosen.empty()) {
        for (size_t i = 0; i < doc.sheets.size(); ++i)
            chosen.push_back(static_cast<int>(i));
    }

    const auto jobs = PlanPrintJobs(doc, chosen, options.autoRotate);
    // The whole sheet of paper: the program's own margin is all there is.
    const QPageLayout layout(
        QPageSize(*paper), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    if (auto error = WritePrintPdf(args[1], doc, jobs, layout, options))
        return CliFail(*error);

    QJsonArray pages;
    for (const CPrintJob& job : jobs) {
        const bool landscape = job.orientation == PageOrientation::Landscape;
        pages.append(
            QJsonObject {{"sheet", job.sheet + 1}, {"name", QString::fromStdString(job.name)},
                {"orientation", landscape ? "landscape" : "portrait"}});
    }
    const QJsonObject out {{"file", args[1]}, {"scale", options.scale},
        {"fitToPaper", options.fitToPaper}, {"blackAndWhite", options.blackAndWhite},
        {"pages", pages}};
    std::fputs(QJsonDocument(out).toJson(QJsonDocument::Indented).constData(), stdout);
    return 0;
}
