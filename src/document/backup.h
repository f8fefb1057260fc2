#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <deque>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

class CClock;
class CDovereduDoc;
class CUiServices;

// Reserve copies: numbered copies "TITLE BAK nn.ETT" of an open project,
// written while it is edited into the backup folder, a limited number of them
// per project. Folder names are UTF-8 paths as on disk; titles are file-name
// bytes as well.

// Where the copies of a project go, and under what title.
struct CBackupPlace {
    std::string folder;
    std::string title; // its ASCII letters upper-cased
    // The folder setting named no folder of this system (a Windows path such
    // as "C:\TEMP\ETT"), so the default folder is used.
    bool folderFellBack = false;
};

// The one place for the backup and for the dialog that opens a copy. The
// setting is trimmed; empty, it is the project's own folder; not an absolute
// path here, it falls back to the default folder. The title is the project
// file's title (a file that is itself a copy stands for the title it is a
// copy of); a project never saved goes by its window title and the minute it
// was made ("ZAVOVEZE1 20261210-1830"), so that the copies of a new project
// lost in a crash are never rotated away by a new project of a later run.
CBackupPlace BackupPlaceOf(std::string_view folderSetting, const std::string& defaultFolder,
    const std::string& pathName, const std::string& windowTitle, std::time_t created);

// "TITLE BAK nn.ETT" taken apart: a name of that form (any case, a number of
// two or more digits written as the copies are, "00" included) gives its
// title and number; any other name gives nothing.
struct CCopyName {
    std::string title;
    int number = 0;
};
std::optional<CCopyName> ParseCopyName(std::string_view fileName);
// The number when the name is a copy of this title (compared without regard
// to ASCII case).
std::optional<int> CopyNumber(std::string_view fileName, std::string_view title);
// "TITLE BAK 01.ETT": at least two digits.
std::string CopyFileName(std::string_view title, int number);
bool SameTitle(std::string_view a, std::string_view b);

// What a backup does to the copies already in the folder: the files that go,
// the renames that close the numbers up (01, 02, ... in order, so the newest
// is never overwritten) and rotate them, and the name of the new copy.
// Renames never overwrite a file that is kept; a file that goes may be
// replaced by a rename or by the new copy instead of being deleted.
struct CRotationPlan {
    std::vector<std::pair<std::string, std::string>> renames; // from, to
    std::vector<std::string> deletes; // once the new copy is in place
    int number = 0;
    std::string newName;
};
// `names` are the names in the folder (anything; only this title's copies
// count). With more copies than the maximum m, the oldest goes, the others
// move down one and the new copy takes number m (0 keeps a single "00").
CRotationPlan PlanRotation(
    const std::vector<std::string>& names, std::string_view title, int maximum);

// One copy to write: the project's bytes and where they go.
struct CBackupRequest {
    std::vector<uint8_t> bytes;
    std::string folder;
    std::string title;
    int maximum = 2;
};
struct CBackupOutcome {
    bool ok = false;
    std::string path; // the copy written
    std::string error; // why not, for the user
};

// Writes a copy: the folder is made, the new copy goes to a temporary file
// that reaches the disk first; only then are the old copies rotated and the
// temporary file renamed to its number, and the folder synced. A failed
// write renames and deletes nothing.
CBackupOutcome WriteBackup(const CBackupRequest& request);

// A project's copies in a folder, newest first; every copy of any title
// with an empty title.
struct CCopyFile {
    std::string path;
    std::filesystem::file_time_type modified;
};
std::vector<CCopyFile> ListCopies(const std::string& folder, std::string_view title);

// The newest copy of a project file that is newer than the file and holds
// other bytes (the program did not end normally after the last copy).
std::optional<std::string> NewerCopyOf(const std::string& projectPath, const CBackupPlace& place);

// After a copy was read in place of a project: picture files missing beside
// the copy are taken from the picture folder beside the project it replaced,
// when the titles agree.
void FindPicturesBeside(CDovereduDoc& doc, const std::string& replacedProject);

// The one worker thread that writes the copies of every open project, one
// write at a time (two projects may share a title). Each project is a
// client; a client's write that has not started yet gives way to a newer one.
class CBackupWriter {
public:
    using Client = uint64_t;

    CBackupWriter();
    ~CBackupWriter();
    CBackupWriter(const CBackupWriter&) = delete;
    CBackupWriter& operator=(const CBackupWriter&) = delete;

    Client NewClient();
    void Queue(Client client, CBackupRequest request);
    // The outcomes of the client's finished writes, oldest first.
    std::vector<CBackupOutcome> TakeOutcomes(Client client);
    // Waits until the client has no write queued or running, then forgets it.
    void Finish(Client client);
    // Waits until the client has no write queued or running.
    void Wait(Client client);
    // True the first time it is asked in the writer's life: the notice that
    // the folder setting fell back is given once per run.
    bool TakeFolderNotice();
    // For tests and benchmarks: every write waits this long first.
    void HoldWrites(std::chrono::milliseconds hold);

private:
    void Run();

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::pair<Client, CBackupRequest>> queue;
    std::map<Client, std::vector<CBackupOutcome>> outcomes;
    std::optional<Client> running;
    Client nextClient = 1;
    bool stopping = false;
    bool folderNoticeGiven = false;
    std::chrono::milliseconds hold {0};
    std::thread worker;
};

// The program's writer.
CBackupWriter& BackupWriter();

// The reserve-copy settings of the configuration.
struct CBackupSettings {
    bool on = true;
    int intervalMinutes = 1;
    int maximum = 2;
    std::string folder;
    std::string defaultFolder;
};

// The reserve copies of one open project in its view: the backup timer,
// which counts only the time the view has the focus (a menu or popup that
// takes it does not stop the count), the write handed to the worker, and what
// the user is told of it. A failed copy is reported once in a message box,
// shown when the view is idle, then only in the status bar until a copy
// succeeds again.
class CProjectBackup {
public:
    CProjectBackup(CDovereduDoc& doc, CUiServices& ui, CClock& clock, int timerId,
        CBackupWriter& writer = BackupWriter());
    // Closing waits for the project's write.
    ~CProjectBackup();
    CProjectBackup(const CProjectBackup&) = delete;
    CProjectBackup& operator=(const CProjectBackup&) = delete;

    static constexpr int kShortestIntervalMs = 1000; // an interval of 0 minutes

    void FocusIn(const CBackupSettings& settings);
    void FocusOut(bool toPopup);
    // The backup timer fired: a copy is due, and waits while the pointer is
    // captured.
    void Expired(const CBackupSettings& settings, bool captured);
    // On the view's work timer: a due copy once the pointer is free, the
    // outcomes of finished writes, and messages once the view is idle.
    void Poll(const CBackupSettings& settings, bool captured, bool idle);
    // The backup step: when the project changed since the last copy, it is
    // serialised and its write queued; true then. The document is otherwise
    // unchanged (its modified flag and undo history stay).
    bool AutoBackup(const CBackupSettings& settings);

    std::time_t created; // when the project was made or opened here
    CBackupWriter::Client Client() const { return client; }

private:
    int IntervalMs(const CBackupSettings& settings) const;
    int64_t FocusedMs() const;
    void Tell(const std::string& message);

    CDovereduDoc& doc;
    CUiServices& ui;
    CClock& clock;
    int timerId;
    CBackupWriter& writer;
    CBackupWriter::Client client;

    int64_t focusedMs = 0; // focused time counted since the last expiry
    std::optional<uint32_t> focusedSince; // while the focus is here
    bool due = false;
    bool failureShown = false; // a box told of it; now the status bar only
    std::deque<std::string> messages; // for the next idle moment
};
