#include "model/text.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "model/byte_order.h"
#include "model/model_defaults.h"
#include "model/platform_services.h"
#include "platform/text_metrics.h"

namespace {

const bool registered = [] {
    CClassRegistry::Global().Register(CText::StaticClass());
    return true;
}();

bool FitsInt32(int64_t v)
{
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

// The box moved by (dx, dy), or nothing when a coordinate would leave the
// 32-bit range.
std::optional<CRect> Shifted(const CRect& r, int dx, int dy)
{
    const int64_t l = int64_t {r.left} + dx, rt = int64_t {r.right} + dx;
    const int64_t t = int64_t {r.top} + dy, b = int64_t {r.bottom} + dy;
    if (!FitsInt32(l) || !FitsInt32(rt) || !FitsInt32(t) || !FitsInt32(b))
        return std::nullopt;
    return CRect {static_cast<int32_t>(l), static_cast<int32_t>(t), static_cast<int32_t>(rt),
        static_cast<int32_t>(b)};
}

int32_t ClampInt32(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(
        v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// A zoom divisor of 0 or less would divide by zero; it acts as 1.
int Divisor(int divisor)
{
    return divisor > 0 ? divisor : 1;
}

uint32_t WithBit(uint32_t word, uint32_t bit, bool on)
{
    return on ? (word | bit) : (word & ~bit);
}

} // namespace

const CClassInfo& CText::StaticClass()
{
    static const CClassInfo info {"CText", 1, false, [] { return std::make_unique<CText>(); }};
    return info;
}

void CText::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteString(text);
        uint8_t bytes[16];
        PutLE32(bytes, static_cast<uint32_t>(box.left));
        PutLE32(bytes + 4, static_cast<uint32_t>(box.top));
        PutLE32(bytes + 8, static_cast<uint32_t>(box.right));
        PutLE32(bytes + 12, static_cast<uint32_t>(box.bottom));
        ar.WriteRaw(bytes, sizeof bytes);
        // The selection mark is written as it is and dropped on reading.
        ar.WriteDword(attributes);
    } else {
        text = ar.ReadString();
        uint8_t bytes[16];
        ar.ReadRawExact(bytes, sizeof bytes);
        box.left = static_cast<int32_t>(GetLE32(bytes));
        box.top = static_cast<int32_t>(GetLE32(bytes + 4));
        box.right = static_cast<int32_t>(GetLE32(bytes + 8));
        box.bottom = static_cast<int32_t>(GetLE32(bytes + 12));
        attributes = ar.ReadDword() & ~kSelectedBit;
    }
}

void CText::CopyFrom(const CText& other)
{
    text = other.text;
    box = other.box;
    attributes = other.attributes;
}

void CText::SetFontNumber(int font)
{
    attributes = (attributes & ~kFontMask) | (static_cast<uint32_t>(font) & kFontMask);
}

void CText::SetHeight(int height)
{
    const uint32_t h = static_cast<uint32_t>(std::clamp(height, 1, kMaxHeight));
    attributes = (attributes & ~kHeightMask) | (h << kHeightShift);
}

void CText::SetItalic(bool on)
{
    attributes = WithBit(attributes, kItalicBit, on);
}

void CText::SetBold(bool on)
{
    attributes = WithBit(attributes, kBoldBit, on);
}

int CText::NormaliseAngle(int64_t angle)
{
    // 360 is kept apart from 0: four quarter turns from 0 end at 360.
    if (angle < 0)
        return static_cast<int>(359 - (-angle - 1) % 360);
    if (angle > 360)
        return static_cast<int>((angle - 361) % 360 + 1);
    return static_cast<int>(angle);
}

void CText::SetAngle(int angle)
{
    const uint32_t a = static_cast<uint32_t>(NormaliseAngle(angle));
    attributes = (attributes & ~kAngleMask) | (a << kAngleShift);
}

void CText::SetLayer(int layer)
{
    attributes
        = (attributes & ~kLayerMask) | ((static_cast<uint32_t>(layer) << kLayerShift) & kLayerMask);
}

void CText::SetSelected(bool on)
{
    attributes = WithBit(attributes, kSelectedBit, on);
}

bool CText::Offset(int dx, int dy)
{
    const auto moved = Shifted(box, dx, dy);
    if (!moved)
        return false;
    box = *moved;
    return true;
}

bool CText::MoveTo(int x, int y)
{
    const int64_t r = int64_t {x} + (int64_t {box.right} - box.left);
    const int64_t b = int64_t {y} + (int64_t {box.bottom} - box.top);
    if (!FitsInt32(r) || !FitsInt32(b))
        return false;
    box = {x, y, static_cast<int32_t>(r), static_cast<int32_t>(b)};
    return true;
}

CFontDesc CText::FontAt(int height) const
{
    const auto& fonts = ModelDefaults().fonts;
    const size_t index = std::min<size_t>(static_cast<size_t>(FontNumber()), fonts.size() - 1);
    CFontDesc font = fonts[index];
    font.height = height;
    font.italic = IsItalic();
    font.weight = IsBold() ? 700 : 400;
    font.escapement = Angle() * 10;
    return font;
}

void CText::Measure(const CTextMetrics* metrics)
{
    if (metrics == nullptr)
        return;
    // The height field is the cell height in pixels of the measuring device;
    // one pixel there stands for 100 world units.
    const CFontDesc font = FontAt(Height());
    const CSize size = metrics->TextExtent(font, text.empty() ? std::string_view(" ") : text);
    box.bottom = ClampInt32(int64_t {box.top} + int64_t {size.cy} * 100);
    if (text.empty())
        box.right = ClampInt32(int64_t {box.left} + 1);
    else
        box.right = ClampInt32(int64_t {box.left} + (int64_t {box.bottom} - box.top));
}

void CText::Measure()
{
    Measure(PlatformServices().textMetrics);
}

CRect CText::GetDeviceExtent(const CTextMetrics* metrics, int divisor) const
{
    const int d = Divisor(divisor);
    if (metrics == nullptr)
        return GetDeviceBox(d);
    // Unlike drawing, the height is not raised to one pixel here.
    const CFontDesc font = FontAt(Height() * 100 / d);
    const CSize size = metrics->TextExtent(font, text.empty() ? std::string_view(" ") : text);
    const int32_t left = box.left / d, top = box.top / d;
    return {left, top, text.empty() ? left : ClampInt32(int64_t {left} + size.cx),
        ClampInt32(int64_t {top} + size.cy)};
}

CRect CText::GetDeviceBox(int divisor) const
{
    const int d = Divisor(divisor);
    return {box.left / d, box.top / d, box.right / d, box.bottom / d};
}

void CText::Draw(CCanvas& canvas, int divisor) const
{
    const int d = Divisor(divisor);
    const CFontDesc font = FontAt(std::max(1, Height() * 100 / d));
    canvas.TextOut(box.left / d, box.top / d, font, text);
}

void CText::DrawFrame(CCanvas& canvas, int divisor) const
{
    const CRect r = GetDeviceBox(divisor);
    canvas.MoveTo(r.left, r.top);
    canvas.LineTo(r.right, r.top);
    canvas.LineTo(r.right, r.bottom);
    canvas.LineTo(r.left, r.bottom);
    canvas.LineTo(r.left, r.top);
}

CText* CTextArray::At(int index)
{
    return index >= 0 && index < GetCount() ? texts[static_cast<size_t>(index)].get() : nullptr;
}

const CText* CTextArray::At(int index) const
{
    return index >= 0 && index < GetCount() ? texts[static_cast<size_t>(index)].get() : nullptr;
}

int CTextArray::Add(std::unique_ptr<CText> text)
{
    if (!text)
        return -1;
    if (text->IsSelected())
        ++selectedCount;
    texts.push_back(std::move(text));
    return GetCount() - 1;
}

void CTextArray::RemoveAll()
{
    texts.clear();
    currentIndex = 0;
    selectedCount = 0;
}

void CTextArray::CopyFrom(const CTextArray& other)
{
    if (&other == this)
        return;
    List copies;
    copies.reserve(other.texts.size());
    for (const auto& t : other.texts)
        copies.push_back(std::make_unique<CText>(*t));
    texts.swap(copies);
    currentIndex = other.currentIndex;
    selectedCount = other.selectedCount;
}

void CTextArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<uint32_t>(texts.size()));
        for (const auto& t : texts)
            ar.WriteObject(t.get());
        return;
    }
    const uint32_t n = ar.ReadCount();
    ar.Require(uint64_t {n} * 2); // at least an object tag each
    List read;
    read.reserve(n);
    for (uint32_t i = 0; i < n; ++i)
        read.push_back(ar.ReadOwned<CText>());
    texts.swap(read);
    currentIndex = 0;
    selectedCount = 0;
}

