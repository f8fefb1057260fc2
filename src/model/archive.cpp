#include "model/archive.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "model/byte_order.h"
#include "model/etrec.h"
#include "model/text_encoding.h"

namespace {

constexpr uint16_t kNullTag = 0x0000;
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTag = 0x8000;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint32_t kBigClassTag = 0x80000000;
constexpr uint16_t kWideStringTag = 0xFFFE;
constexpr uint64_t kMaxStringLength = 0x7FFFFFFF;
constexpr size_t kWindowSize = 64 * 1024;
// The buffer of a streaming archive: small beside any large project, large
// enough that its writes cost little each.
constexpr size_t kStreamBuffer = 1 << 20;

} // namespace

std::string ArchiveMessage(ArchiveFailure failure, std::string_view fileName)
{
    const char* text = "";
    switch (failure) {
    case ArchiveFailure::General:
        text = "An unknown error occurred while accessing %1.";
        break;
    case ArchiveFailure::WriteToLoading:
        text = "Attempted to write to the reading %1.";
        break;
    case ArchiveFailure::EndOfFile:
        text = "Attempted to access %1 past its end.";
        break;
    case ArchiveFailure::ReadFromStoring:
        text = "Attempted to read from the writing %1.";
        break;
    case ArchiveFailure::BadIndex:
        text = "%1 has a bad format.";
        break;
    case ArchiveFailure::BadClass:
        text = "%1 contained an unexpected object.";
        break;
    case ArchiveFailure::BadSchema:
        text = "%1 contains an incorrect schema.";
        break;
    }
    const std::string_view pattern = text;
    const auto at = pattern.find("%1");
    std::string message(pattern.substr(0, at));
    message += fileName;
    message += pattern.substr(at + 2);
    return message;
}

CArchiveException::CArchiveException(ArchiveFailure failure, std::string fileName)
    : std::runtime_error(ArchiveMessage(failure, fileName))
    , failure(failure)
    , fileName(std::move(fileName))
{
}

CClassRegistry& CClassRegistry::Global()
{
    static CClassRegistry registry;
    return registry;
}

void CClassRegistry::Register(const CClassInfo& info)
{
    for (const CClassInfo* known : classes) {
        if (known == &info)
            return;
    }
    classes.push_back(&info);
}

const CClassInfo* CClassRegistry::Find(std::string_view name) const
{
    for (const CClassInfo* known : classes) {
        if (known->name == name)
            return known;
    }
    return nullptr;
}

CArchive::CArchive(std::string fileName)
    : storing(true)
    , fileName(std::move(fileName))
{
}

CArchive::CArchive(std::string fileName, Sink sink)
    : storing(true)
    , fileName(std::move(fileName))
    , sink(std::move(sink))
{
    out.reserve(kStreamBuffer);
}

CArchive::CArchive(std::span<const uint8_t> data, std::string fileName)
    : storing(false)
    , fileName(std::move(fileName))
    , in(data)
{
    loaded.emplace_back(); // index 0: no object
}

CArchive::CArchive(std::FILE* file, uint64_t size, std::string fileName)
    : storing(false)
    , fileName(std::move(fileName))
    , file(file)
    , fileLeft(size)
    , fileSize(size)
{
    loaded.emplace_back(); // index 0: no object
}

void CArchive::Fail(ArchiveFailure failure) const
{
    throw CArchiveException(failure, fileName);
}

void CArchive::CheckLoading() const
{
    if (storing)
        Fail(ArchiveFailure::ReadFromStoring);
}

void CArchive::CheckStoring() const
{
    if (!storing)
        Fail(ArchiveFailure::WriteToLoading);
}

void CArchive::Require(uint64_t bytes) const
{
    CheckLoading();
    if (bytes > Remaining())
        Fail(ArchiveFailure::EndOfFile);
}

