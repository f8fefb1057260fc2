#include "qt/clipboard_picture.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "platform/clipboard.h"
#include "qt/qt_canvas.h"

namespace {

// The picture's units are 0.01 mm.
constexpr double kUnitsPerInch = 2540.0;
constexpr double kMetresPerInch = 0.0254;

QSize Units(const CClipboardPicture& picture)
{
    const CSize size = picture.Size();
    return {std::max(1, size.cx), std::max(1, size.cy)};
}

} // namespace

QByteArray DrawPictureSvg(CClipboardPicture& picture)
{
    const QSize size = Units(picture);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    // At 2540 units an inch the generator gives the size in millimetres.
    svg.setResolution(static_cast<int>(kUnitsPerInch));
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QString::fromLatin1(kPictureTitle));
    QPainter painter;
    if (!painter.begin(&svg))
        return {};
    CQtCanvas canvas(painter);
    picture.Draw(canvas);
    painter.end();
    return buffer.data();
}

QImage DrawPictureImage(CClipboardPicture& picture)
{
    const QSize size = Units(picture);
    const double longSide = std::max(size.width(), size.height());
    const double scale = std::min(kPictureDpi / kUnitsPerInch, kPictureLongSide / longSide);
    const int width
        = std::clamp(static_cast<int>(std::ceil(size.width() * scale)), 1, kPictureLongSide);
    const int height
        = std::clamp(static_cast<int>(std::ceil(size.height() * scale)), 1, kPictureLongSide);
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const int dotsPerMetre = static_cast<int>(std::lround(scale * kUnitsPerInch / kMetresPerInch));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(scale, scale);
    CQtCanvas canvas(painter);
    picture.Draw(canvas);
    return image;
}
