#include "gui/printer_output.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "document/document.h"
#include "model/sheet.h"
#include "qt/print_output.h"
#include "qt/qt_text.h"

bool SystemHasPrinter()
{
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

std::optional<QString> PrintJobs(QPrinter& printer, CDovereduDoc& doc,
    const std::vector<CPrintJob>& jobs, const CPrintOptions& options)
{
    const QPageLayout::Orientation orientation = printer.pageLayout().orientation();
    const QString file = printer.outputFileName();
    std::optional<QString> failure;
    for (const CPrintJob& job : jobs) {
        if (job.orientation)
            printer.setPageOrientation(QtOrientation(*job.orientation));
        if (!file.isEmpty())
            printer.setOutputFileName(
                FromUtf8(JobOutputFile(file.toStdString(), job, jobs.size()).string()));
        printer.setDocName(FromUtf8(job.name));
        QPainter painter;
        if (!painter.begin(&printer)) {
            failure = QStringLiteral("Het blad \"%1\" kon niet worden afgedrukt.")
                          .arg(FromUtf8(job.name));
            break;
        }
        DrawPrintPage(painter, printer, *doc.sheets.at(static_cast<size_t>(job.sheet)), options);
        painter.end();
    }
    printer.setPageOrientation(orientation);
    printer.setOutputFileName(file);
    return failure;
}
