#pragma once

#include <string>
#include <string_view>

class CText;

// "Bewerk tekst": the fields of the dialog as it shows them, and what its OK
// does to a text. The dialog only shows these values.
struct CEditTextValues {
    std::string text; // Windows-1252
    std::string height; // "%d", units of 100 micrometres
    std::string layer; // "%d"
    std::string angle; // "%d", degrees
    int fontNumber = 0; // row of the font list, 0 ... 7
    bool bold = false;
    bool italic = false;
};

// What the "Tekst" field shows when two or more texts are edited at once.
inline constexpr std::string_view kSeveralTextsSelected = "MEERDERE TEKSTEN GESELECTEERD!";

// The fields for a text; `several` when two or more texts are edited.
CEditTextValues EditTextValuesOf(const CText& text, bool several);

// OK changes nothing when the "Tekst" field was emptied.
bool EditTextApplies(const CEditTextValues& values);

// The layer of the "Laag" field: its leading number, within 1 ... 15.
int EditTextLayer(const CEditTextValues& values);

// OK on one text: font, height, angle, layer, bold and italic, and the
// string when `withString`; then measured anew. The numbers are read as
// their leading digits (none is 0), held within 32 bits, and the text's
// setters clamp the height and bring the angle into 0 ... 360.
void ApplyEditText(const CEditTextValues& values, CText& text, bool withString);
