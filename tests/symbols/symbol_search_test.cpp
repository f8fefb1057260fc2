#include <gtest/gtest.h>

#include "symbols/name_fold.h"
#include "symbols/symbol_search.h"

namespace {

CSymbolGroup Group(const std::string& name, const std::vector<std::string>& symbols)
{
    CSymbolGroup g {name, FoldName(name), "/lib/" + name, {}};
    for (const std::string& s : symbols)
        g.symbols.push_back({s, FoldName(s), g.folder / (s + ".SYM")});
    return g;
}

} // namespace

TEST(SymbolSearch, FindsEveryTypedWordInGroupAndNameWithoutCaseOrAccents)
{
    const std::vector<CSymbolGroup> groups = {
        Group("Installatie/Wandcontactdozen",
            {"Wandcontactdoos (WCD)", "Dubbele wandcontactdoos (WCD)", "Perilex"}),
        Group("Schema/Meters", {"Ampèremeter", "Voltmeter", "kWh-meter"}),
        Group("Schema/Leeg", {}),
        Group("ÉÉN", {"Stop"}),
    };
    const CSymbolIndex index(groups);
    ASSERT_EQ(index.Entries().size(), 7u);

    // (query, "group index:symbol index" of the hits in order)
    const struct {
        const char* query;
        std::vector<std::string> hits;
    } cases[] = {
        {"wcd", {"0:0", "0:1"}},
        {"WCD dubbel", {"0:1"}},
        {"dubbel   wcd ", {"0:1"}},
        {"ampere", {"1:0"}},
        {"AMPÈRE", {"1:0"}},
        {"meter", {"1:0", "1:1", "1:2"}},
        {"meters/volt", {"1:1"}},
        {"installatie perilex", {"0:2"}},
        {"een", {"3:0"}},
        {"wcd xyz", {}},
        {"leeg", {}},
        {"", {"0:0", "0:1", "0:2", "1:0", "1:1", "1:2", "3:0"}},
        {"  ", {"0:0", "0:1", "0:2", "1:0", "1:1", "1:2", "3:0"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> hits;
        for (const auto* e : index.Find(c.query))
            hits.push_back(std::to_string(e->group) + ":" + std::to_string(e->symbol));
        EXPECT_EQ(hits, c.hits) << c.query;
    }
}

TEST(SymbolSearch, FoldingTakesOffCaseAndAccentsAndKeepsOtherBytes)
{
    // (name, folded)
    const struct {
        std::string name;
        std::string folded;
    } cases[] = {
        {"Ampèremeter", "amperemeter"},
        {"ÀÉÎÕÜ çñ ß Ø Œ", "aeiou cn ss o oe"},
        {"Motor 3~ (M)", "motor 3~ (m)"},
        {"µ°×", "µ°×"},
        {"\xC3", "\xC3"}, // a lead byte at the end
        {"\xC3"
         "A",
            "\xC3"
            "a"},
        {"Ω", "Ω"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FoldName(c.name), c.folded) << c.name;
}
