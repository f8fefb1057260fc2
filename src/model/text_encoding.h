#pragma once

#include <string>
#include <string_view>

// Texts in the model are Windows-1252 bytes, exactly as the files store them
// and as the stroke font indexes them. These convert at the program's edges.
// Every byte has a character; the five bytes that Windows-1252 leaves
// undefined map to the control characters of the same number, so that any
// stored text survives a round trip.
std::string Cp1252ToUtf8(std::string_view bytes);

// Characters without a Windows-1252 equivalent, and broken UTF-8, become "?".
std::string Utf8ToCp1252(std::string_view utf8);

// One Unicode code point to Windows-1252; '?' when there is none.
char CodePointToCp1252(char32_t c);