int CTextArray::HitTest(int x, int y, uint32_t layers)
{
    for (int i = GetCount() - 1; i >= 0; --i) {
        const CText& t = *texts[static_cast<size_t>(i)];
        const CRect& b = t.box;
        if ((layers >> t.Layer() & 1) && b.left <= x && x < b.right && b.top <= y && y < b.bottom) {
            currentIndex = i;
            return i;
        }
    }
    currentIndex = 0;
    return -1;
}

CText* CTextArray::GetCurrentText()
{
    return At(currentIndex);
}

void CTextArray::SetSelected(int index, bool on)
{
    CText* t = At(index);
    if (t == nullptr || t->IsSelected() == on)
        return;
    t->SetSelected(on);
    selectedCount += on ? 1 : -1;
}

bool CTextArray::IsSelected(int index) const
{
    const CText* t = At(index);
    return t != nullptr && t->IsSelected();
}

int CTextArray::GetLayer(int index) const
{
    const CText* t = At(index);
    return t != nullptr ? t->Layer() : 0;
}

CPoint CTextArray::GetPosition(int index) const
{
    const CText* t = At(index);
    return t != nullptr ? t->Position() : CPoint {};
}

int CTextArray::CountOnLayer(int layer) const
{
    return static_cast<int>(std::count_if(
        texts.begin(), texts.end(), [layer](const auto& t) { return t->Layer() == layer; }));
}

