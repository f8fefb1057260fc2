#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CDovereduDoc;

// The project's picture folder, "Afbeeldingen" beside the project file, and
// the copies of image files that go into it.

inline constexpr std::string_view kMsgPictureUnusable = "Fout! Deze afbeelding is niet bruikbaar";
inline constexpr std::string_view kMsgPictureNotCopied
    = "Fout! De afbeelding kan niet naar de map Afbeeldingen gekopieerd worden";
inline constexpr std::string_view kMsgSaveProjectFirst
    = "Sla het project eerst op: de afbeeldingen komen in de map Afbeeldingen naast het "
      "projectbestand.";

// "Afbeeldingen" beside the project file (UTF-8 path); empty for a project
// that was never saved, which has no folder yet.
std::filesystem::path PictureFolderOf(const std::string& projectPath);

// The names of the files in the folder, sorted without regard to case, each
// name once; empty when there is no such folder.
std::vector<std::string> ListPictureFolder(const std::filesystem::path& folder);

// Puts a copy of `source` into `folder` (made when missing) under its own
// name and gives the path of the file that now holds it:
// - a source that already is that file is left alone;
// - a file of that name with the same bytes is used as it is;
// - a file of that name with other bytes is kept, and the copy becomes
//   "NAME (2).EXT", "NAME (3).EXT" and so on (or one of those with the same
//   bytes is used).
// The copy is written under a temporary name and then renamed, so the folder
// never holds half a picture. None when the source cannot be read or the
// folder not written.
std::optional<std::filesystem::path> CopyIntoPictureFolder(
    const std::filesystem::path& source, const std::filesystem::path& folder);

// Saving a project in another folder takes its pictures along: every
// picture whose file exists is copied into the picture folder beside
// `projectPath` and then names the copy. A picture whose file is missing
// keeps its name. The number of pictures that could not be copied.
int CopyPicturesBeside(CDovereduDoc& doc, const std::string& projectPath);
