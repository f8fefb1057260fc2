#include "qt/file_args.h"

#include <QFile>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

constexpr char16_t kEscapeBase = 0xDC00;
constexpr char16_t kFirstEscaped = 0xDC80; // bytes below 0x80 are always ASCII
constexpr char16_t kLastEscaped = 0xDCFF;

// The length of the valid UTF-8 sequence at `s`, with its code point; 0 when
// the bytes there are no valid sequence (stray, cut short, overlong, a
// surrogate or beyond U+10FFFF).
int Utf8Sequence(const unsigned char* s, size_t left, char32_t& code)
{
    const unsigned char b = s[0];
    int n = 0;
    char32_t min = 0;
    if (b < 0x80) {
        code = b;
        return 1;
    }
    if ((b & 0xE0) == 0xC0) {
        n = 2;
        code = b & 0x1F;
        min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        n = 3;
        code = b & 0x0F;
        min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        n = 4;
        code = b & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (left < static_cast<size_t>(n))
        return 0;
    for (int i = 1; i < n; ++i) {
        if ((s[i] & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (s[i] & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return n;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

QString DecodeArgument(const char* arg)
{
    const auto* s = reinterpret_cast<const unsigned char*>(arg);
    const size_t length = std::strlen(arg);
    // Built unit by unit: Qt's own decoders would replace a lone surrogate.
    QString out;
    for (size_t i = 0; i < length;) {
        char32_t code = 0;
        const int n = Utf8Sequence(s + i, length - i, code);
        if (n == 0) {
            out += QChar(static_cast<char16_t>(kEscapeBase + s[i]));
            ++i;
            continue;
        }
        if (QChar::requiresSurrogates(code)) {
            out += QChar(QChar::highSurrogate(code));
            out += QChar(QChar::lowSurrogate(code));
        } else {
            out += QChar(static_cast<char16_t>(code));
        }
        i += static_cast<size_t>(n);
    }
    return out;
}

} // namespace

QStringList DecodeArguments(int argc, const char* const* argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << DecodeArgument(argv[i]);
    return args;
}

QString FileNameString(const std::string& bytes)
{
    return DecodeArgument(bytes.c_str());
}

std::string FileNameBytes(const QString& arg)
{
    std::string out;
    for (qsizetype i = 0; i < arg.size(); ++i) {
        const char16_t u = arg[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < arg.size() && arg[i + 1].isLowSurrogate()) {
            AppendUtf8(out, QChar::surrogateToUcs4(u, arg[i + 1].unicode()));
            ++i;
        } else if (u >= kFirstEscaped && u <= kLastEscaped) {
            out += static_cast<char>(u - kEscapeBase);
        } else if (QChar::isSurrogate(u)) {
            out += '?';
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

std::string DialogFileBytes(const QString& chosen)
{
    const QStringList parts = chosen.split(QLatin1Char('/'));
    std::string out;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            out += '/';
        const QString& part = parts[i];
        std::string bytes = FileNameBytes(part);
        if (part.contains(QChar::ReplacementCharacter)) {
            std::error_code error;
            const std::filesystem::path folder(out.empty() ? std::string(".") : out);
            int found = 0;
            std::string match;
            for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
                 it.increment(error)) {
                const std::string& name = it->path().filename().native();
                if (QFile::decodeName(QByteArray::fromStdString(name)) == part) {
                    match = name;
                    ++found;
                }
            }
            // Two names that read the same cannot be told apart.
            if (found == 1)
                bytes = match;
        }
        out += bytes;
    }
    return out;
}
