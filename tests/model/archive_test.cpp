#include "model/archive.h"

#include <gtest/gtest.h>

#include "model/etrec.h"
#include "model/file_io.h"
#include "support/bytes.h"
#include "support/temp_folder.h"

namespace {

std::vector<uint8_t> Stored(const std::function<void(CArchive&)>& write)
{
    CArchive ar("test.ETT");
    write(ar);
    return ar.TakeBytes();
}

ArchiveFailure FailureOf(
    const std::vector<uint8_t>& bytes, const std::function<void(CArchive&)>& read)
{
    CArchive ar(bytes, "test.ETT");
    try {
        read(ar);
    } catch (const CArchiveException& e) {
        return e.failure;
    }
    ADD_FAILURE() << "no failure";
    return ArchiveFailure::General;
}

// A small stored class with two fields, and one that refers to another
// object, to exercise the reference numbering.
class CTestPoint : public CObject {
public:
    int32_t x = 0;
    std::string label;
    static const CClassInfo& StaticClass()
    {
        static const CClassInfo info {
            "CTestPoint", 1, false, [] { return std::make_unique<CTestPoint>(); }};
        return info;
    }
    const CClassInfo& ClassInfo() const override { return StaticClass(); }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar.WriteInt(x);
            ar.WriteString(label);
        } else {
            x = ar.ReadInt();
            label = ar.ReadString();
        }
    }
};

class CTestVersioned : public CObject {
public:
    uint16_t schemaSeen = 0;
    static const CClassInfo& StaticClass()
    {
        static const CClassInfo info {
            "CTestVersioned", 3, true, [] { return std::make_unique<CTestVersioned>(); }};
        return info;
    }
    const CClassInfo& ClassInfo() const override { return StaticClass(); }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsLoading())
            schemaSeen = ar.ObjectSchema();
    }
};

} // namespace

TEST(Archive, ScalarsAreLittleEndianWithoutPadding)
{
    const auto bytes = Stored([](CArchive& ar) {
        ar.WriteByte(0x12);
        ar.WriteWord(0x3456);
        ar.WriteShort(-2);
        ar.WriteDword(0x89ABCDEF);
        ar.WriteInt(-1000);
        ar.WritePair(1, -1);
        ar.WriteDouble(1.0);
    });
    EXPECT_EQ(bytes,
        Bytes({0x12, 0x56, 0x34, 0xFE, 0xFF, 0xEF, 0xCD, 0xAB, 0x89, 0x18, 0xFC, 0xFF, 0xFF, 1, 0,
            0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
    CArchive ar(bytes, "x");
    EXPECT_EQ(ar.ReadByte(), 0x12);
    EXPECT_EQ(ar.ReadWord(), 0x3456);
    EXPECT_EQ(ar.ReadShort(), -2);
    EXPECT_EQ(ar.ReadDword(), 0x89ABCDEFu);
    EXPECT_EQ(ar.ReadInt(), -1000);
    EXPECT_EQ(ar.ReadPair(), std::make_pair(1, -1));
    EXPECT_EQ(ar.ReadDouble(), 1.0);
    EXPECT_EQ(ar.Remaining(), 0u);
}

TEST(Archive, StringLengthPrefixes)
{
    // (length, expected prefix)
    const struct {
        size_t n;
        std::vector<uint8_t> prefix;
    } cases[] = {
        {0, Bytes({0x00})},
        {254, Bytes({0xFE})},
        {255, Bytes({0xFF, 0xFF, 0x00})},
        {65533, Bytes({0xFF, 0xFD, 0xFF})},
        {65534, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {70000, Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const auto& c : cases) {
        const std::string text(c.n, 'a');
        const auto bytes = Stored([&](CArchive& ar) { ar.WriteString(text); });
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.n) << c.n;
        EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + c.prefix.size()), c.prefix)
            << c.n;
        CArchive ar(bytes, "x");
        EXPECT_EQ(ar.ReadString(), text) << c.n;
    }
}

TEST(Archive, ReadsTheWideAndTheEightByteLengthForms)
{
    // "ë€" in UTF-16LE after the wide marker becomes two Windows-1252 bytes.
    const auto wide = Bytes({0xFF, 0xFE, 0xFF, 0x02, 0xEB, 0x00, 0xAC, 0x20});
    CArchive a(wide, "x");
    EXPECT_EQ(a.ReadString(), "\xEB\x80");

    const auto longForm
        = Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0, 0, 0, 0, 0, 'a', 'b', 'c'});
    CArchive b(longForm, "x");
    EXPECT_EQ(b.ReadString(), "abc");

    auto tooLong = longForm;
    tooLong[7] = 0;
    tooLong[10] = 0x80; // 0x80000000 bytes
    EXPECT_EQ(FailureOf(tooLong, [](CArchive& ar) { ar.ReadString(); }), ArchiveFailure::General);
}

