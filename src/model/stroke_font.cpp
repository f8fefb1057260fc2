#include "model/stroke_font.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <map>
#include <mutex>
#include <vector>

#include "model/file_io.h"
#include "model/model_defaults.h"
#include "model/turn.h"

namespace {

// What tells one state of a file from another without reading it.
struct CFileStamp {
    bool exists = false;
    uintmax_t size = 0;
    std::filesystem::file_time_type written {};
    friend bool operator==(const CFileStamp&, const CFileStamp&) = default;
};

CFileStamp StampOf(const std::string& path)
{
    CFileStamp stamp;
    const std::filesystem::path p(path);
    std::error_code error;
    if (!std::filesystem::exists(p, error))
        return stamp;
    stamp.exists = true;
    stamp.size = std::filesystem::file_size(p, error);
    stamp.written = std::filesystem::last_write_time(p, error);
    return stamp;
}

struct CCachedGlyphs {
    CFileStamp stamp;
    std::shared_ptr<const CStrokeGlyphs> table;
};

std::mutex cacheLock;
std::map<std::string, CCachedGlyphs> cache; // by path
std::atomic<int> filesRead {0};

} // namespace

std::shared_ptr<const CStrokeGlyphs> CStrokeGlyphs::Get(const std::string& path)
{
    const CFileStamp stamp = StampOf(path);
    const std::lock_guard lock(cacheLock);
    CCachedGlyphs& cached = cache[path];
    if (cached.table == nullptr || !(cached.stamp == stamp)) {
        auto table = std::make_shared<CStrokeGlyphs>();
        table->Read(path);
        cached = {stamp, std::move(table)};
    }
    return cached.table;
}

int CStrokeGlyphs::FilesRead()
{
    return filesRead.load();
}

bool CStrokeGlyphs::Read(const std::string& path)
{
    ++filesRead;
    // A pipe or a device is no font: opening it must not wait for a writer.
    const COpenedFile file = OpenRegularFile(path);
    if (!file)
        return false;
    std::array<char, kFileBytes> bytes {}; // a shorter file leaves zero entries
    std::fread(bytes.data(), 1, bytes.size(), file.file.get());
    if (std::ferror(file.file.get()))
        return false;

    for (int i = 0; i < kEntryCount; ++i) {
        const auto* e = reinterpret_cast<const uint8_t*>(bytes.data() + 3 * i);
        glyphs[i] = {static_cast<int16_t>(e[0] * 3), static_cast<int16_t>(e[1] * 3), e[2]};
    }

    // Character j owns the entries up to the next change of bit 7. The entry
    // past the file counts as flags 0, which closes a last character with
    // bit 7 set. The last code takes every range that follows, closing each
    // before the next, so it never owns strokes.
    int j = 0;
    uint8_t parity = 0;
    for (int i = 1; i <= kEntryCount; ++i) {
        const uint8_t b = glyphs[i].flags & kParityFlag;
        if (b == parity)
            continue;
        lastEntry[j] = static_cast<int16_t>(i - 1);
        if (j < kCodeCount - 1)
            ++j;
        firstEntry[j] = static_cast<int16_t>(i);
        parity = b;
    }
    read = true;
    return true;
}

CDovereduFont::CDovereduFont()
    : size(ModelDefaults().strokeFontSize)
{
    Load(ModelDefaults().strokeFontPath);
}

bool CDovereduFont::Load(const std::string& path)
{
    fontPath = path;
    glyphs = CStrokeGlyphs::Get(path);
    return glyphs->WasRead();
}

template<bool checked, class Emit>
bool CDovereduFont::WalkText(const std::string& t, CPoint cursor, int sz, Emit&& emit) const
{
    // Once the running advance is this far out, every further point lies
    // beyond the 32-bit range in any direction, so holding it there keeps an
    // absurd text from overflowing the sum without changing the result.
    constexpr int64_t kFar = int64_t {1} << 40;
    constexpr int64_t kLow = std::numeric_limits<int32_t>::min();
    constexpr int64_t kHigh = std::numeric_limits<int32_t>::max();

    const int64_t s = sz;
    const int64_t step = mirrored ? -s : s;
    const CStrokeGlyphs& g = *glyphs;
    const CGlyphEntry* entries = g.Entries();
    return CRotation(angle).Specialised([&](auto turn) {
        int64_t a = 0;
        for (const char ch : t) {
            const auto code = static_cast<uint8_t>(ch);
            const int first = g.FirstEntry(code);
            const int last = g.LastEntry(code);
            for (const CGlyphEntry* e = entries + first; e < entries + last; ++e) {
                const CWideVector p = turn({a + step * e->x, s * e->y});
                const int64_t x = cursor.x + p.x;
                const int64_t y = cursor.y + p.y;
                if (checked && (x < kLow || x > kHigh || y < kLow || y > kHigh))
                    return false;
                emit(CPoint {static_cast<int32_t>(x), static_cast<int32_t>(y)},
                    (e->flags & kDrawFlag) != 0);
            }
            a = std::clamp(a + step * entries[std::max(first, last)].x, -kFar, kFar);
        }
        return true;
    });
}

