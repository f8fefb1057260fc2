#include "qt/qt_text.h"

#include <QList>

#include "model/text_encoding.h"

QString FromCp1252(std::string_view bytes)
{
    return FromUtf8(Cp1252ToUtf8(bytes));
}

std::string ToCp1252(const QString& text)
{
    return Utf8ToCp1252(text.toStdString());
}

std::string TypedCp1252(const QString& text)
{
    std::string out;
    for (const uint c : text.toUcs4()) {
        const char ch = CodePointToCp1252(static_cast<char32_t>(c));
        if (ch != '?' || c == '?')
            out += ch;
    }
    return out;
}

QString FromUtf8(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
