#pragma once

#include <QString>
#include <string>
#include <string_view>

// The model keeps its texts as Windows-1252 bytes, exactly as the files
// store them; file names and the program's own captions are UTF-8. Qt's
// strings are Unicode. These are the only crossings between them.

// A model text for Qt.
QString FromCp1252(std::string_view bytes);

// A text typed or shown in Qt for the model; characters Windows-1252 lacks
// become "?".
std::string ToCp1252(const QString& text);
// A text typed by the user for the model: characters Windows-1252 lacks are
// left out, since a "?" in their place is a character nobody typed.
std::string TypedCp1252(const QString& text);

// UTF-8 (a file name, a caption of the command table) for Qt.
QString FromUtf8(std::string_view utf8);
