#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "app/print_plan.h"

class CDovereduDoc;
class QPrinter;

// Whether the machine has a printer to print on.
bool SystemHasPrinter();

// Prints every job on the printer as a job of its own, named after its
// sheet, with the paper turned as the job says (the printer's own
// orientation is back afterwards). When the printer writes a file, each of
// several jobs writes its own (JobOutputFile). The first failure's message.
std::optional<QString> PrintJobs(QPrinter& printer, CDovereduDoc& doc,
    const std::vector<CPrintJob>& jobs, const CPrintOptions& options);
