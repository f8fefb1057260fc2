#include "qt/print_output.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPainter>
#include <QPdfWriter>
#include <filesystem>
#include <string>

#include "document/document.h"
#include "model/file_io.h"
#include "model/model_defaults.h"
#include "model/sheet.h"
#include "qt/file_args.h"
#include "qt/qt_canvas.h"

namespace {

// The sheet draws in black when the model's option says so; a print follows
// its own options and leaves the option as it found it.
class CPrintColourScope {
public:
    explicit CPrintColourScope(bool blackAndWhite)
        : old(ModelDefaults().blackAndWhitePrinting)
    {
        ModelDefaults().blackAndWhitePrinting = blackAndWhite;
    }
    ~CPrintColourScope() { ModelDefaults().blackAndWhitePrinting = old; }
    CPrintColourScope(const CPrintColourScope&) = delete;
    CPrintColourScope& operator=(const CPrintColourScope&) = delete;

private:
    bool old;
};

} // namespace

QPageLayout::Orientation QtOrientation(PageOrientation o)
{
    return o == PageOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

void DrawPrintPage(
    QPainter& painter, const QPaintDevice& device, CSheet& sheet, const CPrintOptions& options)
{
    CQtCanvas canvas(painter);
    const CPrintColourScope colours(options.blackAndWhite);
    PrintSheet(sheet, canvas, PageOf(device), options.scale, options.fitToPaper);
}

CPrintPage PageOf(const QPaintDevice& device)
{
    return {{device.width(), device.height()}, device.logicalDpiX()};
}

std::optional<QString> WritePrintPdf(const QString& path, CDovereduDoc& doc,
    const std::vector<CPrintJob>& jobs, const QPageLayout& layout, const CPrintOptions& options,
    int dotsPerInch)
{
    if (jobs.empty())
        return QStringLiteral("Er zijn geen bladen geselecteerd!");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(dotsPerInch);
        writer.setCreator(QCoreApplication::applicationName());
        writer.setTitle(QString::fromStdString(jobs.front().name));
        QPageLayout first = layout;
        if (jobs.front().orientation)
            first.setOrientation(QtOrientation(*jobs.front().orientation));
        writer.setPageLayout(first);
        QPainter painter;
        if (!painter.begin(&writer))
            return QStringLiteral("Het PDF-bestand %1 kon niet worden gemaakt.").arg(path);
        for (size_t i = 0; i < jobs.size(); ++i) {
            const CPrintJob& job = jobs[i];
            if (i > 0) {
                // A new layout counts from the next page on.
                if (job.orientation)
                    writer.setPageOrientation(QtOrientation(*job.orientation));
                writer.newPage();
            }
            DrawPrintPage(painter, writer, *doc.sheets.at(static_cast<size_t>(job.sheet)), options);
        }
        painter.end();
    }
    const QByteArray& data = buffer.data();
    const std::vector<uint8_t> bytes(data.begin(), data.end());
    if (auto error = WriteFileAtomically(std::filesystem::path(FileNameBytes(path)), bytes))
        return QString::fromStdString(*error);
    return std::nullopt;
}
