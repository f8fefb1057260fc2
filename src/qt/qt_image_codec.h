#pragma once

#include <QImage>

#include "platform/image_codec.h"

// A decoded picture held as a QImage that never changes after decoding.
class CQtImage : public CImage {
public:
    CQtImage(QImage image, CSize himetric);
    CSize SizeHimetric() const override { return size; }
    const QImage& Image() const { return image; }

private:
    const QImage image;
    const CSize size;
};

// Decodes bmp, gif, jpg and png data with Qt's image readers.
class CQtImageCodec : public CImageCodec {
public:
    std::shared_ptr<const CImage> Decode(std::span<const uint8_t> bytes) const override;
};