void CArchive::Fill(size_t bytes)
{
    // What is left of the window moves to its front; the rest comes from
    // the file, a window's worth at least.
    const size_t kept = in.size() - pos;
    const size_t wanted
        = static_cast<size_t>(std::min<uint64_t>(std::max(bytes, kWindowSize) - kept, fileLeft));
    if (kept > 0)
        std::memmove(window.data(), in.data() + pos, kept); // `in` lies in the window
    if (window.size() < kept + wanted)
        window.resize(kept + wanted);
    const size_t got = std::fread(window.data() + kept, 1, wanted, file);
    fileLeft = got < wanted ? 0 : fileLeft - got; // the file ended early or failed
    in = std::span<const uint8_t>(window.data(), kept + got);
    pos = 0;
    if (in.size() < bytes)
        Fail(ArchiveFailure::EndOfFile);
}

const uint8_t* CArchive::Take(size_t bytes)
{
    Require(bytes);
    if (bytes > in.size() - pos)
        Fill(bytes);
    const uint8_t* p = in.data() + pos;
    pos += bytes;
    return p;
}

void CArchive::Put(const void* data, size_t bytes)
{
    CheckStoring();
    const auto* p = static_cast<const uint8_t*>(data);
    if (sink && out.size() + bytes > kStreamBuffer) {
        Flush();
        if (bytes >= kStreamBuffer) {
            sink(p, bytes);
            return;
        }
    }
    out.insert(out.end(), p, p + bytes);
}

void CArchive::Flush()
{
    if (sink && !out.empty())
        sink(out.data(), out.size());
    if (sink)
        out.clear();
}

uint64_t CArchive::Position() const
{
    if (file != nullptr)
        return fileSize - fileLeft - (in.size() - pos);
    return storing ? 0 : pos;
}

void CArchive::WriteByte(uint8_t v)
{
    Put(&v, 1);
}

void CArchive::WriteWord(uint16_t v)
{
    uint8_t b[2];
    PutLE16(b, v);
    Put(b, 2);
}

void CArchive::WriteShort(int16_t v)
{
    WriteWord(static_cast<uint16_t>(v));
}

void CArchive::WriteDword(uint32_t v)
{
    uint8_t b[4];
    PutLE32(b, v);
    Put(b, 4);
}

void CArchive::WriteInt(int32_t v)
{
    WriteDword(static_cast<uint32_t>(v));
}

void CArchive::WriteDouble(double v)
{
    uint8_t b[8];
    PutLE64(b, std::bit_cast<uint64_t>(v));
    Put(b, 8);
}

void CArchive::WritePair(int32_t a, int32_t b)
{
    uint8_t bytes[8];
    PutLE32(bytes, static_cast<uint32_t>(a));
    PutLE32(bytes + 4, static_cast<uint32_t>(b));
    Put(bytes, 8);
}

void CArchive::WriteRaw(const void* data, size_t bytes)
{
    Put(data, bytes);
}

void CArchive::WriteString(std::string_view bytes)
{
    const size_t n = bytes.size();
    if (n < 0xFF) {
        WriteByte(static_cast<uint8_t>(n));
    } else if (n < 0xFFFE) {
        WriteByte(0xFF);
        WriteWord(static_cast<uint16_t>(n));
    } else {
        WriteByte(0xFF);
        WriteWord(0xFFFF);
        WriteDword(static_cast<uint32_t>(n));
    }
    Put(bytes.data(), n);
}

void CArchive::WriteCount(uint32_t n)
{
    if (n < 0xFFFF) {
        WriteWord(static_cast<uint16_t>(n));
    } else {
        WriteWord(0xFFFF);
        WriteDword(n);
    }
}

void CArchive::WriteIndex(uint32_t index, bool newObjectOfClass)
{
    if (index < kBigObjectTag) {
        WriteWord(static_cast<uint16_t>(newObjectOfClass ? (kClassTag | index) : index));
    } else {
        WriteWord(kBigObjectTag);
        WriteDword(newObjectOfClass ? (kBigClassTag | index) : index);
    }
}

