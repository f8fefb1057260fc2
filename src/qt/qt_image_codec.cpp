#include "qt/qt_image_codec.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Pictures are decoded with at most this many pixels on their long side: a
// sheet shows a photo a few hundred pixels wide, and a camera's 8000 x 6000
// would hold 190 MB per picture.
constexpr int kMaxDecodedSide = 4096;
// Qt refuses to allocate an image above its reader's limit (128 MB), and
// its BMP reader decodes the whole image before it scales it; the limit is
// raised to what the largest file the program reads can need.
constexpr int kReaderLimitMb = 512;

// HIMETRIC units (0.01 mm) in a metre.
constexpr double kHimetricPerMetre = 100000.0;
// Files that state no resolution are taken at the screen's 96 dpi.
constexpr double kDefaultDotsPerMetre = 96 / 0.0254;

bool IsPictureFormat(const QByteArray& format)
{
    return format == "bmp" || format == "gif" || format == "jpeg" || format == "jpg"
        || format == "png";
}

// Qt gives an image whose file states no resolution the screen's default;
// this is that default.
int UnstatedDotsPerMetre(bool horizontal)
{
    const QImage probe(1, 1, QImage::Format_RGB32);
    return horizontal ? probe.dotsPerMeterX() : probe.dotsPerMeterY();
}

int32_t Himetric(int pixels, int dotsPerMetre, int unstated)
{
    const double dpm
        = dotsPerMetre <= 0 || dotsPerMetre == unstated ? kDefaultDotsPerMetre : dotsPerMetre;
    const double v = std::round(pixels * kHimetricPerMetre / dpm);
    // At least one unit, so that aspect ratios never divide by zero.
    return static_cast<int32_t>(std::clamp(v, 1.0, double {std::numeric_limits<int32_t>::max()}));
}

// The size to decode `full` at: the long side at most kMaxDecodedSide.
QSize DecodedSize(QSize full)
{
    if (full.width() <= kMaxDecodedSide && full.height() <= kMaxDecodedSide)
        return full;
    return full.scaled(kMaxDecodedSide, kMaxDecodedSide, Qt::KeepAspectRatio).expandedTo({1, 1});
}

} // namespace

CQtImageCodec::CQtImageCodec()
{
    static const bool raised = (QImageReader::setAllocationLimit(kReaderLimitMb), true);
    (void)raised;
}

CQtImage::CQtImage(QImage image, CSize himetric)
    : image(std::move(image))
    , size(himetric)
{
    // Down to a size every view draws from the image itself.
    constexpr int kSmallest = 256;
    const QImage* last = &this->image;
    while (last->width() / 2 >= kSmallest && last->height() / 2 >= kSmallest) {
        smaller.push_back(last->scaled(last->width() / 2, last->height() / 2, Qt::IgnoreAspectRatio,
            Qt::SmoothTransformation));
        last = &smaller.back();
    }
}

QRectF CQtImage::PixelsOf(const CRect& source) const
{
    if (source.Width() == 0 || source.Height() == 0 || size.cx <= 0 || size.cy <= 0)
        return image.rect();
    const double sx = double(image.width()) / size.cx;
    const double sy = double(image.height()) / size.cy;
    return QRectF(source.left * sx, source.top * sy, source.Width() * sx, source.Height() * sy);
}

const QImage& CQtImage::ImageFor(QSizeF shown) const
{
    const QImage* best = &image;
    for (const QImage& s : smaller) {
        if (s.width() < shown.width() || s.height() < shown.height())
            break;
        best = &s;
    }
    return *best;
}

std::shared_ptr<const CImage> CQtImageCodec::Decode(std::span<const uint8_t> bytes) const
{
    if (bytes.empty() || bytes.size() > size_t {std::numeric_limits<qsizetype>::max()})
        return nullptr;
    // Reads the caller's bytes in place; the image owns its pixels after reading.
    QByteArray data = QByteArray::fromRawData(
        reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly))
        return nullptr;
    QImageReader reader(&buffer);
    // Pictures show as the file stores them, without turning by Exif data.
    reader.setAutoTransform(false);
    if (!IsPictureFormat(reader.format()))
        return nullptr;
    // The size in HIMETRIC is that of the whole file, however few of its
    // pixels are decoded. Only the JPEG reader decodes fewer pixels when
    // asked (and keeps the file's resolution); the others decode the whole
    // image anyway, and the PNG reader would scale the resolution with it.
    QSize full = reader.size();
    const bool jpeg = reader.format() == "jpeg" || reader.format() == "jpg";
    if (jpeg && full.isValid() && DecodedSize(full) != full)
        reader.setScaledSize(DecodedSize(full));
    QImage image = reader.read();
    if (image.isNull())
        return nullptr;
    if (!full.isValid())
        full = image.size();

    const CSize himetric {Himetric(full.width(), image.dotsPerMeterX(), UnstatedDotsPerMetre(true)),
        Himetric(full.height(), image.dotsPerMeterY(), UnstatedDotsPerMetre(false))};
    if (image.size() != DecodedSize(image.size())) {
        image = image.scaled(
            DecodedSize(image.size()), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    // The formats the painter draws fastest; the sheet draws each picture on
    // every redraw.
    const QImage::Format fast
        = image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (image.format() != fast)
        image.convertTo(fast);
    if (image.isNull())
        return nullptr;
    return std::make_shared<CQtImage>(std::move(image), himetric);
}
