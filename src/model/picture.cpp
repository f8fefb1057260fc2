#include "model/picture.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <mutex>
#include <optional>

#include "model/file_io.h"
#include "model/platform_services.h"
#include "model/text_encoding.h"
#include "platform/canvas.h"
#include "platform/image_codec.h"

namespace {

// Lists and records both start with this mark; it is read and not checked.
constexpr int32_t kStoredMark = 812;
constexpr COLORREF kFrameColour = Rgb(255, 0, 0);

[[maybe_unused]] const bool registered
    = (CClassRegistry::Global().Register(CPict::StaticClass()), true);

int32_t Clamp32(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(
        v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// Truncates toward zero, as the printing arithmetic always has.
int32_t TruncToInt(double v)
{
    if (std::isnan(v))
        return 0;
    return static_cast<int32_t>(std::clamp(std::trunc(v), -2147483648.0, 2147483647.0));
}

bool Fits32(int64_t v)
{
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

std::optional<CRect> Moved(const CRect& r, int64_t dx, int64_t dy)
{
    const int64_t edges[] = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    for (int64_t e : edges) {
        if (!Fits32(e))
            return std::nullopt;
    }
    return CRect {static_cast<int32_t>(edges[0]), static_cast<int32_t>(edges[1]),
        static_cast<int32_t>(edges[2]), static_cast<int32_t>(edges[3])};
}

void ReadRect(CArchive& ar, CRect& r)
{
    const auto [left, top] = ar.ReadPair();
    const auto [right, bottom] = ar.ReadPair();
    r = {left, top, right, bottom};
}

void WriteRect(CArchive& ar, const CRect& r)
{
    ar.WritePair(r.left, r.top);
    ar.WritePair(r.right, r.bottom);
}

// The last part of a stored name: after the last "\" or "/", or after a
// drive prefix ("C:photo.jpg"). Project files written on Windows carry "\".
std::string_view LastPart(std::string_view name)
{
    const size_t sep = name.find_last_of("\\/");
    if (sep != std::string_view::npos)
        return name.substr(sep + 1);
    if (name.size() >= 2 && name[1] == ':')
        return name.substr(2);
    return name;
}

} // namespace

namespace {

// The decoded images of the files in use, so that every picture of a file
// shares one decoding. A file is known by its path, size and time of change
// (an edited file is decoded again) and the codec that decoded it. A file
// that failed is remembered as failed; an image nobody holds any more is
// forgotten.
class CDecodedFiles {
public:
    std::shared_ptr<const CImage> Decode(
        const CImageCodec& codec, const std::filesystem::path& path)
    {
        std::error_code ec;
        const std::filesystem::path full = std::filesystem::absolute(path, ec).lexically_normal();
        const auto size = std::filesystem::file_size(full, ec);
        const auto changed
            = ec ? std::filesystem::file_time_type {} : std::filesystem::last_write_time(full, ec);
        if (ec || size > CPicture::kMaxFileBytes)
            return nullptr; // not there, not a file, or too large to read
        const CKey key {full.string(), size, changed, &codec};

        const std::lock_guard lock(mutex);
        const auto known = files.find(key);
        if (known != files.end()) {
            if (known->second.failed)
                return nullptr;
            if (auto image = known->second.image.lock())
                return image;
        }
        std::erase_if(
            files, [](const auto& f) { return !f.second.failed && f.second.image.expired(); });
        const auto bytes = ReadFileBytes(full);
        std::shared_ptr<const CImage> image = bytes ? codec.Decode(*bytes) : nullptr;
        files[key] = {image, image == nullptr};
        return image;
    }

private:
    struct CKey {
        std::string path;
        uintmax_t size = 0;
        std::filesystem::file_time_type changed;
        const CImageCodec* codec = nullptr;
        auto operator<=>(const CKey&) const = default;
    };
    struct CEntry {
        std::weak_ptr<const CImage> image;
        bool failed = false;
    };
    std::mutex mutex;
    std::map<CKey, CEntry> files;
};

CDecodedFiles& DecodedFiles()
{
    static CDecodedFiles files;
    return files;
}

} // namespace

bool CPicture::Load(const std::filesystem::path& path)
{
    const CImageCodec* codec = PlatformServices().imageCodec;
    if (codec == nullptr)
        return false;
    auto decoded = DecodedFiles().Decode(*codec, path);
    if (!decoded)
        return false;
    image = std::move(decoded);
    pending.clear();
    return true;
}

void CPicture::LoadLater(const std::filesystem::path& path)
{
    image = nullptr;
    pending = path;
}

const std::shared_ptr<const CImage>& CPicture::Image() const
{
    if (!pending.empty()) {
        const std::filesystem::path path = std::move(pending);
        pending.clear();
        // Tried once: a missing or damaged file leaves the picture empty.
        if (const CImageCodec* codec = PlatformServices().imageCodec)
            image = DecodedFiles().Decode(*codec, path);
    }
    return image;
}

void CPicture::SetImage(std::shared_ptr<const CImage> decoded)
{
    image = std::move(decoded);
    pending.clear();
}

void CPicture::ShareImage(const CPicture& other)
{
    image = other.image;
    pending = other.pending;
}

void CPicture::Render(CCanvas& dc, const CRect& dest, const CRect& source) const
{
    if (!HasImage())
        return;
    const bool whole = source.Width() <= 0 || source.Height() <= 0;
    dc.DrawImage(*image, dest, whole ? CRect {} : source);
}

const CClassInfo& CPict::StaticClass()
{
    static const CClassInfo info {"CPict", 1, false, [] { return std::make_unique<CPict>(); }};
    return info;
}

std::filesystem::path RelocatedPicturePath(
    const std::filesystem::path& projectFile, std::string_view storedName)
{
    const std::string part = Cp1252ToUtf8(LastPart(storedName));
    // A name that would leave the picture folder is no picture file.
    if (part.empty() || part == "." || part == "..")
        return {};
    return projectFile.parent_path() / CPict::kPictureFolder / part;
}

void CPict::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteInt(kStoredMark);
        ar.WriteDword(flags);
        ar.WriteDouble(angle);
        ar.WritePair(pictureSize.cx, pictureSize.cy);
        WriteRect(ar, placementRect);
        WriteRect(ar, sourceRect);
        ar.WriteString(fileName);
        return;
    }

    ar.ReadInt();
    flags = ar.ReadDword() & ~kSelected;
    angle = ar.ReadDouble();
    const auto [cx, cy] = ar.ReadPair();
    pictureSize = {cx, cy};
    ReadRect(ar, placementRect);
    ReadRect(ar, sourceRect);
    fileName = ar.ReadString();

    // A project moved together with its picture folder finds its images
    // again, whatever folder the stored name gives. A memory archive (undo,
    // clipboard) has no project file and keeps the stored name.
    std::filesystem::path path;
    if (ar.FileName().empty()) {
        path = Cp1252ToUtf8(fileName);
    } else {
        path = RelocatedPicturePath(ar.FileName(), fileName);
        if (!path.empty())
            fileName = Utf8ToCp1252(path.string());
    }
    if (!path.empty())
        LoadLater(path); // a missing file leaves the picture without image
}

void CPict::CopyFrom(const CPict& other)
{
    flags = other.flags;
    angle = other.angle;
    fileName = other.fileName;
    pictureSize = other.pictureSize;
    sourceRect = other.sourceRect;
    placementRect = other.placementRect;
}

void CPict::SetSelected(bool on)
{
    if (on)
        flags |= kSelected;
    else
        flags &= ~kSelected;
}

void CPict::Draw(CCanvas& dc, int divisor, bool withFrame) const
{
    if (!HasImage() || divisor < 1)
        return;
    const CRect& r = placementRect;
    const int32_t x = r.left / divisor;
    const int32_t y = r.top / divisor;
    const int32_t x2 = r.right / divisor;
    const int32_t y2 = r.bottom / divisor;
    Render(dc, {x, y, x2, y2}, sourceRect);
    if (!withFrame)
        return;
    const int32_t xf = Clamp32(int64_t {x} - 1);
    dc.SelectPen({1, kFrameColour, PenStyle::Solid});
    dc.MoveTo(xf, y);
    dc.LineTo(x2, y);
    dc.LineTo(x2, y2);
    dc.LineTo(xf, y2);
    dc.LineTo(xf, y);
}

void CPict::DrawScaled(CCanvas& dc, int originX, int originY, double scale) const
{
    if (!HasImage())
        return;
    const CRect& r = placementRect;
    const int32_t x = TruncToInt((static_cast<double>(r.left) - originX + 1000) * scale);
    const int32_t y = TruncToInt((static_cast<double>(r.top) - originY + 1000) * scale);
    const int32_t w = TruncToInt((static_cast<double>(r.right) - r.left) * scale);
    const int32_t h = TruncToInt((static_cast<double>(r.bottom) - r.top) * scale);
    Render(dc, {x, y, Clamp32(int64_t {x} + w), Clamp32(int64_t {y} + h)}, sourceRect);
}

void CPictArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteInt(kStoredMark);
        ar.WriteCount(static_cast<uint32_t>(pictures.size()));
        for (const auto& p : pictures)
            ar.WriteObject(p.get());
        return;
    }

    ar.ReadInt();
    const uint32_t n = ar.ReadCount();
    ar.Require(uint64_t {n} * 2); // at least a two-byte reference each
    std::vector<std::unique_ptr<CPict>> read;
    read.reserve(n);
    for (uint32_t i = 0; i < n; ++i)
        read.push_back(ar.ReadOwned<CPict>());
    pictures.swap(read);
}

