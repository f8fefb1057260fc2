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

// Decodes bmp, gif, jpg and png data with Qt's image readers, at most 4096
// pixels on the long side; the size in HIMETRIC stays the file's.
class CQtImageCodec : public CImageCodec {
public:
    // The first codec raises Qt's allocation limit for image readers.
    CQtImageCodec();
    std::shared_ptr<const CImage> Decode(std::span<const uint8_t> bytes) const override;
};
