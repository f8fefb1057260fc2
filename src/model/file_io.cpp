#include "model/file_io.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// As many links as the system itself follows before it gives up (ELOOP).
constexpr int kMaxLinkHops = 40;
// The random part of a temporary name: short, so that a target whose name
// is as long as the system allows still gets a temporary file beside it.
constexpr int kTempNameLetters = 8;
constexpr int kTempNameTries = 100;
constexpr const char* kNotRegular = "Not a regular file";

std::string Reason(int code)
{
    return std::strerror(code);
}

// The file a write to `path` lands in: every symbolic link on the way is
// followed; nullopt (with errno set) for a loop of links.
std::optional<fs::path> FollowLinks(fs::path path)
{
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec)))
            return path;
        const fs::path link = fs::read_symlink(path, ec);
        if (ec)
            return path;
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    errno = ELOOP;
    return std::nullopt;
}

std::string TempName()
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    // One engine per thread: reserve copies are written beside the UI thread.
    thread_local std::mt19937 random(std::random_device {}() ^ static_cast<unsigned>(::getpid()));
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kLetters) - 2);
    std::string name = ".rz";
    for (int i = 0; i < kTempNameLetters; ++i)
        name += kLetters[pick(random)];
    return name;
}

} // namespace

COpenedFile OpenRegularFile(const fs::path& path)
{
    COpenedFile opened;
    // Without O_NONBLOCK, opening a pipe waits for a writer that may never come.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        opened.error = Reason(errno);
        return opened;
    }
    struct stat info { };
    if (::fstat(fd, &info) != 0) {
        opened.error = Reason(errno);
    } else if (S_ISDIR(info.st_mode)) {
        opened.error = Reason(EISDIR);
    } else if (!S_ISREG(info.st_mode) || info.st_size < 0) {
        opened.error = kNotRegular;
    } else {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        opened.file.reset(::fdopen(fd, "rb"));
        if (opened.file) {
            opened.size = static_cast<uint64_t>(info.st_size);
            return opened;
        }
        opened.error = Reason(errno);
    }
    ::close(fd);
    return opened;
}

CFileHandle OpenForReading(const fs::path& path)
{
    return OpenRegularFile(path).file;
}

std::optional<uint64_t> RegularFileSize(std::FILE* file)
{
    struct stat info { };
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0)
        return std::nullopt;
    return static_cast<uint64_t>(info.st_size);
}

CFileContents ReadFileContents(const fs::path& path)
{
    CFileContents contents;
    COpenedFile opened = OpenRegularFile(path);
    if (!opened) {
        contents.error = std::move(opened.error);
        return contents;
    }
    // What the file held when it was opened, and no more: a file that grows
    // while it is read cannot make the reader allocate without end.
    std::vector<uint8_t> bytes(static_cast<size_t>(opened.size));
    errno = 0;
    const size_t used = std::fread(bytes.data(), 1, bytes.size(), opened.file.get());
    if (std::ferror(opened.file.get()) != 0) {
        contents.error = Reason(errno != 0 ? errno : EIO);
        return contents;
    }
    bytes.resize(used);
    contents.bytes = std::move(bytes);
    return contents;
}

std::optional<std::vector<uint8_t>> ReadFileBytes(const fs::path& path)
{
    return ReadFileContents(path).bytes;
}

std::string CannotOpenMessage(const std::string& path, const std::string& reason)
{
    return "Cannot open " + path + ": " + reason + ".";
}

CAtomicFile::CAtomicFile(const fs::path& target)
    : target(target)
{
}

CAtomicFile::~CAtomicFile()
{
    Discard();
}

