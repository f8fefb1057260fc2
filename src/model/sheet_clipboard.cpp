// The selection stream of the clipboard: written from the selection,
// pasted into a sheet.
#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/archive.h"
#include "model/selection_stream.h"
#include "model/sheet.h"
#include "platform/ui_services.h"

namespace {

// styleWord keeps pen, layer and the junction flag; the high byte is always 0.
constexpr uint16_t kStyleBits = 0x00FF;
// The smallest stored record and text: what a count must leave room for.
constexpr uint64_t kStreamRecordBytes = 12;
constexpr uint64_t kSmallestTextBytes = 1 + 16 + 4; // empty string, box, attributes

bool Fits(int64_t v)
{
    return v >= INT32_MIN && v <= INT32_MAX;
}

// `count` new block numbers: those above the highest in use, or, where they
// would pass 32767, the lowest ones not in use. Fewer when not enough are free.
std::vector<int> NewBlockNumbers(const CSheet& s, int count, int highest)
{
    std::vector<int> numbers;
    if (count <= 0)
        return numbers;
    if (highest + count <= CETREC::kMaxBlock) {
        for (int k = 1; k <= count; ++k)
            numbers.push_back(highest + k);
        return numbers;
    }
    std::vector<bool> used(CETREC::kMaxBlock + 1);
    for (int i = 1; i < s.recordCount; ++i)
        used[s.records[i].Block()] = true;
    for (int b = 1; b <= CETREC::kMaxBlock && static_cast<int>(numbers.size()) < count; ++b) {
        if (!used[b])
            numbers.push_back(b);
    }
    return numbers;
}

void PutRecord(CArchive& ar, const CETREC& r, CPoint origin)
{
    uint8_t bytes[12];
    const uint32_t x = static_cast<uint32_t>(int64_t {r.x} - origin.x);
    const uint32_t y = static_cast<uint32_t>(int64_t {r.y} - origin.y);
    bytes[0] = static_cast<uint8_t>(r.styleWord);
    bytes[1] = static_cast<uint8_t>(r.styleWord >> 8);
    bytes[2] = static_cast<uint8_t>(r.blockWord);
    bytes[3] = static_cast<uint8_t>(r.blockWord >> 8);
    for (int k = 0; k < 4; ++k) {
        bytes[4 + k] = static_cast<uint8_t>(x >> (8 * k));
        bytes[8 + k] = static_cast<uint8_t>(y >> (8 * k));
    }
    ar.WriteRaw(bytes, sizeof bytes);
}

bool FitsRelative(CPoint p, CPoint origin)
{
    return Fits(int64_t {p.x} - origin.x) && Fits(int64_t {p.y} - origin.y);
}

// A copy of the box moved by (dx, dy), or false when it would leave 32 bits.
bool MovedBox(const CRect& box, int64_t dx, int64_t dy, CRect& out)
{
    const int64_t l = box.left + dx, t = box.top + dy, r = box.right + dx, b = box.bottom + dy;
    if (!Fits(l) || !Fits(t) || !Fits(r) || !Fits(b))
        return false;
    out = {static_cast<int32_t>(l), static_cast<int32_t>(t), static_cast<int32_t>(r),
        static_cast<int32_t>(b)};
    return true;
}

} // namespace

std::optional<CSelectionStream> ReadSelectionStream(CArchive& ar)
{
    CSelectionStream stream;
    try {
        const int32_t n = ar.ReadInt();
        if (n < 0 || uint64_t(n) * kStreamRecordBytes > ar.Remaining())
            return std::nullopt;
        std::vector<uint8_t> bytes(size_t(n) * kStreamRecordBytes);
        ar.ReadRawExact(bytes.data(), bytes.size());
        stream.records.resize(size_t(n));
        for (size_t i = 0; i < stream.records.size(); ++i) {
            const uint8_t* b = bytes.data() + i * kStreamRecordBytes;
            CETREC& r = stream.records[i];
            r.styleWord = static_cast<uint16_t>((b[0] | b[1] << 8) & kStyleBits);
            r.blockWord = static_cast<uint16_t>(b[2] | b[3] << 8);
            uint32_t x = 0, y = 0;
            for (int k = 3; k >= 0; --k) {
                x = x << 8 | b[4 + k];
                y = y << 8 | b[8 + k];
            }
            r.x = static_cast<int32_t>(x);
            r.y = static_cast<int32_t>(y);
        }
        const int32_t m = ar.ReadInt();
        if (m < 0 || uint64_t(m) * kSmallestTextBytes > ar.Remaining())
            return std::nullopt;
        stream.texts.resize(size_t(m));
        for (CText& text : stream.texts)
            text.Serialize(ar); // reading drops the selection mark
    } catch (const CArchiveException&) {
        return std::nullopt;
    }
    return stream;
}

