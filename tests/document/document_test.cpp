#include "document/document.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "model/archive.h"
#include "model/file_io.h"
#include "support/bytes.h"
#include "support/temp_folder.h"

namespace {

// A sheet body as the oldest versions wrote it (schema 805: layer names and
// visibility in place of the layer array, no grids).
void WriteOldSheetBody(CArchive& ar, const char* name, int records)
{
    ar.WriteInt(805);
    ar.WriteString(name);
    ar.WriteString("");
    for (int i = 0; i < 8; ++i)
        ar.WriteInt(200);
    for (int i = 0; i < 16; ++i) {
        ar.WriteString("");
        ar.WriteInt(1);
    }
    for (int i = 0; i < 48; ++i)
        ar.WriteInt(0);
    ar.WriteInt(records + 1);
    CRecordVector list(records + 10);
    for (int i = 1; i <= records; ++i)
        list[i] = CETREC::Make(1000 * i, 500, 2, i == 1 ? 0 : 1);
    StoreRecords(ar, list);
    ar.WriteCount(0); // texts
}

std::vector<uint8_t> HandMadeProject(int version, int sheetCount, int active = 1)
{
    CArchive ar("p.ETT");
    if (version > 2000) {
        ar.WriteInt(version); // the oldest files start with the working time
        for (const char* t : {"Groep", "Naam", "Beheerder", "Regel 1\r\nRegel 2"})
            ar.WriteString(t);
        ar.WriteInt(sheetCount);
        for (int i = 0; i < sheetCount; ++i)
            WriteOldSheetBody(ar, i == 0 ? "Een" : "Twee", i + 2);
        return ar.TakeBytes();
    }
    ar.WriteInt(version);
    for (const char* t : {"Groep", "Naam", "Beheerder", "Regel 1\r\nRegel 2"})
        ar.WriteString(t);
    ar.WriteInt(3725000);
    ar.WriteCount(static_cast<uint32_t>(sheetCount));
    // The archive knows objects by address: they live until it is done.
    std::vector<std::unique_ptr<CSheet>> sheets;
    for (int i = 0; i < sheetCount; ++i) {
        sheets.push_back(std::make_unique<CSheet>(0, i == 0 ? "Een" : "Twee", ""));
        sheets.back()->AddFrame(0, 0, 400000, 270000);
        ar.WriteObject(sheets.back().get());
    }
    if (version == 900)
        ar.WriteInt(active);
    return ar.TakeBytes();
}

std::string Write(
    const CTempFolder& tmp, const std::vector<uint8_t>& bytes, const char* name = "p.ETT")
{
    const std::string path = (tmp.path / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
    return path;
}

} // namespace

TEST(Document, OpensEveryLayout)
{
    CTempFolder tmp;
    // (version, active sheet expected, working time expected)
    const struct {
        int version, active, time;
    } cases[] = {
        {900, 1, 3725000},
        {820, 0, 3725000},
        {811, 0, 3725000},
        {2001, 0, 2001},
        {90000, 0, 90000},
    };
    for (const auto& c : cases) {
        CDovereduDoc doc;
        const std::string path = Write(tmp, HandMadeProject(c.version, 2));
        const auto error = doc.Open(path);
        ASSERT_FALSE(error) << c.version << " " << *error;
        EXPECT_EQ(doc.projectGroup, "Groep");
        EXPECT_EQ(doc.projectName, "Naam");
        EXPECT_EQ(doc.projectManager, "Beheerder");
        EXPECT_EQ(doc.notes, "Regel 1\r\nRegel 2");
        EXPECT_EQ(doc.workingTime, c.time) << c.version;
        // The oldest layout has no version number: its first word is the time.
        if (c.version > 2000)
            EXPECT_EQ(doc.fileVersion, std::nullopt) << c.version;
        else
            EXPECT_EQ(doc.fileVersion, c.version);
        ASSERT_EQ(doc.sheets.size(), 2u);
        EXPECT_EQ(doc.activeSheet, c.active) << c.version;
        EXPECT_EQ(doc.sheets[1]->sheetName, "Twee");
        EXPECT_EQ(doc.sheetList, (std::vector<std::string> {"1: Een", "2: Twee"}));
        EXPECT_EQ(doc.sheetListSelection, c.active);
        EXPECT_EQ(doc.layerList.size(), 15u);
        EXPECT_EQ(doc.layerList[2], "Laag 3");
        EXPECT_FALSE(doc.modified);
        EXPECT_EQ(doc.pathName, path);
    }
}

TEST(Document, UnknownVersionsAndDamageOpenNothing)
{
    CTempFolder tmp;
    for (int version : {2000, 901, 0, -1, 812}) {
        CDovereduDoc doc;
        auto error = doc.Open(Write(tmp, HandMadeProject(version, 1)));
        ASSERT_TRUE(error) << version;
        EXPECT_EQ(*error, "Failed to open document.");
        EXPECT_TRUE(doc.sheets.empty());
        EXPECT_EQ(doc.projectName, "Nieuw project");
    }
    // A file that cannot be opened at all: which one and why.
    CDovereduDoc doc;
    const std::string missing = (tmp.path / "missing.ETT").string();
    EXPECT_EQ(doc.Open(missing), "Cannot open " + missing + ": No such file or directory.");
    EXPECT_EQ(
        doc.Open(tmp.path.string()), "Cannot open " + tmp.path.string() + ": Is a directory.");
    EXPECT_EQ(doc.Open("/dev/zero"), "Cannot open /dev/zero: Not a regular file.");

    // Every cut of a valid file fails with the archive's message and keeps
    // nothing of what was read.
    const auto bytes = HandMadeProject(900, 2);
    for (size_t n = 4; n < bytes.size(); n += (n < 300 ? 1 : 97)) {
        const std::string path
            = Write(tmp, std::vector<uint8_t>(bytes.begin(), bytes.begin() + n), "cut.ETT");
        auto error = doc.Open(path);
        ASSERT_TRUE(error) << n;
        EXPECT_EQ(*error, "Attempted to access " + path + " past its end.") << n;
        EXPECT_TRUE(doc.sheets.empty());
    }
    // A wrong class name where the sheets stand.
    auto wrongClass = bytes;
    const std::string name = "CSheet";
    auto at = std::search(wrongClass.begin(), wrongClass.end(), name.begin(), name.end());
    ASSERT_NE(at, wrongClass.end());
    *(at + 1) = 'X';
    const std::string path = Write(tmp, wrongClass, "class.ETT");
    EXPECT_EQ(doc.Open(path), path + " contained an unexpected object.");
}

TEST(Document, ActiveSheetOutsideTheSheetsIsTheFirst)
{
    CTempFolder tmp;
    for (int active : {2, -1, 1000}) {
        CDovereduDoc doc;
        ASSERT_FALSE(doc.Open(Write(tmp, HandMadeProject(900, 2, active))));
        EXPECT_EQ(doc.activeSheet, 0) << active;
    }
}

TEST(Document, SavedAsVersion900ByteIdenticalFromTheSecondWrite)
{
    CTempFolder tmp;
    CDovereduDoc doc;
    ASSERT_FALSE(doc.Open(Write(tmp, HandMadeProject(811, 2))));
    doc.sheets[0]->Append(CETREC::Make(1, 2, 3, 1));
    doc.sheets[0]->PushUndo();
    const std::string a = (tmp.path / "a.ETT").string();
    ASSERT_FALSE(doc.Save(a));
    EXPECT_EQ(doc.sheets[0]->undoPosition, 0); // no undo steps after a save
    EXPECT_FALSE(doc.sheets[0]->CanUndo());

    const auto first = ReadFileBytes(a).value();
    EXPECT_EQ(Hex({first.begin(), first.begin() + 4}), "84 03 00 00");
    EXPECT_EQ(Hex({first.end() - 4, first.end()}), "00 00 00 00"); // the active sheet index

    CDovereduDoc again;
    ASSERT_FALSE(again.Open(a));
    const std::string b = (tmp.path / "b.ETT").string();
    ASSERT_FALSE(again.Save(b));
    CDovereduDoc third;
    ASSERT_FALSE(third.Open(b));
    const std::string c = (tmp.path / "c.ETT").string();
    ASSERT_FALSE(third.Save(c));
    EXPECT_EQ(ReadFileBytes(b).value(), ReadFileBytes(c).value());
    EXPECT_EQ(third.notes, "Regel 1\r\nRegel 2");
}

TEST(Document, ASheetStoredBeforeItsFrameResavesByteForByte)
{
    // A reset sheet stores a record count of 0: it reads back as 0 with an
    // array of 1000 records, and the file the program writes from it reads
    // and saves back byte for byte.
    CTempFolder tmp;
    CDovereduDoc doc;
    doc.AddSheet(0, "Leeg", "");
    doc.AddSheet(0, "Vol", "");
    doc.sheets[1]->AddFrame(0, 0, 400000, 270000);
    ASSERT_EQ(doc.sheets[0]->recordCount, 0);
    CDovereduDoc first;
    ASSERT_FALSE(first.Open(Write(tmp, doc.Store())));
    EXPECT_EQ(first.sheets[0]->recordCount, 0);
    EXPECT_EQ(first.sheets[0]->Length(), 1000);
    const auto written = first.Store();

    CDovereduDoc again;
    ASSERT_FALSE(again.Open(Write(tmp, written)));
    EXPECT_EQ(again.sheets[0]->recordCount, 0);
    EXPECT_EQ(again.Store(), written);
}

TEST(Document, AFailedSaveLeavesTheOldFile)
{
    CTempFolder tmp;
    CDovereduDoc doc;
    const std::string path = Write(tmp, HandMadeProject(900, 2));
    ASSERT_FALSE(doc.Open(path));
    const auto before = ReadFileBytes(path).value();
    doc.projectName = "Anders";
    doc.modified = true;

    // A full device: writes beyond a size limit fail.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &small);
    auto error = doc.Save(path);
    setrlimit(RLIMIT_FSIZE, &old);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->rfind("Failed to save document.", 0), 0u);
    EXPECT_EQ(ReadFileBytes(path).value(), before);
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(tmp.path), {}), 1); // no temporary left

    // A folder that is not there.
    EXPECT_TRUE(doc.Save((tmp.path / "none" / "p.ETT").string()));
}

