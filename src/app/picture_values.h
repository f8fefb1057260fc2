#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

class CPict;
class CPictArray;

// What the two picture dialogs show and do: "Afbeelding toevoegen" (the
// project's picture folder, copies into it, placing one of its files) and
// "Afbeelding aanpassen" (position and size of a placed picture). The
// dialogs only show these values.

// --- Afbeelding toevoegen ---------------------------------------------------

class CAddPictures {
public:
    // The list of `folder` (the project's "Afbeeldingen"), the first file
    // selected; `pictures` receives the picture placed.
    CAddPictures(std::filesystem::path folder, CPictArray& pictures);

    const std::filesystem::path& Folder() const { return folder; }
    // File names (UTF-8), sorted without regard to case, each once.
    const std::vector<std::string>& Names() const { return names; }
    // The selected row, -1 while the list is empty.
    int Selected() const { return selected; }
    void Select(int row);
    // The selected file in the folder; empty without a selection.
    std::filesystem::path SelectedPath() const;

    // "Afbeeldingen toevoegen": the chosen files, in byte order of their
    // paths; each one that decodes is copied into the folder, listed and
    // selected. The messages for the user, one for each file that could not
    // be used or copied, in order.
    std::vector<std::string> AddFiles(std::vector<std::filesystem::path> chosen);

    // "Plaatsen": the selected file becomes a new picture of the sheet,
    // selected alone and made the current picture. Its index, or -1 when
    // nothing is selected or the file cannot be used (then the dialog says
    // kMsgPictureUnusable and stays open).
    int Place();

private:
    std::filesystem::path folder;
    CPictArray& pictures;
    std::vector<std::string> names;
    int selected = -1;
};

// --- Afbeelding aanpassen ---------------------------------------------------

// Told of every change the edit dialog accepts, so that the sheet shows it
// at once.
class CPictureEditListener {
public:
    virtual void PlacementChanged(const CRect& placement) = 0;

protected:
    ~CPictureEditListener() = default;
};

// A position or size as the fields show it: millimetres with three decimals
// and " mm." ("12.500 mm."), whatever the locale.
std::string PictureFieldText(int32_t micrometres);
// A field back in micrometres: the number the text starts with (a point or
// a comma as the decimal mark), times 1000 as typed; none without a number.
std::optional<int32_t> PictureFieldValue(std::string_view text);

// The values of "Afbeelding aanpassen" for one picture: its placement
// rectangle, shown relative to the sheet's origin, and the aspect ratio of
// the part of the image it shows.
class CPictureEdit {
public:
    // A side must lie in 1000 ... 1 000 000 micrometres (1 mm ... 1 m), a
    // position in 0 ... 1 000 000 from the origin.
    static constexpr int32_t kMinSide = 1000;
    static constexpr int32_t kMaxSide = 1000000;
    static constexpr int32_t kMaxPosition = 1000000;

    CPictureEdit(const CPict& pict, CPoint origin, CPictureEditListener* listener = nullptr);

    const CRect& Placement() const { return placement; }
    // Width over height of the source rectangle; from the picture size when
    // the source has no height, else 1.
    double Ratio() const { return ratio; }
    bool KeepRatio() const { return keepRatio; }

    std::string XText() const;
    std::string YText() const;
    std::string WidthText() const;
    std::string HeightText() const;

    // A field left or confirmed with this text: true when it changed the
    // rectangle. A value that is the same, out of range, no number, or that
    // would make the other side (with the ratio kept) leave its range
    // changes nothing.
    bool SetX(std::string_view text);
    bool SetY(std::string_view text);
    bool SetWidth(std::string_view text);
    bool SetHeight(std::string_view text);
    // "Verhouding breedte en hoogte aanhouden": switching it on gives the
    // height that keeps the ratio; refused (stays off) when that height
    // would leave its range. True when the rectangle changed.
    bool SetKeepRatio(bool on);
    // "Zet de afmetingen op de oorspronkelijke maten": the source
    // rectangle's size in HIMETRIC taken as micrometres, each side held
    // within its range.
    bool SetOriginalSize();

private:
    bool Apply(int64_t left, int64_t top, int64_t width, int64_t height);
    bool SetPosition(std::string_view text, bool vertical);

    CRect placement;
    CRect source;
    CPoint origin;
    double ratio = 1.0;
    bool keepRatio = false;
    CPictureEditListener* listener = nullptr;
};
