#pragma once

#include <QImage>
#include <QRectF>
#include <vector>

#include "platform/image_codec.h"

// A decoded picture held as a QImage that never changes after decoding,
// with copies of half, a quarter ... of its size: a photo of many pixels
// drawn small is drawn from the copy just larger than it is shown, so that
// it costs what a small photo costs.
class CQtImage : public CImage {
public:
    CQtImage(QImage image, CSize himetric);
    CSize SizeHimetric() const override { return size; }
    const QImage& Image() const { return image; }
    // The smallest of the image and its copies that is at least `shown`
    // (the whole image's size on the device) in both directions.
    const QImage& ImageFor(QSizeF shown) const;
    // The part `source` (HIMETRIC from the top-left; an empty source is the
    // whole image) in the image's pixels.
    QRectF PixelsOf(const CRect& source) const;

private:
    const QImage image;
    const CSize size;
    std::vector<QImage> smaller; // each half the one before
};

// Decodes bmp, gif, jpg and png data with Qt's image readers, at most 4096
// pixels on the long side; the size in HIMETRIC stays the file's.
class CQtImageCodec : public CImageCodec {
public:
    // The first codec raises Qt's allocation limit for image readers.
    CQtImageCodec();
    std::shared_ptr<const CImage> Decode(std::span<const uint8_t> bytes) const override;
};