TEST(Archive, CountPrefixes)
{
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteCount(65534); }), Bytes({0xFE, 0xFF}));
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteCount(65535); }),
        Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
    const auto big = Stored([](CArchive& ar) { ar.WriteCount(70000); });
    CArchive ar(big, "x");
    EXPECT_EQ(ar.ReadCount(), 70000u);
}

TEST(Archive, FailuresCarryTheirMessages)
{
    const struct {
        ArchiveFailure failure;
        const char* message;
    } cases[] = {
        {ArchiveFailure::General, "An unknown error occurred while accessing A.ETT."},
        {ArchiveFailure::WriteToLoading, "Attempted to write to the reading A.ETT."},
        {ArchiveFailure::EndOfFile, "Attempted to access A.ETT past its end."},
        {ArchiveFailure::ReadFromStoring, "Attempted to read from the writing A.ETT."},
        {ArchiveFailure::BadIndex, "A.ETT has a bad format."},
        {ArchiveFailure::BadClass, "A.ETT contained an unexpected object."},
        {ArchiveFailure::BadSchema, "A.ETT contains an incorrect schema."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ArchiveMessage(c.failure, "A.ETT"), c.message);

    CArchive storing("w");
    EXPECT_THROW(storing.ReadByte(), CArchiveException);
    const std::vector<uint8_t> none;
    EXPECT_EQ(
        FailureOf(none, [](CArchive& ar) { ar.WriteByte(1); }), ArchiveFailure::WriteToLoading);
}

TEST(Archive, TruncatedInputFailsAsPastItsEnd)
{
    const std::function<void(CArchive&)> reads[] = {
        [](CArchive& ar) { ar.ReadWord(); },
        [](CArchive& ar) { ar.ReadInt(); },
        [](CArchive& ar) { ar.ReadPair(); },
        [](CArchive& ar) { ar.ReadDouble(); },
        [](CArchive& ar) { ar.ReadString(); },
        [](CArchive& ar) { ar.ReadCount(); },
    };
    for (const auto& read : reads)
        EXPECT_EQ(FailureOf(Bytes({0xFF}), read), ArchiveFailure::EndOfFile);
    // A prefix cut inside its longer forms.
    EXPECT_EQ(FailureOf(Bytes({0xFF, 0xFF, 0xFF}), reads[4]), ArchiveFailure::EndOfFile);
    EXPECT_EQ(FailureOf(Bytes({0xFF, 0xFF, 0xFF}), reads[5]), ArchiveFailure::EndOfFile);

    // A string that claims more bytes than remain fails before it allocates.
    const auto claimsMore = Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a'});
    EXPECT_EQ(
        FailureOf(claimsMore, [](CArchive& ar) { ar.ReadString(); }), ArchiveFailure::EndOfFile);

    // A raw read returns what there is; the exact read fails.
    const auto two = Bytes({1, 2});
    CArchive ar(two, "x");
    uint8_t buf[4] = {};
    EXPECT_EQ(ar.ReadRaw(buf, 4), 2u);
    EXPECT_EQ(FailureOf(two,
                  [](CArchive& a) {
                      uint8_t b[4];
                      a.ReadRawExact(b, 4);
                  }),
        ArchiveFailure::EndOfFile);
}

TEST(Archive, ObjectReferencesShareOneNumbering)
{
    CTestPoint a, b;
    a.x = 7;
    a.label = "a";
    b.x = 8;
    const auto bytes = Stored([&](CArchive& ar) {
        ar.WriteObject(&a);
        ar.WriteObject(&b);
        ar.WriteObject(&a);
        ar.WriteObject(nullptr);
    });
    // Class gets index 1, a index 2, b index 3 (class tag 0x8001), then a
    // back reference to 2 and no object.
    const auto expected = Bytes({0xFF, 0xFF, 0x01, 0x00, 0x0A, 0x00, 'C', 'T', 'e', 's', 't', 'P',
        'o', 'i', 'n', 't', 7, 0, 0, 0, 1, 'a', 0x01, 0x80, 8, 0, 0, 0, 0, 0x02, 0x00, 0x00, 0x00});
    EXPECT_EQ(Hex(bytes), Hex(expected));

    CArchive ar(bytes, "x");
    auto first = ar.ReadObject(CTestPoint::StaticClass());
    auto second = ar.ReadObject(CTestPoint::StaticClass());
    auto again = ar.ReadObject(CTestPoint::StaticClass());
    auto none = ar.ReadObject(CTestPoint::StaticClass());
    ASSERT_TRUE(first.created && second.created);
    EXPECT_EQ(static_cast<CTestPoint*>(first.object)->label, "a");
    EXPECT_EQ(static_cast<CTestPoint*>(second.object)->x, 8);
    EXPECT_EQ(again.object, first.object);
    EXPECT_FALSE(again.created);
    EXPECT_EQ(none.object, nullptr);
}

TEST(Archive, LargeIndicesUseTheBigForm)
{
    std::vector<CTestPoint> points(0x7FFF);
    const auto bytes = Stored([&](CArchive& ar) {
        for (const auto& p : points)
            ar.WriteObject(&p);
        ar.WriteObject(&points[0x7FFD]); // index 0x7FFF: a big back reference
        ar.WriteObject(&points[1]); // index 3: small
    });
    const auto tail = std::vector<uint8_t>(bytes.end() - 8, bytes.end());
    EXPECT_EQ(tail, Bytes({0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x00, 0x03, 0x00}));

    CArchive ar(bytes, "x");
    std::vector<CObjectRef> read;
    for (size_t i = 0; i < points.size(); ++i)
        read.push_back(ar.ReadObject(CTestPoint::StaticClass()));
    EXPECT_EQ(ar.ReadObject(CTestPoint::StaticClass()).object, read[0x7FFD].object);
    EXPECT_EQ(ar.ReadObject(CTestPoint::StaticClass()).object, read[1].object);

    // A new object whose class index is given in the big form.
    const auto bigClass = Bytes({0xFF, 0xFF, 0x01, 0x00, 0x0A, 0x00, 'C', 'T', 'e', 's', 't', 'P',
        'o', 'i', 'n', 't', 7, 0, 0, 0, 0, 0xFF, 0x7F, 0x01, 0x00, 0x00, 0x80, 9, 0, 0, 0, 0});
    CArchive big(bigClass, "x");
    big.ReadObject(CTestPoint::StaticClass());
    auto ninth = big.ReadObject(CTestPoint::StaticClass());
    ASSERT_TRUE(ninth.created);
    EXPECT_EQ(static_cast<CTestPoint*>(ninth.object)->x, 9);
}

TEST(Archive, BadReferencesFail)
{
    const auto header = Bytes({0xFF, 0xFF, 0x01, 0x00, 0x0A, 0x00, 'C', 'T', 'e', 's', 't', 'P',
        'o', 'i', 'n', 't', 7, 0, 0, 0, 0});
    auto with = [&](std::initializer_list<int> tail) {
        auto b = header;
        for (int v : tail)
            b.push_back(static_cast<uint8_t>(v));
        return b;
    };
    const auto readTwo = [](CArchive& ar) {
        ar.ReadObject(CTestPoint::StaticClass());
        ar.ReadObject(CTestPoint::StaticClass());
    };
    // (bytes, failure)
    const struct {
        std::vector<uint8_t> bytes;
        ArchiveFailure failure;
    } cases[] = {
        {with({0x05, 0x00}), ArchiveFailure::BadIndex}, // never assigned
        {with({0x01, 0x00}), ArchiveFailure::BadIndex}, // a class where an object belongs
        {with({0x02, 0x80}), ArchiveFailure::BadIndex}, // an object where a class belongs
        {with({0xFF, 0x7F, 9, 0, 0, 0x80}), ArchiveFailure::BadIndex},
        {with({0xFF, 0xFF, 1, 0, 3, 0, 'C', 'X', 'y'}), ArchiveFailure::BadClass},
        {with({0xFF, 0xFF, 2, 0, 10, 0, 'C', 'T', 'e', 's', 't', 'P', 'o', 'i', 'n', 't'}),
            ArchiveFailure::BadSchema},
        {with({0xFF, 0xFF, 0xFF}), ArchiveFailure::EndOfFile},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FailureOf(c.bytes, readTwo), c.failure) << Hex(c.bytes);

    // A class that is known but not what the array holds.
    CTestVersioned v;
    const auto other = Stored([&](CArchive& ar) { ar.WriteObject(&v); });
    EXPECT_EQ(FailureOf(other, [](CArchive& ar) { ar.ReadObject(CTestPoint::StaticClass()); }),
        ArchiveFailure::BadClass);
}

TEST(Archive, OwningArraysRefuseNoneAndSecondReferences)
{
    CTestPoint a;
    const auto twice = Stored([&](CArchive& ar) {
        ar.WriteObject(&a);
        ar.WriteObject(&a);
    });
    EXPECT_EQ(FailureOf(twice,
                  [](CArchive& ar) {
                      ar.ReadOwned<CTestPoint>();
                      ar.ReadOwned<CTestPoint>();
                  }),
        ArchiveFailure::BadIndex);
    EXPECT_EQ(FailureOf(Bytes({0, 0}), [](CArchive& ar) { ar.ReadOwned<CTestPoint>(); }),
        ArchiveFailure::BadIndex);
}

TEST(Archive, VersionableClassesSeeTheStoredSchema)
{
    auto bytes = Bytes({0xFF, 0xFF, 0x09, 0x00, 14, 0, 'C', 'T', 'e', 's', 't', 'V', 'e', 'r', 's',
        'i', 'o', 'n', 'e', 'd'});
    CArchive ar(bytes, "x");
    auto object = ar.ReadOwned<CTestVersioned>();
    EXPECT_EQ(object->schemaSeen, 9);
}

TEST(Archive, RecordBlocksKeepTheirLayout)
{
    CRecordVector records(3);
    records[1] = CETREC::Make(0x01020304, -2, 5, 3, 0x1234, true);
    records[2] = CETREC::Junction(10, 20, 1);
    const auto bytes = Stored([&](CArchive& ar) { StoreRecords(ar, records); });
    ASSERT_EQ(bytes.size(), 2u + 36u);
    EXPECT_EQ(Hex({bytes.begin() + 14, bytes.begin() + 26}),
        Hex(Bytes({0x34, 0x92, 0x2B, 0x00, 0x04, 0x03, 0x02, 0x01, 0xFE, 0xFF, 0xFF, 0xFF})));
    CRecordVector back;
    CArchive ar(bytes, "x");
    LoadRecords(ar, back);
    EXPECT_EQ(back, records);

    // A count beyond the data fails before anything is allocated.
    auto lying = bytes;
    lying[0] = 0xFE;
    lying[1] = 0xFF;
    EXPECT_EQ(FailureOf(lying,
                  [](CArchive& a) {
                      CRecordVector r;
                      LoadRecords(a, r);
                  }),
        ArchiveFailure::EndOfFile);
}

TEST(Archive, AFileIsReadAsItIsTakenApart)
{
    // Values, strings and a record block that cross the reading window's
    // edges, read back from the file as from memory.
    CRecordVector records(30000);
    for (int i = 1; i < 30000; ++i)
        records[i] = CETREC::Make(i, -i, i % 16, i % 8, i % 100);
    const std::string longText(200000, 'x');
    const auto bytes = Stored([&](CArchive& ar) {
        for (int i = 0; i < 20000; ++i)
            ar.WriteInt(i);
        ar.WriteString(longText);
        StoreRecords(ar, records);
        ar.WriteString("einde");
        ar.WriteDouble(2.5);
    });
    CTempFolder folder;
    const auto path = folder.path / "big.ETT";
    ASSERT_FALSE(WriteFileAtomically(path, bytes));

    // Read whole, and then with the file cut at several places.
    for (const size_t cut :
        {size_t {0}, size_t {1}, size_t {8}, size_t {200000}, bytes.size() - 80000}) {
        const std::vector<uint8_t> stored(bytes.begin(), bytes.end() - static_cast<long>(cut));
        ASSERT_FALSE(WriteFileAtomically(path, stored));
        const CFileHandle file = OpenForReading(path);
        ASSERT_TRUE(file);
        CArchive ar(file.get(), stored.size(), "big.ETT");
        try {
            for (int i = 0; i < 20000; ++i)
                ASSERT_EQ(ar.ReadInt(), i);
            EXPECT_EQ(ar.ReadString(), longText);
            CRecordVector back;
            LoadRecords(ar, back);
            EXPECT_EQ(back, records);
            EXPECT_EQ(ar.ReadString(), "einde");
            EXPECT_EQ(ar.ReadDouble(), 2.5);
            EXPECT_EQ(ar.Remaining(), 0u);
            EXPECT_EQ(cut, 0u);
        } catch (const CArchiveException& e) {
            EXPECT_NE(cut, 0u);
            EXPECT_EQ(e.failure, ArchiveFailure::EndOfFile) << cut;
        }
    }
}

TEST(Archive, AFileShorterThanItsSizeFailsAsPastItsEnd)
{
    // The file lost bytes after its size was taken: the reads that find
    // nothing fail, they do not make up data.
    CTempFolder folder;
    const auto path = folder.path / "short.ETT";
    ASSERT_FALSE(WriteFileAtomically(path, Bytes({1, 0, 0, 0, 2, 0})));
    const CFileHandle file = OpenForReading(path);
    CArchive ar(file.get(), 100, "short.ETT");
    EXPECT_EQ(ar.ReadInt(), 1);
    EXPECT_THROW(ar.ReadInt(), CArchiveException);
    uint8_t buffer[50];
    EXPECT_EQ(ar.ReadRaw(buffer, sizeof buffer), 2u); // what there was
    EXPECT_EQ(buffer[0], 2);
    EXPECT_EQ(ar.Remaining(), 0u);
}

TEST(Archive, AStreamingArchiveHandsOverTheSameBytesInOrder)
{
    // Small values, a block larger than the buffer and one that fills it up
    // on its way: the pieces handed over make up the bytes of a plain archive.
    const std::vector<uint8_t> big((1 << 20) + 5, 0xAB);
    const std::vector<uint8_t> middle((1 << 19) + 3, 0x5C);
    const auto write = [&](CArchive& ar) {
        ar.WriteInt(900);
        ar.WriteString("Naam");
        ar.WriteRaw(middle.data(), middle.size());
        ar.WriteRaw(middle.data(), middle.size());
        ar.WriteRaw(big.data(), big.size());
        ar.WritePair(1, -2);
    };
    std::vector<uint8_t> streamed;
    int pieces = 0;
    CArchive ar("test.ETT", [&](const uint8_t* data, size_t bytes) {
        streamed.insert(streamed.end(), data, data + bytes);
        ++pieces;
    });
    write(ar);
    ar.Flush();
    EXPECT_EQ(streamed, Stored(write));
    EXPECT_GE(pieces, 3);
    ar.Flush(); // nothing more
    EXPECT_EQ(streamed.size(), Stored(write).size());
}
