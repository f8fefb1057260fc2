#pragma once

#include <cstdint>
#include <string>

class CDovereduFont;
struct CSettings;

// "Plaats tekst": the stroke text's settings as the dialog's fields show
// them and as its OK stores them. The dialog only shows these values.
struct CPlaceTextValues {
    std::string text; // Windows-1252
    std::string layer; // "%d"
    std::string pen; // "%d"
    std::string size; // "%d", the size in force
    bool mirrored = false;
    std::string angle; // "%d"

    // The font object's text, layer, pen, mirror and angle, and `size`.
    static CPlaceTextValues Of(const CDovereduFont& font, int size);
};

// What OK stores. Every integer field is read as C's decimal conversion
// reads it (LeadingInt: "12abc" is 12, "abc" is 0, saturating at the 32-bit
// limits), then held within what a record can carry: layer 0 ... 15, pen
// 0 ... 7 (pen 0 moves without drawing, so such a text places nothing
// visible), size 1 ... 10001. A layer of 16 and up would set the junction
// bit of every record, and a pen of 8 and up would spill into the layer.
// The angle keeps any value; the build turns it into 0 ... 359.
struct CStrokeTextSettings {
    std::string text;
    int layer = 9;
    int pen = 1;
    int size = 50;
    bool mirrored = false;
    int32_t angle = 0;

    static CStrokeTextSettings Of(const CDovereduFont& font, int size);
    static CStrokeTextSettings From(const CPlaceTextValues& values);
    // Into the font object, the size through SetStrokeFontSize.
    void ApplyTo(CDovereduFont& font, CSettings& settings) const;
};

// The one way to change the stroke-font size in force: the setting, the
// model's copy that builds the texts, and the font object's size together,
// held within 1 ... 10001.
void SetStrokeFontSize(CSettings& settings, CDovereduFont& font, int size);

// A quarter turn more: angle + 90. The angle is kept as typed (four turns
// from 0 give 360); only a sum beyond the 32-bit range is taken modulo 360,
// which turns the text the same way.
int32_t TurnedAngle(int32_t angle);
