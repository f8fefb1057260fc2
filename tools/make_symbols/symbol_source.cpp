#include "symbol_source.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <set>
#include <sstream>

#include "model/figures.h"
#include "model/file_io.h"
#include "model/stroke_font.h"
#include "model/text_encoding.h"
#include "model/turn.h"
#include "symbols/name_fold.h"
#include "symbols/symbol_file.h"

namespace fs = std::filesystem;

namespace {

constexpr int kUnit = 100; // micrometres in a unit of a symbol file
constexpr int kModule = 50; // 5 mm in units: the snap of both grids
constexpr int kCapUnits = 21 * 3; // a capital's height in thirds of a font unit

class CParseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A given value in mm with at most one decimal, in units of 0.1 mm.
int ParseTenths(std::string_view text)
{
    const std::string t(text);
    double v = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size())
        throw CParseError("not a number: " + t);
    const double tenths = v * 10;
    const double rounded = std::round(tenths);
    if (std::abs(tenths - rounded) > 1e-6)
        throw CParseError("off the 0.1 mm grid: " + t);
    if (std::abs(rounded) > 30000)
        throw CParseError("too far from the reference point: " + t);
    return static_cast<int>(rounded);
}

double ParseNumber(std::string_view text)
{
    const std::string t(text);
    double v = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size())
        throw CParseError("not a number: " + t);
    return v;
}

CPoint ParsePoint(std::string_view text)
{
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        throw CParseError("not a point x,y: " + std::string(text));
    return {ParseTenths(text.substr(0, comma)), ParseTenths(text.substr(comma + 1))};
}

// Micrometres to units of 0.1 mm, to the nearest.
int16_t ToUnits(int32_t micrometres)
{
    const int64_t m = micrometres;
    return static_cast<int16_t>(m >= 0 ? (m + kUnit / 2) / kUnit : -((-m + kUnit / 2) / kUnit));
}

