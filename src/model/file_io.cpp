#include "model/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CFileHandle OpenForReading(const std::filesystem::path& path)
{
    return CFileHandle(std::fopen(path.c_str(), "rb"));
}

std::optional<uint64_t> RegularFileSize(std::FILE* file)
{
    struct stat info { };
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0)
        return std::nullopt;
    return static_cast<uint64_t>(info.st_size);
}

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::filesystem::path& path)
{
    const CFileHandle f = OpenForReading(path);
    if (!f)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    // Read straight into place when the size is known; a pipe or a growing
    // file is read on in chunks.
    if (const auto size = RegularFileSize(f.get()))
        bytes.resize(static_cast<size_t>(*size));
    size_t used = std::fread(bytes.data(), 1, bytes.size(), f.get());
    bytes.resize(used);
    uint8_t chunk[65536];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, f.get())) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    if (std::ferror(f.get()) != 0)
        return std::nullopt;
    return bytes;
}

std::optional<std::string> WriteFileAtomically(
    const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::string hidden(".");
    hidden.append(path.filename().string());
    hidden.append(".XXXXXX");
    std::string pattern = (folder / hidden).string();
    const int fd = mkstemp(pattern.data());
    if (fd < 0)
        return "Cannot create a file in " + folder.string() + ": " + std::strerror(errno);

    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const std::string error = std::strerror(errno);
            ::close(fd);
            ::unlink(pattern.c_str());
            return "Cannot write " + path.string() + ": " + error;
        }
        done += static_cast<size_t>(n);
    }
    // mkstemp makes the file private; give it the usual permissions.
    ::fchmod(fd, 0644);
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        const std::string error = std::strerror(errno);
        ::unlink(pattern.c_str());
        return "Cannot write " + path.string() + ": " + error;
    }
    if (std::rename(pattern.c_str(), path.c_str()) != 0) {
        const std::string error = std::strerror(errno);
        ::unlink(pattern.c_str());
        return "Cannot write " + path.string() + ": " + error;
    }
    return std::nullopt;
}