int PastedBlockOrdinals(std::span<const CETREC> records, std::vector<int>& ordinals)
{
    ordinals.assign(records.size(), 0);
    int highestSeen = 0;
    int ordinal = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        const int k = records[i].Block();
        if (k == 0)
            continue;
        if (k > highestSeen) {
            highestSeen = k;
            ++ordinal;
        }
        ordinals[i] = ordinal;
    }
    return ordinal;
}

void CSheet::AppendPasted(std::span<const CETREC> pasted, const std::vector<int>& ordinals,
    const std::vector<int>& numbers, std::span<const CText> pastedTexts)
{
    for (size_t k = 0; k < pasted.size(); ++k) {
        CETREC r = pasted[k];
        r.blockWord = static_cast<uint16_t>(r.blockWord & CETREC::kFilledBit);
        if (ordinals[k] > 0)
            r.SetBlock(numbers[size_t(ordinals[k] - 1)]);
        AppendShown(r);
    }
    for (const CText& t : pastedTexts) {
        // A text on a hidden layer would look as if nothing was pasted.
        if (t.Layer() != 0)
            layers.SetVisible(t.Layer(), 1);
        auto text = std::make_unique<CText>();
        text->CopyFrom(t);
        texts.currentIndex = texts.Add(std::move(text));
    }
}

int CSheet::WriteSelection(CArchive& ar) const
{
    const std::vector<CETREC> copied = SelectedForCopy();
    std::vector<CText> moved;
    for (const auto& text : texts) {
        if (!text->IsSelected())
            continue;
        CText t;
        t.CopyFrom(*text);
        if (!MovedBox(text->box, -int64_t {origin.x}, -int64_t {origin.y}, t.box))
            return 0;
        moved.push_back(std::move(t));
    }
    for (const CETREC& r : copied) {
        if (!FitsRelative({r.x, r.y}, origin))
            return 0;
    }

    ar.WriteInt(static_cast<int32_t>(copied.size()));
    for (const CETREC& r : copied)
        PutRecord(ar, r, origin);
    ar.WriteInt(static_cast<int32_t>(moved.size()));
    for (CText& t : moved)
        t.Serialize(ar);
    return 1;
}

CSheet::PasteResult CSheet::PasteSelection(CArchive& ar)
{
    std::optional<CSelectionStream> stream = ReadSelectionStream(ar);
    if (!stream)
        return PasteResult::Damaged;
    if (stream->records.empty() && stream->texts.empty())
        return PasteResult::Empty;

    // Everything is checked before the sheet changes.
    for (CETREC& r : stream->records) {
        const int64_t x = int64_t {r.x} + origin.x;
        const int64_t y = int64_t {r.y} + origin.y;
        if (!Fits(x) || !Fits(y))
            return PasteResult::OutOfRange;
        r.x = static_cast<int32_t>(x);
        r.y = static_cast<int32_t>(y);
    }
    for (CText& t : stream->texts) {
        if (!MovedBox(t.box, origin.x, origin.y, t.box))
            return PasteResult::OutOfRange;
    }
    // The records already there are read once, before anything changes:
    // copied into the snapshot that the paste will make its undo step, and
    // tallied on the way for their highest block and their share of the
    // recount. Inside an undo scope the scope takes the snapshot.
    CRecordTally tally;
    CUndoRedo* snap = nullptr;
    if (undoScopeDepth > 0)
        tally = Tally();
    else
        snap = &FreeSnapshot(tally);
    std::vector<int> ordinals;
    const int newBlocks = PastedBlockOrdinals(stream->records, ordinals);
    const std::vector<int> numbers = NewBlockNumbers(*this, newBlocks, tally.highestBlock);
    if (static_cast<int>(numbers.size()) < newBlocks)
        return PasteResult::NoBlockNumber;
    if (recordCount < 1)
        recordCount = 1; // the sentinel comes first
    const int64_t n = static_cast<int64_t>(stream->records.size());
    if (int64_t {recordCount} + n + kGrowth > INT32_MAX)
        return PasteResult::OutOfRange;

    if (Length() < recordCount + n + kMinSpare)
        ResizeArrays(static_cast<int>(recordCount + n + kGrowth));
    const int first = recordCount;
    AppendPasted(stream->records, ordinals, numbers, stream->texts);

    // Pasting only appends: the tally of what was there and of what came is
    // the tally of the whole.
    tally.Take(std::span<const CETREC>(records.data() + first, size_t(recordCount - first)));
    Recount(tally);
    origin = Extents(tally);
    if (snap)
        CommitSnapshot(*snap);
    else
        PushUndo();
    return PasteResult::Pasted;
}

