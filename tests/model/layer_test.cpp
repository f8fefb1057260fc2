#include "model/layer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>

#include "model/archive.h"
#include "model/etrec.h"
#include "model/record_list.h"
#include "support/bytes.h"

namespace {

// The bytes of one stored layer's fields.
std::vector<uint8_t> LayerFields(const std::string& altName, const std::string& name, int number,
    int flagByte, int visible, int recordUses, int textUses)
{
    std::vector<uint8_t> out;
    auto put = [&](const std::string& s) {
        out.push_back(static_cast<uint8_t>(s.size()));
        out.insert(out.end(), s.begin(), s.end());
    };
    auto putInt = [&](int v) {
        for (int k = 0; k < 4; ++k)
            out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * k)));
    };
    put(altName);
    put(name);
    out.push_back(static_cast<uint8_t>(number));
    out.push_back(static_cast<uint8_t>(flagByte));
    putInt(visible);
    putInt(recordUses);
    putInt(textUses);
    return out;
}

const std::vector<uint8_t> kLayerClass
    = Bytes({0xFF, 0xFF, 0x01, 0x00, 0x06, 0x00, 'C', 'L', 'a', 'y', 'e', 'r'});

void Append(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes)
{
    to.insert(to.end(), bytes.begin(), bytes.end());
}

// A stored layer array of `count` layers "L0", "L1", ..., as the program
// writes it: the class once, then each further layer as a new object of it.
std::vector<uint8_t> StoredArray(int count, int version = 811, int schema = 1)
{
    std::vector<uint8_t> out = Bytes({version & 0xFF, (version >> 8) & 0xFF, 0, 0, count, 0});
    for (int i = 0; i < count; ++i) {
        if (i == 0) {
            auto cls = kLayerClass;
            cls[2] = static_cast<uint8_t>(schema);
            Append(out, cls);
        } else {
            Append(out, Bytes({0x01, 0x80}));
        }
        const std::string name = std::string("L").append(std::to_string(i));
        Append(out, LayerFields("", name, i, 0, i % 2, i, 0));
    }
    return out;
}

// Reads `bytes` into `layers` and returns the failure's message, or "" when
// the read succeeded.
std::string ReadInto(CLayerArray& layers, const std::vector<uint8_t>& bytes)
{
    CArchive ar(bytes, "test.ETT");
    try {
        layers.Serialize(ar);
    } catch (const CArchiveException& e) {
        return e.what();
    }
    return "";
}

// Another stored class, to stand where a layer is expected.
class COtherObject : public CObject {
public:
    static const CClassInfo& StaticClass()
    {
        static const CClassInfo info {
            "COther", 1, false, [] { return std::make_unique<COtherObject>(); }};
        return info;
    }
    const CClassInfo& ClassInfo() const override { return StaticClass(); }
    void Serialize(CArchive&) override { }
};

} // namespace

