#pragma once

#include <filesystem>

// The front end names the folder of its executable once at start.
void SetExecutableFolder(const std::filesystem::path& folder);

// The folder the program's files live in: $RIDIZAV_HOME when set, else the
// executable's folder.
std::filesystem::path ProgramFolder();

// Whether $RIDIZAV_HOME names the program folder.
bool ProgramFolderFromEnvironment();

// Where reserve copies go unless the user chose a folder: "ETT" in the
// per-user data folder, or in the program folder when $RIDIZAV_HOME is set.
// Not the temporary folder: Linux empties it at boot, which would lose the
// very copies a user needs after a power failure.
std::filesystem::path DefaultBackupFolder();