void CArchive::WriteObject(const CObject* object)
{
    CheckStoring();
    if (object == nullptr) {
        WriteWord(kNullTag);
        return;
    }
    if (auto known = storedIndex.find(object); known != storedIndex.end()) {
        WriteIndex(known->second, false);
        return;
    }
    const CClassInfo& info = object->ClassInfo();
    if (auto cls = storedIndex.find(&info); cls != storedIndex.end()) {
        WriteIndex(cls->second, true);
    } else {
        WriteWord(kNewClassTag);
        WriteWord(info.schema);
        WriteWord(static_cast<uint16_t>(info.name.size()));
        Put(info.name.data(), info.name.size());
        storedIndex[&info] = nextIndex++;
    }
    storedIndex[object] = nextIndex++;
    // The fields are written through a non-const path: serialisation is one
    // operation for both directions.
    const_cast<CObject*>(object)->Serialize(*this);
}

uint8_t CArchive::ReadByte()
{
    return *Take(1);
}

uint16_t CArchive::ReadWord()
{
    return GetLE16(Take(2));
}

int16_t CArchive::ReadShort()
{
    return static_cast<int16_t>(ReadWord());
}

uint32_t CArchive::ReadDword()
{
    return GetLE32(Take(4));
}

int32_t CArchive::ReadInt()
{
    return static_cast<int32_t>(ReadDword());
}

double CArchive::ReadDouble()
{
    return std::bit_cast<double>(GetLE64(Take(8)));
}

std::pair<int32_t, int32_t> CArchive::ReadPair()
{
    const uint8_t* p = Take(8);
    return {static_cast<int32_t>(GetLE32(p)), static_cast<int32_t>(GetLE32(p + 4))};
}

size_t CArchive::ReadRaw(void* data, size_t bytes)
{
    CheckLoading();
    size_t n = std::min(bytes, in.size() - pos);
    if (n > 0)
        std::memcpy(data, in.data() + pos, n);
    pos += n;
    if (n < bytes && fileLeft > 0) {
        const size_t wanted = static_cast<size_t>(std::min<uint64_t>(bytes - n, fileLeft));
        const size_t got = std::fread(static_cast<uint8_t*>(data) + n, 1, wanted, file);
        fileLeft = got < wanted ? 0 : fileLeft - got;
        n += got;
    }
    return n;
}

void CArchive::ReadRawExact(void* data, size_t bytes)
{
    if (ReadRaw(data, bytes) != bytes)
        Fail(ArchiveFailure::EndOfFile);
}

uint64_t CArchive::ReadStringLength(bool& wide)
{
    wide = false;
    const uint8_t b = ReadByte();
    if (b < 0xFF)
        return b;
    uint16_t w = ReadWord();
    if (w == kWideStringTag) {
        wide = true;
        const uint8_t b2 = ReadByte();
        if (b2 < 0xFF)
            return b2;
        w = ReadWord();
    }
    if (w < 0xFFFF)
        return w;
    const uint32_t d = ReadDword();
    if (d < 0xFFFFFFFF)
        return d;
    const uint64_t q = GetLE64(Take(8));
    if (q > kMaxStringLength)
        Fail(ArchiveFailure::General);
    return q;
}

std::string CArchive::ReadString()
{
    bool wide = false;
    const uint64_t n = ReadStringLength(wide);
    if (!wide) {
        const uint8_t* p = Take(static_cast<size_t>(n));
        return std::string(reinterpret_cast<const char*>(p), static_cast<size_t>(n));
    }
    // A string stored as UTF-16: kept as the 8-bit text the program works in.
    Require(n * 2);
    const uint8_t* p = Take(static_cast<size_t>(n * 2));
    std::string text;
    text.reserve(static_cast<size_t>(n));
    for (uint64_t i = 0; i < n; ++i) {
        const uint16_t unit = GetLE16(p + 2 * i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < n) {
            const uint16_t low = GetLE16(p + 2 * (i + 1));
            if (low >= 0xDC00 && low <= 0xDFFF)
                ++i; // a character outside the basic plane has no 8-bit form
            text += '?';
        } else {
            text += CodePointToCp1252(unit);
        }
    }
    return text;
}

