#include "cli/render_command.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include "cli/cli_commands.h"
#include "document/document.h"
#include "model/file_io.h"
#include "model/pen_table.h"
#include "qt/file_args.h"
#include "qt/qt_canvas.h"
#include "qt/qt_text.h"

namespace {

constexpr const char* kUsage
    = "render FILE.ETT OUT.png|OUT.svg [--sheet N] [--width W] [--height H]";
// The view's background around the paper.
constexpr COLORREF kViewBackground = Rgb(100, 100, 100);
constexpr int kMaxViewSide = 20000;

bool ReadSide(const QCommandLineParser& parser, const char* name, int& side)
{
    bool ok = false;
    side = parser.value(name).toInt(&ok);
    return ok && side >= 1 && side <= kMaxViewSide;
}

void Draw(QPainter& painter, CSheet& sheet, int width, int height)
{
    painter.fillRect(0, 0, width, height, CQtCanvas::Colour(kViewBackground));
    CQtCanvas canvas(painter);
    CPenTable pens;
    sheet.DrawSheet(canvas, pens);
}

// The picture is made in memory and written whole, so a full disk leaves an
// older picture as it was and says why.
int WritePicture(const QString& out, const QByteArray& data)
{
    const std::vector<uint8_t> bytes(data.begin(), data.end());
    if (auto error = WriteFileAtomically(FileNameBytes(out), bytes))
        return CliFail(QString::fromStdString(*error));
    return 0;
}

} // namespace

int CmdRender(const QStringList& args, const QCommandLineParser& parser)
{
    if (args.size() != 2)
        return CliUsage(kUsage);
    int width = 0;
    int height = 0;
    if (!ReadSide(parser, "width", width) || !ReadSide(parser, "height", height))
        return CliFail(
            QStringLiteral("--width and --height take a number from 1 to %1.").arg(kMaxViewSide));
    const QString out = args[1];
    const QString kind = QFileInfo(out).suffix().toLower();
    if (kind != QLatin1String("png") && kind != QLatin1String("svg"))
        return CliFail(QStringLiteral("The picture must be a .png or .svg file: %1").arg(out));

    CDovereduDoc doc;
    if (auto error = doc.Open(FileNameBytes(args[0])))
        return CliFail(QString::fromStdString(*error));
    int failed = 0;
    CSheet* sheet = ChosenSheet(doc, parser, failed);
    if (sheet == nullptr)
        return failed;

    sheet->clientRect = {0, 0, width, height};
    sheet->ZoomAll();

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (kind == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(QSize(width, height));
        svg.setViewBox(QRect(0, 0, width, height));
        svg.setTitle(FromCp1252(sheet->sheetName));
        QPainter painter;
        if (!painter.begin(&svg))
            return CliFail(QStringLiteral("Cannot draw the picture %1.").arg(out));
        Draw(painter, *sheet, width, height);
        painter.end();
        return WritePicture(out, buffer.data());
    }

    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return CliFail(
            QStringLiteral("Not enough memory for a picture of %1 x %2.").arg(width).arg(height));
    {
        QPainter painter(&image);
        Draw(painter, *sheet, width, height);
    }
    if (!image.save(&buffer, "PNG"))
        return CliFail(QStringLiteral("Cannot encode the picture %1 as PNG.").arg(out));
    return WritePicture(out, buffer.data());
}