void CPictArray::CopyFrom(const CPictArray& other, bool reload)
{
    // `other` may be this list itself: count first.
    const size_t n = other.pictures.size();
    pictures.reserve(pictures.size() + n);
    for (size_t i = 0; i < n; ++i) {
        const CPict& from = *other.pictures[i];
        auto copy = std::make_unique<CPict>();
        copy->CopyFrom(from);
        if (reload)
            copy->ShareImage(from);
        pictures.push_back(std::move(copy));
    }
    currentIndex = other.currentIndex;
}

int CPictArray::AddFromFile(const std::filesystem::path& path)
{
    auto pict = std::make_unique<CPict>();
    if (!pict->Load(path))
        return -1;
    const CSize size = pict->Image()->SizeHimetric();
    // Shown at five times the HIMETRIC size; a size whose placement would
    // leave the 32-bit range is refused.
    if (size.cx < 0 || size.cy < 0 || !Fits32(int64_t {size.cx} * 5)
        || !Fits32(int64_t {size.cy} * 5))
        return -1;
    pict->pictureSize = size;
    pict->sourceRect = {0, 0, size.cx, size.cy};
    pict->placementRect = {0, 0, size.cx * 5, size.cy * 5};
    pict->fileName = Utf8ToCp1252(path.string());
    pictures.push_back(std::move(pict));
    return GetSize() - 1;
}