// The records of a sheet in use, sentinel included.
std::vector<CETREC> InUse(const CSheet& s)
{
    return {s.records.begin(), s.records.begin() + s.recordCount};
}

TEST(Document, TheFirstUndoStepOfAnOpenedProjectIsReadFromItsFile)
{
    CTempFolder tmp;
    const std::string path = Write(tmp, HandMadeProject(900, 2));
    CDovereduDoc doc;
    ASSERT_FALSE(doc.Open(path));
    CSheet& s = *doc.sheets[1];
    const std::vector<CETREC> loaded = InUse(s);
    ASSERT_EQ(s.undoList.size(), 1u);
    EXPECT_TRUE(s.undoList[0]->records.empty()); // nothing copied at the open
    EXPECT_FALSE(s.CanUndo());

    // Replaced by a rename, as a save replaces it: the open file keeps the
    // contents the sheet was read from.
    const std::string other = Write(tmp, HandMadeProject(811, 1), "other.ETT");
    std::filesystem::rename(other, path);
    s.Append(CETREC::Make(7, 8, 3, 1));
    s.PushUndo();
    const std::vector<CETREC> changed = InUse(s);
    ASSERT_EQ(s.Undo(), 1);
    EXPECT_EQ(InUse(s), loaded);
    ASSERT_EQ(s.Redo(), 1);
    EXPECT_EQ(InUse(s), changed);
    ASSERT_EQ(s.Undo(), 1);
    EXPECT_EQ(InUse(s), loaded);
}

