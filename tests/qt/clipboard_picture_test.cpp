#include "qt/clipboard_picture.h"

#include <QImage>
#include <gtest/gtest.h>

#include "platform/canvas.h"
#include "platform/clipboard.h"

namespace {

// A black square in the picture's top-left quarter.
class CSquare : public CClipboardPicture {
public:
    explicit CSquare(CSize size)
        : size(size)
    {
    }
    CSize Size() const override { return size; }
    void Draw(CCanvas& dc) override
    {
        dc.SelectPen({0, 0, PenStyle::Solid});
        dc.SelectBrush({BrushStyle::Solid, 0});
        dc.Rectangle(0, 0, size.cx / 2, size.cy / 2);
    }
    CSize size;
};

TEST(ClipboardPicture, SvgHasTheTrueSizeInMillimetresAndTheTitle)
{
    CSquare square({12000, 3050}); // 120 x 30.5 mm
    const QByteArray svg = DrawPictureSvg(square);
    EXPECT_TRUE(svg.contains("width=\"120mm\"")) << svg.left(400).constData();
    EXPECT_TRUE(svg.contains("height=\"30.5mm\"")) << svg.left(400).constData();
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 12000 3050\""));
    EXPECT_TRUE(svg.contains("<title>Vorel Ridizav</title>"));
}

TEST(ClipboardPicture, ImageAt300DpiOnWhiteWithTheLongSideCapped)
{
    // (size in 0.01 mm) -> pixels
    const struct {
        CSize size;
        QSize pixels;
    } cases[] = {
        {{2540, 1270}, {300, 150}}, // 1 x 0.5 inch at 300 dpi
        {{100000, 50000}, {4096, 2048}}, // 1 m wide would be 11811 pixels
        {{0, 0}, {1, 1}},
    };
    for (const auto& c : cases) {
        CSquare square(c.size);
        const QImage image = DrawPictureImage(square);
        EXPECT_EQ(image.size(), c.pixels);
        if (c.pixels.width() < 10)
            continue;
        EXPECT_EQ(image.pixel(image.width() - 2, image.height() - 2), 0xFFFFFFFFu);
        EXPECT_EQ(image.pixel(image.width() / 4, image.height() / 4), 0xFF000000u);
    }
    CSquare inch({2540, 2540});
    EXPECT_EQ(DrawPictureImage(inch).dotsPerMeterX(), 11811);
}

} // namespace
