#include "app/picture_values.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "document/picture_folder.h"
#include "model/number_text.h"
#include "model/picture.h"

namespace fs = std::filesystem;

namespace {

bool Fits32(int64_t v)
{
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

bool SideInRange(int64_t side)
{
    return side >= CPictureEdit::kMinSide && side <= CPictureEdit::kMaxSide;
}

// Width over height; a side of 0 (or less, from a damaged file) has none.
std::optional<double> RatioOf(int64_t width, int64_t height)
{
    if (width <= 0 || height <= 0)
        return std::nullopt;
    return static_cast<double>(width) / static_cast<double>(height);
}

// Cut off toward zero, as the dialog always has; an infinity or a value too
// large for 64 bits becomes one that every range refuses.
int64_t Trunc64(double v)
{
    if (!std::isfinite(v) || std::abs(v) > 9e18)
        return std::numeric_limits<int64_t>::max();
    return static_cast<int64_t>(std::trunc(v));
}

} // namespace

// --- Afbeelding toevoegen ---------------------------------------------------

CAddPictures::CAddPictures(fs::path folder, CPictArray& pictures)
    : folder(std::move(folder))
    , pictures(pictures)
    , names(ListPictureFolder(this->folder))
    , selected(names.empty() ? -1 : 0)
{
}

void CAddPictures::Select(int row)
{
    if (row >= 0 && row < static_cast<int>(names.size()))
        selected = row;
}

fs::path CAddPictures::SelectedPath() const
{
    if (selected < 0)
        return {};
    return folder / names[static_cast<size_t>(selected)];
}

std::vector<std::string> CAddPictures::AddFiles(std::vector<fs::path> chosen)
{
    std::sort(chosen.begin(), chosen.end(),
        [](const fs::path& a, const fs::path& b) { return a.native() < b.native(); });
    std::vector<std::string> messages;
    for (const fs::path& file : chosen) {
        CPicture probe;
        if (!probe.Load(file)) {
            messages.emplace_back(kMsgPictureUnusable);
            continue;
        }
        const std::optional<fs::path> copy = CopyIntoPictureFolder(file, folder);
        if (!copy) {
            messages.emplace_back(kMsgPictureNotCopied);
            continue;
        }
        // The list shows the folder as it is now, with the copy.
        const std::string name = copy->filename().string();
        names = ListPictureFolder(folder);
        auto at = std::find(names.begin(), names.end(), name);
        if (at == names.end())
            at = names.insert(names.end(), name);
        selected = static_cast<int>(at - names.begin());
    }
    return messages;
}

int CAddPictures::Place()
{
    if (selected < 0)
        return -1;
    const int index = pictures.AddFromFile(SelectedPath());
    if (index < 0)
        return -1;
    pictures.SetAllSelected(false);
    pictures.SetSelected(index, true);
    pictures.SetCurrentIndex(index);
    return index;
}

// --- Afbeelding aanpassen ---------------------------------------------------

std::string PictureFieldText(int32_t micrometres)
{
    return MillimetreText(micrometres) + " mm.";
}

std::optional<int32_t> PictureFieldValue(std::string_view text)
{
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const size_t start = i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    size_t digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        ++digits;
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        ++i;
        for (; i < text.size() && isDigit(text[i]); ++i)
            ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    return MicrometresFromText(text.substr(start, i - start));
}

CPictureEdit::CPictureEdit(const CPict& pict, CPoint origin, CPictureEditListener* listener)
    : placement(pict.placementRect)
    , source(pict.sourceRect)
    , origin(origin)
    , listener(listener)
{
    const int64_t sourceWidth = int64_t {source.right} - source.left;
    const int64_t sourceHeight = int64_t {source.bottom} - source.top;
    ratio = RatioOf(sourceWidth, sourceHeight)
                .value_or(RatioOf(pict.pictureSize.cx, pict.pictureSize.cy).value_or(1.0));
    const int64_t width = int64_t {placement.right} - placement.left;
    const int64_t height = int64_t {placement.bottom} - placement.top;
    keepRatio = width == Trunc64(static_cast<double>(height) * ratio);
}

std::string CPictureEdit::XText() const
{
    return PictureFieldText(static_cast<int32_t>(
        std::clamp<int64_t>(int64_t {placement.left} - origin.x, INT32_MIN, INT32_MAX)));
}

std::string CPictureEdit::YText() const
{
    return PictureFieldText(static_cast<int32_t>(
        std::clamp<int64_t>(int64_t {placement.top} - origin.y, INT32_MIN, INT32_MAX)));
}

std::string CPictureEdit::WidthText() const
{
    return PictureFieldText(static_cast<int32_t>(
        std::clamp<int64_t>(int64_t {placement.right} - placement.left, INT32_MIN, INT32_MAX)));
}

std::string CPictureEdit::HeightText() const
{
    return PictureFieldText(static_cast<int32_t>(
        std::clamp<int64_t>(int64_t {placement.bottom} - placement.top, INT32_MIN, INT32_MAX)));
}

bool CPictureEdit::Apply(int64_t left, int64_t top, int64_t width, int64_t height)
{
    const int64_t right = left + width;
    const int64_t bottom = top + height;
    if (!Fits32(left) || !Fits32(top) || !Fits32(right) || !Fits32(bottom))
        return false;
    const CRect next {static_cast<int32_t>(left), static_cast<int32_t>(top),
        static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
    if (next == placement)
        return false;
    placement = next;
    if (listener)
        listener->PlacementChanged(placement);
    return true;
}

bool CPictureEdit::SetPosition(std::string_view text, bool vertical)
{
    const std::optional<int32_t> v = PictureFieldValue(text);
    if (!v || *v < 0 || *v > kMaxPosition)
        return false;
    const int64_t width = int64_t {placement.right} - placement.left;
    const int64_t height = int64_t {placement.bottom} - placement.top;
    if (vertical)
        return Apply(placement.left, int64_t {origin.y} + *v, width, height);
    return Apply(int64_t {origin.x} + *v, placement.top, width, height);
}

bool CPictureEdit::SetX(std::string_view text)
{
    return SetPosition(text, false);
}

bool CPictureEdit::SetY(std::string_view text)
{
    return SetPosition(text, true);
}

bool CPictureEdit::SetWidth(std::string_view text)
{
    const std::optional<int32_t> w = PictureFieldValue(text);
    const int64_t height = int64_t {placement.bottom} - placement.top;
    if (!w || *w == int64_t {placement.right} - placement.left || !SideInRange(*w))
        return false;
    const int64_t h = keepRatio ? Trunc64(*w / ratio) : height;
    if (keepRatio && !SideInRange(h))
        return false;
    return Apply(placement.left, placement.top, *w, h);
}

bool CPictureEdit::SetHeight(std::string_view text)
{
    const std::optional<int32_t> h = PictureFieldValue(text);
    const int64_t width = int64_t {placement.right} - placement.left;
    if (!h || *h == int64_t {placement.bottom} - placement.top || !SideInRange(*h))
        return false;
    const int64_t w = keepRatio ? Trunc64(*h * ratio) : width;
    if (keepRatio && !SideInRange(w))
        return false;
    return Apply(placement.left, placement.top, w, *h);
}

bool CPictureEdit::SetKeepRatio(bool on)
{
    if (!on) {
        keepRatio = false;
        return false;
    }
    const int64_t width = int64_t {placement.right} - placement.left;
    const int64_t h = Trunc64(static_cast<double>(width) / ratio);
    if (!SideInRange(h))
        return false;
    keepRatio = true;
    return Apply(placement.left, placement.top, width, h);
}

bool CPictureEdit::SetOriginalSize()
{
    const auto held = [](int64_t side) { return std::clamp<int64_t>(side, kMinSide, kMaxSide); };
    return Apply(placement.left, placement.top, held(int64_t {source.right} - source.left),
        held(int64_t {source.bottom} - source.top));
}
