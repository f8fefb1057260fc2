#pragma once

#include <cstddef>
#include <cstdint>

// The element record: one point of the display list, in the manner of a pen
// plotter. Coordinates are micrometres in the sheet's pan frame.
struct CETREC {
    uint16_t blockWord = 0; // bit 15 filled flag, bits 0-14 block number
    uint16_t styleWord = 0; // bits 0-2 pen, bits 3-6 layer, bit 7 junction
    int32_t x = 0;
    int32_t y = 0;

    static constexpr size_t kStoredSize = 12;
    static constexpr uint16_t kFilledBit = 0x8000;
    static constexpr uint16_t kBlockMask = 0x7FFF;
    static constexpr uint16_t kJunctionBit = 0x80;
    static constexpr int kMaxBlock = 0x7FFF;

    int Pen() const { return styleWord & 7; }
    int Layer() const { return (styleWord >> 3) & 15; }
    bool IsJunction() const { return (styleWord & kJunctionBit) != 0; }
    bool IsFilled() const { return (blockWord & kFilledBit) != 0; }
    int Block() const { return blockWord & kBlockMask; }

    void SetPen(int pen) { styleWord = static_cast<uint16_t>((styleWord & ~7) | (pen & 7)); }
    void SetLayer(int layer)
    {
        styleWord = static_cast<uint16_t>((styleWord & ~0x78) | ((layer & 15) << 3));
    }
    void SetJunction(bool on)
    {
        styleWord
            = static_cast<uint16_t>(on ? (styleWord | kJunctionBit) : (styleWord & ~kJunctionBit));
    }
    void SetFilled(bool on)
    {
        blockWord
            = static_cast<uint16_t>(on ? (blockWord | kFilledBit) : (blockWord & ~kFilledBit));
    }
    void SetBlock(int block)
    {
        blockWord = static_cast<uint16_t>((blockWord & kFilledBit) | (block & kBlockMask));
    }

    // Starts a figure: pen 0 (a move) or a junction dot.
    bool StartsFigure() const { return Pen() == 0 || IsJunction(); }

    static CETREC Make(int32_t x, int32_t y, int layer, int pen, int block = 0, bool filled = false)
    {
        CETREC r;
        r.x = x;
        r.y = y;
        r.SetLayer(layer);
        r.SetPen(pen);
        r.SetBlock(block);
        r.SetFilled(filled);
        return r;
    }
    static CETREC Junction(int32_t x, int32_t y, int layer)
    {
        CETREC r = Make(x, y, layer, 0);
        r.SetJunction(true);
        return r;
    }

    friend bool operator==(const CETREC&, const CETREC&) = default;
};
static_assert(sizeof(CETREC) == CETREC::kStoredSize, "CETREC must match its stored layout");

// The symbol-file record: coordinates in 100-micrometre units relative to the
// symbol's reference point.
struct CSym {
    uint16_t blockWord = 0;
    uint16_t styleWord = 0;
    int16_t x = 0;
    int16_t y = 0;

    static constexpr size_t kStoredSize = 8;
    friend bool operator==(const CSym&, const CSym&) = default;
};

// The record of an old DOS layout file: attributes narrowed to bytes,
// coordinates in 1/1280 inch.
struct CLay {
    uint8_t blockByte = 0;
    uint8_t styleByte = 0;
    int16_t x = 0;
    int16_t y = 0;

    static constexpr size_t kStoredSize = 6;
    friend bool operator==(const CLay&, const CLay&) = default;
};

// Stored byte layouts, little-endian whatever the host.
void EncodeRecord(const CETREC& r, uint8_t* out);
CETREC DecodeETREC(const uint8_t* in);
void EncodeRecord(const CSym& r, uint8_t* out);
CSym DecodeSym(const uint8_t* in);
void EncodeRecord(const CLay& r, uint8_t* out);
CLay DecodeLay(const uint8_t* in);

// Symbol coordinates: a loaded symbol record placed at the reference point,
// and a record saved relative to it (divisions truncate toward zero).
CETREC SymbolToRecord(const CSym& s, int32_t refX, int32_t refY, int block);
CSym RecordToSymbol(const CETREC& r, int32_t refX, int32_t refY);
// Whether the offset of a record from the reference point fits a symbol record.
bool FitsSymbol(const CETREC& r, int32_t refX, int32_t refY);
