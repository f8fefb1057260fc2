#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/archive.h"
#include "platform/types.h"

class CCanvas;
class CImage;

// Holds one decoded image. Decoded images never change, so copies of a
// picture (undo snapshots, copied sheets) share one and never decode again,
// and every picture that shows the same unchanged file shares one decoding
// of it while any of them holds it.
class CPicture {
public:
    // A larger file is refused without being read: no photo comes near it,
    // and reading it whole would hold it all in memory.
    static constexpr uintmax_t kMaxFileBytes = uintmax_t {256} * 1024 * 1024;

    // Reads the whole file and decodes it with the platform's image codec.
    // A file over kMaxFileBytes is refused unread. On success the new image replaces the held one;
    // a file that cannot be read or decoded gives false and leaves the held image as it was.
    bool Load(const std::filesystem::path& path);
    // Remembers the file and decodes it when the image is first asked for
    // (to draw it): reading a project for its contents decodes nothing.
    void LoadLater(const std::filesystem::path& path);

    // Both decode a file that was left for later, once.
    bool HasImage() const { return Image() != nullptr; }
    const std::shared_ptr<const CImage>& Image() const;
    void SetImage(std::shared_ptr<const CImage> decoded);
    // Shows what `other` shows: its image, or the file it has yet to decode.
    void ShareImage(const CPicture& other);

    // Draws the held image stretched into `dest` (pixels) from the part
    // `source` of the image (HIMETRIC); a source without width or height
    // draws the whole image. Nothing is drawn when no image is held.
    void Render(CCanvas& dc, const CRect& dest, const CRect& source) const;

private:
    mutable std::shared_ptr<const CImage> image;
    mutable std::filesystem::path pending; // to decode when first needed
};

// A picture placed on a sheet: an image file, the part of the image to show
// and the rectangle it is stretched into.
class CPict : public CObject, public CPicture {
public:
    static constexpr uint32_t kSelected = 0x1;
    // The folder beside the project file that holds a project's images.
    static constexpr std::string_view kPictureFolder = "Afbeeldingen";

    uint32_t flags = 0; // bit 0: selected (not kept when read back)
    double angle = 0.0; // degrees; turning the sheet adds 90, drawing ignores it
    std::string fileName; // Windows-1252, as stored
    CSize pictureSize; // HIMETRIC, as the codec reported it
    CRect sourceRect; // HIMETRIC
    CRect placementRect; // world units

    static const CClassInfo& StaticClass();
    const CClassInfo& ClassInfo() const override { return StaticClass(); }
    // Reading relocates the file name into the picture folder beside the
    // project file being read and takes the image from there when it is
    // first drawn.
    void Serialize(CArchive& ar) override;

    // Copies every field but not the image.
    void CopyFrom(const CPict& other);

    bool IsSelected() const { return (flags & kSelected) != 0; }
    void SetSelected(bool on);

    // Drawn at a zoom of `divisor` world units per pixel; the frame marks a
    // selected picture.
    void Draw(CCanvas& dc, int divisor, bool withFrame) const;
    // Printing: (coordinate - origin + 1000) * scale pixels.
    void DrawScaled(CCanvas& dc, int originX, int originY, double scale) const;
};

// Where a stored picture file name is looked for when a project is read:
// the stored name's last part in the picture folder beside the project file.
// Stored names may use "\" or "/"; the result is a path on this system.
// Empty when the stored name has no usable last part.
std::filesystem::path RelocatedPicturePath(
    const std::filesystem::path& projectFile, std::string_view storedName);

// The pictures of a sheet, drawn in list order.
class CPictArray {
public:
    std::vector<std::unique_ptr<CPict>> pictures;
    int currentIndex = -1; // the picture last placed or edited; not stored

    int GetSize() const { return static_cast<int>(pictures.size()); }
    bool IsValid(int index) const { return index >= 0 && index < GetSize(); }
    // Throws std::out_of_range for an index outside the list.
    CPict& At(int index) { return *pictures.at(static_cast<size_t>(index)); }
    const CPict& At(int index) const { return *pictures.at(static_cast<size_t>(index)); }

    void Serialize(CArchive& ar);
    // Appends copies of every picture of `other`; with `reload` the copies
    // show the same images (shared, not decoded again).
    void CopyFrom(const CPictArray& other, bool reload);

    // Loads an image file and appends a picture showing it at five times its
    // HIMETRIC size; the index, or -1 when the file cannot be used.
    int AddFromFile(const std::filesystem::path& path);
    void RemoveAt(int index);
    // Deletes every selected picture; the number deleted.
    int DeleteSelected();

    void Draw(CCanvas& dc, int index, int divisor) const;
    void DrawUnselected(CCanvas& dc, int divisor) const;
    void DrawSelected(CCanvas& dc, int divisor) const;
    void DrawSelectedOne(CCanvas& dc, int index, int divisor) const;
    void DrawAllScaled(CCanvas& dc, int originX, int originY, double scale) const;

    // Index of the first picture whose rectangle holds the point, or -1.
    int HitTest(int x, int y) const;
    bool Contains(int index, int x, int y) const;
    bool Intersects(int index, const CRect& rect) const;

    // Moves change nothing and give false when a coordinate would leave the
    // 32-bit range.
    bool Offset(int index, int dx, int dy);
    bool OffsetAll(int dx, int dy);
    bool MoveTo(int index, int x, int y);
    void SetLeft(int index, int v);
    void SetTop(int index, int v);
    void SetRight(int index, int v);
    void SetBottom(int index, int v);

    // The change of the selected count: +1, -1 or 0.
    int SetSelected(int index, bool on);
    // The number of pictures that changed state.
    int SetAllSelected(bool on);
    bool IsSelected(int index) const;
    int GetSelectedCount() const;

    void SetCurrentIndex(int index) { currentIndex = index; }
    int GetCurrentIndex() const { return currentIndex; }
};
