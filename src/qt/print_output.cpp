#include "qt/print_output.h"

#include <QCoreApplication>
#include <QIODevice>
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

// The PDF writer's output, straight into the file that replaces the target
// when it is committed: a large print needs no memory for its whole file.
class CAtomicFileDevice : public QIODevice {
public:
    explicit CAtomicFileDevice(CAtomicFile& file)
        : file(file)
    {
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        return file.Write(data, static_cast<size_t>(size)) ? size : -1;
    }

private:
    CAtomicFile& file;
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
    CAtomicFile file(std::filesystem::path(FileNameBytes(path)));
    if (!file.Open())
        return QString::fromStdString(file.Error());
    CAtomicFileDevice device(file);
    device.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&device);
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
    if (!file.Commit())
        return QString::fromStdString(file.Error());
    return std::nullopt;
}
