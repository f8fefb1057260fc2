#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "symbols/library_folders.h"

// Finds symbols by name across the whole library: every symbol whose
// "group/name" holds each typed word, without regard to case or accents
// ("ampere" finds "Ampèremeter"). The names come folded from the walk of
// the library, so a keystroke only searches.
class CSymbolIndex {
public:
    struct CEntry {
        int group = 0; // index into the groups the index was made from
        int symbol = 0; // index into that group's symbols
        size_t start = 0; // of "group/name", folded, in the index's text
        size_t length = 0;
    };

    CSymbolIndex() = default;
    explicit CSymbolIndex(const std::vector<CSymbolGroup>& groups);

    // The entries that hold every word of `query` (words are separated by
    // spaces), in library order; all of them for a query without words.
    std::vector<const CEntry*> Find(std::string_view query) const;

    const std::vector<CEntry>& Entries() const { return entries; }
    // The folded "group/name" of an entry.
    std::string_view Folded(const CEntry& e) const
    {
        return std::string_view(text).substr(e.start, e.length);
    }

private:
    // The folded names one after the other, so that the index is made with
    // a few allocations and searched through one block of memory.
    std::string text;
    std::vector<CEntry> entries;
};

// The words of a query, folded.
std::vector<std::string> QueryWords(std::string_view query);
