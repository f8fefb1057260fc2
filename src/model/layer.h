#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model/archive.h"

struct CETREC;

// The number of layers of every sheet: 0 is the paper, 1 to 7 choose line
// widths by pen, 8 to 15 choose line types by pen.
inline constexpr int kLayerCount = 16;

// One layer of a sheet. Names are Windows-1252 bytes.
class CLayer : public CObject {
public:
    // A layer made empty, before it is read, holds these placeholders;
    // reading overwrites every field.
    std::string altName = "DWG"; // a second name, only kept and stored
    std::string name = "Sheet";
    uint8_t number = 0;
    uint8_t flagByte = 0; // only kept and stored
    int32_t visible = 1;
    int32_t recordUses = 0;
    int32_t textUses = 0;

    static const CClassInfo& StaticClass();
    const CClassInfo& ClassInfo() const override { return StaticClass(); }
    void Serialize(CArchive& ar) override;

    friend bool operator==(const CLayer& a, const CLayer& b);
};

// The sixteen layers of a sheet, indexed by layer number. The array always
// holds exactly sixteen layers; an index outside 0 to 15 throws
// std::out_of_range.
class CLayerArray {
public:
    static constexpr int32_t kVersion = 811;

    CLayerArray();
    CLayerArray(const CLayerArray& other);
    CLayerArray& operator=(const CLayerArray& other);
    // No moves: a moved-from array would break the sixteen-layer rule, and
    // sixteen small copies cost nothing.

    int32_t version = kVersion; // as read; 811 is always written

    // The sixteen default layers, named "Laag 0" to "Laag 15", all visible.
    void Init();
    // Copies of every layer of the other array, every field included.
    void CopyFrom(const CLayerArray& other);

    void SetName(int i, const std::string& text);
    const std::string& Name(int i) const;
    void SetVisible(int i, int v);
    int IsVisible(int i) const;
    // Bit i set for every visible layer i.
    uint32_t VisibleMask() const;
    void ShowAll();
    int RecordUses(int i) const;
    int TextUses(int i) const;

    CLayer& Layer(int i);
    const CLayer& Layer(int i) const;

    // The name shown to the user: the layer's name, or `format` ("Laag %d",
    // "Layer %d") with the layer number in place of %d when the name is empty.
    std::string DisplayName(int i, const char* format) const;

    // Sets the record counts of every layer, and counts the texts, given by
    // their layer numbers.
    void Recount(const std::array<int, 16>& recordUses, std::span<const int> textLayers);

    // The version, then the layers as an array of object references. A failed
    // read leaves the array as it was.
    void Serialize(CArchive& ar);

    friend bool operator==(const CLayerArray& a, const CLayerArray& b);

private:
    std::vector<std::unique_ptr<CLayer>> layers;
};
