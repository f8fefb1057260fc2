#include "document/backup.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <set>
#include <system_error>
#include <unistd.h>

#include "document/dir.h"
#include "document/document.h"
#include "model/file_io.h"
#include "model/picture.h"
#include "model/sheet.h"
#include "model/text_encoding.h"
#include "platform/clock.h"
#include "platform/ui_services.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kCopyInfix = " BAK ";
constexpr std::string_view kCopyExtension = ".ETT";
constexpr size_t kMostDigits = 9; // keeps the number an int
constexpr int kMsPerMinute = 60000;
constexpr int kPaneMessage = 0;

char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpperAscii(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), Upper);
    return out;
}

bool EndsWithNoCase(std::string_view text, std::string_view tail)
{
    return text.size() >= tail.size() && SameTitle(text.substr(text.size() - tail.size()), tail);
}

std::string Trimmed(std::string_view text)
{
    const auto space = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && space(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && space(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

std::string MinuteStamp(std::time_t t)
{
    std::tm local {};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M", &local);
    return text;
}

void SyncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The rename steps in an order in which none overwrites a file that is still
// to move. Targets are distinct names, so a step can always go once the file
// at its target has moved; a circle (which the plan never makes) would be
// broken through a spare name.
std::vector<std::pair<std::string, std::string>> Ordered(
    std::vector<std::pair<std::string, std::string>> pending)
{
    std::vector<std::pair<std::string, std::string>> out;
    while (!pending.empty()) {
        const auto ready = std::find_if(pending.begin(), pending.end(), [&](const auto& step) {
            return std::none_of(pending.begin(), pending.end(),
                [&](const auto& other) { return other.first == step.second; });
        });
        if (ready == pending.end()) {
            const std::string spare = pending.front().first + ".rotating";
            out.emplace_back(pending.front().first, spare);
            pending.front().first = spare;
            continue;
        }
        out.push_back(*ready);
        pending.erase(ready);
    }
    return out;
}

} // namespace

bool SameTitle(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return Upper(x) == Upper(y);
    });
}

CBackupPlace BackupPlaceOf(std::string_view folderSetting, const std::string& defaultFolder,
    const std::string& pathName, const std::string& windowTitle, std::time_t created)
{
    CBackupPlace place;
    const std::string setting = Trimmed(folderSetting);
    if (setting.empty()) {
        const fs::path own = fs::path(pathName).parent_path();
        place.folder = own.is_absolute() ? own.string() : defaultFolder;
    } else if (!fs::path(setting).is_absolute()) {
        place.folder = defaultFolder;
        place.folderFellBack = true;
    } else {
        place.folder = setting;
    }
    if (pathName.empty()) {
        place.title = UpperAscii(windowTitle) + " " + MinuteStamp(created);
    } else {
        const std::string name = fs::path(pathName).filename().string();
        const auto copy = ParseCopyName(name);
        place.title = UpperAscii(copy ? copy->title : CDir::TitleOf(name));
    }
    return place;
}

std::optional<CCopyName> ParseCopyName(std::string_view name)
{
    if (!EndsWithNoCase(name, kCopyExtension))
        return std::nullopt;
    name.remove_suffix(kCopyExtension.size());
    size_t digits = 0;
    while (digits < name.size() && name[name.size() - 1 - digits] >= '0'
        && name[name.size() - 1 - digits] <= '9')
        ++digits;
    // Two or more digits, written as the copies are: "01", "10", "100".
    if (digits < 2 || digits > kMostDigits)
        return std::nullopt;
    const std::string_view number = name.substr(name.size() - digits);
    if (digits > 2 && number.front() == '0')
        return std::nullopt;
    name.remove_suffix(digits);
    if (!EndsWithNoCase(name, kCopyInfix) || name.size() == kCopyInfix.size())
        return std::nullopt;
    name.remove_suffix(kCopyInfix.size());
    return CCopyName {std::string(name), std::stoi(std::string(number))};
}

std::optional<int> CopyNumber(std::string_view fileName, std::string_view title)
{
    const auto copy = ParseCopyName(fileName);
    if (!copy || !SameTitle(copy->title, title))
        return std::nullopt;
    return copy->number;
}

std::string CopyFileName(std::string_view title, int number)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02d", number);
    return std::string(title) + std::string(kCopyInfix) + digits + std::string(kCopyExtension);
}

