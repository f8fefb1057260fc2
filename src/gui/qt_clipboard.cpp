#include "gui/qt_clipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "qt/clipboard_picture.h"

namespace {

const QString kSvgFormat = QStringLiteral("image/svg+xml");
const QString kPngFormat = QStringLiteral("image/png");

// The clipboard's data: the stream at hand, the pictures drawn from the
// copy made at Copy time when a program asks for them, once each.
class CCopyData : public QMimeData {
public:
    CCopyData(std::vector<uint8_t> stream, std::unique_ptr<CClipboardPicture> picture)
        : picture(std::move(picture))
    {
        setData(CQtClipboard::kStreamFormat,
            QByteArray(reinterpret_cast<const char*>(stream.data()),
                static_cast<qsizetype>(stream.size())));
    }

    QStringList formats() const override
    {
        QStringList list {CQtClipboard::kStreamFormat};
        if (picture)
            list << kSvgFormat << kPngFormat;
        return list;
    }
    bool hasFormat(const QString& mimeType) const override { return formats().contains(mimeType); }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override
    {
        if (picture && mimeType == kSvgFormat) {
            if (svg.isEmpty())
                svg = DrawPictureSvg(*picture);
            return svg;
        }
        if (picture && mimeType == kPngFormat) {
            if (png.isEmpty()) {
                QBuffer buffer(&png);
                buffer.open(QIODevice::WriteOnly);
                DrawPictureImage(*picture).save(&buffer, "PNG");
            }
            return png;
        }
        return QMimeData::retrieveData(mimeType, type);
    }

private:
    std::unique_ptr<CClipboardPicture> picture;
    mutable QByteArray svg;
    mutable QByteArray png;
};

} // namespace

// Under this name other platforms' copies of the program find the stream too.
const QString CQtClipboard::kStreamFormat
    = QStringLiteral("application/x-qt-windows-mime;value=\"CF_DOVEREDU\"");

CQtClipboard::CQtClipboard(QObject* parent)
    : QObject(parent)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    connect(clipboard, &QClipboard::dataChanged, this, [this] { Refresh(); });
    Refresh();
}

void CQtClipboard::Refresh()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    holdsStream = data && data->hasFormat(kStreamFormat);
}

bool CQtClipboard::Put(std::vector<uint8_t> stream, std::unique_ptr<CClipboardPicture> picture)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    auto* data = new CCopyData(std::move(stream), std::move(picture));
    clipboard->setMimeData(data); // the clipboard owns it from here
    // Another program may take the clipboard straight back.
    const bool ours = clipboard->mimeData() == data;
    Refresh();
    return ours;
}

CClipboard::CTaken CQtClipboard::Take()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return {{}, Failure::NotOpened};
    if (!data->hasFormat(kStreamFormat))
        return {{}, Failure::NoData};
    const QByteArray bytes = data->data(kStreamFormat);
    return {std::vector<uint8_t>(bytes.begin(), bytes.end()), Failure::None};
}

CQtClipboard& ApplicationClipboard()
{
    static CQtClipboard* clipboard = new CQtClipboard(QGuiApplication::instance());
    return *clipboard;
}
