#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "model/file_io.h"
#include "model/sheet.h"
#include "model/stroke_font.h"
#include "support/scripted_ui.h"
#include "support/shipped_data.h"
#include "support/temp_folder.h"
#include "symbol_source.h"
#include "symbols/library_folders.h"
#include "symbols/symbol_file.h"

namespace fs = std::filesystem;

namespace {

CDovereduFont ShippedFont()
{
    CDovereduFont font;
    font.Load((ShippedDataFolder() / CDovereduFont::kFileName).string());
    return font;
}

std::string SourceText()
{
    const auto bytes = ReadFileBytes(RIDIZAV_SYMBOL_SOURCE);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

// Every file below `root`, by its path relative to it, with its bytes.
std::map<std::string, std::vector<uint8_t>> Tree(const fs::path& root)
{
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        if (e.is_regular_file())
            files[e.path().lexically_relative(root).string()] = *ReadFileBytes(e.path());
    }
    return files;
}

} // namespace

TEST(StarterLibrary, RegeneratesTheShippedFilesByteForByte)
{
    const CDovereduFont font = ShippedFont();
    ASSERT_TRUE(font.IsLoaded());
    const CSourceResult source = ReadSymbolSource(SourceText(), font);
    EXPECT_EQ(source.errors, std::vector<std::string> {});
    ASSERT_GE(source.symbols.size(), 80u);

    CTempFolder tmp;
    std::string error;
    ASSERT_EQ(WriteSymbolLibrary(source.symbols, tmp.path, error).size(), source.symbols.size())
        << error;
    const auto made = Tree(tmp.path);
    const auto shipped = Tree(ShippedDataFolder() / "Symbolen");
    std::set<std::string> names;
    for (const auto& [name, bytes] : made)
        names.insert(name);
    for (const auto& [name, bytes] : shipped)
        names.insert(name);
    for (const std::string& name : names) {
        const auto m = made.find(name);
        const auto s = shipped.find(name);
        EXPECT_TRUE(m != made.end() && s != shipped.end() && m->second == s->second)
            << name
            << (m == made.end()             ? ": not made"
                       : s == shipped.end() ? ": not shipped"
                                            : ": differs");
    }
}

TEST(StarterLibrary, EverySymbolKeepsTheRulesAndPlaces)
{
    const CSourceResult source = ReadSymbolSource(SourceText(), ShippedFont());
    for (const CSourceSymbol& s : source.symbols)
        EXPECT_EQ(CheckSymbolRules(s), std::vector<std::string> {}) << s.name;

    // The groups the library promises, each with symbols.
    const auto groups = ListSymbolGroups(ShippedDataFolder() / "Symbolen");
    std::set<std::string> filled;
    size_t count = 0;
    for (const auto& g : groups) {
        if (!g.symbols.empty())
            filled.insert(g.name);
        count += g.symbols.size();
    }
    EXPECT_EQ(count, source.symbols.size());
    for (const char* group : {"Installatie/Schakelaars", "Installatie/Wandcontactdozen",
             "Installatie/Verlichting", "Installatie/Verdeling en aarding", "Installatie/Apparaten",
             "Schema/Beveiliging", "Schema/Contacten", "Schema/Spoelen en relais",
             "Schema/Machines", "Schema/Meters", "Schema/Signalering", "Schema/Aarde en klemmen"})
        EXPECT_TRUE(filled.count(group)) << group;

    // Each shipped file places at the cursor, on layers 1 and 8 only.
    CScriptedUi ui;
    for (const auto& g : groups) {
        for (const auto& item : g.symbols) {
            CSheet sheet;
            sheet.AddFrame(0, 0, 400000, 270000);
            sheet.cursor = {200000, 100000};
            ASSERT_TRUE(LoadSymbolForPlacement(sheet, item.file, ui)) << item.name;
            EXPECT_GT(sheet.placementCount, 0) << item.name;
            for (int i = 0; i < sheet.placementCount; ++i) {
                const CETREC& r = sheet.placement[static_cast<size_t>(i)];
                EXPECT_TRUE(r.Layer() == 1 || r.Layer() == 8) << item.name;
                EXPECT_LE(r.Pen(), 3) << item.name;
            }
        }
    }
}

TEST(StarterLibrary, TheDescriptionRefusesWhatBreaksTheRules)
{
    const CDovereduFont font = ShippedFont();
    // (description, the first error)
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"group G\nsymbol S\nconnect 0,0\nline 0,0 0.05,0\n", "line 4: off the 0.1 mm grid: 0.05"},
        {"group G\nsymbol S\nconnect 0,0 2.5,0\nline 0,0 5,0\n",
            "line 2: S: a connection point off the 5 mm module"},
        {"group G\nsymbol S\nconnect 5,0\nline 0,0 5,0\n",
            "line 2: S: the reference point is not a connection point"},
        {"group G\nsymbol S\nconnect 0,0\nlayer 2\nline 0,0 5,0\n", "line 2: S: layer 2"},
        {"group G\nsymbol S\nconnect 0,0\npen 4\nline 0,0 5,0\n", "line 2: S: pen 4"},
        {"group G\nsymbol S\nconnect 0,0\nlayer 8\nline 0,0 5,0\n",
            "line 2: S: a solid line on layer 8"},
        {"group G\nsymbol S\nconnect 0,0\n", "line 2: S: no figures"},
        {"symbol S\n", "line 1: a symbol before its group"},
        {"group G\nline 0,0 5,0\n", "line 2: line outside a symbol"},
        {"group G\nsymbol S\nconnect 0,0\nspiral 0,0\n", "line 4: unknown command: spiral"},
        {"group G\nsymbol S\nconnect 0,0\nline 0,0 x,0\n", "line 4: not a number: x"},
        {"group G\nsymbol S\nconnect 0,0\ndot 0,0\nsymbol s\n", "line 5: a second symbol G/s"},
        {"group G\nsymbol S\nconnect 0,0\narc 0,0 2 90 10\n",
            "line 4: an arc needs a radius and goes from a smaller angle to a larger"},
    };
    for (const auto& c : cases) {
        const CSourceResult r = ReadSymbolSource(c.text, font);
        ASSERT_FALSE(r.errors.empty()) << c.text;
        EXPECT_EQ(r.errors.front(), c.error) << c.text;
    }

    // Computed points are rounded to the grid; the reference point stays.
    const CSourceResult ok = ReadSymbolSource(
        "group G\nsymbol S\nconnect 0,0\ncircle 0,-2.5 2.5\ntext 0,-2.5 2 A\n", font);
    ASSERT_EQ(ok.errors, std::vector<std::string> {});
    const auto& records = ok.symbols.at(0).records;
    ASSERT_GT(records.size(), 10u);
    EXPECT_EQ(records[0], (CSym {0, 0x08, 0, 0}));
}
