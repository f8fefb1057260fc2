#include "model/etrec.h"

#include "model/byte_order.h"

void EncodeRecord(const CETREC& r, uint8_t* out)
{
    PutLE16(out, r.blockWord);
    PutLE16(out + 2, r.styleWord);
    PutLE32(out + 4, static_cast<uint32_t>(r.x));
    PutLE32(out + 8, static_cast<uint32_t>(r.y));
}

CETREC DecodeETREC(const uint8_t* in)
{
    CETREC r;
    r.blockWord = GetLE16(in);
    r.styleWord = GetLE16(in + 2);
    r.x = static_cast<int32_t>(GetLE32(in + 4));
    r.y = static_cast<int32_t>(GetLE32(in + 8));
    return r;
}

void EncodeRecord(const CSym& r, uint8_t* out)
{
    PutLE16(out, r.blockWord);
    PutLE16(out + 2, r.styleWord);
    PutLE16(out + 4, static_cast<uint16_t>(r.x));
    PutLE16(out + 6, static_cast<uint16_t>(r.y));
}

CSym DecodeSym(const uint8_t* in)
{
    CSym r;
    r.blockWord = GetLE16(in);
    r.styleWord = GetLE16(in + 2);
    r.x = static_cast<int16_t>(GetLE16(in + 4));
    r.y = static_cast<int16_t>(GetLE16(in + 6));
    return r;
}

void EncodeRecord(const CLay& r, uint8_t* out)
{
    out[0] = r.blockByte;
    out[1] = r.styleByte;
    PutLE16(out + 2, static_cast<uint16_t>(r.x));
    PutLE16(out + 4, static_cast<uint16_t>(r.y));
}

CLay DecodeLay(const uint8_t* in)
{
    CLay r;
    r.blockByte = in[0];
    r.styleByte = in[1];
    r.x = static_cast<int16_t>(GetLE16(in + 2));
    r.y = static_cast<int16_t>(GetLE16(in + 4));
    return r;
}

CETREC SymbolToRecord(const CSym& s, int32_t refX, int32_t refY, int block)
{
    CETREC r;
    r.blockWord = static_cast<uint16_t>(s.blockWord & CETREC::kFilledBit);
    r.SetBlock(block);
    r.styleWord = s.styleWord;
    r.x = static_cast<int32_t>(int64_t {s.x} * 100 + refX);
    r.y = static_cast<int32_t>(int64_t {s.y} * 100 + refY);
    return r;
}

CSym RecordToSymbol(const CETREC& r, int32_t refX, int32_t refY)
{
    CSym s;
    s.blockWord = r.blockWord;
    s.styleWord = r.styleWord;
    s.x = static_cast<int16_t>((int64_t {r.x} - refX) / 100);
    s.y = static_cast<int16_t>((int64_t {r.y} - refY) / 100);
    return s;
}

bool FitsSymbol(const CETREC& r, int32_t refX, int32_t refY)
{
    const int64_t dx = (int64_t {r.x} - refX) / 100;
    const int64_t dy = (int64_t {r.y} - refY) / 100;
    return dx >= INT16_MIN && dx <= INT16_MAX && dy >= INT16_MIN && dy <= INT16_MAX;
}