TEST(Document, AProjectFileChangedInPlaceLosesOnlyTheFirstUndoStep)
{
    CTempFolder tmp;
    const std::string path = Write(tmp, HandMadeProject(900, 2));
    CDovereduDoc doc;
    ASSERT_FALSE(doc.Open(path));
    CSheet& s = *doc.sheets[0];
    s.Append(CETREC::Make(7, 8, 3, 1));
    s.PushUndo();
    const std::vector<CETREC> changed = InUse(s);
    // Another program writes over the file itself.
    Write(tmp, HandMadeProject(811, 1));
    EXPECT_EQ(s.Undo(), 0);
    EXPECT_EQ(InUse(s), changed);
    EXPECT_EQ(s.undoPosition, 1);
    EXPECT_EQ(s.Redo(), 0);
}

TEST(Document, ASaveKeepsTheUndoStepThatMatchesTheSheet)
{
    CTempFolder tmp;
    CDovereduDoc doc;
    ASSERT_FALSE(doc.Open(Write(tmp, HandMadeProject(900, 2))));
    CSheet& s = *doc.sheets[1];
    const std::vector<CETREC> loaded = InUse(s);

    // Unchanged: the step from the file stays, still in the file.
    ASSERT_FALSE(doc.Save((tmp.path / "a.ETT").string()));
    ASSERT_EQ(s.undoList.size(), 1u);
    EXPECT_TRUE(s.undoList[0]->records.empty());
    s.Append(CETREC::Make(7, 8, 3, 1));
    s.PushUndo();
    ASSERT_EQ(s.Undo(), 1);
    EXPECT_EQ(InUse(s), loaded);

    // Undone back to the file's state, then moved on the screen without a
    // step of its own: the save's step is the sheet as saved.
    s.Pan(5000, 0, true);
    const std::vector<CETREC> panned = InUse(s);
    const CPoint origin = s.origin;
    ASSERT_FALSE(doc.Save((tmp.path / "b.ETT").string()));
    EXPECT_EQ(s.undoList.size(), 1u);
    EXPECT_FALSE(s.CanRedo());
    s.Append(CETREC::Make(9, 9, 3, 1));
    s.PushUndo();
    ASSERT_EQ(s.Undo(), 1);
    EXPECT_EQ(InUse(s), panned);
    EXPECT_EQ(s.origin, origin);

    // A change since the last step is saved with a step of its own.
    s.Append(CETREC::Make(1, 1, 3, 1));
    s.pendingChange = 1;
    const std::vector<CETREC> moved = InUse(s);
    ASSERT_FALSE(doc.Save((tmp.path / "c.ETT").string()));
    s.Append(CETREC::Make(2, 2, 3, 1));
    s.PushUndo();
    ASSERT_EQ(s.Undo(), 1);
    EXPECT_EQ(InUse(s), moved);
}