bool CAtomicFile::Open()
{
    Discard();
    error.clear();
    const auto followed = FollowLinks(target);
    if (!followed) {
        Fail("Cannot write " + target.string(), errno);
        return false;
    }
    finalTarget = *followed;
    const fs::path folder = finalTarget.has_parent_path() ? finalTarget.parent_path() : ".";
    struct stat old { };
    const bool replaces = ::stat(finalTarget.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    for (int attempt = 0; attempt < kTempNameTries; ++attempt) {
        const fs::path name = folder / TempName();
        // Mode 0666 less the umask: what a new file of this process gets.
        fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            tempPath = name;
            break;
        }
        if (errno != EEXIST)
            break;
    }
    if (fd < 0) {
        Fail("Cannot create a file in " + folder.string(), errno);
        return false;
    }
    if (replaces) {
        // The group first: changing it may clear the set-group-ID bit that
        // the mode then puts back. Either may be refused (a group the user
        // is not in), which leaves the new file with the user's own.
        [[maybe_unused]] const int grouped = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
        ::fchmod(fd, old.st_mode & 07777);
    }
    return true;
}

bool CAtomicFile::Write(const void* data, size_t bytes)
{
    if (fd < 0 || !error.empty())
        return false;
    const auto* p = static_cast<const uint8_t*>(data);
    size_t done = 0;
    while (done < bytes) {
        const ssize_t n = ::write(fd, p + done, bytes - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail("Cannot write " + target.string(), errno);
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

bool CAtomicFile::Sync()
{
    if (fd < 0 || !error.empty())
        return false;
    if (::fsync(fd) != 0) {
        Fail("Cannot write " + target.string(), errno);
        return false;
    }
    return true;
}

bool CAtomicFile::Commit()
{
    if (fd < 0 || !error.empty()) {
        if (error.empty())
            error = "Cannot write " + target.string() + ": the file was not opened";
        Discard();
        return false;
    }
    if (::fsync(fd) != 0)
        Fail("Cannot write " + target.string(), errno);
    if (::close(fd) != 0)
        Fail("Cannot write " + target.string(), errno);
    fd = -1;
    if (error.empty() && std::rename(tempPath.c_str(), finalTarget.c_str()) != 0)
        Fail("Cannot write " + target.string(), errno);
    if (!error.empty()) {
        Discard();
        return false;
    }
    tempPath.clear();
    // The rename itself reaches the disk with the folder.
    const fs::path folder = finalTarget.has_parent_path() ? finalTarget.parent_path() : ".";
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

void CAtomicFile::Discard()
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
    if (!tempPath.empty())
        ::unlink(tempPath.c_str());
    tempPath.clear();
}

void CAtomicFile::Fail(const std::string& what, int code)
{
    if (error.empty())
        error = what + ": " + Reason(code);
}

CKeptFile::CKeptFile(CFileHandle handle)
    : file(std::move(handle))
{
    struct stat info { };
    if (file && ::fstat(::fileno(file.get()), &info) == 0) {
        size = info.st_size;
        modifiedSeconds = info.st_mtim.tv_sec;
        modifiedNanoseconds = info.st_mtim.tv_nsec;
    }
}

bool CKeptFile::Unchanged() const
{
    struct stat info { };
    return file && size >= 0 && ::fstat(::fileno(file.get()), &info) == 0 && info.st_size == size
        && info.st_mtim.tv_sec == modifiedSeconds && info.st_mtim.tv_nsec == modifiedNanoseconds;
}

bool CKeptFile::ReadAt(uint64_t offset, void* to, size_t bytes) const
{
    if (!Unchanged() || offset > static_cast<uint64_t>(size) || bytes > size - offset)
        return false;
    auto* p = static_cast<uint8_t*>(to);
    while (bytes > 0) {
        const ssize_t got = ::pread(::fileno(file.get()), p, bytes, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        p += got;
        offset += static_cast<uint64_t>(got);
        bytes -= static_cast<size_t>(got);
    }
    return true;
}

std::optional<std::string> WriteFileAtomically(
    const fs::path& path, const std::vector<uint8_t>& bytes)
{
    CAtomicFile file(path);
    if (!file.Open() || !file.Write(bytes.data(), bytes.size()) || !file.Commit())
        return file.Error();
    return std::nullopt;
}

void IgnoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}
