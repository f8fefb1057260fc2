#include "model/layer.h"

#include <stdexcept>

#include "model/etrec.h"

namespace {

// Layers can be read before anything has asked for their class by name.
const bool registered = [] {
    CClassRegistry::Global().Register(CLayer::StaticClass());
    return true;
}();

std::string FormatNumber(std::string_view format, int number)
{
    std::string text(format);
    const size_t at = text.find("%d");
    if (at != std::string::npos)
        text.replace(at, 2, std::to_string(number));
    return text;
}

void CheckIndex(int i)
{
    if (i < 0 || i >= kLayerCount)
        throw std::out_of_range("layer index " + std::to_string(i));
}

} // namespace

const CClassInfo& CLayer::StaticClass()
{
    static const CClassInfo info {"CLayer", 1, true, [] { return std::make_unique<CLayer>(); }};
    return info;
}

void CLayer::Serialize(CArchive& ar)
{
    // Schema 1 is the only layout there has ever been.
    if (ar.IsStoring()) {
        ar.WriteString(altName);
        ar.WriteString(name);
        ar.WriteByte(number);
        ar.WriteByte(flagByte);
        ar.WriteInt(visible);
        ar.WriteInt(recordUses);
        ar.WriteInt(textUses);
    } else {
        altName = ar.ReadString();
        name = ar.ReadString();
        number = ar.ReadByte();
        flagByte = ar.ReadByte();
        visible = ar.ReadInt();
        recordUses = ar.ReadInt();
        textUses = ar.ReadInt();
    }
}

bool operator==(const CLayer& a, const CLayer& b)
{
    return a.altName == b.altName && a.name == b.name && a.number == b.number
        && a.flagByte == b.flagByte && a.visible == b.visible && a.recordUses == b.recordUses
        && a.textUses == b.textUses;
}

CLayerArray::CLayerArray()
{
    Init();
}

CLayerArray::CLayerArray(const CLayerArray& other)
{
    CopyFrom(other);
}

CLayerArray& CLayerArray::operator=(const CLayerArray& other)
{
    if (this != &other)
        CopyFrom(other);
    return *this;
}

void CLayerArray::Init()
{
    std::vector<std::unique_ptr<CLayer>> fresh;
    fresh.reserve(kLayerCount);
    for (int i = 0; i < kLayerCount; ++i) {
        auto layer = std::make_unique<CLayer>();
        layer->altName.clear();
        layer->name = FormatNumber("Laag %d", i);
        layer->number = static_cast<uint8_t>(i);
        fresh.push_back(std::move(layer));
    }
    layers = std::move(fresh);
}

void CLayerArray::CopyFrom(const CLayerArray& other)
{
    std::vector<std::unique_ptr<CLayer>> copies;
    copies.reserve(other.layers.size());
    for (const auto& layer : other.layers)
        copies.push_back(std::make_unique<CLayer>(*layer));
    layers = std::move(copies);
    version = other.version;
}

CLayer& CLayerArray::Layer(int i)
{
    CheckIndex(i);
    return *layers[i];
}

const CLayer& CLayerArray::Layer(int i) const
{
    CheckIndex(i);
    return *layers[i];
}

void CLayerArray::SetName(int i, const std::string& text)
{
    Layer(i).name = text;
}

const std::string& CLayerArray::Name(int i) const
{
    return Layer(i).name;
}

void CLayerArray::SetVisible(int i, int v)
{
    Layer(i).visible = v;
}

int CLayerArray::IsVisible(int i) const
{
    return Layer(i).visible;
}

uint32_t CLayerArray::VisibleMask() const
{
    uint32_t mask = 0;
    for (int i = 0; i < 16; ++i) {
        if (IsVisible(i))
            mask |= 1u << i;
    }
    return mask;
}

void CLayerArray::ShowAll()
{
    for (auto& layer : layers)
        layer->visible = 1;
}

int CLayerArray::RecordUses(int i) const
{
    return Layer(i).recordUses;
}

int CLayerArray::TextUses(int i) const
{
    return Layer(i).textUses;
}

std::string CLayerArray::DisplayName(int i, const char* format) const
{
    const std::string& name = Name(i);
    if (!name.empty())
        return name;
    return FormatNumber(format, i);
}

void CLayerArray::Recount(const std::array<int, 16>& recordUses, std::span<const int> textLayers)
{
    for (size_t i = 0; i < layers.size(); ++i) {
        layers[i]->recordUses = i < recordUses.size() ? recordUses[i] : 0;
        layers[i]->textUses = 0;
    }
    // A text read from a damaged file may name a layer that does not exist;
    // it counts nowhere.
    for (int t : textLayers) {
        if (t >= 0 && t < kLayerCount)
            ++layers[t]->textUses;
    }
}

void CLayerArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteInt(kVersion);
        ar.WriteCount(static_cast<uint32_t>(layers.size()));
        for (const auto& layer : layers)
            ar.WriteObject(layer.get());
        return;
    }

    const int32_t storedVersion = ar.ReadInt();
    // Every reader indexes the array by layer number, so anything but
    // sixteen layers is a damaged file.
    if (ar.ReadCount() != kLayerCount)
        ar.Fail(ArchiveFailure::BadIndex);
    std::vector<std::unique_ptr<CLayer>> read;
    read.reserve(kLayerCount);
    for (int i = 0; i < kLayerCount; ++i)
        read.push_back(ar.ReadOwned<CLayer>());
    layers = std::move(read);
    version = storedVersion;
}

bool operator==(const CLayerArray& a, const CLayerArray& b)
{
    if (a.version != b.version)
        return false;
    for (int i = 0; i < kLayerCount; ++i) {
        if (!(*a.layers[i] == *b.layers[i]))
            return false;
    }
    return true;
}
