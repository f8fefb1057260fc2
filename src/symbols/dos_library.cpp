#include "symbols/dos_library.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <span>
#include <system_error>

#include "document/dir.h"
#include "model/file_io.h"
#include "model/sheet.h"
#include "symbols/library_folders.h"
#include "symbols/symbol_file.h"

namespace fs = std::filesystem;

namespace {

// Pens 1 to 7 of an old layout, in micrometres.
constexpr std::array<int32_t, 7> kLayoutPenWidths = {300, 900, 1500, 2100, 2700, 3300, 3900};

constexpr int kLastWidthLayer = 7; // layers 8 to 15 draw line types, not tracks

bool HasExtension(const fs::path& path, std::string_view extension)
{
    return CDir::Matches(std::string("*") + std::string(extension), path.filename().string());
}

int32_t Scale(int16_t v, double factor)
{
    return static_cast<int32_t>(v * factor); // truncates toward zero
}

CETREC FromBytes(uint8_t block, uint8_t style, int16_t x, int16_t y, double factor)
{
    CETREC r;
    r.blockWord = block;
    r.styleWord = style;
    r.x = Scale(x, factor);
    r.y = Scale(y, factor);
    return r;
}

CETREC FromWords(const CSym& s, double factor)
{
    CETREC r;
    r.blockWord = s.blockWord;
    r.styleWord = s.styleWord;
    r.x = Scale(s.x, factor);
    r.y = Scale(s.y, factor);
    return r;
}

// The records of a file of 6-byte (".BNK", ".LAY") or 8-byte records, scaled
// by the factor, each through the corner rule, appended to `out`.
void AppendRecords(
    std::span<const uint8_t> bytes, bool sixBytes, double factor, std::vector<CETREC>& out)
{
    if (sixBytes) {
        for (size_t k = 0; k + CLay::kStoredSize <= bytes.size(); k += CLay::kStoredSize) {
            const CLay l = DecodeLay(bytes.data() + k);
            AppendWithCorner(out, FromBytes(l.blockByte, l.styleByte, l.x, l.y, factor));
        }
    } else {
        for (size_t k = 0; k + CLmc::kStoredSize <= bytes.size(); k += CLmc::kStoredSize)
            AppendWithCorner(out, FromWords(DecodeSym(bytes.data() + k), factor));
    }
}

} // namespace

void AppendWithCorner(std::vector<CETREC>& out, const CETREC& r)
{
    const bool track = !r.IsJunction() && r.Pen() != 0 && r.Layer() <= kLastWidthLayer;
    if (track && !out.empty()) {
        const int64_t a = out.back().x, b = out.back().y;
        const int64_t c = r.x, d = r.y;
        const int64_t w = std::abs(c - a), h = std::abs(d - b);
        if (w != 0 && h != 0 && w != h) {
            const int64_t f = std::min(w, h);
            CETREC corner = r;
            corner.x = static_cast<int32_t>(c > a ? a + f : a - f);
            corner.y = static_cast<int32_t>(d > b ? b + f : b - f);
            out.push_back(corner);
        }
    }
    out.push_back(r);
}

bool ConvertLibraryFile(const fs::path& source, const fs::path& target, std::string* why)
{
    const CFileContents contents = ReadFileContents(source);
    if (!contents.bytes) {
        if (why != nullptr)
            *why = CannotOpenMessage(source.string(), contents.error);
        return false;
    }
    const auto& bytes = contents.bytes;
    std::error_code ec;
    if (target.has_parent_path())
        fs::create_directories(target.parent_path(), ec);

    std::vector<CETREC> out;
    if (HasExtension(source, ".BNK")) {
        AppendRecords(*bytes, true, kOldUnitsToSymbolUnits, out);
    } else {
        // An ".LMC" library is framed by two zero records.
        out.push_back(CETREC {});
        AppendRecords(*bytes, false, kOldUnitsToSymbolUnits, out);
        out.push_back(CETREC {});
    }
    // Old coordinates scaled down always fit the 16 bits of a symbol record.
    std::vector<CSym> symbol;
    symbol.reserve(out.size());
    for (const CETREC& r : out)
        symbol.push_back(
            {r.blockWord, r.styleWord, static_cast<int16_t>(r.x), static_cast<int16_t>(r.y)});
    if (auto error = WriteFileAtomically(target, EncodeSymbolBytes(symbol))) {
        if (why != nullptr)
            *why = *error;
        return false;
    }
    return true;
}

std::vector<std::string> CLibraryConversion::Lines() const
{
    std::vector<std::string> lines;
    for (size_t i = 0; i < sources.size() && i < targets.size(); ++i)
        lines.push_back(sources[i].string() + " -> " + targets[i].string());
    return lines;
}

std::vector<fs::path> CLibraryConversion::Run() const
{
    std::vector<fs::path> failed;
    for (size_t i = 0; i < sources.size() && i < targets.size(); ++i) {
        if (!ConvertLibraryFile(sources[i], targets[i]))
            failed.push_back(sources[i]);
    }
    return failed;
}

CLibraryConversion PlanLibraryConversion(const fs::path& root, const fs::path& symbolsFolder)
{
    CLibraryConversion plan;
    const std::vector<fs::path> tree = FolderTree(root);
    for (const char* pattern : {"*.bnk", "*.lmc"}) {
        for (const fs::path& folder : tree) {
            const fs::path relative = folder.lexically_relative(root);
            for (const fs::path& file : FilesMatching(folder, pattern)) {
                std::string title = file.filename().string();
                title.erase(title.rfind('.'));
                plan.sources.push_back(file);
                plan.targets.push_back(
                    (symbolsFolder / relative / (title + ".SYM")).lexically_normal());
            }
        }
    }
    return plan;
}

bool LoadLibraryFileAsSheet(CSheet& sheet, const fs::path& path)
{
    const auto bytes = ReadFileBytes(path);
    if (!bytes)
        return false;
    const bool layout = HasExtension(path, ".LAY");
    double factor = kSymbolUnitsToMicrometres;
    if (layout || HasExtension(path, ".LMC"))
        factor = kOldUnitsToMicrometres;

    // The sentinel is no point of the drawing: the first record of the file
    // has nothing to draw a corner from.
    std::vector<CETREC> body;
    AppendRecords(*bytes, layout, factor, body);
    const int64_t count = 1 + static_cast<int64_t>(body.size());
    if (count + CRecordList::kGrowth > INT32_MAX)
        return false;

    if (layout)
        std::copy(kLayoutPenWidths.begin(), kLayoutPenWidths.end(), sheet.penWidths.begin() + 1);
    sheet.ResizeArrays(std::max(sheet.Length(), static_cast<int>(count + CRecordList::kGrowth)));
    std::fill(sheet.records.begin(), sheet.records.end(), CETREC {});
    std::fill(sheet.selectionFlags.begin(), sheet.selectionFlags.end(), 0);
    sheet.selectedCount = 0;
    std::copy(body.begin(), body.end(), sheet.records.begin() + 1);
    sheet.recordCount = static_cast<int>(count);
    sheet.currentRecord = 1;
    sheet.RecomputeExtent();
    sheet.Recount();
    sheet.PushUndo();
    return true;
}
