#include "qt/qt_text.h"

#include <gtest/gtest.h>
#include <string>

TEST(QtText, ModelTextsCrossIntoQtAndBack)
{
    // (Windows-1252 bytes, the same text in Qt)
    const struct {
        std::string bytes;
        const char16_t* text;
    } cases[] = {
        {"", u""},
        {"Kast 1", u"Kast 1"},
        {"\x80", u"\u20ac"}, // the euro sign, where Latin-1 has a control character
        {"caf\xe9 \xd1", u"caf\u00e9 \u00d1"},
        {"\x93\x94\x96", u"\u201c\u201d\u2013"},
        {"\x81\x8d", u"\u0081\u008d"}, // undefined bytes keep their number
        {std::string("a\0b", 3), u"a\u0000b"},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text, static_cast<qsizetype>(c.bytes.size()));
        EXPECT_EQ(FromCp1252(c.bytes), text) << c.bytes;
        EXPECT_EQ(ToCp1252(text), c.bytes) << c.bytes;
    }
}

TEST(QtText, EveryByteSurvivesTheRoundTrip)
{
    for (int b = 0; b < 256; ++b) {
        const std::string bytes(1, static_cast<char>(b));
        EXPECT_EQ(ToCp1252(FromCp1252(bytes)), bytes) << b;
        EXPECT_EQ(FromCp1252(bytes).size(), 1) << b;
    }
}

TEST(QtText, CharactersWindows1252LacksBecomeAQuestionMark)
{
    EXPECT_EQ(ToCp1252(QString::fromUtf8("\xe6\x97\xa5 \xc4\xb3 \xf0\x9f\x99\x82")), "? ? ?");
}

TEST(QtText, Utf8TakesTheGivenLengthOnly)
{
    const std::string_view name = "Schema \xc3\xa9\xc3\xa9n.ETT and more";
    EXPECT_EQ(FromUtf8(name.substr(0, 16)), QStringLiteral("Schema \u00e9\u00e9n.ETT"));
    EXPECT_EQ(FromUtf8({}), QString());
    // File names are UTF-8, never passed through Windows-1252.
    EXPECT_NE(FromUtf8("\xc3\xa9"), FromCp1252("\xc3\xa9"));
}

TEST(QtText, TypedCharactersWindows1252LacksAreLeftOut)
{
    // (typed, bytes for the model)
    const struct {
        QString typed;
        std::string bytes;
    } cases[] = {
        {QStringLiteral(u"\u00e9t\u00eb"), "\xE9t\xEB"},
        {QStringLiteral(u"a\u20acb"),
            "a\x80"
            "b"},
        {QStringLiteral(u"x\u4e2d?"), "x?"}, // a question mark typed stays
        {QString::fromUcs4(U"\U0001F600z"), "z"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TypedCp1252(c.typed), c.bytes) << c.typed.toStdString();
}
