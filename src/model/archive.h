#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/record_vector.h"

class CArchive;
class CKeptFile;

// Why a load or store failed; each has the message a user is shown.
enum class ArchiveFailure {
    General,
    WriteToLoading,
    EndOfFile,
    ReadFromStoring,
    BadIndex,
    BadClass,
    BadSchema,
};

// The user's message for a failure, with the file name in place of %1.
std::string ArchiveMessage(ArchiveFailure failure, std::string_view fileName);

class CArchiveException : public std::runtime_error {
public:
    CArchiveException(ArchiveFailure failure, std::string fileName);
    ArchiveFailure failure;
    std::string fileName;
};

class CObject;

// What the archive knows of a stored class.
struct CClassInfo {
    std::string name;
    uint16_t schema = 1;
    bool versionable = false;
    std::function<std::unique_ptr<CObject>()> create;
};

// An object that stores itself by its class reference and its fields.
class CObject {
public:
    virtual ~CObject() = default;
    virtual const CClassInfo& ClassInfo() const = 0;
    // Writes or reads the fields, depending on the archive's direction.
    virtual void Serialize(CArchive& ar) = 0;
};

// The stored classes, by name. Each stored class registers itself; an array
// reader also registers the class it expects, so a class is always known
// where it can be read.
class CClassRegistry {
public:
    static CClassRegistry& Global();
    void Register(const CClassInfo& info);
    const CClassInfo* Find(std::string_view name) const;

private:
    std::vector<const CClassInfo*> classes;
};

// Registers a stored class when the program starts: one at namespace scope
// beside each stored class.
struct CClassRegistrar {
    explicit CClassRegistrar(const CClassInfo& info) { CClassRegistry::Global().Register(info); }
};

// The result of reading an object reference: the object (null for none) and,
// when it is new, its ownership.
struct CObjectRef {
    CObject* object = nullptr;
    std::unique_ptr<CObject> created;
};

// The byte stream every stored object is written to and read from, front to
// back, little-endian, without alignment. A storing archive collects bytes in
// memory; a loading archive reads from a memory block and checks every length
// against the bytes that remain before it trusts it.
class CArchive {
public:
    // Where a streaming archive hands its bytes, in order, a buffer at a time.
    using Sink = std::function<void(const uint8_t* data, size_t bytes)>;

    // A storing archive; fileName only names the file in messages.
    explicit CArchive(std::string fileName);
    // A storing archive that hands its bytes to `sink` through a buffer of
    // a fixed size (large blocks go straight through), so that storing a
    // project needs no memory for its whole file. Flush hands over the rest.
    CArchive(std::string fileName, Sink sink);
    // A loading archive over bytes that must outlive it.
    CArchive(std::span<const uint8_t> data, std::string fileName);
    // A loading archive over the `size` bytes of an open file that must
    // outlive it, read as the objects ask for them: large blocks go from the
    // file straight into place, without a copy of the whole file.
    CArchive(std::FILE* file, uint64_t size, std::string fileName);

    bool IsStoring() const { return storing; }
    bool IsLoading() const { return !storing; }
    const std::string& FileName() const { return fileName; }

    // Storing.
    void WriteByte(uint8_t v);
    void WriteWord(uint16_t v);
    void WriteShort(int16_t v);
    void WriteDword(uint32_t v);
    void WriteInt(int32_t v);
    void WriteDouble(double v);
    void WritePair(int32_t a, int32_t b);
    void WriteRaw(const void* data, size_t bytes);
    void WriteString(std::string_view bytes);
    void WriteCount(uint32_t n);
    void WriteObject(const CObject* object);
    void Flush();
    const std::vector<uint8_t>& Bytes() const { return out; }
    std::vector<uint8_t> TakeBytes() { return std::move(out); }

