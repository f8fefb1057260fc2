#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "model/record_list.h"
#include "model/turn.h"
#include "platform/types.h"

// One point of a glyph: the font file's x and y times three, and its flags.
struct CGlyphEntry {
    int16_t x = 0;
    int16_t y = 0;
    uint8_t flags = 0;
    friend bool operator==(const CGlyphEntry&, const CGlyphEntry&) = default;
};

// The glyph table of a font file: a flat array of 3-byte entries (x, y,
// flags). Flags bit 0 draws a stroke to the point, else the pen moves
// there; bit 7 changes value where the next character code begins,
// counting from code 0 at entry 0. The last entry of a character is not
// drawn: its x is the advance width. A table never changes once read, so
// every sheet that uses the same file shares one.
class CStrokeGlyphs {
public:
    static constexpr int kEntryCount = 4000;
    static constexpr int kFileBytes = 3 * kEntryCount; // the rest of a longer file is ignored
    static constexpr int kCodeCount = 256;
    static constexpr uint8_t kParityFlag = 0x80;

    // The table of the file at `path`, read at the first request and shared
    // after it for as long as the file stays the same (its size and
    // modification time). A file that cannot be read gives a table with nothing in
    // it, also shared until the file changes.
    static std::shared_ptr<const CStrokeGlyphs> Get(const std::string& path);
    // How many times the reading of a font file was tried.
    static int FilesRead();

    // Whether the file was read.
    bool WasRead() const { return read; }
    // Whether a font is in the table: entry 1 always has flags in a real font.
    bool IsLoaded() const { return glyphs[1].flags != 0; }
    const CGlyphEntry& Entry(int i) const { return glyphs.at(i); }
    // All entries, kEntryCount + 1 of them, for walking a character's range.
    const CGlyphEntry* Entries() const { return glyphs.data(); }
    int FirstEntry(uint8_t code) const { return firstEntry[code]; }
    int LastEntry(uint8_t code) const { return lastEntry[code]; }

private:
    bool Read(const std::string& path);

    bool read = false;
    // One entry more than a file holds: the last character's range can
    // point just past the file's entries, and that entry must read as zero.
    std::array<CGlyphEntry, kEntryCount + 1> glyphs {};
    std::array<int16_t, kCodeCount> firstEntry {};
    std::array<int16_t, kCodeCount> lastEntry {};
};

// The program's own vector font (a shared glyph table) and the settings of
// the stroke text being placed with it.
class CDovereduFont {
public:
    static constexpr int kEntryCount = CStrokeGlyphs::kEntryCount;
    static constexpr int kFileBytes = CStrokeGlyphs::kFileBytes;
    static constexpr int kCodeCount = CStrokeGlyphs::kCodeCount;
    static constexpr uint8_t kDrawFlag = 0x01;
    static constexpr uint8_t kParityFlag = CStrokeGlyphs::kParityFlag;
    static constexpr const char* kFileName = "Vorelpf1.dat";

    // The defaults, with the configured font file and text size; loads the file.
    CDovereduFont();

    // Takes the glyph table of the font file, read once for all sheets
    // (CStrokeGlyphs::Get). The table is empty when the file cannot be
    // opened or read; returns whether it was read.
    bool Load(const std::string& path);
    // Whether a font is in the table.
    bool IsLoaded() const { return glyphs->IsLoaded(); }

    // Builds `text` (Windows-1252 bytes) at `cursor` into the placement
    // buffer of `list`: one record per stroke point, pen 0 where a stroke
    // starts and this font's pen where it continues, this font's layer,
    // block 0, in placement[0] ... placement[placementCount - 1] (the
    // buffer has no sentinel). `size` is the text size in force, in micrometres per third of
    // a font unit. The buffer grows as needed, the record array and the
    // selection flags with it. Returns false, leaving the buffer as it was,
    // when a point would fall outside the 32-bit coordinate range.
    bool BuildText(const std::string& text, CPoint cursor, int size, CRecordList& list) const;

    const std::string& FontPath() const { return fontPath; }
    const std::string& Text() const { return text; }
    void SetText(const std::string& t) { text = t; }
    int Pen() const { return pen; }
    void SetPen(int p) { pen = p; }
    int Angle() const { return angle; }
    void SetAngle(int a) { angle = a; }
    int Layer() const { return layer; }
    void SetLayer(int l) { layer = l; }
    int Size() const { return size; }
    void SetSize(int s) { size = s; }
    bool IsMirrored() const { return mirrored != 0; }
    void SetMirrored(bool on) { mirrored = on ? 1 : 0; }

    // Entry i of the glyph table, 0 ... kEntryCount (the last one is always zero).
    const CGlyphEntry& Entry(int i) const { return glyphs->Entry(i); }
    // First entry and advance entry of a character code.
    int FirstEntry(uint8_t code) const { return glyphs->FirstEntry(code); }
    int LastEntry(uint8_t code) const { return glyphs->LastEntry(code); }
    const std::shared_ptr<const CStrokeGlyphs>& Glyphs() const { return glyphs; }

private:
    // Calls emit(point, draw) for each stroke point of the text; false as
    // soon as a point leaves the 32-bit range, unless the caller knows that
    // none does (`checked` false).
    template<bool checked, class Emit>
    bool WalkText(const std::string& text, CPoint cursor, int size, Emit&& emit) const;

    std::string fontPath;
    std::string text;
    int32_t pen = 1;
    int32_t angle = 0; // degrees, counter-clockwise on the screen; any value
    int32_t layer = 9;
    int32_t size = 50;
    int32_t mirrored = 0;
    std::shared_ptr<const CStrokeGlyphs> glyphs; // never null
};
