#pragma once

#include <cstddef>
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

// A regular file open for reading with its size, or why it could not be
// opened (the system's reason).
struct COpenedFile {
    CFileHandle file;
    uint64_t size = 0;
    std::string error;

    explicit operator bool() const { return file != nullptr; }
};

// Opens a regular file for reading. Anything else (a folder, a device, a
// pipe) is refused: it has no size to check a reader's counts against, and
// /dev/zero or a pipe without a writer would never end. Opening never waits
// for a pipe's writer.
COpenedFile OpenRegularFile(const std::filesystem::path& path);

// A regular file kept open after it was read, so that a part of it can be
// read again later (the records of a sheet as it was opened, for its first
// undo step). Shared by whoever still needs it; closed with the last owner.
// A read fails once the file was changed in place: its size or modification
// time are no longer those it had when it was kept. A file replaced by a
// rename, as every save here replaces it, keeps its old contents for us.
class CKeptFile {
public:
    explicit CKeptFile(CFileHandle file);
    std::FILE* File() const { return file.get(); }
    // Reads exactly `bytes` bytes at `offset`; false when the file changed
    // or the read fell short.
    bool ReadAt(uint64_t offset, void* to, size_t bytes) const;

private:
    bool Unchanged() const;

    CFileHandle file;
    int64_t size = -1;
    int64_t modifiedSeconds = 0;
    int64_t modifiedNanoseconds = 0;
};

// OpenRegularFile without the reason; null when the file cannot be opened.
CFileHandle OpenForReading(const std::filesystem::path& path);

// The size of an open regular file; nullopt for anything else (a pipe, a
// device), which has to be read to its end to be known.
std::optional<uint64_t> RegularFileSize(std::FILE* file);

// The bytes of a whole regular file, or why it could not be read.
struct CFileContents {
    std::optional<std::vector<uint8_t>> bytes;
    std::string error;
};
CFileContents ReadFileContents(const std::filesystem::path& path);
// ReadFileContents without the reason.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::filesystem::path& path);

// "Cannot open %1: %2.": a file that could not be opened at all.
std::string CannotOpenMessage(const std::string& path, const std::string& reason);

// A file written whole or not at all. The bytes go to a temporary file with a
// short name beside the target; Commit flushes it to the disk and renames it
// over the target, so a failed write leaves the old file as it was. Through a
// symbolic link the link's final target is replaced and the link stays. The
// new file keeps the old one's permission bits (and group where it can); a
// new target gets the process's default mode (the umask applies). Destroying
// an uncommitted file removes the temporary file.
class CAtomicFile {
public:
    explicit CAtomicFile(const std::filesystem::path& target);
    ~CAtomicFile();
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    // Creates the temporary file; false, with Error() set, when it cannot be
    // created.
    bool Open();
    // Appends bytes; false, with Error() set, once a write failed (later
    // writes are dropped).
    bool Write(const void* data, size_t bytes);
    // Puts what was written on the disk before anything else happens (a
    // writer that has more to do before the rename); false, with Error()
    // set, when that failed.
    bool Sync();
    // Puts the file in place; false, with Error() set, when that failed.
    bool Commit();
    // Removes the temporary file; the target stays as it was.
    void Discard();

    const std::string& Error() const { return error; }

private:
    void Fail(const std::string& what, int code);

    std::filesystem::path target; // as named
    std::filesystem::path finalTarget; // with every symbolic link followed
    std::filesystem::path tempPath;
    int fd = -1;
    std::string error;
};

// Writes the bytes through a CAtomicFile. Returns an error text, or nullopt
// on success.
std::optional<std::string> WriteFileAtomically(
    const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// A write beyond the process's file-size limit kills the process with
// SIGXFSZ unless the signal is ignored; ignored, the write fails with EFBIG
// and the writer can report it and clean up. Called by each program's main.
void IgnoreFileSizeSignal();
