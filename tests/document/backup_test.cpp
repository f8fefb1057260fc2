#include "document/backup.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sys/resource.h>
#include <unistd.h>

#include "document/document.h"
#include "model/file_io.h"
#include "model/picture.h"
#include "model/sheet.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

using Files = std::map<std::string, std::string>; // name -> content

void Put(const fs::path& folder, const Files& files)
{
    fs::create_directories(folder);
    for (const auto& [name, content] : files)
        std::ofstream(folder / name, std::ios::binary) << content;
}

Files Contents(const fs::path& folder)
{
    Files files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().filename().string()]
            = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
}

CBackupRequest Request(const fs::path& folder, const std::string& title, int maximum)
{
    return {{'n', 'e', 'w'}, folder.string(), title, maximum};
}

// A project with one sheet, saved as `name` in the folder.
std::string SavedProject(const fs::path& folder, const char* name)
{
    CDovereduDoc doc;
    doc.AddDefaultSheet();
    const std::string path = (folder / name).string();
    EXPECT_FALSE(doc.Save(path));
    return path;
}

// The settings of a project's copies in `folder`.
CBackupSettings Settings(const fs::path& folder, int maximum = 2)
{
    CBackupSettings s;
    s.folder = folder.string();
    s.defaultFolder = (folder / "default").string();
    s.maximum = maximum;
    return s;
}

} // namespace

