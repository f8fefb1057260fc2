#include "model/text_encoding.h"

#include <gtest/gtest.h>

TEST(TextEncoding, Windows1252AndUtf8)
{
    // (Windows-1252 bytes, UTF-8)
    const struct {
        std::string cp, utf8;
    } cases[] = {
        {"Laag 1", "Laag 1"},
        {"\xEB\xE9\xFC", "ëéü"},
        {"\x80 \x96 \x9F", "€ – Ÿ"},
        {"\xB0\xB5", "°µ"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Cp1252ToUtf8(c.cp), c.utf8);
        EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp);
    }
}

TEST(TextEncoding, EveryByteSurvivesARoundTrip)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(TextEncoding, UnknownCharactersBecomeAQuestionMark)
{
    EXPECT_EQ(Utf8ToCp1252("Ω≈😀"), "???");
    EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?"); // cut short
    EXPECT_EQ(Utf8ToCp1252("\xFF"
                           "b"),
        "?b"); // not UTF-8
}
