#include "model/number_text.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr double kInf = std::numeric_limits<double>::infinity();

} // namespace

TEST(NumberText, WholeNumbers)
{
    // (text, leading number, whole text as a number)
    const struct {
        const char* text;
        int32_t leading;
        std::optional<int32_t> whole;
    } cases[] = {
        {"42", 42, 42},
        {"  -7\r\n", -7, -7}, // a DXF line with its line end
        {"+3", 3, 3},
        {"12abc", 12, std::nullopt},
        {"1.9", 1, std::nullopt},
        {"abc", 0, std::nullopt},
        {"", 0, std::nullopt},
        {"-", 0, std::nullopt},
        {"- 1", 0, std::nullopt},
        {"2147483647", kMax, kMax},
        {"2147483648", kMax, kMax},
        {"-2147483648", kMin, kMin},
        {"-99999999999999999999999", kMin, kMin},
        {"99999999999999999999999", kMax, kMax},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LeadingInt(c.text), c.leading) << '"' << c.text << '"';
        EXPECT_EQ(ParseInt(c.text), c.whole) << '"' << c.text << '"';
    }
}

TEST(NumberText, LeadingDecimalsAsCReadsThem)
{
    // (text, in a file, where a user types)
    const struct {
        const char* text;
        double file;
        double typed;
    } cases[] = {
        {"1.5", 1.5, 1.5},
        {"1,5", 1.0, 1.5}, // a comma only where a user types
        {"  0.500 mm", 0.5, 0.5},
        {".25", 0.25, 0.25},
        {"5.", 5.0, 5.0},
        {"-0.3", -0.3, -0.3},
        {"+1", 1.0, 1.0},
        {"1e-3", 0.001, 0.001},
        {"2e", 2.0, 2.0}, // an exponent without digits is not part of the number
        {"2e+x", 2.0, 2.0},
        {"dik", 0.0, 0.0},
        {"", 0.0, 0.0},
        {".", 0.0, 0.0},
        {"- 1", 0.0, 0.0},
        {"1e400", kInf, kInf},
        {"-1e400", -kInf, -kInf},
        {"1e-400", 0.0, 0.0},
        {"inf", kInf, kInf},
        {"-Infinity", -kInf, -kInf},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LeadingDecimal(c.text, DecimalComma::No), c.file) << '"' << c.text << '"';
        EXPECT_EQ(LeadingDecimal(c.text, DecimalComma::Yes), c.typed) << '"' << c.text << '"';
    }
    EXPECT_TRUE(std::isnan(LeadingDecimal("nan", DecimalComma::No)));
    EXPECT_TRUE(std::isnan(LeadingDecimal(" -NaN", DecimalComma::Yes)));
}

TEST(NumberText, TypedDecimalsAreWholeAndFinite)
{
    // (text, number or none)
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"7.5", 7.5},
        {"7,5", 7.5},
        {" 7.500 ", 7.5},
        {"+3", 3.0},
        {"-0.25", -0.25},
        {"1e3", 1000.0},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"7.5 mm", std::nullopt},
        {"1.2.3", std::nullopt},
        {"nan", std::nullopt},
        {"inf", std::nullopt},
        {"1e400", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseDecimal(c.text), c.value) << '"' << c.text << '"';

    // (double, whole number): cut off toward zero, within 32 bits
    const std::pair<double, int32_t> saturated[] = {{2.9, 2}, {-2.9, -2}, {1e20, kMax},
        {-1e20, kMin}, {kInf, kMax}, {-kInf, kMin}, {std::nan(""), 0}};
    for (const auto& [v, whole] : saturated)
        EXPECT_EQ(SaturatedInt(v), whole) << v;

    EXPECT_EQ(FixedText(0.0125, 3), "0.013");
    EXPECT_EQ(FixedText(-2.5, 1), "-2.5");
    EXPECT_EQ(FixedText(7.0, 0), "7");
}

TEST(NumberText, MillimetresShownAndTakenBack)
{
    // (micrometres, text)
    const struct {
        int32_t um;
        const char* text;
    } shown[] = {
        {7500, "7.500"},
        {0, "0.000"},
        {1, "0.001"},
        {-2500, "-2.500"},
        {1234567, "1234.567"},
        {kMin, "-2147483.648"},
    };
    for (const auto& c : shown)
        EXPECT_EQ(MillimetreText(c.um), c.text);

    // (text, micrometres or none): cut off, a comma as good as a point, and
    // what was typed counts rather than its binary value
    const struct {
        const char* text;
        std::optional<int32_t> um;
    } typed[] = {
        {"7.5", 7500},
        {"7,5", 7500},
        {" 7.500 ", 7500},
        {"1.005", 1005},
        {"1.001", 1001},
        {"7.5009", 7500},
        {"-2.5005", -2500},
        {"+3", 3000},
        {"0.0009", 0},
        {"1e20", kMax},
        {"-1e20", kMin},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"7.5 mm", std::nullopt},
        {"nan", std::nullopt},
        {"inf", std::nullopt},
    };
    for (const auto& c : typed)
        EXPECT_EQ(MicrometresFromText(c.text), c.um) << c.text;
}
