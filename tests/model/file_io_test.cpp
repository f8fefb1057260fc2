#include "model/file_io.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Fill(size_t n, uint8_t value)
{
    return std::vector<uint8_t>(n, value);
}

mode_t ModeOf(const fs::path& path)
{
    struct stat info { };
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

// The names in a folder: a write leaves no temporary file behind.
size_t Entries(const fs::path& folder)
{
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

} // namespace

TEST(AtomicFile, KeepsTheModeOfTheFileItReplaces)
{
    CTempFolder tmp;
    const fs::path path = tmp.path / "p.ETT";
    for (const mode_t mode : {0600, 0640, 0755}) {
        ASSERT_FALSE(WriteFileAtomically(path, Fill(10, 1)));
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        ASSERT_FALSE(WriteFileAtomically(path, Fill(20, 2)));
        EXPECT_EQ(ModeOf(path), mode);
        EXPECT_EQ(ReadFileBytes(path), Fill(20, 2));
    }
}

TEST(AtomicFile, ANewFileGetsTheDefaultModeOfTheProcess)
{
    CTempFolder tmp;
    // (umask, mode of a new file)
    const struct {
        mode_t mask, mode;
    } cases[] = {{022, 0644}, {077, 0600}, {002, 0664}};
    for (const auto& c : cases) {
        const mode_t old = ::umask(c.mask);
        const fs::path path = tmp.path / ("new" + std::to_string(c.mask));
        const auto error = WriteFileAtomically(path, Fill(3, 7));
        ::umask(old);
        ASSERT_FALSE(error) << *error;
        EXPECT_EQ(ModeOf(path), c.mode) << c.mask;
    }
}

TEST(AtomicFile, WritesThroughSymbolicLinks)
{
    CTempFolder tmp;
    fs::create_directories(tmp.path / "real");
    const fs::path target = tmp.path / "real" / "p.ETT";
    ASSERT_FALSE(WriteFileAtomically(target, Fill(4, 1)));
    ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
    // A relative link to a link to the file; and a link to a file not yet there.
    fs::create_symlink("real/p.ETT", tmp.path / "first");
    fs::create_symlink(tmp.path / "first", tmp.path / "second");
    fs::create_symlink("real/new.ETT", tmp.path / "dangling");

    ASSERT_FALSE(WriteFileAtomically(tmp.path / "second", Fill(8, 2)));
    EXPECT_TRUE(fs::is_symlink(tmp.path / "first"));
    EXPECT_TRUE(fs::is_symlink(tmp.path / "second"));
    EXPECT_EQ(ReadFileBytes(target), Fill(8, 2));
    EXPECT_EQ(ModeOf(target), 0600u);

    ASSERT_FALSE(WriteFileAtomically(tmp.path / "dangling", Fill(2, 3)));
    EXPECT_TRUE(fs::is_symlink(tmp.path / "dangling"));
    EXPECT_EQ(ReadFileBytes(tmp.path / "real" / "new.ETT"), Fill(2, 3));
    EXPECT_EQ(Entries(tmp.path), 4u);
    EXPECT_EQ(Entries(tmp.path / "real"), 2u);

    // A loop of links is an error, not a hang.
    fs::create_symlink("loop2", tmp.path / "loop1");
    fs::create_symlink("loop1", tmp.path / "loop2");
    const auto error = WriteFileAtomically(tmp.path / "loop1", Fill(1, 1));
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("Too many levels of symbolic links"), std::string::npos) << *error;
}

TEST(AtomicFile, NamesAsLongAsTheSystemAllows)
{
    CTempFolder tmp;
    for (const size_t length : {248u, 250u, 255u}) {
        const fs::path path = tmp.path / (std::string(length - 4, 'n') + ".ETT");
        const auto error = WriteFileAtomically(path, Fill(5, 1));
        ASSERT_FALSE(error) << length << " " << *error;
        EXPECT_EQ(ReadFileBytes(path), Fill(5, 1));
        fs::remove(path);
    }
    EXPECT_EQ(Entries(tmp.path), 0u);
}

TEST(AtomicFile, AFailedOrAbandonedWriteLeavesTheOldFile)
{
    CTempFolder tmp;
    const fs::path path = tmp.path / "p.ETT";
    ASSERT_FALSE(WriteFileAtomically(path, Fill(10, 1)));
    {
        CAtomicFile file(path);
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(file.Write("abc", 3));
        EXPECT_EQ(Entries(tmp.path), 2u);
    } // not committed
    EXPECT_EQ(ReadFileBytes(path), Fill(10, 1));
    EXPECT_EQ(Entries(tmp.path), 1u);

    // Written in pieces, committed.
    CAtomicFile file(path);
    ASSERT_TRUE(file.Open());
    ASSERT_TRUE(file.Write("ab", 2));
    ASSERT_TRUE(file.Write("cd", 2));
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadFileBytes(path), (std::vector<uint8_t> {'a', 'b', 'c', 'd'}));

    // A folder that is not there, and a folder in the target's place.
    auto error = WriteFileAtomically(tmp.path / "none" / "p.ETT", Fill(1, 1));
    ASSERT_TRUE(error);
    EXPECT_EQ(*error,
        "Cannot create a file in " + (tmp.path / "none").string() + ": No such file or directory");
    fs::create_directories(tmp.path / "map");
    error = WriteFileAtomically(tmp.path / "map", Fill(1, 1));
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "Cannot write " + (tmp.path / "map").string() + ": Is a directory");
    EXPECT_EQ(Entries(tmp.path), 2u);
}

TEST(AtomicFile, AFileSizeLimitFailsTheWriteAndRemovesTheTemporaryFile)
{
    // In a child process, as the programs run: the signal ignored by main,
    // then a write beyond the limit.
    CTempFolder tmp;
    const fs::path path = tmp.path / "p.ETT";
    ASSERT_FALSE(WriteFileAtomically(path, Fill(10, 1)));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        IgnoreFileSizeSignal();
        rlimit limit {};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 4096;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const auto error = WriteFileAtomically(path, Fill(100000, 2));
        const bool reported = error && error->find("File too large") != std::string::npos;
        ::_exit(reported ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadFileBytes(path), Fill(10, 1));
    EXPECT_EQ(Entries(tmp.path), 1u);
}

TEST(OpenRegularFile, RefusesWhatIsNotARegularFileWithTheReason)
{
    CTempFolder tmp;
    const fs::path fifo = tmp.path / "pijp";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_FALSE(WriteFileAtomically(tmp.path / "p.ETT", Fill(3, 1)));
    // (path, reason); a pipe without a writer must not block the open.
    const struct {
        fs::path path;
        const char* reason;
    } cases[] = {
        {tmp.path / "weg.ETT", "No such file or directory"},
        {tmp.path, "Is a directory"},
        {"/dev/zero", "Not a regular file"},
        {fifo, "Not a regular file"},
        {tmp.path / "p.ETT" / "x", "Not a directory"},
    };
    for (const auto& c : cases) {
        const COpenedFile opened = OpenRegularFile(c.path);
        EXPECT_FALSE(opened) << c.path;
        EXPECT_EQ(opened.error, c.reason) << c.path;
        const CFileContents contents = ReadFileContents(c.path);
        EXPECT_FALSE(contents.bytes);
        EXPECT_EQ(contents.error, c.reason);
    }
    const COpenedFile opened = OpenRegularFile(tmp.path / "p.ETT");
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened.size, 3u);
    EXPECT_EQ(CannotOpenMessage("a.ETT", "Is a directory"), "Cannot open a.ETT: Is a directory.");
}
