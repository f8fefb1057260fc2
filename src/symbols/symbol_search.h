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
        std::string folded; // "group/name", folded
    };

    CSymbolIndex() = default;
    explicit CSymbolIndex(const std::vector<CSymbolGroup>& groups);

    // The entries that hold every word of `query` (words are separated by
    // spaces), in library order; all of them for a query without words.
    std::vector<const CEntry*> Find(std::string_view query) const;

    const std::vector<CEntry>& Entries() const { return entries; }

private:
    std::vector<CEntry> entries;
};

// The words of a query, folded.
std::vector<std::string> QueryWords(std::string_view query);