bool CDovereduFont::BuildText(const std::string& t, CPoint cursor, int sz, CRecordList& list) const
{
    // Counted per character, and held against a bound of every point: no
    // point lies further from the cursor, along either axis, than the whole
    // advance plus the largest glyph coordinate twice, and half a micrometre
    // of rounding. A text inside that bound (all but those within metres of
    // the range's end) is built in one pass; any other is walked first, so
    // that a text that cannot be built leaves the buffer as it was.
    constexpr int64_t kLargestGlyphCoordinate = 3 * 255;
    constexpr int64_t kLow = std::numeric_limits<int32_t>::min();
    constexpr int64_t kHigh = std::numeric_limits<int32_t>::max();
    int64_t count = 0;
    int64_t advance = 0; // font units, at most 765 a character
    for (const char ch : t) {
        const auto code = static_cast<uint8_t>(ch);
        const int first = glyphs->FirstEntry(code);
        const int last = glyphs->LastEntry(code);
        count += std::max(0, last - first);
        advance += glyphs->Entry(std::max(first, last)).x;
    }
    const int64_t reach = std::abs(int64_t {sz}) * (advance + 2 * kLargestGlyphCoordinate) + 1;
    const bool inside = reach < (int64_t {1} << 40) && cursor.x - reach >= kLow
        && cursor.x + reach <= kHigh && cursor.y - reach >= kLow && cursor.y + reach <= kHigh;
    if (!inside && !WalkText<true>(t, cursor, sz, [](CPoint, bool) {}))
        return false;
    const int64_t needed = count + CRecordList::kMinSpare;
    if (needed > std::numeric_limits<int32_t>::max() - CRecordList::kGrowth)
        return false;
    if (list.Length() < needed) {
        const int64_t steps
            = (needed - list.Length() + CRecordList::kGrowth - 1) / CRecordList::kGrowth;
        list.ResizeArrays(static_cast<int>(list.Length() + steps * CRecordList::kGrowth));
    }
    list.ReadyPlacement();

    const int n = static_cast<int>(count);
    const int stale = std::min(list.placementCount, list.Length());
    if (stale > n)
        std::fill(list.placement.begin() + n, list.placement.begin() + stale, CETREC {});
    CETREC* out = list.placement.data();
    const CETREC moved = CETREC::Make(0, 0, layer, 0);
    const auto penBits = static_cast<uint16_t>(CETREC::Make(0, 0, 0, pen).styleWord);
    const CRotation turn(angle);
    if (inside && turn.IsQuarter()) {
        // A quarter turn is exact and linear: each character is its glyph,
        // turned once for the whole text, moved to where the character
        // starts. What is left per point is a copy with an offset.
        struct CShapePoint {
            CWideVector p;
            uint16_t styleWord;
        };
        std::vector<CShapePoint> shapes;
        std::array<int, kCodeCount> shapeOf;
        shapeOf.fill(-1);
        const int64_t s = sz;
        const int64_t step = mirrored ? -s : s;
        int64_t a = 0;
        for (const char ch : t) {
            const auto code = static_cast<uint8_t>(ch);
            const int first = glyphs->FirstEntry(code);
            const int last = glyphs->LastEntry(code);
            if (shapeOf[code] < 0) {
                shapeOf[code] = static_cast<int>(shapes.size());
                for (int k = first; k < last; ++k) {
                    const CGlyphEntry& e = glyphs->Entry(k);
                    const auto style = static_cast<uint16_t>(
                        moved.styleWord | ((e.flags & kDrawFlag) ? penBits : 0));
                    shapes.push_back({turn({step * e.x, s * e.y}), style});
                }
            }
            const CWideVector origin = turn({a, 0});
            const int64_t ox = cursor.x + origin.x;
            const int64_t oy = cursor.y + origin.y;
            const CShapePoint* shape = shapes.data() + shapeOf[code];
            for (int k = first; k < last; ++k, ++shape) {
                CETREC r;
                r.styleWord = shape->styleWord;
                r.x = static_cast<int32_t>(ox + shape->p.x);
                r.y = static_cast<int32_t>(oy + shape->p.y);
                *out++ = r;
            }
            a += step * glyphs->Entry(std::max(first, last)).x;
        }
    } else {
        // Without a branch on the flag: a text has a move at every stroke's
        // start, too irregular to predict.
        WalkText<false>(t, cursor, sz, [&](CPoint p, bool draw) {
            CETREC r = moved;
            r.styleWord = static_cast<uint16_t>(r.styleWord | (penBits & -static_cast<int>(draw)));
            r.x = p.x;
            r.y = p.y;
            *out++ = r;
        });
    }
    list.placementCount = n;
    return true;
}
