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