TEST(Layer, EmptyLayerAndStoredFields)
{
    const CLayer empty;
    EXPECT_EQ(empty.altName, "DWG");
    EXPECT_EQ(empty.name, "Sheet");
    EXPECT_EQ(empty.number, 0);
    EXPECT_EQ(empty.flagByte, 0);
    EXPECT_EQ(empty.visible, 1);
    EXPECT_EQ(empty.recordUses, 0);
    EXPECT_EQ(empty.textUses, 0);

    CLayer layer;
    layer.altName = "Alt";
    layer.name = "Kabel \xE9"; // Windows-1252 bytes are stored as they are
    layer.number = 9;
    layer.flagByte = 0xA5;
    layer.visible = 0;
    layer.recordUses = 0x01020304;
    layer.textUses = -2;
    CArchive out("test.ETT");
    out.WriteObject(&layer);
    const auto bytes = out.TakeBytes();
    auto expected = kLayerClass;
    Append(expected, LayerFields("Alt", "Kabel \xE9", 9, 0xA5, 0, 0x01020304, -2));
    EXPECT_EQ(Hex(bytes), Hex(expected));

    CArchive in(bytes, "test.ETT");
    const auto back = in.ReadOwned<CLayer>();
    EXPECT_EQ(*back, layer);
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST(LayerArray, InitAndOperations)
{
    CLayerArray layers;
    layers.SetName(3, "x");
    layers.SetVisible(4, 0);
    layers.Init();
    for (int i = 0; i < kLayerCount; ++i) {
        const CLayer& l = layers.Layer(i);
        EXPECT_EQ(l.name, "Laag " + std::to_string(i));
        EXPECT_EQ(l.altName, "");
        EXPECT_EQ(l.number, i);
        EXPECT_EQ(l.flagByte, 0);
        EXPECT_EQ(layers.IsVisible(i), 1);
    }
    EXPECT_EQ(layers.version, 811);

    layers.SetVisible(0, 0);
    layers.SetVisible(15, 0);
    layers.ShowAll();
    EXPECT_EQ(layers.IsVisible(0), 1);
    EXPECT_EQ(layers.IsVisible(15), 1);

    EXPECT_THROW(layers.Name(16), std::out_of_range);
    EXPECT_THROW(layers.SetVisible(-1, 1), std::out_of_range);
}

TEST(LayerArray, CopyFromTakesEveryFieldAndOwnsItsCopies)
{
    CLayerArray source;
    CLayer& l = source.Layer(5);
    l.altName = "a";
    l.name = "b";
    l.number = 77;
    l.flagByte = 3;
    l.visible = 0;
    l.recordUses = 11;
    l.textUses = 12;

    CLayerArray copy;
    copy.CopyFrom(source);
    EXPECT_EQ(copy, source);
    source.SetName(5, "changed");
    EXPECT_EQ(copy.Name(5), "b");

    const CLayerArray constructed(copy);
    EXPECT_EQ(constructed.Layer(5), copy.Layer(5));
}

TEST(LayerArray, NamesShownToTheUser)
{
    CLayerArray layers;
    layers.SetName(3, "");
    layers.SetName(4, "Verlichting");
    EXPECT_EQ(layers.DisplayName(3, "Laag %d"), "Laag 3");
    EXPECT_EQ(layers.DisplayName(3, "Layer %d"), "Layer 3");
    EXPECT_EQ(layers.DisplayName(4, "Layer %d"), "Verlichting");
    EXPECT_EQ(layers.DisplayName(5, "Layer %d"), "Laag 5");
    // The format is not a printf format: other directives stay as text.
    layers.SetName(6, "");
    EXPECT_EQ(layers.DisplayName(6, "%s %d"), "%s 6");
}

TEST(LayerArray, RecountCountsRecordsAndTextsPerLayer)
{
    CLayerArray layers;
    layers.Layer(2).recordUses = 99;
    layers.Layer(9).textUses = 99;
    const CETREC records[] = {CETREC::Make(0, 0, 1, 0), CETREC::Make(5, 0, 1, 1),
        CETREC::Junction(1, 1, 15), CETREC::Make(0, 0, 0, 0, 3, true)};
    const int texts[] = {1, 9, 9, -1, 16}; // the last two name no layer
    CRecordTally tally;
    tally.Take(records);
    layers.Recount(tally.layerUses, texts);
    EXPECT_EQ(layers.RecordUses(1), 2);
    EXPECT_EQ(layers.RecordUses(15), 1);
    EXPECT_EQ(layers.RecordUses(0), 1);
    EXPECT_EQ(layers.RecordUses(2), 0);
    EXPECT_EQ(layers.TextUses(1), 1);
    EXPECT_EQ(layers.TextUses(9), 2);
    int textsTotal = 0;
    for (int i = 0; i < kLayerCount; ++i)
        textsTotal += layers.TextUses(i);
    EXPECT_EQ(textsTotal, 3);
}

TEST(LayerArray, StoredBytes)
{
    CLayerArray layers;
    layers.SetName(1, "Net");
    layers.Layer(1).recordUses = 5;
    CArchive out("test.ETT");
    layers.Serialize(out);
    const auto bytes = out.TakeBytes();

    auto expected = Bytes({0x2B, 0x03, 0, 0, 0x10, 0x00});
    Append(expected, kLayerClass);
    Append(expected, LayerFields("", "Laag 0", 0, 0, 1, 0, 0));
    Append(expected, Bytes({0x01, 0x80}));
    Append(expected, LayerFields("", "Net", 1, 0, 1, 5, 0));
    for (int i = 2; i < kLayerCount; ++i) {
        Append(expected, Bytes({0x01, 0x80}));
        Append(expected, LayerFields("", "Laag " + std::to_string(i), i, 0, 1, 0, 0));
    }
    EXPECT_EQ(Hex(bytes, 400), Hex(expected, 400));

    CLayerArray back;
    back.SetName(1, "old");
    EXPECT_EQ(ReadInto(back, bytes), "");
    EXPECT_EQ(back, layers);
}

TEST(LayerArray, ReadsHandMadeBytes)
{
    // An older version number is kept, and a versionable layer class accepts
    // any stored schema.
    CLayerArray layers;
    EXPECT_EQ(ReadInto(layers, StoredArray(16, 810, 2)), "");
    EXPECT_EQ(layers.version, 810);
    EXPECT_EQ(layers.Name(0), "L0");
    EXPECT_EQ(layers.Name(15), "L15");
    EXPECT_EQ(layers.Layer(7).number, 7);
    EXPECT_EQ(layers.IsVisible(7), 1);
    EXPECT_EQ(layers.IsVisible(8), 0);
    EXPECT_EQ(layers.RecordUses(12), 12);

    // Written again, the version is the current one.
    CArchive out("test.ETT");
    layers.Serialize(out);
    EXPECT_EQ(out.Bytes()[0], 0x2B);
    EXPECT_EQ(out.Bytes()[1], 0x03);
}

TEST(LayerArray, DamagedArraysFailAndKeepTheLayersHeld)
{
    CClassRegistry::Global().Register(COtherObject::StaticClass());

    const std::string badFormat = "test.ETT has a bad format.";
    auto other = StoredArray(16);
    // The first reference names a class that is not a layer.
    const auto otherClass
        = Bytes({0xFF, 0xFF, 0x01, 0x00, 0x06, 0x00, 'C', 'O', 't', 'h', 'e', 'r'});
    std::copy(otherClass.begin(), otherClass.end(), other.begin() + 6);

    auto nullRef = StoredArray(2);
    nullRef[4] = 16;
    Append(nullRef, Bytes({0x00, 0x00}));

    auto repeated = StoredArray(2);
    repeated[4] = 16;
    Append(repeated, Bytes({0x02, 0x00})); // the first layer again

    const auto full = StoredArray(16);
    const std::vector<uint8_t> cut(full.begin(), full.end() - 1);

    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        std::string message;
    } cases[] = {
        {"15 layers", StoredArray(15), badFormat},
        {"17 layers", StoredArray(17), badFormat},
        {"no count", Bytes({0x2B, 0x03, 0, 0}), "Attempted to access test.ETT past its end."},
        {"other class", other, "test.ETT contained an unexpected object."},
        {"no layer", nullRef, badFormat},
        {"a layer twice", repeated, badFormat},
        {"cut", cut, "Attempted to access test.ETT past its end."},
    };
    for (const auto& c : cases) {
        CLayerArray layers;
        layers.SetName(2, "kept");
        layers.version = 805;
        const CLayerArray before(layers);
        EXPECT_EQ(ReadInto(layers, c.bytes), c.message) << c.what;
        EXPECT_EQ(layers, before) << c.what;
    }
}