std::unique_ptr<CSheet> CSheet::PictureSheet() const
{
    auto pic = std::make_unique<CSheet>();
    pic->penWidths = penWidths;
    pic->layers.CopyFrom(layers);
    pic->layerColours = layerColours;
    pic->highlightColours = highlightColours;
    pic->printColours = printColours;
    pic->junctionSize = junctionSize;
    pic->origin = origin;
    pic->sheetExtent = sheetExtent;
    pic->recordCount = 1;
    pic->rubberActive = 1;

    const auto addText = [&](const CText& text) {
        auto copy = std::make_unique<CText>();
        copy->CopyFrom(text);
        copy->SetSelected(false);
        pic->texts.Add(std::move(copy));
    };
    const int end = std::min(recordCount, Length());
    if (rubberActive) {
        // Everything in the window, selected or not: the whole figures that
        // reach into it, clipped by the picture's edges.
        const CRect w {std::min(rubberRect.left, rubberRect.right),
            std::min(rubberRect.top, rubberRect.bottom),
            std::max(rubberRect.left, rubberRect.right),
            std::max(rubberRect.top, rubberRect.bottom)};
        const int64_t reach = kPictureMargin + std::max(junctionSize, 0);
        for (int first = 1; first < end;) {
            int last = first + 1;
            while (last < end && !records[last].StartsFigure())
                ++last;
            int32_t lowX = INT32_MAX, lowY = INT32_MAX, highX = INT32_MIN, highY = INT32_MIN;
            for (int i = first; i < last; ++i) {
                lowX = std::min(lowX, records[i].x);
                lowY = std::min(lowY, records[i].y);
                highX = std::max(highX, records[i].x);
                highY = std::max(highY, records[i].y);
            }
            if (highX + reach >= w.left && lowX - reach <= w.right && highY + reach >= w.top
                && lowY - reach <= w.bottom) {
                for (int i = first; i < last; ++i)
                    pic->Append(records[i]);
            }
            first = last;
        }
        for (const auto& text : texts)
            addText(*text);
        pic->rubberRect = w;
        return pic;
    }

    int64_t lowX = INT64_MAX, lowY = INT64_MAX, highX = INT64_MIN, highY = INT64_MIN;
    const auto take = [&](int64_t x, int64_t y) {
        lowX = std::min(lowX, x);
        lowY = std::min(lowY, y);
        highX = std::max(highX, x);
        highY = std::max(highY, y);
    };
    for (const CETREC& r : SelectedForCopy()) {
        pic->Append(r);
        take(r.x, r.y);
    }
    for (const auto& text : texts) {
        if (!text->IsSelected())
            continue;
        addText(*text);
        take(text->box.left, text->box.top);
        take(text->box.right, text->box.bottom);
    }
    if (lowX > highX)
        return pic;
    const auto clamp = [](int64_t v) {
        return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    };
    pic->rubberRect = {clamp(lowX - kPictureMargin), clamp(lowY - kPictureMargin),
        clamp(highX + kPictureMargin), clamp(highY + kPictureMargin)};
    return pic;
}