TEST(Backup, PlaceAndTitle)
{
    // (setting, project path, folder, title, fell back)
    const struct {
        const char *setting, *path, *folder, *title;
        bool fellBack;
    } cases[] = {
        {"/data/ett", "/home/jan/Kast.ETT", "/data/ett", "KAST", false},
        {"  /data/Ett  ", "/home/jan/kast.v2.ett", "/data/Ett", "KAST.V2", false},
        {"C:\\TEMP\\ETT", "/home/jan/Kast.ETT", "/std", "KAST", true},
        {"ett", "/home/jan/Kast.ETT", "/std", "KAST", true},
        {"", "/home/jan/Kast.ETT", "/home/jan", "KAST", false},
        {"", "", "/std", "ZAVOVEZE1 20261210-1830", false},
        // A file that is itself a copy stands for its project.
        {"/data/ett", "/data/ett/kast bak 02.ett", "/data/ett", "KAST", false},
        // Only ASCII letters change: the file system's bytes stay.
        {"/data/ett", "/home/jan/k\xC3\xA4st.ETT", "/data/ett", "K\xC3\xA4ST", false},
    };
    const char* tz = std::getenv("TZ");
    const std::string savedTz = tz ? tz : "";
    setenv("TZ", "UTC", 1);
    tzset();
    const std::time_t created = 1796927400; // 2026-12-10 18:30 UTC
    for (const auto& c : cases) {
        const CBackupPlace place = BackupPlaceOf(c.setting, "/std", c.path, "Zavoveze1", created);
        EXPECT_EQ(place.folder, c.folder) << c.setting << " " << c.path;
        EXPECT_EQ(place.title, c.title) << c.path;
        EXPECT_EQ(place.folderFellBack, c.fellBack) << c.setting;
    }
    if (tz)
        setenv("TZ", savedTz.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

TEST(Backup, OnlyCopyNamesOfTheTitleCount)
{
    // (name, number for the title KAST or -1)
    const struct {
        const char* name;
        int number;
    } cases[] = {
        {"KAST BAK 01.ETT", 1},
        {"kast bak 07.ett", 7},
        {"KAST BAK 00.ETT", 0},
        {"KAST BAK 100.ETT", 100},
        {"KAST BAK 1.ETT", -1},
        {"KAST BAK 001.ETT", -1},
        {"KAST2 BAK 01.ETT", -1},
        {"KAST.ETT", -1},
        {"KAST BAK 01.ETT.tmp", -1},
        {"KAST BAKS 01.ETT", -1},
        {" BAK 01.ETT", -1},
        {"KAST BAK 1234567890.ETT", -1},
    };
    for (const auto& c : cases) {
        const auto number = CopyNumber(c.name, "KAST");
        EXPECT_EQ(number.value_or(-1), c.number) << c.name;
    }
    EXPECT_EQ(CopyFileName("KAST", 2), "KAST BAK 02.ETT");
    EXPECT_EQ(CopyFileName("KAST", 100), "KAST BAK 100.ETT");
}

TEST(Backup, RotationOnAFolder)
{
    // (files before, maximum, title) -> files after, number written. Every
    // old file holds its own first name, the new copy "new".
    const struct {
        const char* what;
        std::vector<const char*> before;
        int maximum;
        const char* title;
        Files after;
        int number;
    } cases[] = {
        {"first", {}, 2, "KAST", {{"KAST BAK 01.ETT", "new"}}, 1},
        {"second", {"KAST BAK 01.ETT"}, 2, "KAST",
            {{"KAST BAK 01.ETT", "KAST BAK 01.ETT"}, {"KAST BAK 02.ETT", "new"}}, 2},
        {"full", {"KAST BAK 01.ETT", "KAST BAK 02.ETT"}, 2, "KAST",
            {{"KAST BAK 01.ETT", "KAST BAK 02.ETT"}, {"KAST BAK 02.ETT", "new"}}, 2},
        {"maximum lowered",
            {"KAST BAK 01.ETT", "KAST BAK 02.ETT", "KAST BAK 03.ETT", "KAST BAK 04.ETT",
                "KAST BAK 05.ETT"},
            2, "KAST",
            {{"KAST BAK 01.ETT", "KAST BAK 02.ETT"}, {"KAST BAK 02.ETT", "new"},
                {"KAST BAK 03.ETT", "KAST BAK 04.ETT"}, {"KAST BAK 04.ETT", "KAST BAK 05.ETT"}},
            2},
        {"project file beside", {"Kast.ETT", "KAST BAK 01.ETT"}, 2, "KAST",
            {{"Kast.ETT", "Kast.ETT"}, {"KAST BAK 01.ETT", "KAST BAK 01.ETT"},
                {"KAST BAK 02.ETT", "new"}},
            2},
        {"another title begins alike", {"KAST2 BAK 01.ETT", "KAST2 BAK 02.ETT"}, 2, "KAST",
            {{"KAST2 BAK 01.ETT", "KAST2 BAK 01.ETT"}, {"KAST2 BAK 02.ETT", "KAST2 BAK 02.ETT"},
                {"KAST BAK 01.ETT", "new"}},
            1},
        {"gap closed first", {"KAST BAK 01.ETT", "KAST BAK 03.ETT"}, 5, "KAST",
            {{"KAST BAK 01.ETT", "KAST BAK 01.ETT"}, {"KAST BAK 02.ETT", "KAST BAK 03.ETT"},
                {"KAST BAK 03.ETT", "new"}},
            3},
        {"gaps and rotation", {"KAST BAK 02.ETT", "KAST BAK 05.ETT"}, 2, "KAST",
            {{"KAST BAK 01.ETT", "KAST BAK 05.ETT"}, {"KAST BAK 02.ETT", "new"}}, 2},
        {"mixed case", {"kast bak 01.ett", "Kast Bak 02.Ett"}, 2, "KAST",
            {{"KAST BAK 01.ETT", "Kast Bak 02.Ett"}, {"KAST BAK 02.ETT", "new"}}, 2},
        {"maximum 0", {}, 0, "KAST", {{"KAST BAK 00.ETT", "new"}}, 0},
        {"maximum 0 again", {"KAST BAK 00.ETT"}, 0, "KAST", {{"KAST BAK 00.ETT", "new"}}, 0},
        {"maximum 0 after more", {"KAST BAK 00.ETT", "KAST BAK 01.ETT", "KAST BAK 02.ETT"}, 0,
            "KAST", {{"KAST BAK 00.ETT", "new"}, {"KAST BAK 01.ETT", "KAST BAK 02.ETT"}}, 0},
        {"00 before 01 when more are kept", {"KAST BAK 00.ETT", "KAST BAK 01.ETT"}, 5, "KAST",
            {{"KAST BAK 01.ETT", "KAST BAK 00.ETT"}, {"KAST BAK 02.ETT", "KAST BAK 01.ETT"},
                {"KAST BAK 03.ETT", "new"}},
            3},
        {"names that are no copies", {"KAST BAK 1.ETT", "KAST BAK 001.ETT"}, 2, "KAST",
            {{"KAST BAK 1.ETT", "KAST BAK 1.ETT"}, {"KAST BAK 001.ETT", "KAST BAK 001.ETT"},
                {"KAST BAK 01.ETT", "new"}},
            1},
        {"never saved", {"ZAVOVEZE1 20261209-0900 BAK 01.ETT"}, 2, "ZAVOVEZE1 20261210-1830",
            {{"ZAVOVEZE1 20261209-0900 BAK 01.ETT", "ZAVOVEZE1 20261209-0900 BAK 01.ETT"},
                {"ZAVOVEZE1 20261210-1830 BAK 01.ETT", "new"}},
            1},
    };
    for (const auto& c : cases) {
        CTempFolder tmp;
        const fs::path folder = tmp.path / "ETT";
        Files before;
        for (const char* name : c.before)
            before[name] = name;
        Put(folder, before);
        const CBackupOutcome outcome = WriteBackup(Request(folder, c.title, c.maximum));
        ASSERT_TRUE(outcome.ok) << c.what << ": " << outcome.error;
        EXPECT_EQ(Contents(folder), c.after) << c.what;
        EXPECT_EQ(outcome.path, (folder / CopyFileName(c.title, c.number)).string()) << c.what;
    }
}

TEST(Backup, APlanNeverOverwritesAKeptCopy)
{
    // Two names of one number: the one the program writes goes first, and
    // the other never lands on a copy that has yet to move.
    const CRotationPlan plan
        = PlanRotation({"kast bak 01.ett", "KAST BAK 01.ETT", "KAST BAK 02.ETT"}, "KAST", 10);
    EXPECT_EQ(plan.number, 4);
    const std::vector<std::pair<std::string, std::string>> renames {
        {"KAST BAK 02.ETT", "KAST BAK 03.ETT"}, {"kast bak 01.ett", "KAST BAK 02.ETT"}};
    EXPECT_EQ(plan.renames, renames);
    EXPECT_TRUE(plan.deletes.empty());
}

TEST(Backup, AFailedWriteLeavesEveryCopy)
{
    const bool root = ::geteuid() == 0;
    std::signal(SIGXFSZ, SIG_IGN);
    // (fault) -> the copies stay as they were, no temporary file is left.
    enum class Fault { ReadOnlyFolder, FullDisk, FolderCannotBeMade };
    for (const Fault fault : {Fault::ReadOnlyFolder, Fault::FullDisk, Fault::FolderCannotBeMade}) {
        if (fault == Fault::ReadOnlyFolder && root)
            continue; // the superuser writes anywhere
        CTempFolder tmp;
        fs::path folder = tmp.path / "ETT";
        const Files before {{"KAST BAK 01.ETT", "one"}, {"KAST BAK 02.ETT", "two"}};
        Put(folder, before);
        CDovereduDoc doc;
        doc.AddDefaultSheet();
        doc.pathName = (tmp.path / "Kast.ETT").string();
        CScriptedUi ui;
        CScriptedClock clock;
        CBackupWriter writer;
        CProjectBackup backup(doc, ui, clock, 2, writer);
        if (fault == Fault::FolderCannotBeMade) {
            std::ofstream(tmp.path / "bestand") << "x";
            folder = tmp.path / "bestand" / "ETT";
        }
        if (fault == Fault::ReadOnlyFolder)
            fs::permissions(tmp.path / "ETT", fs::perms::owner_read | fs::perms::owner_exec);
        rlimit old {};
        getrlimit(RLIMIT_FSIZE, &old);
        if (fault == Fault::FullDisk) {
            rlimit small = old;
            small.rlim_cur = 100; // the project takes more
            setrlimit(RLIMIT_FSIZE, &small);
        }
        const CBackupSettings s = Settings(folder);
        for (int attempt = 0; attempt < 2; ++attempt) {
            doc.GetActiveSheet().PushUndo();
            ASSERT_TRUE(backup.AutoBackup(s));
            EXPECT_EQ(doc.changedSinceBackup, 0);
            writer.Wait(backup.Client());
            backup.Poll(s, false, true);
            EXPECT_EQ(doc.changedSinceBackup, 1) << "the next expiry tries again";
        }
        setrlimit(RLIMIT_FSIZE, &old);
        fs::permissions(tmp.path / "ETT", fs::perms::owner_all);
        EXPECT_EQ(Contents(tmp.path / "ETT"), before) << static_cast<int>(fault);
        ASSERT_EQ(ui.messages.size(), 1u) << static_cast<int>(fault);
        EXPECT_EQ(ui.messages[0].rfind("Reservekopie niet gemaakt.\n", 0), 0u) << ui.messages[0];
        EXPECT_EQ(ui.status[0].rfind("Reservekopie niet gemaakt: ", 0), 0u) << ui.status[0];

        // Once a copy succeeds, the next failure is told in a box again.
        if (fault != Fault::FolderCannotBeMade) {
            ASSERT_TRUE(backup.AutoBackup(s));
            writer.Wait(backup.Client());
            backup.Poll(s, false, true);
            EXPECT_EQ(ui.status[0], "Backup: " + (folder / "KAST BAK 02.ETT").string());
            EXPECT_EQ(doc.changedSinceBackup, 0);
        }
    }
}

TEST(Backup, OnlyAChangeIsCopiedAndTheCopyChangesNothing)
{
    CTempFolder tmp;
    const std::string path = SavedProject(tmp.path, "Kast.ETT");
    const CBackupSettings s = Settings(tmp.path / "ETT");
    CScriptedUi ui;
    CScriptedClock clock;
    CBackupWriter writer;
    CDovereduDoc doc;
    CProjectBackup backup(doc, ui, clock, 2, writer);

    // Opened and left alone: no copy.
    ASSERT_FALSE(doc.Open(path));
    EXPECT_FALSE(backup.AutoBackup(s));
    // Saved and left alone: no copy.
    ASSERT_FALSE(doc.Save(path));
    EXPECT_FALSE(backup.AutoBackup(s));

    // One edit: one copy, and the project is as modified as it was.
    doc.RecordUndoStep();
    const CSheet& sheet = doc.GetActiveSheet();
    const int position = sheet.undoPosition;
    const int valid = sheet.undoValidCount;
    EXPECT_TRUE(backup.AutoBackup(s));
    EXPECT_FALSE(backup.AutoBackup(s));
    writer.Wait(backup.Client());
    backup.Poll(s, false, true);
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(sheet.undoPosition, position);
    EXPECT_EQ(sheet.undoValidCount, valid);
    EXPECT_EQ(doc.DecideClose(), CDovereduDoc::CloseQuestion::SaveToPath);
    EXPECT_EQ(Contents(tmp.path / "ETT").size(), 1u);
    EXPECT_TRUE(ui.messages.empty());

    // Switched off: nothing.
    doc.RecordUndoStep();
    CBackupSettings off = s;
    off.on = false;
    EXPECT_FALSE(backup.AutoBackup(off));
}

TEST(Backup, AFolderSettingOfAnotherSystemFallsBackWithOneNotice)
{
    CTempFolder tmp;
    CScriptedUi ui;
    CScriptedClock clock;
    CBackupWriter writer;
    CDovereduDoc one;
    CDovereduDoc two;
    one.AddDefaultSheet();
    two.AddDefaultSheet();
    one.title = two.title = "Zavoveze1";
    CProjectBackup first(one, ui, clock, 2, writer);
    CProjectBackup second(two, ui, clock, 2, writer);
    second.created = first.created;
    CBackupSettings s;
    s.folder = "C:\\TEMP\\ETT";
    s.defaultFolder = (tmp.path / "ETT").string();
    for (CProjectBackup* backup : {&first, &second, &first}) {
        (backup == &first ? one : two).RecordUndoStep();
        ASSERT_TRUE(backup->AutoBackup(s));
        writer.Wait(backup->Client());
        backup->Poll(s, false, true);
    }
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("C:\\TEMP\\ETT"), std::string::npos);
    // Two projects never saved under one title: their copies are written
    // one after the other.
    EXPECT_EQ(Contents(tmp.path / "ETT").size(), 2u);
}

TEST(Backup, AMessageWaitsUntilTheViewIsIdle)
{
    CTempFolder tmp;
    std::ofstream(tmp.path / "bestand") << "x";
    const CBackupSettings s = Settings(tmp.path / "bestand" / "ETT");
    CScriptedUi ui;
    CScriptedClock clock;
    CBackupWriter writer;
    CDovereduDoc doc;
    doc.AddDefaultSheet();
    CProjectBackup backup(doc, ui, clock, 2, writer);
    ASSERT_TRUE(backup.AutoBackup(s));
    writer.Wait(backup.Client());
    backup.Poll(s, true, false); // dragging
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(ui.status[0].empty());
    backup.Poll(s, false, true);
    EXPECT_EQ(ui.messages.size(), 1u);
}

namespace {

// A clock whose timers fire as time goes by, in steps of 100 ms; the
// project is changed at every step.
struct CRunningClock : CClock {
    uint32_t now = 0;
    std::map<int, std::pair<int, uint32_t>> timers; // id -> period, next expiry

    uint32_t Tick() const override { return now; }
    void StartTimer(int id, int ms) override { timers[id] = {ms, now + static_cast<uint32_t>(ms)}; }
    void StopTimer(int id) override { timers.erase(id); }
};

} // namespace

TEST(Backup, TheTimerCountsFocusedTime)
{
    // Events: I focus in, O focus out, P focus out to a popup, C capture,
    // R release, and a number of seconds passing. -> copies written.
    const struct {
        const char* what;
        int interval;
        std::vector<std::string> events;
        int copies;
    } cases[] = {
        {"a minute of focus", 1, {"I", "60"}, 1},
        {"not yet", 1, {"I", "59"}, 0},
        {"focus in pieces adds up", 1, {"I", "50", "O", "100", "I", "10"}, 1},
        {"switching windows every 50 s", 1,
            {"I", "50", "O", "5", "I", "50", "O", "5", "I", "50", "O", "5"}, 2},
        {"time without focus does not count", 1, {"I", "30", "O", "3600", "I", "29"}, 0},
        {"a popup keeps the count", 1, {"I", "30", "P", "30"}, 1},
        {"back from a popup", 1, {"I", "30", "P", "20", "I", "10"}, 1},
        {"every minute", 1, {"I", "180"}, 3},
        {"interval 0 is a second", 0, {"I", "5"}, 5},
        {"a capture holds the copy back", 1, {"I", "C", "90"}, 0},
        {"until the release", 1, {"I", "C", "90", "R", "1"}, 1},
    };
    for (const auto& c : cases) {
        CTempFolder tmp;
        CScriptedUi ui;
        CRunningClock clock;
        CBackupWriter writer;
        CDovereduDoc doc;
        doc.AddDefaultSheet();
        CProjectBackup backup(doc, ui, clock, 2, writer);
        CBackupSettings s = Settings(tmp.path, 10);
        s.intervalMinutes = c.interval;
        bool captured = false;
        int copies = 0;
        const auto counted = [&] {
            if (doc.changedSinceBackup == 0)
                ++copies;
        };
        for (const std::string& e : c.events) {
            if (e == "I")
                backup.FocusIn(s);
            else if (e == "O" || e == "P")
                backup.FocusOut(e == "P");
            else if (e == "C")
                captured = true;
            else if (e == "R")
                captured = false;
            if (e == "I" || e == "O" || e == "P" || e == "C" || e == "R")
                continue;
            for (int step = 0; step < std::stoi(e) * 10; ++step) {
                clock.now += 100;
                doc.MarkChanged();
                const auto timer = clock.timers.find(2);
                if (timer != clock.timers.end() && timer->second.second <= clock.now) {
                    backup.Expired(s, captured);
                    counted();
                    doc.MarkChanged();
                }
                // The work timer: a copy held back goes once the pointer is free.
                if (step % 4 == 0) {
                    backup.Poll(s, captured, !captured);
                    counted();
                }
            }
        }
        EXPECT_EQ(copies, c.copies) << c.what;
    }
}

TEST(Backup, ACopyIsOfferedOnlyWhenNewerAndOther)
{
    CTempFolder tmp;
    const std::string path = SavedProject(tmp.path, "Kast.ETT");
    const fs::path folder = tmp.path / "ETT";
    const CBackupPlace place {folder.string(), "KAST"};
    const auto fileTime = fs::last_write_time(path);
    const fs::path copy = folder / "KAST BAK 01.ETT";
    // (bytes of the copy, seconds after the file) -> offered
    const struct {
        bool same;
        int seconds;
        bool offered;
    } cases[] = {{false, 60, true}, {true, 60, false}, {false, -60, false}};
    EXPECT_FALSE(NewerCopyOf(path, place)); // no copies at all
    for (const auto& c : cases) {
        Put(folder, {{copy.filename().string(), "other"}});
        if (c.same)
            fs::copy_file(path, copy, fs::copy_options::overwrite_existing);
        fs::last_write_time(copy, fileTime + std::chrono::seconds(c.seconds));
        EXPECT_EQ(NewerCopyOf(path, place).has_value(), c.offered) << c.same << c.seconds;
    }
}

TEST(Backup, PicturesMissingBesideACopyComeFromBesideTheProject)
{
    CTempFolder tmp;
    CDovereduDoc doc;
    doc.AddDefaultSheet();
    auto pict = std::make_unique<CPict>();
    pict->fileName = "C:\\Oud\\foto.png";
    doc.GetActiveSheet().pictures->pictures.push_back(std::move(pict));
    const fs::path copy = tmp.path / "ETT" / "KAST BAK 01.ETT";
    fs::create_directories(copy.parent_path());
    ASSERT_FALSE(doc.Save(copy.string()));
    Put(tmp.path / "Afbeeldingen", {{"foto.png", "png"}});
    // (project replaced) -> where the picture is looked for
    const struct {
        const char* replaced;
        fs::path expected;
    } cases[] = {
        {"Kast.ETT", tmp.path / "Afbeeldingen" / "foto.png"},
        {"Ander.ETT", copy.parent_path() / "Afbeeldingen" / "foto.png"},
    };
    for (const auto& c : cases) {
        CDovereduDoc restored;
        ASSERT_FALSE(restored.Open(copy.string()));
        FindPicturesBeside(restored, (tmp.path / c.replaced).string());
        EXPECT_EQ(restored.GetActiveSheet().pictures->At(0).fileName, c.expected.string())
            << c.replaced;
    }
}