CRotationPlan PlanRotation(
    const std::vector<std::string>& names, std::string_view title, int maximum)
{
    const int m = std::max(maximum, 0);
    struct CCopy {
        int number;
        bool canonical;
        std::string name;
    };
    std::vector<CCopy> copies;
    for (const std::string& name : names) {
        if (const auto number = CopyNumber(name, title))
            copies.push_back({*number, name == CopyFileName(title, *number), name});
    }
    // Oldest first; of two names for one number (in different case), the
    // one the program writes first.
    std::sort(copies.begin(), copies.end(), [](const CCopy& a, const CCopy& b) {
        if (a.number != b.number)
            return a.number < b.number;
        if (a.canonical != b.canonical)
            return a.canonical;
        return a.name < b.name;
    });

    // A maximum of 0 keeps a single copy "00": that one is replaced, and the
    // numbered ones left from a larger maximum go one by one.
    std::vector<const CCopy*> zeros;
    std::vector<const CCopy*> row;
    for (const CCopy& c : copies)
        (m == 0 && c.number == 0 ? zeros : row).push_back(&c);

    CRotationPlan plan;
    const int n = static_cast<int>(copies.size());
    int k = n + 1;
    const bool rotate = k > m;
    if (rotate)
        k = m;
    plan.number = k;
    plan.newName = CopyFileName(title, k);

    std::vector<std::string> gone;
    std::set<std::string> finalNames {plan.newName};
    std::vector<std::pair<std::string, std::string>> renames;
    for (const CCopy* c : zeros)
        gone.push_back(c->name);
    for (size_t i = 0; i < row.size(); ++i) {
        const int position = static_cast<int>(i) + 1; // gaps closed: 01, 02, ...
        const int target = rotate ? position - 1 : position;
        if ((rotate && position == 1) || (rotate && target == k)) {
            gone.push_back(row[i]->name);
            continue;
        }
        const std::string to = CopyFileName(title, target);
        finalNames.insert(to);
        if (to != row[i]->name)
            renames.emplace_back(row[i]->name, to);
    }
    plan.renames = Ordered(std::move(renames));
    // A copy that goes under a name that a kept copy or the new one takes is
    // replaced by it, never left missing in between.
    for (const std::string& name : gone) {
        if (!finalNames.count(name))
            plan.deletes.push_back(name);
    }
    return plan;
}

CBackupOutcome WriteBackup(const CBackupRequest& request)
{
    CBackupOutcome out;
    const fs::path folder(request.folder);
    if (request.folder.empty() || !folder.is_absolute()) {
        out.error = "No folder for reserve copies: \"" + request.folder + "\"";
        return out;
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder)) {
        out.error = "Cannot make the folder " + request.folder + ": "
            + (ec ? ec.message() : std::string("a file has its name"));
        return out;
    }
    std::vector<std::string> names;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError))
            names.push_back(it->path().filename().string());
    }
    if (ec) {
        out.error = "Cannot read the folder " + request.folder + ": " + ec.message();
        return out;
    }
    const CRotationPlan plan = PlanRotation(names, request.title, request.maximum);

    // The new copy is on the disk before any old one moves.
    CAtomicFile file(folder / plan.newName);
    if (!file.Open() || !file.Write(request.bytes.data(), request.bytes.size()) || !file.Sync()) {
        out.error = file.Error();
        return out;
    }
    for (const auto& [from, to] : plan.renames) {
        if (std::rename((folder / from).c_str(), (folder / to).c_str()) != 0) {
            out.error = "Cannot rename " + (folder / from).string() + ": "
                + std::generic_category().message(errno);
            return out;
        }
    }
    if (!file.Commit()) {
        out.error = file.Error();
        return out;
    }
    for (const std::string& name : plan.deletes)
        fs::remove(folder / name, ec);
    if (!plan.deletes.empty())
        SyncFolder(folder);
    out.ok = true;
    out.path = (folder / plan.newName).string();
    return out;
}

std::vector<CCopyFile> ListCopies(const std::string& folder, std::string_view title)
{
    std::vector<CCopyFile> copies;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code entryError;
        if (!it->is_regular_file(entryError))
            continue;
        const auto copy = ParseCopyName(it->path().filename().string());
        if (!copy || (!title.empty() && !SameTitle(copy->title, title)))
            continue;
        const auto modified = it->last_write_time(entryError);
        if (!entryError)
            copies.push_back({it->path().string(), modified});
    }
    std::sort(copies.begin(), copies.end(), [](const CCopyFile& a, const CCopyFile& b) {
        return a.modified != b.modified ? a.modified > b.modified : a.path > b.path;
    });
    return copies;
}