CSheet::PasteResult CSheet::PasteIntoBuffer(CArchive& ar)
{
    std::optional<CSelectionStream> stream = ReadSelectionStream(ar);
    if (!stream)
        return PasteResult::Damaged;
    if (stream->records.empty() && stream->texts.empty())
        return PasteResult::Empty;

    // The middle of the box round records and texts goes onto the cursor.
    int64_t lowX = INT64_MAX, lowY = INT64_MAX, highX = INT64_MIN, highY = INT64_MIN;
    const auto take = [&](int64_t x, int64_t y) {
        lowX = std::min(lowX, x);
        lowY = std::min(lowY, y);
        highX = std::max(highX, x);
        highY = std::max(highY, y);
    };
    for (const CETREC& r : stream->records)
        take(r.x, r.y);
    for (const CText& t : stream->texts) {
        take(t.box.left, t.box.top);
        take(t.box.right, t.box.bottom);
    }
    const int64_t dx = cursor.x - (lowX + (highX - lowX) / 2);
    const int64_t dy = cursor.y - (lowY + (highY - lowY) / 2);
    for (CETREC& r : stream->records) {
        if (!Fits(r.x + dx) || !Fits(r.y + dy))
            return PasteResult::OutOfRange;
        r.x = static_cast<int32_t>(r.x + dx);
        r.y = static_cast<int32_t>(r.y + dy);
    }
    for (CText& t : stream->texts) {
        // Kept relative to the buffer's anchor, which starts on the cursor.
        CRect placed;
        if (!MovedBox(t.box, dx, dy, placed)
            || !MovedBox(t.box, dx - cursor.x, dy - cursor.y, t.box))
            return PasteResult::OutOfRange;
    }
    const int64_t n = static_cast<int64_t>(stream->records.size());
    if (Length() + n + kGrowth > INT32_MAX)
        return PasteResult::OutOfRange;

    ClearBuffer();
    int length = Length();
    while (length - n < kMinSpare)
        length += kGrowth;
    if (length != Length())
        ResizeArrays(length);
    ReadyPlacement();
    std::copy(stream->records.begin(), stream->records.end(), placement.begin());
    placementCount = static_cast<int>(n);
    bufferTexts = std::move(stream->texts);
    bufferKeepsBlocks = true;
    bufferAnchor = cursor;
    bufferCursor = cursor;
    return PasteResult::Pasted;
}

int CSheet::CommitPastedBuffer(CUiServices& ui)
{
    const int count = std::min(placementCount, Length());
    if (count <= 0 && bufferTexts.empty())
        return 0;
    std::vector<CText> placed = bufferTexts;
    for (CText& t : placed) {
        if (!t.Offset(bufferAnchor.x, bufferAnchor.y)) {
            ui.MessageBox(kMsgOutOfRange);
            return 0;
        }
    }
    const std::span<const CETREC> buffer(placement.data(), static_cast<size_t>(std::max(count, 0)));
    CRecordTally tally = Tally();
    std::vector<int> ordinals;
    const int newBlocks = PastedBlockOrdinals(buffer, ordinals);
    const std::vector<int> numbers = NewBlockNumbers(*this, newBlocks, tally.highestBlock);
    if (static_cast<int>(numbers.size()) < newBlocks) {
        ui.MessageBox(kMsgNoBlockNumber);
        return 0;
    }
    if (recordCount < 1)
        recordCount = 1;
    const int64_t needed = int64_t {recordCount} + count + kGrowth;
    if (needed > INT32_MAX) {
        ui.MessageBox(kMsgOutOfRange);
        return 0;
    }
    if (Length() < recordCount + int64_t {count} + kMinSpare)
        ResizeArrays(static_cast<int>(needed));

    const int first = recordCount;
    AppendPasted(buffer, ordinals, numbers, placed);
    if (count > 0)
        currentRecord = recordCount - 1;
    tally.Take(std::span<const CETREC>(records.data() + first, size_t(recordCount - first)));
    Recount(tally);
    PushUndo();
    return 1;
}

std::string_view CSheet::PasteMessage(PasteResult result)
{
    switch (result) {
    case PasteResult::Damaged:
        return kMsgClipboardData;
    case PasteResult::OutOfRange:
        return kMsgOutOfRange;
    case PasteResult::NoBlockNumber:
        return kMsgNoBlockNumber;
    case PasteResult::Pasted:
    case PasteResult::Empty:
        break;
    }
    return {};
}
