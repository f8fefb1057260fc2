#include "qt/print_output.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QPainter>
#include <cstdio>
#include <filesystem>
#include <string>

#include "document/document.h"
#include "model/file_io.h"
#include "model/model_defaults.h"
#include "model/sheet.h"
#include "qt/file_args.h"
#include "qt/pdf_canvas.h"
#include "qt/pdf_file.h"
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

// A PDF text string in UTF-16, which every reader shows as it is.
std::string PdfText(const QString& text)
{
    std::string s = "<FEFF";
    for (const QChar c : text) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%04X", c.unicode());
        s += hex;
    }
    return s + ">";
}

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
    bool written = false;
    {
        CPdfFile pdf([&file](const char* data, size_t size) { return file.Write(data, size); });
        const int info = pdf.Reserve();
        const int catalog = pdf.Reserve();
        const int pages = pdf.Reserve();
        CPdfResources resources(pdf);
        std::string kids;
        QPageLayout current = layout;
        for (const CPrintJob& job : jobs) {
            // An orientation holds from its page on.
            if (job.orientation)
                current.setOrientation(QtOrientation(*job.orientation));
            const QRect full = current.fullRectPoints();
            const QRect paint = current.paintRectPixels(dotsPerInch);
            // Device pixels from the paintable area's corner to points
            // from the page's bottom left.
            const double scale = 72.0 / dotsPerInch;
            const QTransform matrix(
                scale, 0, 0, -scale, paint.left() * scale, full.height() - paint.top() * scale);
            std::vector<int> contents;
            {
                CPdfCanvas canvas(pdf, resources, matrix);
                const CPrintColourScope colours(options.blackAndWhite);
                PrintSheet(*doc.sheets.at(static_cast<size_t>(job.sheet)), canvas,
                    {{paint.width(), paint.height()}, dotsPerInch}, options.scale,
                    options.fitToPaper);
                contents = canvas.Finish();
            }
            std::string list;
            for (const int c : contents)
                list += std::to_string(c) + " 0 R ";
            const int page = pdf.Reserve();
            pdf.Object(page,
                "<<\n/Type /Page\n/Parent " + std::to_string(pages) + " 0 R\n/MediaBox [0 0 "
                    + std::to_string(full.width()) + " " + std::to_string(full.height())
                    + "]\n/Contents [" + list + "]\n/Resources "
                    + std::to_string(resources.Number()) + " 0 R\n>>");
            kids += std::to_string(page) + " 0 R ";
        }
        resources.Write();
        pdf.Object(pages,
            "<<\n/Type /Pages\n/Kids [" + kids + "]\n/Count " + std::to_string(jobs.size())
                + "\n>>");
        pdf.Object(catalog, "<<\n/Type /Catalog\n/Pages " + std::to_string(pages) + " 0 R\n>>");
        pdf.Object(info,
            "<<\n/Title " + PdfText(QString::fromStdString(jobs.front().name)) + "\n/Creator "
                + PdfText(QCoreApplication::applicationName()) + "\n/Producer "
                + PdfText(QCoreApplication::applicationName()) + "\n/CreationDate (D:"
                + QDateTime::currentDateTimeUtc().toString("yyyyMMddHHmmss").toStdString()
                + "Z)\n>>");
        written = pdf.Finish(catalog, info);
    }
    if (!written || !file.Commit())
        return QString::fromStdString(file.Error());
    return std::nullopt;
}