uint32_t CArchive::ReadCount()
{
    const uint16_t w = ReadWord();
    if (w != 0xFFFF)
        return w;
    return ReadDword();
}

CObjectRef CArchive::ReadObject(const CClassInfo& expected)
{
    CheckLoading();
    CClassRegistry::Global().Register(expected);

    uint32_t tag = ReadWord();
    bool newObject = false;
    uint32_t classIndex = 0;
    if (tag == kNullTag)
        return {};
    if (tag == kBigObjectTag) {
        const uint32_t d = ReadDword();
        if (d & kBigClassTag) {
            newObject = true;
            classIndex = d & ~kBigClassTag;
        } else {
            tag = d;
        }
    } else if (tag == kNewClassTag) {
        const uint16_t schema = ReadWord();
        const uint16_t length = ReadWord();
        const uint8_t* name = Take(length);
        const CClassInfo* info = CClassRegistry::Global().Find(
            std::string_view(reinterpret_cast<const char*>(name), length));
        if (info == nullptr)
            Fail(ArchiveFailure::BadClass);
        if (!info->versionable && schema != info->schema)
            Fail(ArchiveFailure::BadSchema);
        classIndex = static_cast<uint32_t>(loaded.size());
        loaded.push_back({info, schema, nullptr});
        newObject = true;
    } else if (tag & kClassTag) {
        newObject = true;
        classIndex = tag & ~uint32_t {kClassTag};
    }

    if (!newObject) {
        if (tag >= loaded.size() || loaded[tag].object == nullptr)
            Fail(ArchiveFailure::BadIndex);
        CObjectRef ref;
        ref.object = loaded[tag].object;
        return ref;
    }

    if (classIndex == 0 || classIndex >= loaded.size() || loaded[classIndex].info == nullptr)
        Fail(ArchiveFailure::BadIndex);
    const Loaded cls = loaded[classIndex];
    if (cls.info->name != expected.name)
        Fail(ArchiveFailure::BadClass);

    CObjectRef ref;
    ref.created = expected.create();
    ref.object = ref.created.get();
    loaded.push_back({nullptr, 0, ref.object});
    objectSchema = cls.schema;
    ref.object->Serialize(*this);
    return ref;
}

std::unique_ptr<CObject> CArchive::ReadOwnedObject(const CClassInfo& expected)
{
    CObjectRef ref = ReadObject(expected);
    if (!ref.created)
        Fail(ArchiveFailure::BadIndex);
    return std::move(ref.created);
}

void StoreRecords(CArchive& ar, const CRecordVector& records)
{
    if constexpr (std::endian::native == std::endian::little) {
        ar.WriteCount(static_cast<uint32_t>(records.size()));
        ar.WriteRaw(records.data(), records.size() * CETREC::kStoredSize);
    } else {
        StoreRawArray(ar, records);
    }
}

void LoadRecords(CArchive& ar, CRecordVector& records, size_t spare, const CRecordsArrived& arrived)
{
    if constexpr (std::endian::native == std::endian::little) {
        const uint32_t n = ar.ReadCount();
        ar.Require(uint64_t {n} * CETREC::kStoredSize);
        records.clear();
        records.reserve(size_t {n} + spare);
        // With someone to show them to, piece by piece, so each piece is
        // zeroed, read over and looked at while it is still in the cache.
        const size_t kPiece = arrived ? 16384 : std::max<size_t>(n, 1);
        for (size_t done = 0; done < n;) {
            const size_t count = std::min<size_t>(n - done, kPiece);
            records.resize(done + count);
            ar.ReadRawExact(records.data() + done, count * CETREC::kStoredSize);
            if (arrived)
                arrived(done, std::span<const CETREC>(records.data() + done, count));
            done += count;
        }
    } else {
        LoadRawArray(ar, records, DecodeETREC);
        if (arrived)
            arrived(0, records);
    }
}
