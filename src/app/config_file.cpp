#include "app/config_file.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <sstream>
#include <system_error>

#include "app/program_folder.h"
#include "model/byte_order.h"
#include "model/file_io.h"
#include "model/text_encoding.h"

namespace {

// Strings are read into a buffer of this size with room for a terminator.
constexpr size_t kStringBuffer = 1000;

// The last item each revision holds; later revisions append to earlier ones.
struct CRevision {
    const char* text;
    int lastItem;
};
constexpr CRevision kRevisions[] = {
    {"Vorel Rev 8.xx", 11},
    {"Vorel Rev 8.07", 14},
    {"Vorel Rev 8.08", 16},
    {"Vorel Rev 8.09", 21},
    {"Vorel Rev 9.95", 23},
    {"Vorel Rev 10.00", 24},
};
constexpr int kLastItem = 25;

int LastItemOf(const std::string& revision)
{
    for (const CRevision& r : kRevisions) {
        if (revision == r.text)
            return r.lastItem;
    }
    return kLastItem;
}

// Reads items until the stream ends; after that every read fails.
class CItemReader {
public:
    explicit CItemReader(std::istream& in)
        : in(in)
    {
    }

    bool Raw(uint8_t* out, size_t n)
    {
        if (ended)
            return false;
        in.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(n));
        if (static_cast<size_t>(in.gcount()) != n)
            ended = true;
        return !ended;
    }

    std::optional<int32_t> Int()
    {
        uint8_t b[4];
        if (!Raw(b, 4))
            return std::nullopt;
        return static_cast<int32_t>(GetLE32(b));
    }

    std::optional<double> Double()
    {
        uint8_t b[8];
        if (!Raw(b, 8))
            return std::nullopt;
        return std::bit_cast<double>(GetLE64(b));
    }

    // A longer string than the buffer holds is cut, but all of its bytes
    // are consumed; the text ends at its first zero byte.
    std::optional<std::string> String()
    {
        const std::optional<int32_t> count = Int();
        if (!count)
            return std::nullopt;
        const uint64_t n = static_cast<uint32_t>(*count);
        const size_t kept = static_cast<size_t>(std::min<uint64_t>(n, kStringBuffer - 1));
        std::string text(kept, '\0');
        if (!Raw(reinterpret_cast<uint8_t*>(text.data()), kept))
            return std::nullopt;
        const uint64_t rest = n - kept;
        if (rest > 0) {
            in.ignore(static_cast<std::streamsize>(rest));
            if (static_cast<uint64_t>(in.gcount()) != rest) {
                ended = true;
                return std::nullopt;
            }
        }
        text.resize(std::min(text.find('\0'), text.size()));
        return text;
    }

    bool Ended() const { return ended; }

private:
    std::istream& in;
    bool ended = false;
};

class CItemWriter {
public:
    void Raw(const uint8_t* p, size_t n) { bytes.insert(bytes.end(), p, p + n); }
    void Int(int32_t v)
    {
        uint8_t b[4];
        PutLE32(b, static_cast<uint32_t>(v));
        Raw(b, 4);
    }
    void Double(double v)
    {
        uint8_t b[8];
        PutLE64(b, std::bit_cast<uint64_t>(v));
        Raw(b, 8);
    }
    void String(const std::string& s)
    {
        Int(static_cast<int32_t>(s.size()));
        Raw(reinterpret_cast<const uint8_t*>(s.data()), s.size());
    }
    std::vector<uint8_t> bytes;
};

} // namespace

std::filesystem::path ConfigFilePath()
{
    return ProgramFolder() / kConfigFileName;
}

std::array<uint8_t, 104> GridImage(const CGridArr& grids)
{
    // The reserved words are written as zero and never read.
    std::array<uint8_t, 104> image {};
    for (size_t g = 0; g < 3; ++g) {
        const CGrid& grid = grids.grids[g];
        const int32_t fields[] = {grid.spacingX, grid.spacingY, grid.snapX, grid.snapY,
            grid.display, grid.snapOn, grid.lastDisplay};
        for (size_t f = 0; f < 7; ++f)
            PutLE32(&image[8 + 32 * g + 4 * f], static_cast<uint32_t>(fields[f]));
    }
    PutLE32(&image[100], static_cast<uint32_t>(grids.activeGrid));
    return image;
}

CGridArr GridsFromImage(std::span<const uint8_t, 104> image)
{
    CGridArr grids;
    for (size_t g = 0; g < 3; ++g) {
        CGrid& grid = grids.grids[g];
        int32_t* fields[] = {&grid.spacingX, &grid.spacingY, &grid.snapX, &grid.snapY,
            &grid.display, &grid.snapOn, &grid.lastDisplay};
        for (size_t f = 0; f < 7; ++f)
            *fields[f] = static_cast<int32_t>(GetLE32(&image[8 + 32 * g + 4 * f]));
    }
    grids.activeGrid = static_cast<int32_t>(GetLE32(&image[100]));
    return grids;
}

std::array<uint8_t, 60> FontRecord(const CLogFont& font)
{
    std::array<uint8_t, 60> record {};
    const int32_t words[]
        = {font.height, font.width, font.escapement, font.orientation, font.weight};
    for (size_t i = 0; i < 5; ++i)
        PutLE32(&record[4 * i], static_cast<uint32_t>(words[i]));
    const uint8_t flags[] = {font.italic, font.underline, font.strikeOut, font.charSet,
        font.outPrecision, font.clipPrecision, font.quality, font.pitchAndFamily};
    std::copy(std::begin(flags), std::end(flags), record.begin() + 20);
    std::copy(font.faceName.begin(), font.faceName.end(), record.begin() + 28);
    return record;
}

