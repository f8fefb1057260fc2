#include "model/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

constexpr int64_t kIntLow = std::numeric_limits<int32_t>::min();
constexpr int64_t kIntHigh = std::numeric_limits<int32_t>::max();

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// Reads an optional sign and the digits after it from `s`, saturating; the
// number of characters used, 0 when no digit follows.
size_t ReadInt(std::string_view s, int32_t& out)
{
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    const size_t first = i;
    // Past 2^32 the value only has to stay past the limits.
    int64_t v = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i)
        v = std::min<int64_t>(v * 10 + (s[i] - '0'), int64_t {1} << 32);
    if (i == first)
        return 0;
    out = static_cast<int32_t>(std::clamp<int64_t>(negative ? -v : v, kIntLow, kIntHigh));
    return i;
}

} // namespace

int32_t LeadingInt(std::string_view text)
{
    int32_t v = 0;
    return ReadInt(Trimmed(text), v) > 0 ? v : 0;
}

double LeadingDecimal(std::string_view text, DecimalComma comma)
{
    text = Trimmed(text);
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    double value = 0.0;
    if (i < text.size() && IsLetter(text[i])) {
        // "inf", "infinity", "nan": the only words a number may start with.
        const auto result = std::from_chars(text.data() + i, text.data() + text.size(), value);
        if (result.ec != std::errc())
            return 0.0;
        return negative ? -value : value;
    }

    std::string number;
    size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits)
        number += text[i];
    if (i < text.size() && (text[i] == '.' || (comma == DecimalComma::Yes && text[i] == ','))) {
        number += '.';
        for (++i; i < text.size() && IsDigit(text[i]); ++i, ++digits)
            number += text[i];
    }
    if (digits == 0)
        return 0.0;
    // An exponent counts only when digits follow it.
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) {
            negativeExponent = text[j] == '-';
            exponent += text[j++];
        }
        if (j < text.size() && IsDigit(text[j])) {
            for (; j < text.size() && IsDigit(text[j]); ++j)
                exponent += text[j];
            number += exponent;
        }
    }
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
    else if (result.ec != std::errc())
        value = 0.0;
    return negative ? -value : value;
}

std::optional<int32_t> ParseInt(std::string_view text)
{
    text = Trimmed(text);
    int32_t v = 0;
    if (text.empty() || ReadInt(text, v) != text.size())
        return std::nullopt;
    return v;
}

std::optional<double> ParseDecimal(std::string_view text)
{
    std::string s(Trimmed(text));
    std::replace(s.begin(), s.end(), ',', '.');
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (first != last && *first == '+')
        ++first;
    double value = 0;
    const auto result = std::from_chars(first, last, value);
    if (result.ec != std::errc() || result.ptr != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

int32_t SaturatedInt(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int32_t>(std::clamp(std::trunc(value), double(kIntLow), double(kIntHigh)));
}

std::string FixedText(double value, int decimals)
{
    char buffer[400]; // the widest double in fixed notation, with its decimals
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
        std::chars_format::fixed, std::clamp(decimals, 0, 17));
    if (result.ec != std::errc())
        return "0";
    return std::string(buffer, result.ptr);
}

std::string MillimetreText(int32_t micrometres)
{
    // Whole micrometres have an exact text; no need to pass through binary.
    const int64_t um = micrometres;
    const uint64_t a = static_cast<uint64_t>(um < 0 ? -um : um);
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, "%s%llu.%03llu", um < 0 ? "-" : "",
        static_cast<unsigned long long>(a / 1000), static_cast<unsigned long long>(a % 1000));
    return std::string(buffer, static_cast<size_t>(n));
}

std::optional<int32_t> MicrometresFromText(std::string_view text)
{
    const std::optional<double> mm = ParseDecimal(text);
    if (!mm)
        return std::nullopt;
    double um = *mm * 1000.0;
    // "1.005" is 1004.9999... micrometres in binary; what the user typed is
    // exactly 1005, so a product that is a whole number but for the last
    // bits counts as that number before the rest is cut off.
    const double nearest = std::round(um);
    if (std::abs(um - nearest) <= std::max(1e-9, std::abs(nearest) * 1e-12))
        um = nearest;
    return SaturatedInt(um);
}
