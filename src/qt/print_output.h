#pragma once

#include <QPageLayout>
#include <QString>
#include <optional>
#include <vector>

#include "app/print_plan.h"

class CDovereduDoc;
class QPaintDevice;
class QPrinter;

// The page facts of a printer or PDF page: its paintable area and resolution.
CPrintPage PageOf(const QPaintDevice& device);

// Whether the machine has a printer to print on.
bool SystemHasPrinter();

// Prints every job on the printer as a job of its own, named after its
// sheet, with the paper turned as the job says (the printer's own
// orientation is back afterwards). When the printer writes a file, each of
// several jobs writes its own (JobOutputFile). The first failure's message.
std::optional<QString> PrintJobs(QPrinter& printer, CDovereduDoc& doc,
    const std::vector<CPrintJob>& jobs, const CPrintOptions& options);

// Writes the jobs into one PDF file, a page each, on the paper of `layout`
// (turned as each job says), at `dotsPerInch`. The file is replaced only
// when the whole document was made. The failure's message, or nullopt.
std::optional<QString> WritePrintPdf(const QString& path, CDovereduDoc& doc,
    const std::vector<CPrintJob>& jobs, const QPageLayout& layout, const CPrintOptions& options,
    int dotsPerInch = 1200);
