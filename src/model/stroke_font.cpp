#include "model/stroke_font.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <map>
#include <mutex>

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

template<class Emit>
bool CDovereduFont::WalkText(const std::string& t, CPoint cursor, int sz, Emit&& emit) const
{
    // Once the running advance is this far out, every further point lies
    // beyond the 32-bit range in any direction, so holding it there keeps an
    // absurd text from overflowing the sum without changing the result.
    constexpr int64_t kFar = int64_t {1} << 40;
    constexpr int64_t kLow = std::numeric_limits<int32_t>::min();
    constexpr int64_t kHigh = std::numeric_limits<int32_t>::max();

    const int64_t s = sz;
    const int64_t sign = mirrored ? -1 : 1;
    const int turn = NormaliseRotation(angle);
    int64_t a = 0;
    for (const char ch : t) {
        const auto code = static_cast<uint8_t>(ch);
        int k = glyphs->FirstEntry(code);
        for (; k < glyphs->LastEntry(code); ++k) {
            const CGlyphEntry& e = glyphs->Entry(k);
            const CWideVector p = RotateVector({a + sign * s * e.x, s * e.y}, turn);
            const int64_t x = cursor.x + p.x;
            const int64_t y = cursor.y + p.y;
            if (x < kLow || x > kHigh || y < kLow || y > kHigh)
                return false;
            emit(CPoint {static_cast<int32_t>(x), static_cast<int32_t>(y)},
                (e.flags & kDrawFlag) != 0);
        }
        a = std::clamp(a + sign * s * glyphs->Entry(k).x, -kFar, kFar);
    }
    return true;
}

bool CDovereduFont::BuildText(const std::string& t, CPoint cursor, int sz, CRecordList& list) const
{
    // Counted first, so that a text that cannot be built leaves the buffer
    // as it was, and the arrays grow once.
    int64_t count = 0;
    if (!WalkText(t, cursor, sz, [&](CPoint, bool) { ++count; }))
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
    int i = 0;
    WalkText(t, cursor, sz, [&](CPoint p, bool draw) {
        list.placement[i++] = CETREC::Make(p.x, p.y, layer, draw ? pen : 0);
    });
    list.placementCount = n;
    return true;
}