std::vector<std::string> Words(std::string_view line)
{
    std::vector<std::string> words;
    std::istringstream in {std::string(line)};
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

// The rest of the line after the first `count` words.
std::string RestAfter(std::string_view line, int count)
{
    size_t i = 0;
    for (int k = 0; k < count; ++k) {
        i = line.find_first_not_of(" \t", i);
        i = line.find_first_of(" \t", i);
        if (i == std::string_view::npos)
            return {};
    }
    i = line.find_first_not_of(" \t", i);
    if (i == std::string_view::npos)
        return {};
    const size_t end = line.find_last_not_of(" \t\r");
    return std::string(line.substr(i, end - i + 1));
}

class CBuilder {
public:
    CBuilder(CSourceSymbol& symbol, const CDovereduFont& font)
        : symbol(symbol)
        , font(font)
    {
    }

    void Command(const std::vector<std::string>& w, std::string_view line)
    {
        const std::string& c = w[0];
        auto need = [&](size_t n) {
            if (w.size() < n + 1)
                throw CParseError(c + " needs " + std::to_string(n) + " values");
        };
        if (c == "layer") {
            need(1);
            layer = static_cast<int>(ParseNumber(w[1]));
        } else if (c == "pen") {
            need(1);
            pen = static_cast<int>(ParseNumber(w[1]));
        } else if (c == "connect") {
            need(1);
            for (size_t i = 1; i < w.size(); ++i)
                symbol.connections.push_back(ParsePoint(w[i]));
        } else if (c == "line" || c == "fill") {
            need(2);
            std::vector<CPoint> points;
            for (size_t i = 1; i < w.size(); ++i)
                points.push_back(ParsePoint(w[i]));
            if (c == "fill" && !(points.front() == points.back()))
                points.push_back(points.front());
            Path(points, c == "fill");
        } else if (c == "rect") {
            need(2);
            const CPoint a = ParsePoint(w[1]), b = ParsePoint(w[2]);
            Path({a, {b.x, a.y}, b, {a.x, b.y}, a}, false);
        } else if (c == "circle" || c == "fillcircle") {
            need(2);
            const CPoint m = ParsePoint(w[1]);
            const int r = ParseTenths(w[2]);
            Ellipse({m.x - r, m.y - r}, {m.x + r, m.y + r}, c == "fillcircle");
        } else if (c == "ellipse") {
            need(2);
            Ellipse(ParsePoint(w[1]), ParsePoint(w[2]), false);
        } else if (c == "arc" || c == "fillarc") {
            need(4);
            Arc(ParsePoint(w[1]), ParseTenths(w[2]), ParseNumber(w[3]), ParseNumber(w[4]),
                c == "fillarc");
        } else if (c == "dot") {
            need(1);
            const CPoint p = ParsePoint(w[1]);
            CSym r {0, 0, static_cast<int16_t>(p.x), static_cast<int16_t>(p.y)};
            r.styleWord = static_cast<uint16_t>((layer & 15) << 3 | CETREC::kJunctionBit);
            symbol.records.push_back(r);
        } else if (c == "text") {
            need(3);
            Text(ParsePoint(w[1]), ParseNumber(w[2]), RestAfter(line, 3));
        } else {
            throw CParseError("unknown command: " + c);
        }
    }

private:
    void Add(int16_t x, int16_t y, int p, bool filled)
    {
        CSym r {0, 0, x, y};
        r.styleWord = static_cast<uint16_t>((layer & 15) << 3 | (p & 7));
        if (filled)
            r.blockWord = CETREC::kFilledBit;
        symbol.records.push_back(r);
    }

    // Points in units; a filled figure carries the solid pattern.
    void Path(const std::vector<CPoint>& points, bool filled)
    {
        for (size_t i = 0; i < points.size(); ++i) {
            Add(static_cast<int16_t>(points[i].x), static_cast<int16_t>(points[i].y),
                i == 0 ? 0 : (filled ? 1 : pen), filled);
        }
    }

    void Ellipse(CPoint a, CPoint b, bool filled)
    {
        std::vector<CETREC> out;
        if (!BuildEllipseRecords(std::min(a.x, b.x) * kUnit, std::min(a.y, b.y) * kUnit,
                std::max(a.x, b.x) * kUnit, std::max(a.y, b.y) * kUnit, layer, filled ? 1 : pen,
                filled, out))
            throw CParseError("ellipse too small");
        for (const CETREC& r : out)
            Add(ToUnits(r.x), ToUnits(r.y), r.Pen(), filled);
    }

    // From angle `from` to `to`, anticlockwise on the sheet, in the angle
    // steps of an ellipse of that radius.
    void Arc(CPoint m, int r, double from, double to, bool filled)
    {
        if (to <= from || r <= 0)
            throw CParseError("an arc needs a radius and goes from a smaller angle to a larger");
        const int step = EllipseAngleStep(r * kUnit);
        std::vector<double> angles;
        for (double a = from; a < to - 1e-9; a += step)
            angles.push_back(a);
        angles.push_back(to);
        std::vector<CPoint> points;
        for (double a : angles) {
            const double t = a * kRadiansPerDegree;
            const auto x = static_cast<int32_t>(std::lround((m.x + r * std::cos(t)) * kUnit));
            const auto y = static_cast<int32_t>(std::lround((m.y - r * std::sin(t)) * kUnit));
            points.push_back({ToUnits(x), ToUnits(y)});
        }
        if (filled)
            points.push_back(points.front());
        Path(points, filled);
    }

    void Text(CPoint centre, double capHeight, const std::string& text)
    {
        if (text.empty())
            throw CParseError("text without letters");
        const int size = static_cast<int>(std::lround(capHeight * 1000 / kCapUnits));
        CRecordList list;
        if (!font.IsLoaded() || !font.BuildText(Utf8ToCp1252(text), {0, 0}, size, list)
            || list.placementCount == 0)
            throw CParseError("the stroke font has no letters for: " + text);
        const std::span<const CETREC> points(list.placement.data(), list.placementCount);
        int lowX = INT32_MAX, highX = INT32_MIN, lowY = INT32_MAX, highY = INT32_MIN;
        for (const CETREC& p : points) {
            lowX = std::min(lowX, p.x);
            highX = std::max(highX, p.x);
            lowY = std::min(lowY, p.y);
            highY = std::max(highY, p.y);
        }
        const int dx = centre.x * kUnit - (lowX + highX) / 2;
        const int dy = centre.y * kUnit - (lowY + highY) / 2;
        for (const CETREC& p : points)
            Add(ToUnits(p.x + dx), ToUnits(p.y + dy), p.Pen() == 0 ? 0 : pen, false);
    }

    CSourceSymbol& symbol;
    const CDovereduFont& font;
    int layer = 1;
    int pen = 1;
};

} // namespace

