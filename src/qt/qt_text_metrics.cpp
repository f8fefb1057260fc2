#include "qt/qt_text_metrics.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <mutex>
#include <tuple>

#include "qt/qt_text.h"

namespace {

// The cell of a font asked for with height 0.
constexpr int kDefaultCellHeight = 16;
// Above this cell height the pixel size follows the font's proportions
// without asking the engine size by size.
constexpr int kLargestSearchedCell = 4096;
constexpr int kReferencePixelSize = 256;
// The font engine's metrics overflow a little above this size.
constexpr int kMaxPixelSize = 16384;

QString FamilyFor(const std::string& face)
{
    const QString name = FromCp1252(face).trimmed();
    static const std::pair<const char*, const char*> substitutes[] = {
        {"Arial", "Liberation Sans"},
        {"Arial Narrow", "Liberation Sans Narrow"},
        {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
    };
    for (const auto& [from, to] : substitutes) {
        if (name.compare(QLatin1String(from), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(to);
    }
    return name;
}

int CellAt(QFont font, int pixelSize)
{
    font.setPixelSize(pixelSize);
    const QFontMetrics fm(font);
    return fm.ascent() + fm.descent();
}

// The largest pixel size whose cell is at most `cell` pixels (at least 1).
int PixelSizeForCell(const QFont& font, int cell)
{
    static std::mutex lock;
    static std::map<std::tuple<QString, int, bool, int>, int> known;
    const auto key = std::make_tuple(font.family(), font.weight(), font.italic(), cell);
    {
        const std::lock_guard<std::mutex> guard(lock);
        if (auto it = known.find(key); it != known.end())
            return it->second;
    }

    QFont reference = font;
    reference.setPixelSize(kReferencePixelSize);
    const QFontMetricsF fm(reference);
    const double ratio
        = fm.ascent() + fm.descent() > 0 ? (fm.ascent() + fm.descent()) / kReferencePixelSize : 1.0;
    int size = static_cast<int>(std::clamp(std::floor(cell / ratio), 1.0, double {kMaxPixelSize}));
    if (cell <= kLargestSearchedCell) {
        // The engine rounds ascent and descent separately, so the guess can
        // be a pixel off either way.
        for (int step = 0; step < 8 && size > 1 && CellAt(font, size) > cell; ++step)
            --size;
        for (int step = 0; step < 8 && CellAt(font, size + 1) <= cell; ++step)
            ++size;
    }

    const std::lock_guard<std::mutex> guard(lock);
    known.emplace(key, size);
    return size;
}

} // namespace

QFont MakeQFont(const CFontDesc& desc)
{
    QFont font(FamilyFor(desc.face));
    // A weight of 0 asks for the normal weight.
    font.setWeight(static_cast<QFont::Weight>(desc.weight > 0 ? std::min(desc.weight, 1000) : 400));
    font.setItalic(desc.italic);
    // System text is drawn and measured without kerning.
    font.setKerning(false);
    if (desc.height > 0)
        font.setPixelSize(PixelSizeForCell(font, desc.height));
    else if (desc.height < 0)
        font.setPixelSize(
            static_cast<int>(std::min<int64_t>(-int64_t {desc.height}, kMaxPixelSize)));
    else
        font.setPixelSize(PixelSizeForCell(font, kDefaultCellHeight));
    return font;
}

CSize CQtTextMetrics::TextExtent(const CFontDesc& desc, std::string_view text) const
{
    const QFont font = MakeQFont(desc);
    const QFontMetrics fm(font);
    const int width = fm.horizontalAdvance(FromCp1252(text));
    int cell = fm.ascent() + fm.descent();
    if (desc.height > 0)
        cell = desc.height;
    else if (desc.height == 0)
        cell = kDefaultCellHeight;
    return {width, cell};
}
