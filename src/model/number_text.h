#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Numbers written and read as text, never through the user's locale: a
// Dutch locale would make "%2.3f" print "7,500" and read "7.5" as 7.
//
// Two kinds of reading:
// - "leading" reads take what a file or a field starts with, as C's
//   conversions do, and ignore the rest ("1.5mm" is 1.5; nothing is 0);
// - "parse" reads want the whole text to be the number, as a dialog field
//   must be, and give nullopt otherwise.
// Integers saturate at the 32-bit limits; decimals for the user are finite.

// The leading whole number of a text (white space, a sign, digits), held
// within 32 bits; 0 when there is none.
int32_t LeadingInt(std::string_view text);

// Whether a comma counts as the decimal mark beside the point: it does where
// a user types, not in files.
enum class DecimalComma { No, Yes };

// The leading decimal number of a text as C's conversion reads one: white
// space, a sign, digits with a decimal mark, an exponent when digits follow
// it, or "inf"/"nan". 0 when the text starts with none. A number too large
// for a double is an infinity, one too small 0; infinity and not-a-number
// come through for the caller to refuse.
double LeadingDecimal(std::string_view text, DecimalComma comma);

// The whole text (spaces around it allowed) as a whole number, held within
// 32 bits; nullopt when it is no number.
std::optional<int32_t> ParseInt(std::string_view text);

// The whole text (spaces around it allowed) as a decimal number as a user
// types it, with a point or a comma; nullopt unless it is a finite number.
std::optional<double> ParseDecimal(std::string_view text);

// A double as a whole number, cut off toward zero and held within 32 bits;
// not-a-number is 0.
int32_t SaturatedInt(double value);

// A decimal with a fixed number of decimals ("%.3f"), with a point.
std::string FixedText(double value, int decimals);

// Micrometres as millimetres with three decimals ("7.500"), exact.
std::string MillimetreText(int32_t micrometres);
// Millimetres typed by the user as whole micrometres, cut off toward zero
// and held within 32 bits; what was typed counts, not its binary value
// ("1.005" is 1005). nullopt when the text is no finite number.
std::optional<int32_t> MicrometresFromText(std::string_view text);