CLogFont FontFromRecord(std::span<const uint8_t, 60> record)
{
    CLogFont font;
    int32_t* words[]
        = {&font.height, &font.width, &font.escapement, &font.orientation, &font.weight};
    for (size_t i = 0; i < 5; ++i)
        *words[i] = static_cast<int32_t>(GetLE32(&record[4 * i]));
    uint8_t* flags[] = {&font.italic, &font.underline, &font.strikeOut, &font.charSet,
        &font.outPrecision, &font.clipPrecision, &font.quality, &font.pitchAndFamily};
    for (size_t i = 0; i < 8; ++i)
        *flags[i] = record[20 + i];
    std::copy(record.begin() + 28, record.end(), font.faceName.begin());
    return font;
}

ConfigStatus ReadConfig(std::istream& in, CSettings& settings)
{
    CSettings s = settings;
    CItemReader r(in);

    const auto flag = [&r](bool& out) {
        if (const auto v = r.Int())
            out = *v != 0;
    };
    const auto number = [&r](int& out) {
        if (const auto v = r.Int())
            out = *v;
    };
    const auto folder = [&r](std::string& out) {
        if (const auto v = r.String())
            out = Cp1252ToUtf8(*v);
    };
    const auto grids = [&r](CGridArr& out) {
        std::array<uint8_t, 104> image;
        if (r.Raw(image.data(), image.size()))
            out = GridsFromImage(image);
    };
    const auto fonts = [&r](std::array<CLogFont, 8>& out) {
        std::array<uint8_t, 60 * 8> all;
        if (!r.Raw(all.data(), all.size()))
            return;
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = FontFromRecord(std::span<const uint8_t, 60>(all.data() + 60 * i, 60));
    };

    // Items 2 to 25 in the order of the file.
    const std::function<void()> items[] = {
        [&] { flag(s.fitToPaper); },
        [&] { flag(s.autoRotate); },
        [&] {
            if (const auto v = r.Double())
                s.printerScale = *v;
        },
        [&] { grids(s.grids); },
        [&] { folder(s.projectsFolder); },
        [&] { folder(s.templatesFolder); },
        [&] { folder(s.symbolsFolder); },
        [&] { folder(s.strokeFontFile); },
        [&] { number(s.strokeFontSize); },
        [&] { fonts(s.fonts); },
        [&] { number(s.maxReserveCopies); },
        [&] { number(s.reserveInterval); },
        [&] { flag(s.autoReserve); },
        [&] { flag(s.loadLastProject); },
        [&] { number(s.undoLevels); },
        [&] { flag(s.gridToAllSheets); },
        [&] { flag(s.showToolBar); },
        [&] { flag(s.showToolSet); },
        [&] { flag(s.showStatusBar); },
        [&] { flag(s.showScrollBars); },
        [&] { flag(s.blackAndWhite); },
        [&] { folder(s.picturesFolder); },
        [&] { folder(s.backupFolder); },
        [&] { flag(s.longCursor); },
    };
    static_assert(std::size(items) == kLastItem - 1);

    ConfigStatus status = ConfigStatus::ShortFile;
    if (const std::optional<std::string> revision = r.String()) {
        const int last = LastItemOf(*revision);
        for (int item = 2; item <= last && !r.Ended(); ++item)
            items[item - 2]();
        if (!r.Ended())
            status = ConfigStatus::Read;
    }
    if (in.bad())
        return ConfigStatus::Unreadable;
    s.KeepInRange();
    settings = std::move(s);
    return status;
}

ConfigStatus ReadConfigFile(const std::filesystem::path& path, CSettings& settings)
{
    std::error_code ec;
    const std::filesystem::file_status st = std::filesystem::status(path, ec);
    if (st.type() == std::filesystem::file_type::not_found)
        return ConfigStatus::Missing;
    if (ec)
        return ConfigStatus::Unreadable;
    // Read as a regular file of known size, never as a pipe or a device that
    // could block the start or never end.
    const CFileContents contents = ReadFileContents(path);
    if (!contents.bytes)
        return ConfigStatus::Unreadable;
    std::istringstream in(std::string(contents.bytes->begin(), contents.bytes->end()));
    return ReadConfig(in, settings);
}

std::vector<uint8_t> FormatConfig(const CSettings& s)
{
    CItemWriter w;
    const auto folder = [&w](const std::string& utf8) { w.String(Utf8ToCp1252(utf8)); };
    w.String(kConfigRevision);
    w.Int(s.fitToPaper);
    w.Int(s.autoRotate);
    w.Double(s.printerScale);
    const auto grids = GridImage(s.grids);
    w.Raw(grids.data(), grids.size());
    folder(s.projectsFolder);
    folder(s.templatesFolder);
    folder(s.symbolsFolder);
    folder(s.strokeFontFile);
    w.Int(s.strokeFontSize);
    for (const CLogFont& font : s.fonts) {
        const auto record = FontRecord(font);
        w.Raw(record.data(), record.size());
    }
    w.Int(s.maxReserveCopies);
    w.Int(s.reserveInterval);
    w.Int(s.autoReserve);
    w.Int(s.loadLastProject);
    w.Int(s.undoLevels);
    w.Int(s.gridToAllSheets);
    w.Int(s.showToolBar);
    w.Int(s.showToolSet);
    w.Int(s.showStatusBar);
    w.Int(s.showScrollBars);
    w.Int(s.blackAndWhite);
    folder(s.picturesFolder);
    folder(s.backupFolder);
    w.Int(s.longCursor);
    return std::move(w.bytes);
}

std::optional<std::string> WriteConfigFile(
    const std::filesystem::path& path, const CSettings& settings)
{
    return WriteFileAtomically(path, FormatConfig(settings));
}
