#pragma once

#include <QPageLayout>
#include <QString>
#include <optional>
#include <vector>

#include "app/print_plan.h"

class CDovereduDoc;
class CSheet;
class QPaintDevice;
class QPainter;

// The page facts of a printer or PDF page: its paintable area and resolution.
CPrintPage PageOf(const QPaintDevice& device);

QPageLayout::Orientation QtOrientation(PageOrientation o);

// Draws the sheet as one printed page of `device`, in the print's colours.
void DrawPrintPage(
    QPainter& painter, const QPaintDevice& device, CSheet& sheet, const CPrintOptions& options);

// Writes the jobs into one PDF file, a page each, on the paper of `layout`
// (turned as each job says), at `dotsPerInch`. The file is replaced only
// when the whole document was made. The failure's message, or nullopt.
std::optional<QString> WritePrintPdf(const QString& path, CDovereduDoc& doc,
    const std::vector<CPrintJob>& jobs, const QPageLayout& layout, const CPrintOptions& options,
    int dotsPerInch = 1200);
