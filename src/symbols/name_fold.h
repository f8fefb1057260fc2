#pragma once

#include <string>
#include <string_view>

// Names of groups and symbols are file names as the file system gives them
// (UTF-8). People look for them without minding case or accents, and expect
// "Relais 2" before "Relais 10".

// `name` in lower case with the accents of the Latin letters taken off
// ("Ampèremeter" gives "amperemeter", "Ø" gives "o", "ß" gives "ss"). Bytes
// that are no valid UTF-8 are kept as they are.
std::string FoldName(std::string_view name);

// Compares two names already folded, runs of digits by their value: < 0, 0
// or > 0.
int CompareFoldedNames(std::string_view a, std::string_view b);

// The order of the lists: by the folded names, runs of digits by their
// value; names equal that way by their bytes, so the order is total.
bool LibraryNameLess(std::string_view a, std::string_view b);