std::optional<std::string> NewerCopyOf(const std::string& projectPath, const CBackupPlace& place)
{
    std::error_code ec;
    const auto fileTime = fs::last_write_time(projectPath, ec);
    if (ec)
        return std::nullopt;
    const auto copies = ListCopies(place.folder, place.title);
    if (copies.empty() || copies.front().modified <= fileTime)
        return std::nullopt;
    const CCopyFile& newest = copies.front();
    if (fs::equivalent(newest.path, projectPath, ec))
        return std::nullopt;
    if (fs::file_size(newest.path, ec) == fs::file_size(projectPath, ec) && !ec
        && ReadFileBytes(newest.path) == ReadFileBytes(projectPath))
        return std::nullopt;
    return newest.path;
}

void FindPicturesBeside(CDovereduDoc& doc, const std::string& replacedProject)
{
    if (replacedProject.empty() || doc.pathName.empty())
        return;
    const auto copy = ParseCopyName(fs::path(doc.pathName).filename().string());
    const std::string replacedTitle = CDir::TitleOf(fs::path(replacedProject).filename().string());
    if (!copy || !SameTitle(copy->title, replacedTitle))
        return;
    for (auto& sheet : doc.sheets) {
        bool moved = false;
        for (auto& pict : sheet->pictures->pictures) {
            const fs::path beside = RelocatedPicturePath(doc.pathName, pict->fileName);
            std::error_code ec;
            if (beside.empty() || fs::exists(beside, ec))
                continue;
            const fs::path there = RelocatedPicturePath(replacedProject, pict->fileName);
            if (!fs::exists(there, ec))
                continue;
            pict->fileName = Utf8ToCp1252(there.string());
            pict->LoadLater(there);
            moved = true;
        }
        // The first undo step shows the pictures where they are now.
        if (moved)
            sheet->RestartUndo();
    }
}

// --- the worker ----------------------------------------------------------------

CBackupWriter::CBackupWriter()
    : worker([this] { Run(); })
{
}

CBackupWriter::~CBackupWriter()
{
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    changed.notify_all();
    worker.join();
}

CBackupWriter::Client CBackupWriter::NewClient()
{
    std::lock_guard lock(mutex);
    const Client client = nextClient++;
    outcomes[client];
    return client;
}

void CBackupWriter::Queue(Client client, CBackupRequest request)
{
    CBackupRequest superseded;
    {
        std::lock_guard lock(mutex);
        const auto waiting = std::find_if(
            queue.begin(), queue.end(), [&](const auto& entry) { return entry.first == client; });
        if (waiting != queue.end()) {
            superseded = std::move(waiting->second);
            waiting->second = std::move(request);
        } else {
            queue.emplace_back(client, std::move(request));
        }
    }
    changed.notify_all();
    // The bytes of a superseded copy are freed here, outside the lock.
}

std::vector<CBackupOutcome> CBackupWriter::TakeOutcomes(Client client)
{
    std::lock_guard lock(mutex);
    const auto it = outcomes.find(client);
    if (it == outcomes.end())
        return {};
    return std::exchange(it->second, {});
}

void CBackupWriter::Wait(Client client)
{
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] {
        return running != client
            && std::none_of(queue.begin(), queue.end(),
                [&](const auto& entry) { return entry.first == client; });
    });
}

void CBackupWriter::Finish(Client client)
{
    Wait(client);
    std::lock_guard lock(mutex);
    outcomes.erase(client);
}

bool CBackupWriter::TakeFolderNotice()
{
    std::lock_guard lock(mutex);
    return !std::exchange(folderNoticeGiven, true);
}

void CBackupWriter::HoldWrites(std::chrono::milliseconds ms)
{
    std::lock_guard lock(mutex);
    hold = ms;
}

void CBackupWriter::Run()
{
    std::unique_lock lock(mutex);
    for (;;) {
        changed.wait(lock, [&] { return stopping || !queue.empty(); });
        // Copies still queued when the program ends are written first.
        if (queue.empty())
            return;
        auto [client, request] = std::move(queue.front());
        queue.pop_front();
        running = client;
        const auto wait = hold;
        lock.unlock();
        if (wait.count() > 0)
            std::this_thread::sleep_for(wait);
        CBackupOutcome outcome = WriteBackup(request);
        request = {};
        lock.lock();
        running.reset();
        if (const auto it = outcomes.find(client); it != outcomes.end())
            it->second.push_back(std::move(outcome));
        changed.notify_all();
    }
}