TEST(Document, CloseQuestion)
{
    CTempFolder tmp;
    CDovereduDoc doc;
    EXPECT_EQ(doc.DecideClose(), CDovereduDoc::CloseQuestion::None); // no sheets

    ASSERT_FALSE(doc.Open(Write(tmp, HandMadeProject(900, 2))));
    EXPECT_EQ(doc.DecideClose(), CDovereduDoc::CloseQuestion::None);

    // A drawing change beyond the first snapshot.
    doc.sheets[1]->PushUndo();
    EXPECT_EQ(doc.DecideClose(), CDovereduDoc::CloseQuestion::SaveToPath);

    // A pending move counts, and its selection is cleared.
    ASSERT_FALSE(doc.Open(doc.pathName));
    doc.sheets[0]->pendingChange = 1;
    doc.sheets[0]->selectionFlags[1] = 1;
    doc.sheets[0]->selectedCount = 1;
    EXPECT_EQ(doc.DecideClose(), CDovereduDoc::CloseQuestion::SaveToPath);
    EXPECT_EQ(doc.sheets[0]->selectedCount, 0);

    // Mended: a sheet added or the project info edited is asked about too.
    ASSERT_FALSE(doc.Open(doc.pathName));
    doc.sheets.push_back(std::make_unique<CSheet>());
    doc.MarkChanged();
    EXPECT_EQ(doc.DecideClose(), CDovereduDoc::CloseQuestion::SaveToPath);

    CDovereduDoc fresh;
    fresh.sheets.push_back(std::make_unique<CSheet>());
    fresh.RecordUndoStep();
    EXPECT_EQ(fresh.DecideClose(), CDovereduDoc::CloseQuestion::SaveNew);
}

TEST(Document, WorkingTime)
{
    // (milliseconds, shown)
    const struct {
        int32_t ms;
        const char* shown;
    } cases[] = {
        {3725000, "T:01:02"},
        {0, "T:00:00"},
        {59999, "T:00:00"},
        {36000000, "T:10:00"},
        {-5, "T:00:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CDovereduDoc::FormatWorkingTime(c.ms), c.shown);

    CDovereduDoc doc;
    doc.startTick = 0xFFFFFF00u;
    doc.UpdateWorkingTime(0x100); // the tick counter wrapped
    EXPECT_EQ(doc.workingTime, 0x200);
    doc.workingTime = INT32_MAX - 10;
    doc.UpdateWorkingTime(0x1000);
    EXPECT_EQ(doc.workingTime, INT32_MAX);
}

TEST(Document, ViewRectReachesEverySheet)
{
    CDovereduDoc doc;
    doc.sheets.push_back(std::make_unique<CSheet>());
    doc.sheets.push_back(std::make_unique<CSheet>());
    doc.SetViewRect(0, 0, 800, 600);
    EXPECT_EQ(doc.sheets[1]->clientRect, (CRect {0, 0, 800, 600}));
    doc.SetActiveSheet(1);
    EXPECT_EQ(doc.sheetListSelection, 1);
    int applied = 0;
    doc.applyConfiguredGrids = [&](CGridArr&) { ++applied; };
    doc.RefreshSheetLists(true);
    EXPECT_EQ(applied, 2);
    doc.RefreshSheetLists(false);
    EXPECT_TRUE(doc.sheetList.empty());
}