void CPictArray::RemoveAt(int index)
{
    if (IsValid(index))
        pictures.erase(pictures.begin() + index);
}

int CPictArray::DeleteSelected()
{
    const size_t before = pictures.size();
    std::erase_if(pictures, [](const auto& p) { return p->IsSelected(); });
    return static_cast<int>(before - pictures.size());
}

void CPictArray::Draw(CCanvas& dc, int index, int divisor) const
{
    if (IsValid(index))
        At(index).Draw(dc, divisor, false);
}

void CPictArray::DrawUnselected(CCanvas& dc, int divisor) const
{
    for (const auto& p : pictures) {
        if (!p->IsSelected())
            p->Draw(dc, divisor, false);
    }
}

void CPictArray::DrawSelected(CCanvas& dc, int divisor) const
{
    for (const auto& p : pictures) {
        if (p->IsSelected())
            p->Draw(dc, divisor, true);
    }
}

void CPictArray::DrawSelectedOne(CCanvas& dc, int index, int divisor) const
{
    if (IsValid(index))
        At(index).Draw(dc, divisor, true);
}

void CPictArray::DrawAllScaled(CCanvas& dc, int originX, int originY, double scale) const
{
    for (const auto& p : pictures)
        p->DrawScaled(dc, originX, originY, scale);
}

int CPictArray::HitTest(int x, int y) const
{
    for (int i = 0; i < GetSize(); ++i) {
        if (Contains(i, x, y))
            return i;
    }
    return -1;
}

bool CPictArray::Contains(int index, int x, int y) const
{
    if (!IsValid(index))
        return false;
    const CRect& r = At(index).placementRect;
    return r.left <= x && x < r.right && r.top <= y && y < r.bottom;
}

bool CPictArray::Intersects(int index, const CRect& rect) const
{
    if (!IsValid(index))
        return false;
    const CRect& r = At(index).placementRect;
    return r.left < rect.right && rect.left < r.right && r.top < rect.bottom && rect.top < r.bottom;
}

bool CPictArray::Offset(int index, int dx, int dy)
{
    if (!IsValid(index))
        return false;
    CRect& r = At(index).placementRect;
    const auto moved = Moved(r, dx, dy);
    if (!moved)
        return false;
    r = *moved;
    return true;
}

bool CPictArray::OffsetAll(int dx, int dy)
{
    for (const auto& p : pictures) {
        if (!Moved(p->placementRect, dx, dy))
            return false;
    }
    for (const auto& p : pictures)
        p->placementRect = *Moved(p->placementRect, dx, dy);
    return true;
}

bool CPictArray::MoveTo(int index, int x, int y)
{
    if (!IsValid(index))
        return false;
    CRect& r = At(index).placementRect;
    const auto moved = Moved(r, int64_t {x} - r.left, int64_t {y} - r.top);
    if (!moved)
        return false;
    r = *moved;
    return true;
}

void CPictArray::SetLeft(int index, int v)
{
    if (IsValid(index))
        At(index).placementRect.left = v;
}

void CPictArray::SetTop(int index, int v)
{
    if (IsValid(index))
        At(index).placementRect.top = v;
}

void CPictArray::SetRight(int index, int v)
{
    if (IsValid(index))
        At(index).placementRect.right = v;
}

void CPictArray::SetBottom(int index, int v)
{
    if (IsValid(index))
        At(index).placementRect.bottom = v;
}

int CPictArray::SetSelected(int index, bool on)
{
    if (!IsValid(index))
        return 0;
    CPict& p = At(index);
    if (p.IsSelected() == on)
        return 0;
    p.SetSelected(on);
    return on ? 1 : -1;
}

int CPictArray::SetAllSelected(bool on)
{
    int changed = 0;
    for (int i = 0; i < GetSize(); ++i)
        changed += SetSelected(i, on) != 0 ? 1 : 0;
    return changed;
}

bool CPictArray::IsSelected(int index) const
{
    return IsValid(index) && At(index).IsSelected();
}

int CPictArray::GetSelectedCount() const
{
    return static_cast<int>(std::count_if(
        pictures.begin(), pictures.end(), [](const auto& p) { return p->IsSelected(); }));
}
