#include "gui/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <gtest/gtest.h>

#include "gui_test_main.h"
#include "platform/canvas.h"

namespace {

class CLine : public CClipboardPicture {
public:
    CSize Size() const override { return {2000, 1000}; }
    void Draw(CCanvas& dc) override
    {
        ++draws;
        dc.SelectPen({20, 0, PenStyle::Solid});
        dc.MoveTo(100, 500);
        dc.LineTo(1900, 500);
    }
    static inline int draws = 0;
};

TEST(QtClipboard, PutsTheStreamAndPicturesThatAreDrawnWhenAsked)
{
    CQtClipboard clipboard;
    CLine::draws = 0;
    ASSERT_TRUE(clipboard.Put({5, 0, 0, 0, 1}, std::make_unique<CLine>()));
    EXPECT_TRUE(clipboard.HoldsStream());
    EXPECT_EQ(CLine::draws, 0);

    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->formats(),
        (QStringList {QStringLiteral("application/x-qt-windows-mime;value=\"CF_DOVEREDU\""),
            QStringLiteral("image/svg+xml"), QStringLiteral("image/png")}));
    EXPECT_TRUE(data->data(QStringLiteral("image/svg+xml")).contains("<title>Vorel Ridizav"));
    const QImage png = QImage::fromData(data->data(QStringLiteral("image/png")), "PNG");
    EXPECT_EQ(png.size(), QSize(237, 119));
    data->data(QStringLiteral("image/png"));
    EXPECT_EQ(CLine::draws, 2); // once each

    const CClipboard::CTaken taken = clipboard.Take();
    EXPECT_EQ(taken.failure, CClipboard::Failure::None);
    EXPECT_EQ(taken.bytes, (std::vector<uint8_t> {5, 0, 0, 0, 1}));

    // Another program's text: the stream is gone, and the state says so
    // without being asked.
    QGuiApplication::clipboard()->setText(QStringLiteral("tekst"));
    EXPECT_FALSE(clipboard.HoldsStream());
    EXPECT_EQ(clipboard.Take().failure, CClipboard::Failure::NoData);
}

} // namespace