CSourceResult ReadSymbolSource(std::string_view text, const CDovereduFont& font)
{
    CSourceResult result;
    std::string group;
    std::optional<CBuilder> builder;
    std::set<std::string> names;
    int number = 0;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        const std::vector<std::string> w = Words(line);
        if (w.empty() || w[0][0] == '#')
            continue;
        try {
            if (w[0] == "group") {
                group = RestAfter(line, 1);
                builder.reset();
            } else if (w[0] == "symbol") {
                if (group.empty())
                    throw CParseError("a symbol before its group");
                const std::string name = RestAfter(line, 1);
                if (name.empty() || name.find('/') != std::string::npos)
                    throw CParseError("a symbol needs a name without /");
                if (!names.insert(FoldName(group + "/" + name)).second)
                    throw CParseError("a second symbol " + group + "/" + name);
                result.symbols.push_back({group, name, {}, {}, number});
                builder.emplace(result.symbols.back(), font);
            } else if (!builder) {
                throw CParseError(w[0] + " outside a symbol");
            } else {
                builder->Command(w, line);
            }
        } catch (const CParseError& e) {
            result.errors.push_back("line " + std::to_string(number) + ": " + e.what());
        }
        if (end == text.size())
            break;
    }
    for (const CSourceSymbol& s : result.symbols) {
        for (const std::string& e : CheckSymbolRules(s))
            result.errors.push_back("line " + std::to_string(s.line) + ": " + s.name + ": " + e);
    }
    return result;
}

std::vector<std::string> CheckSymbolRules(const CSourceSymbol& s)
{
    std::vector<std::string> errors;
    if (s.records.empty())
        errors.push_back("no figures");
    if (std::find(s.connections.begin(), s.connections.end(), CPoint {0, 0}) == s.connections.end())
        errors.push_back("the reference point is not a connection point");
    for (const CPoint& c : s.connections) {
        if (c.x % kModule != 0 || c.y % kModule != 0)
            errors.push_back("a connection point off the 5 mm module");
    }
    for (const CSym& r : s.records) {
        const int pen = r.styleWord & 7;
        const int layer = (r.styleWord >> 3) & 15;
        const bool junction = (r.styleWord & CETREC::kJunctionBit) != 0;
        if (layer != 1 && layer != 8)
            errors.push_back("layer " + std::to_string(layer));
        if (pen > 3 || (junction && pen != 0))
            errors.push_back("pen " + std::to_string(pen));
        if (layer == 8 && pen == 1 && (r.blockWord & CETREC::kFilledBit) == 0)
            errors.push_back("a solid line on layer 8");
        if ((r.styleWord & 0xFF00) != 0)
            errors.push_back("style bits above the junction flag");
    }
    return errors;
}

std::vector<fs::path> WriteSymbolLibrary(
    const std::vector<CSourceSymbol>& symbols, const fs::path& folder, std::string& error)
{
    std::vector<fs::path> written;
    for (const CSourceSymbol& s : symbols) {
        const fs::path dir = folder / fs::path(s.group);
        std::error_code ec;
        fs::create_directories(dir, ec);
        const fs::path file = dir / (s.name + ".SYM");
        if (ec || WriteFileAtomically(file.string(), EncodeSymbolBytes(s.records))) {
            error = "cannot write " + file.string();
            return {};
        }
        written.push_back(file);
    }
    return written;
}