void CTextArray::SelectAll()
{
    for (int i = 0; i < GetCount(); ++i)
        SetSelected(i, true);
}

void CTextArray::InvertSelection()
{
    for (int i = 0; i < GetCount(); ++i)
        SetSelected(i, !IsSelected(i));
}

bool CTextArray::DeselectAll()
{
    const bool any = selectedCount > 0;
    for (const auto& t : texts)
        t->SetSelected(false);
    selectedCount = 0;
    return any;
}

int CTextArray::ToggleInWindow(const CRect& window, uint32_t layers)
{
    const int32_t wl = std::min(window.left, window.right),
                  wr = std::max(window.left, window.right);
    const int32_t wt = std::min(window.top, window.bottom),
                  wb = std::max(window.top, window.bottom);
    int toggled = 0;
    for (int i = 0; i < GetCount(); ++i) {
        const CText& t = *texts[static_cast<size_t>(i)];
        if (!(layers >> t.Layer() & 1))
            continue;
        const CRect& b = t.box;
        const bool overlaps = std::min(b.left, b.right) <= wr && std::max(b.left, b.right) >= wl
            && std::min(b.top, b.bottom) <= wb && std::max(b.top, b.bottom) >= wt;
        if (overlaps) {
            SetSelected(i, !IsSelected(i));
            ++toggled;
        }
    }
    return toggled;
}

void CTextArray::MoveText(int index, int x, int y)
{
    if (CText* t = At(index))
        t->MoveTo(x, y);
}

void CTextArray::RemoveAt(int index)
{
    if (At(index) == nullptr)
        return;
    if (IsSelected(index))
        --selectedCount;
    texts.erase(texts.begin() + index);
}

void CTextArray::RemoveCurrent()
{
    RemoveAt(currentIndex);
}

int CTextArray::RemoveSelected()
{
    const size_t before = texts.size();
    std::erase_if(texts, [](const auto& t) { return t->IsSelected(); });
    selectedCount = 0;
    return static_cast<int>(before - texts.size());
}

bool CTextArray::OffsetWhere(int dx, int dy, bool selectedOnly)
{
    // All or nothing: check every box before moving any.
    for (const auto& t : texts) {
        if (selectedOnly && !t->IsSelected())
            continue;
        if (!Shifted(t->box, dx, dy))
            return false;
    }
    for (const auto& t : texts) {
        if (!selectedOnly || t->IsSelected())
            t->Offset(dx, dy);
    }
    return true;
}

bool CTextArray::Offset(int dx, int dy)
{
    return OffsetWhere(dx, dy, false);
}

bool CTextArray::OffsetSelected(int dx, int dy)
{
    return OffsetWhere(dx, dy, true);
}

void CTextArray::NegateAngles()
{
    for (const auto& t : texts)
        t->SetAngle(-t->Angle());
}
