#include "symbols/symbol_search.h"

#include "symbols/name_fold.h"

CSymbolIndex::CSymbolIndex(const std::vector<CSymbolGroup>& groups)
{
    size_t length = 0;
    size_t count = 0;
    for (const CSymbolGroup& group : groups) {
        for (const CSymbolItem& item : group.symbols)
            length += group.folded.size() + 1 + item.folded.size();
        count += group.symbols.size();
    }
    text.reserve(length);
    entries.reserve(count);
    for (size_t g = 0; g < groups.size(); ++g) {
        const CSymbolGroup& group = groups[g];
        for (size_t s = 0; s < group.symbols.size(); ++s) {
            const size_t start = text.size();
            text += group.folded;
            text += '/';
            text += group.symbols[s].folded;
            entries.push_back(
                {static_cast<int>(g), static_cast<int>(s), start, text.size() - start});
        }
    }
}

std::vector<std::string> QueryWords(std::string_view query)
{
    std::vector<std::string> words;
    const std::string folded = FoldName(query);
    size_t i = 0;
    while (i < folded.size()) {
        const size_t start = folded.find_first_not_of(" \t", i);
        if (start == std::string::npos)
            break;
        const size_t end = std::min(folded.find_first_of(" \t", start), folded.size());
        words.push_back(folded.substr(start, end - start));
        i = end;
    }
    return words;
}

std::vector<const CSymbolIndex::CEntry*> CSymbolIndex::Find(std::string_view query) const
{
    const std::vector<std::string> words = QueryWords(query);
    std::vector<const CEntry*> hits;
    for (const CEntry& e : entries) {
        bool all = true;
        for (const std::string& w : words) {
            if (Folded(e).find(w) == std::string_view::npos) {
                all = false;
                break;
            }
        }
        if (all)
            hits.push_back(&e);
    }
    return hits;
}
