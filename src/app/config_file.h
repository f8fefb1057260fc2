#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <istream>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/settings.h"

inline constexpr char kConfigFileName[] = "Vorel Ridizav.cfg";
inline constexpr char kConfigRevision[] = "Vorel Rev 10.01";
inline constexpr char kMsgConfigLoad[] = "Kan configuratie niet laden!";
inline constexpr char kMsgConfigSave[] = "Kan configuratie niet opslaan!";

// Program folder + "Vorel Ridizav.cfg".
std::filesystem::path ConfigFilePath();

enum class ConfigStatus {
    Read, // every item the revision promises
    ShortFile, // ended early: the settings it did not reach keep what they were
    Missing, // no file (a first start): nothing changed, nothing to report
    Unreadable, // the file exists but cannot be read: nothing changed
};

// Reads the items of the file's revision into `settings`, which holds the
// defaults beforehand, then brings the values into range. Reading never
// writes anything.
ConfigStatus ReadConfig(std::istream& in, CSettings& settings);
ConfigStatus ReadConfigFile(const std::filesystem::path& path, CSettings& settings);

// The whole file, always in the newest revision.
std::vector<uint8_t> FormatConfig(const CSettings& settings);
// Written to a temporary file and renamed over the old one; an error text
// when that fails, the old file then being as it was.
std::optional<std::string> WriteConfigFile(
    const std::filesystem::path& path, const CSettings& settings);

// The stored forms of the grids (104 bytes) and of one font (60 bytes).
std::array<uint8_t, 104> GridImage(const CGridArr& grids);
CGridArr GridsFromImage(std::span<const uint8_t, 104> image);
std::array<uint8_t, 60> FontRecord(const CLogFont& font);
CLogFont FontFromRecord(std::span<const uint8_t, 60> record);
