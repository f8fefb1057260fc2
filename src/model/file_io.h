#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Reads a whole file; nullopt when it cannot be opened or read.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::filesystem::path& path);

// Writes the bytes to a temporary file in the target's folder, flushes it and
// renames it over the target, so that a failed write leaves the old file as
// it was. Returns an error text, or nullopt on success.
std::optional<std::string> WriteFileAtomically(const std::filesystem::path& path,
                                               const std::vector<uint8_t>& bytes);
