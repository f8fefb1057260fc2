#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/archive.h"
#include "platform/canvas.h"
#include "platform/types.h"

class CTextMetrics;

// One line of text in a system font, on one layer. The box is in world units
// (micrometres): (left, top) is the position where drawing starts, (right,
// bottom) the measured extent. Everything else sits in one packed word:
//
//   bits 0-2   font number, one of the eight configured system fonts
//   bits 3-12  height, 1 to 1023, in units of 100 world units
//   bit 13     italic
//   bit 14     bold (weight 700, else 400)
//   bits 15-23 angle, 0 to 360 degrees counter-clockwise about the position
//   bits 24-27 layer
//   bit 28     selected (transient; cleared when read from a file)
//   bits 29-31 reserved
class CText : public CObject {
public:
    static constexpr uint32_t kDefaultAttributes = 1600; // height 200, everything else 0
    static constexpr int kMaxHeight = 1023;
    static constexpr uint32_t kFontMask = 0x7;
    static constexpr int kHeightShift = 3;
    static constexpr uint32_t kHeightMask = 0x3FF << kHeightShift;
    static constexpr uint32_t kItalicBit = 1u << 13;
    static constexpr uint32_t kBoldBit = 1u << 14;
    static constexpr int kAngleShift = 15;
    static constexpr uint32_t kAngleMask = 0x1FFu << kAngleShift;
    static constexpr int kLayerShift = 24;
    static constexpr uint32_t kLayerMask = 0xFu << kLayerShift;
    static constexpr uint32_t kSelectedBit = 1u << 28;

    std::string text; // Windows-1252
    CRect box;
    uint32_t attributes = kDefaultAttributes;

    CText() = default;
    CText(std::string text, const CRect& box, uint32_t attributes)
        : text(std::move(text))
        , box(box)
        , attributes(attributes)
    {
    }

    static const CClassInfo& StaticClass();
    const CClassInfo& ClassInfo() const override { return StaticClass(); }
    void Serialize(CArchive& ar) override;

    // Takes string, box and attribute word.
    void CopyFrom(const CText& other);

    int FontNumber() const { return static_cast<int>(attributes & kFontMask); }
    int Height() const { return static_cast<int>((attributes & kHeightMask) >> kHeightShift); }
    bool IsItalic() const { return (attributes & kItalicBit) != 0; }
    bool IsBold() const { return (attributes & kBoldBit) != 0; }
    int Angle() const { return static_cast<int>((attributes & kAngleMask) >> kAngleShift); }
    int Layer() const { return static_cast<int>((attributes & kLayerMask) >> kLayerShift); }
    bool IsSelected() const { return (attributes & kSelectedBit) != 0; }
    CPoint Position() const { return {box.left, box.top}; }

    void SetFontNumber(int font);
    // Clamped to 1 ... 1023.
    void SetHeight(int height);
    void SetItalic(bool on);
    void SetBold(bool on);
    // Brought into 0 ... 360: -90 becomes 270, 450 becomes 90; 360 stays 360.
    void SetAngle(int angle);
    void SetLayer(int layer);
    void SetSelected(bool on);

    // The angle as 0 ... 360 for any whole number of degrees.
    static int NormaliseAngle(int64_t angle);

    // Moves the whole box. A move that would take a coordinate out of the
    // 32-bit range changes nothing and returns false.
    bool Offset(int dx, int dy);
    // Puts the position at (x, y), keeping the box's size; false (and no
    // change) when the far corner would leave the 32-bit range.
    bool MoveTo(int x, int y);

    // The font of the text at a pixel height, from the configured fonts.
    CFontDesc FontAt(int height) const;

    // Sets (right, bottom) from the font: a square whose side is the
    // measured cell height, whatever the string's length; an empty string
    // gets one world unit of width and the height of a space. Without
    // metrics the box stays as it is.
    void Measure(const CTextMetrics* metrics);
    // Measures with the metrics the front end installed.
    void Measure();

    // The text's rectangle on a device at a zoom divisor, for the typing
    // caret: the position divided, the measured size in pixels added. Without
    // metrics, the box divided.
    CRect GetDeviceExtent(const CTextMetrics* metrics, int divisor) const;
    // The box with every coordinate divided (truncated toward zero).
    CRect GetDeviceBox(int divisor) const;

    // Draws the string at its position with the canvas's colour and
    // background; the font is never less than one pixel high.
    void Draw(CCanvas& canvas, int divisor) const;
    // The outline of the box, with the pen the caller selected.
    void DrawFrame(CCanvas& canvas, int divisor) const;
};

// A sheet's texts in drawing order, with the selection bookkeeping. Index
// operations outside 0 ... count - 1 change nothing and answer as for an
// unselected text at (0, 0) on layer 0: callers check the count first.
class CTextArray {
public:
    using List = std::vector<std::unique_ptr<CText>>;

    CTextArray() = default;
    CTextArray(const CTextArray&) = delete;
    CTextArray& operator=(const CTextArray&) = delete;

    static constexpr uint32_t kAllLayers = 0xFFFF;

    // The index of the text last hit; 0 when nothing was hit.
    int currentIndex = 0;

    int GetCount() const { return static_cast<int>(texts.size()); }
    // Null outside the list.
    CText* At(int index);
    const CText* At(int index) const;
    List::const_iterator begin() const { return texts.begin(); }
    List::const_iterator end() const { return texts.end(); }

    // Appends a text (null is ignored) and returns its index; a selected
    // text is counted.
    int Add(std::unique_ptr<CText> text);
    void RemoveAll();
    // Deep copy of the texts, the current index and the selection.
    void CopyFrom(const CTextArray& other);

    // The texts as an object array: count, then one reference each. The
    // current index and selected count are not stored and are 0 after
    // reading; a failed read leaves the array as it was.
    void Serialize(CArchive& ar);

    // The last text on a layer of `layers` (bit n for layer n) whose box
    // holds the point (left <= x < right, top <= y < bottom) becomes the
    // current one; -1 and current index 0 when none does.
    int HitTest(int x, int y, uint32_t layers = kAllLayers);
    // The text at the current index; null when there is none.
    CText* GetCurrentText();

    void SetSelected(int index, bool on);
    bool IsSelected(int index) const;
    int GetSelectedCount() const { return selectedCount; }
    int GetLayer(int index) const;
    CPoint GetPosition(int index) const;
    // How many texts lie on the layer.
    int CountOnLayer(int layer) const;

    void SelectAll();
    void InvertSelection();
    // Returns whether anything was selected.
    bool DeselectAll();
    // Toggles every text on a layer of `layers` whose box overlaps the
    // window, edges touching included; returns how many were toggled.
    int ToggleInWindow(const CRect& window, uint32_t layers = kAllLayers);

    void MoveText(int index, int x, int y);
    void RemoveAt(int index);
    void RemoveCurrent();
    // Deletes the selected texts; returns how many.
    int RemoveSelected();

    // Moves every text, or every selected text. When any one of them would
    // leave the 32-bit range nothing moves and the result is false.
    bool Offset(int dx, int dy);
    bool OffsetSelected(int dx, int dy);
    // Old files store angles clockwise.
    void NegateAngles();

private:
    bool OffsetWhere(int dx, int dy, bool selectedOnly);

    List texts;
    int selectedCount = 0;
};
