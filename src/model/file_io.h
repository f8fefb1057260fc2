#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A file open for reading, closed with the handle.
struct CFileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using CFileHandle = std::unique_ptr<std::FILE, CFileCloser>;

// Null when the file cannot be opened.
CFileHandle OpenForReading(const std::filesystem::path& path);

// The size of an open regular file; nullopt for anything else (a pipe, a
// device), which has to be read to its end to be known.
std::optional<uint64_t> RegularFileSize(std::FILE* file);

// Reads a whole file; nullopt when it cannot be opened or read.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::filesystem::path& path);

// Writes the bytes to a temporary file in the target's folder, flushes it and
// renames it over the target, so that a failed write leaves the old file as
// it was. Returns an error text, or nullopt on success.
std::optional<std::string> WriteFileAtomically(
    const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
