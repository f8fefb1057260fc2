#include "symbols/name_fold.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

// The folded form of U+00C0 ... U+017F, Latin-1 and Latin Extended-A; an
// empty entry keeps the character as it is.
// clang-format off
constexpr std::array<std::string_view, 0x180 - 0xC0> kLatinFolds = {
    // U+00C0
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    // U+00D0
    "d", "n", "o", "o", "o", "o", "o", "", "o", "u", "u", "u", "u", "y", "th", "ss",
    // U+00E0
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    // U+00F0
    "d", "n", "o", "o", "o", "o", "o", "", "o", "u", "u", "u", "u", "y", "th", "y",
    // U+0100
    "a", "a", "a", "a", "a", "a", "c", "c", "c", "c", "c", "c", "c", "c", "d", "d",
    // U+0110
    "d", "d", "e", "e", "e", "e", "e", "e", "e", "e", "e", "e", "g", "g", "g", "g",
    // U+0120
    "g", "g", "g", "g", "h", "h", "h", "h", "i", "i", "i", "i", "i", "i", "i", "i",
    // U+0130
    "i", "i", "ij", "ij", "j", "j", "k", "k", "k", "l", "l", "l", "l", "l", "l", "l",
    // U+0140
    "l", "l", "l", "n", "n", "n", "n", "n", "n", "n", "n", "n", "o", "o", "o", "o",
    // U+0150
    "o", "o", "oe", "oe", "r", "r", "r", "r", "r", "r", "s", "s", "s", "s", "s", "s",
    // U+0160
    "s", "s", "t", "t", "t", "t", "t", "t", "u", "u", "u", "u", "u", "u", "u", "u",
    // U+0170
    "u", "u", "u", "u", "w", "w", "y", "y", "y", "z", "z", "z", "z", "z", "z", "s",
};
// clang-format on

// Decodes the two-byte UTF-8 sequence at `s[i]`; 0 when there is none.
uint32_t TwoByteCode(std::string_view s, size_t i)
{
    const auto lead = static_cast<uint8_t>(s[i]);
    if ((lead & 0xE0) != 0xC0 || i + 1 >= s.size())
        return 0;
    const auto next = static_cast<uint8_t>(s[i + 1]);
    if ((next & 0xC0) != 0x80)
        return 0;
    return static_cast<uint32_t>((lead & 0x1F) << 6 | (next & 0x3F));
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::string FoldName(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (c >= 'A' && c <= 'Z') {
            out += static_cast<char>(c - 'A' + 'a');
            continue;
        }
        const uint32_t code = TwoByteCode(name, i);
        if (code >= 0xC0 && code < 0x180 && !kLatinFolds[code - 0xC0].empty()) {
            out += kLatinFolds[code - 0xC0];
            ++i;
            continue;
        }
        out += c;
    }
    return out;
}

int CompareFoldedNames(std::string_view a, std::string_view b)
{
    // Names in one folder often share a long start: skip it, backing up to
    // the start of a run of digits that it ends in.
    size_t i = 0;
    const size_t common = std::min(a.size(), b.size());
    while (i < common && a[i] == b[i])
        ++i;
    const bool digitAfter = (i < a.size() && IsDigit(a[i])) || (i < b.size() && IsDigit(b[i]));
    if (!digitAfter) {
        if (i < common)
            return static_cast<uint8_t>(a[i]) < static_cast<uint8_t>(b[i]) ? -1 : 1;
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    }
    while (i > 0 && IsDigit(a[i - 1]))
        --i;
    size_t j = i;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            while (i < a.size() && a[i] == '0')
                ++i;
            while (j < b.size() && b[j] == '0')
                ++j;
            size_t ei = i, ej = j;
            while (ei < a.size() && IsDigit(a[ei]))
                ++ei;
            while (ej < b.size() && IsDigit(b[ej]))
                ++ej;
            if (ei - i != ej - j)
                return ei - i < ej - j ? -1 : 1;
            if (const int c = a.substr(i, ei - i).compare(b.substr(j, ej - j)); c != 0)
                return c;
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j])
            return static_cast<uint8_t>(a[i]) < static_cast<uint8_t>(b[j]) ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

bool LibraryNameLess(std::string_view a, std::string_view b)
{
    const int c = CompareFoldedNames(FoldName(a), FoldName(b));
    return c != 0 ? c < 0 : a < b;
}
