#include "qt/qt_image_codec.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

namespace {

QByteArray Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return bytes;
}

QImage Filled(int width, int height, int dotsPerMetreX, int dotsPerMetreY)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.setPixelColor(0, 0, Qt::blue);
    image.setDotsPerMeterX(dotsPerMetreX);
    image.setDotsPerMeterY(dotsPerMetreY);
    return image;
}

// The PNG without its pHYs chunk: a file that states no resolution.
QByteArray WithoutResolution(QByteArray png)
{
    const qsizetype at = png.indexOf("pHYs");
    EXPECT_GT(at, 4);
    png.remove(at - 4, 4 + 4 + 9 + 4); // length, type, data, CRC
    return png;
}

std::shared_ptr<const CImage> Decoded(const QByteArray& bytes)
{
    const CQtImageCodec codec;
    return codec.Decode(
        {reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())});
}

} // namespace

TEST(QtImageCodec, ReportsTheSizeInHimetricFromTheResolution)
{
    // 10000 dots per metre: a pixel is 0.1 mm, 10 HIMETRIC.
    const QImage stated = Filled(100, 50, 10000, 5000);
    QByteArray bmpUnstated = Encoded(stated, "BMP");
    for (int i = 38; i < 46; ++i) // the header's pixels per metre, x and y
        bmpUnstated[i] = 0;

    // (bytes, expected size); 96 px at 96 dpi are 25.4 mm
    const struct {
        const char* what;
        QByteArray bytes;
        CSize himetric;
    } cases[] = {
        {"png", Encoded(stated, "PNG"), {1000, 1000}},
        {"bmp", Encoded(stated, "BMP"), {1000, 1000}},
        {"jpg", Encoded(stated, "JPG"), {1000, 1000}},
        {"png without resolution", WithoutResolution(Encoded(Filled(96, 48, 10000, 10000), "PNG")),
            {2540, 1270}},
        {"bmp without resolution", bmpUnstated, {2646, 1323}},
    };
    for (const auto& c : cases) {
        const auto image = Decoded(c.bytes);
        ASSERT_NE(image, nullptr) << c.what;
        EXPECT_EQ(image->SizeHimetric(), c.himetric) << c.what;
    }

    // The pixels come through.
    const auto png = Decoded(Encoded(stated, "PNG"));
    const QImage& pixels = dynamic_cast<const CQtImage&>(*png).Image();
    EXPECT_EQ(pixels.size(), QSize(100, 50));
    EXPECT_EQ(pixels.pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(pixels.pixelColor(99, 49), QColor(Qt::red));
}

TEST(QtImageCodec, ReadsGif)
{
    // One white pixel.
    const QByteArray gif = QByteArray::fromHex("474946383961010001008000"
                                               "00ffffff000000"
                                               "2c00000000010001000002024401003b");
    const auto image = Decoded(gif);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->SizeHimetric(), (CSize {26, 26}));
}

TEST(QtImageCodec, WhatIsNoPictureGivesNothing)
{
    const QByteArray png = Encoded(Filled(8, 8, 3780, 3780), "PNG");
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"empty", {}},
        {"garbage", "this is no picture at all"},
        {"cut short", png.left(png.size() / 2)},
        {"emf header", QByteArray::fromHex("0100000084000000") + QByteArray(80, '\0')},
        {"a format pictures do not use", "P1\n2 2\n0 1\n1 0\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Decoded(c.bytes), nullptr) << c.what;
}

TEST(QtImageCodec, ALargePhotoDecodesAt4096PixelsWithItsFullSize)
{
    // 8000 x 6000 at 10000 dots per metre: 800 x 600 mm. Qt's own limit
    // for image readers would refuse it whole.
    const QImage large = Filled(8000, 6000, 10000, 10000);
    for (const char* format : {"JPG", "PNG", "BMP"}) {
        const auto image = Decoded(Encoded(large, format));
        ASSERT_NE(image, nullptr) << format;
        EXPECT_EQ(image->SizeHimetric(), (CSize {80000, 60000})) << format;
        EXPECT_EQ(dynamic_cast<const CQtImage&>(*image).Image().size(), QSize(4096, 3072))
            << format;
    }
}
