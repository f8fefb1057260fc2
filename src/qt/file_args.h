#pragma once

#include <QString>
#include <QStringList>
#include <string>

// Linux file names are bytes, not always UTF-8. The command line is decoded
// so that none is lost: valid UTF-8 becomes its characters and every other
// byte b the lone code unit 0xDC00 + b (which valid UTF-8 never yields), so
// FileNameBytes gives back the exact bytes of a file name argument.
QStringList DecodeArguments(int argc, const char* const* argv);
std::string FileNameBytes(const QString& arg);
// The bytes of a file name as a string FileNameBytes turns back into them.
QString FileNameString(const std::string& bytes);

// A file chosen in a file dialog, as the bytes of its name. The dialogs show
// names that are not UTF-8 with a replacement character, which loses their
// bytes; each such part of the path is looked up among the names in its
// folder that read the same, and takes the bytes of the one that does.
std::string DialogFileBytes(const QString& chosen);