CBackupWriter& BackupWriter()
{
    // Never destroyed: a project kept until the program's very end (after
    // main) still finishes its writes through it. Every project waits for its
    // own writes when it goes, so none is cut short at exit.
    static CBackupWriter* const writer = new CBackupWriter;
    return *writer;
}

// --- one project ---------------------------------------------------------------

CProjectBackup::CProjectBackup(
    CDovereduDoc& doc, CUiServices& ui, CClock& clock, int timerId, CBackupWriter& writer)
    : created(std::time(nullptr))
    , doc(doc)
    , ui(ui)
    , clock(clock)
    , timerId(timerId)
    , writer(writer)
    , client(writer.NewClient())
{
}

CProjectBackup::~CProjectBackup()
{
    writer.Finish(client);
}

int CProjectBackup::IntervalMs(const CBackupSettings& s) const
{
    if (s.intervalMinutes <= 0)
        return kShortestIntervalMs;
    return static_cast<int>(std::min<int64_t>(int64_t {s.intervalMinutes} * kMsPerMinute, INT_MAX));
}

int64_t CProjectBackup::FocusedMs() const
{
    if (!focusedSince)
        return focusedMs;
    return focusedMs + static_cast<uint32_t>(clock.Tick() - *focusedSince);
}

void CProjectBackup::FocusIn(const CBackupSettings& s)
{
    if (!focusedSince)
        focusedSince = clock.Tick();
    const int64_t left = IntervalMs(s) - FocusedMs();
    clock.StartTimer(timerId, static_cast<int>(std::clamp<int64_t>(left, 1, IntervalMs(s))));
}

void CProjectBackup::FocusOut(bool toPopup)
{
    // A menu or popup of the view takes the focus for a moment: the work
    // goes on, and so does the count.
    if (toPopup)
        return;
    focusedMs = FocusedMs();
    focusedSince.reset();
    clock.StopTimer(timerId);
}

void CProjectBackup::Expired(const CBackupSettings& s, bool captured)
{
    focusedMs = 0;
    if (focusedSince)
        focusedSince = clock.Tick();
    clock.StartTimer(timerId, IntervalMs(s));
    // Not in the middle of a drag: the copy waits for the release.
    if (captured) {
        due = true;
        return;
    }
    due = false;
    AutoBackup(s);
}

void CProjectBackup::Poll(const CBackupSettings& s, bool captured, bool idle)
{
    if (due && !captured) {
        due = false;
        AutoBackup(s);
    }
    for (const CBackupOutcome& outcome : writer.TakeOutcomes(client)) {
        if (outcome.ok) {
            failureShown = false;
            ui.SetStatusText(kPaneMessage, "Backup: " + Utf8ToCp1252(outcome.path));
            continue;
        }
        // The next expiry tries again.
        doc.changedSinceBackup = 1;
        const std::string reason = Utf8ToCp1252(outcome.error);
        ui.SetStatusText(kPaneMessage, "Reservekopie niet gemaakt: " + reason);
        if (!failureShown) {
            failureShown = true;
            Tell("Reservekopie niet gemaakt.\n" + reason);
        }
    }
    while (idle && !messages.empty()) {
        const std::string message = std::move(messages.front());
        messages.pop_front();
        ui.MessageBox(message, CUiServices::Buttons::Ok, CUiServices::Icon::Warning);
    }
}

void CProjectBackup::Tell(const std::string& message)
{
    messages.push_back(message);
}

bool CProjectBackup::AutoBackup(const CBackupSettings& s)
{
    if (!s.on)
        return false;
    for (const auto& sheet : doc.sheets) {
        if (sheet->changedFlag)
            doc.changedSinceBackup = 1;
    }
    if (!doc.changedSinceBackup)
        return false;
    const CBackupPlace place
        = BackupPlaceOf(s.folder, s.defaultFolder, doc.pathName, doc.title, created);
    if (place.folderFellBack && writer.TakeFolderNotice()) {
        Tell("De map voor reserve kopi\xEBn \"" + Utf8ToCp1252(Trimmed(s.folder))
            + "\" is op deze computer geen map. De reservekopie\xEBn komen in \""
            + Utf8ToCp1252(place.folder) + "\".");
    }
    CBackupRequest request;
    request.bytes = doc.Store();
    request.folder = place.folder;
    request.title = place.title;
    request.maximum = s.maximum;
    doc.changedSinceBackup = 0;
    for (auto& sheet : doc.sheets)
        sheet->changedFlag = 0;
    writer.Queue(client, std::move(request));
    return true;
}