    // Loading.
    uint8_t ReadByte();
    uint16_t ReadWord();
    int16_t ReadShort();
    uint32_t ReadDword();
    int32_t ReadInt();
    double ReadDouble();
    std::pair<int32_t, int32_t> ReadPair();
    // Copies up to `bytes` bytes and returns how many there were.
    size_t ReadRaw(void* data, size_t bytes);
    // Copies exactly `bytes` bytes, or fails as past the end.
    void ReadRawExact(void* data, size_t bytes);
    std::string ReadString();
    uint32_t ReadCount();
    // Reads one object reference of the class `expected`.
    CObjectRef ReadObject(const CClassInfo& expected);
    // Reads an element of an array that owns its elements: none, or a second
    // reference to an object read before, is a bad format.
    std::unique_ptr<CObject> ReadOwnedObject(const CClassInfo& expected);
    template<class T> std::unique_ptr<T> ReadOwned()
    {
        auto object = ReadOwnedObject(T::StaticClass());
        return std::unique_ptr<T>(static_cast<T*>(object.release()));
    }

    // Bytes read so far from the start of the data (0 while storing).
    uint64_t Position() const;
    // The file being read, when its reader keeps it open for later reads
    // (see CKeptFile); null otherwise.
    void KeepFile(std::shared_ptr<const CKeptFile> kept) { keptFile = std::move(kept); }
    const std::shared_ptr<const CKeptFile>& KeptFile() const { return keptFile; }

    // The schema stored for the class of the object being read.
    uint16_t ObjectSchema() const { return objectSchema; }
    uint64_t Remaining() const { return storing ? 0 : in.size() - pos + fileLeft; }
    // Fails as past the end unless `bytes` more bytes remain; callers check
    // before they allocate for a stored count.
    void Require(uint64_t bytes) const;
    [[noreturn]] void Fail(ArchiveFailure failure) const;

private:
    const uint8_t* Take(size_t bytes);
    // Reads on from the file until `bytes` bytes lie ahead in the window.
    void Fill(size_t bytes);
    void Put(const void* data, size_t bytes);
    void CheckLoading() const;
    void CheckStoring() const;
    uint64_t ReadStringLength(bool& wide);
    void WriteIndex(uint32_t index, bool newObjectOfClass);

    bool storing;
    std::string fileName;
    std::vector<uint8_t> out;
    Sink sink;
    std::span<const uint8_t> in; // the bytes at hand; from a file, the window
    size_t pos = 0;
    std::FILE* file = nullptr;
    uint64_t fileLeft = 0; // bytes of the file not read yet
    uint64_t fileSize = 0;
    std::shared_ptr<const CKeptFile> keptFile;
    std::vector<uint8_t> window;

    // Shared numbering of classes and objects; 0 stands for none.
    uint32_t nextIndex = 1;
    std::unordered_map<const void*, uint32_t> storedIndex; // class info or object
    struct Loaded {
        const CClassInfo* info = nullptr; // a class entry when set
        uint16_t schema = 0;
        CObject* object = nullptr; // an object entry when set
    };
    std::vector<Loaded> loaded;
    uint16_t objectSchema = 0;
};

// Raw element blocks: the count prefix of the whole array, then each record
// in its stored layout.
template<class R, class A> void StoreRawArray(CArchive& ar, const std::vector<R, A>& records)
{
    ar.WriteCount(static_cast<uint32_t>(records.size()));
    std::vector<uint8_t> bytes(records.size() * R::kStoredSize);
    for (size_t i = 0; i < records.size(); ++i)
        EncodeRecord(records[i], bytes.data() + i * R::kStoredSize);
    ar.WriteRaw(bytes.data(), bytes.size());
}

template<class R, class A, class Decode>
void LoadRawArray(CArchive& ar, std::vector<R, A>& records, Decode decode)
{
    const uint32_t n = ar.ReadCount();
    ar.Require(uint64_t {n} * R::kStoredSize);
    std::vector<uint8_t> bytes(size_t {n} * R::kStoredSize);
    ar.ReadRawExact(bytes.data(), bytes.size());
    records.resize(n);
    for (size_t i = 0; i < n; ++i)
        records[i] = decode(bytes.data() + i * R::kStoredSize);
}

// The element-record block, the bulk of every sheet: copied straight through
// on a little-endian host.
struct CETREC;
void StoreRecords(CArchive& ar, const CRecordVector& records);
// `spare` more records are reserved, so a caller that grows the array after
// the load does not move it again. `arrived` is shown the records piece by
// piece as they are read (with the index of each piece's first record),
// while they are still in the cache.
using CRecordsArrived = std::function<void(size_t first, std::span<const CETREC> piece)>;
void LoadRecords(
    CArchive& ar, CRecordVector& records, size_t spare = 0, const CRecordsArrived& arrived = {});
