#include "app/config_file.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <sstream>

#include "app/program_folder.h"
#include "app/settings.h"
#include "model/file_io.h"
#include "model/model_defaults.h"
#include "model/text_encoding.h"
#include "support/bytes.h"
#include "support/temp_folder.h"

namespace {

CDefaultPaths TestPaths()
{
    return {"/p/Projecten", "/p/Sjablonen", "/p/Symbolen", "/p/Afbeeldingen", "/p/Vorelpf1.dat",
        "/data/ETT"};
}

// Every setting away from its default.
CSettings Custom()
{
    CSettings s(TestPaths());
    s.fitToPaper = false;
    s.autoRotate = false;
    s.printerScale = 2.5;
    s.grids.grids[0] = CGrid {7500, 8000, 2500, 2000, 1, 0, 1};
    s.grids.grids[2] = CGrid {1, 2, 3, 4, 0, 1, 2};
    s.grids.activeGrid = 2;
    s.projectsFolder = "C:\\Tekeningen\\Ørsted €";
    s.templatesFolder = "/home/jan/sjablonen";
    s.symbolsFolder = "S";
    s.strokeFontFile = "/opt/f.dat";
    s.strokeFontSize = 70;
    s.fonts[3].SetFace("Courier New");
    s.fonts[3].height = -13;
    s.fonts[3].weight = 700;
    s.fonts[3].italic = 1;
    s.fonts[3].charSet = 0xEE;
    s.fonts[3].pitchAndFamily = 0x31;
    s.fonts[7].escapement = 900;
    s.maxReserveCopies = 5;
    s.reserveInterval = 7;
    s.autoReserve = false;
    s.loadLastProject = false;
    s.undoLevels = 3;
    s.gridToAllSheets = false;
    s.showToolBar = false;
    s.showToolSet = false;
    s.showStatusBar = false;
    s.showScrollBars = false;
    s.blackAndWhite = true;
    s.picturesFolder = "/foto's";
    s.backupFolder = "/backup";
    s.longCursor = true;
    return s;
}

ConfigStatus Read(const std::vector<uint8_t>& bytes, CSettings& s)
{
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    return ReadConfig(in, s);
}

void PutString(std::vector<uint8_t>& out, const std::string& s)
{
    const uint32_t n = static_cast<uint32_t>(s.size());
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(n >> (8 * i)));
    out.insert(out.end(), s.begin(), s.end());
}

// The file of `settings` under another revision text, holding the items up
// to `lastItem` only.
std::vector<uint8_t> FileOfRevision(
    const std::string& revision, int lastItem, const CSettings& settings)
{
    const std::vector<uint8_t> full = FormatConfig(settings);
    // Byte sizes of items 2 to 25, the strings with their count.
    const auto str = [](const std::string& utf8) {
        std::vector<uint8_t> b;
        PutString(b, Utf8ToCp1252(utf8));
        return b.size();
    };
    const size_t sizes[]
        = {4, 4, 8, 104, str(settings.projectsFolder), str(settings.templatesFolder),
            str(settings.symbolsFolder), str(settings.strokeFontFile), 4, 480, 4, 4, 4, 4, 4, 4, 4,
            4, 4, 4, 4, str(settings.picturesFolder), str(settings.backupFolder), 4};
    size_t end = 4 + 15;
    for (int item = 2; item <= lastItem; ++item)
        end += sizes[item - 2];
    std::vector<uint8_t> out;
    PutString(out, revision);
    out.insert(out.end(), full.begin() + 19, full.begin() + end);
    return out;
}

class CEnv {
public:
    CEnv(const char* name, const char* value)
        : name(name)
    {
        if (const char* old = std::getenv(name))
            saved = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~CEnv()
    {
        if (saved)
            setenv(name, saved->c_str(), 1);
        else
            unsetenv(name);
    }

private:
    const char* name;
    std::optional<std::string> saved;
};

} // namespace

TEST(Settings, DefaultsAndWhatTheModelGets)
{
    CSettings s(TestPaths());
    EXPECT_TRUE(s.fitToPaper && s.autoRotate && s.autoReserve && s.loadLastProject);
    EXPECT_TRUE(
        s.gridToAllSheets && s.showToolBar && s.showToolSet && s.showStatusBar && s.showScrollBars);
    EXPECT_FALSE(s.blackAndWhite || s.longCursor);
    EXPECT_EQ(s.printerScale, 1.0);
    EXPECT_EQ(s.strokeFontSize, 50);
    EXPECT_EQ(s.maxReserveCopies, 2);
    EXPECT_EQ(s.reserveInterval, 1);
    EXPECT_EQ(s.undoLevels, 10);
    EXPECT_EQ(s.grids, CGridArr());
    EXPECT_EQ(s.projectsFolder, "/p/Projecten");
    EXPECT_EQ(s.templatesFolder, "/p/Sjablonen");
    EXPECT_EQ(s.symbolsFolder, "/p/Symbolen");
    EXPECT_EQ(s.picturesFolder, "/p/Afbeeldingen");
    EXPECT_EQ(s.strokeFontFile, "/p/Vorelpf1.dat");
    EXPECT_EQ(s.backupFolder, "/data/ETT");
    const std::vector<uint8_t> arial
        = Bytes({40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x90, 1, 0, 0, // words
            0, 0, 0, 0, 0, 0, 0, 0, // flags
            'A', 'r', 'i', 'a', 'l', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
            0, 0, 0, 0, 0, 0});
    for (const CLogFont& f : s.fonts) {
        const auto record = FontRecord(f);
        EXPECT_EQ(Hex({record.begin(), record.end()}), Hex(arial));
    }

    CSettings c = Custom();
    CModelDefaults model;
    c.ApplyTo(model);
    EXPECT_EQ(model.undoLimit, 3);
    EXPECT_EQ(model.grids, c.grids);
    EXPECT_EQ(model.strokeFontPath, "/opt/f.dat");
    EXPECT_EQ(model.strokeFontSize, 70);
    EXPECT_TRUE(model.blackAndWhitePrinting);
    EXPECT_EQ(model.fonts[0], CFontDesc());
    EXPECT_EQ(model.fonts[3], (CFontDesc {"Courier New", 13, 700, true, 0}));
    EXPECT_EQ(model.fonts[7].escapement, 900);
}

TEST(Settings, FoldersOfTheProgram)
{
    CTempFolder home;
    {
        CEnv env("RIDIZAV_HOME", home.path.c_str());
        const CDefaultPaths p = CDefaultPaths::ForProgram();
        EXPECT_EQ(p.projects, (home.path / "Projecten").string());
        EXPECT_EQ(p.templates, (home.path / "Sjablonen").string());
        EXPECT_EQ(p.symbols, (home.path / "Symbolen").string());
        EXPECT_EQ(p.pictures, (home.path / "Afbeeldingen").string());
        EXPECT_EQ(p.strokeFont, (home.path / "Vorelpf1.dat").string());
        EXPECT_EQ(p.backup, (home.path / "ETT").string());
        EXPECT_EQ(ConfigFilePath(), home.path / "Vorel Ridizav.cfg");
    }
    CEnv noHome("RIDIZAV_HOME", nullptr);
    SetExecutableFolder("/opt/ridizav/bin");
    EXPECT_EQ(ProgramFolder(), std::filesystem::path("/opt/ridizav/bin"));
    {
        CEnv xdg("XDG_DATA_HOME", "/x/data");
        EXPECT_EQ(DefaultBackupFolder(), std::filesystem::path("/x/data/Vorel Ridizav/ETT"));
    }
    CEnv xdg("XDG_DATA_HOME", nullptr);
    CEnv userHome("HOME", "/home/jan");
    EXPECT_EQ(
        DefaultBackupFolder(), std::filesystem::path("/home/jan/.local/share/Vorel Ridizav/ETT"));
    SetExecutableFolder({});
}

TEST(Settings, GridsReachTheSheetOnlyWhenAppliedToAll)
{
    CSettings s = Custom();
    CGridArr sheet;
    sheet.activeGrid = 1;
    s.gridToAllSheets = false;
    ApplyGridsToSheet(s, sheet);
    EXPECT_EQ(sheet.grids, CGridArr().grids);
    s.gridToAllSheets = true;
    ApplyGridsToSheet(s, sheet);
    EXPECT_EQ(sheet.grids, s.grids.grids);
    EXPECT_EQ(sheet.activeGrid, 1);
}

TEST(Settings, FaceNameIsAtMostThirtyTwoBytes)
{
    CLogFont f;
    f.faceName.fill('x');
    EXPECT_EQ(f.Face(), std::string(32, 'x'));
    f.SetFace(std::string(40, 'y'));
    EXPECT_EQ(f.Face(), std::string(31, 'y'));
    EXPECT_EQ(f.faceName[31], '\0');
}

TEST(ConfigFile, LayoutOfTheNewestRevision)
{
    CSettings s = Custom();
    const std::vector<uint8_t> b = FormatConfig(s);
    const std::vector<uint8_t> head(b.begin(), b.begin() + 35);
    EXPECT_EQ(Hex(head),
        Hex(Bytes({15, 0, 0, 0, 'V', 'o', 'r', 'e', 'l', ' ', 'R', 'e', 'v', ' ', '1', '0', '.',
            '0', '1', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0x40})));

    // The grid image: grid g at 8 + 32 g, activeGrid at 100.
    const auto grid = GridImage(s.grids);
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 35, b.begin() + 139),
        std::vector<uint8_t>(grid.begin(), grid.end()));
    const std::vector<uint8_t> g0(grid.begin() + 8, grid.begin() + 36);
    EXPECT_EQ(Hex(g0),
        Hex(Bytes({0x4c, 0x1d, 0, 0, 0x40, 0x1f, 0, 0, 0xc4, 9, 0, 0, 0xd0, 7, 0, 0, 1, 0, 0, 0, 0,
            0, 0, 0, 1, 0, 0, 0})));
    EXPECT_EQ(grid[100], 2);
    EXPECT_EQ(grid[72], 1); // grid 2 spacingX
    CGridArr back = GridsFromImage(grid);
    EXPECT_EQ(back, s.grids);

    // The projects folder in Windows-1252 follows.
    const std::vector<uint8_t> projects(b.begin() + 139, b.begin() + 139 + 4 + 22);
    EXPECT_EQ(Hex(projects),
        Hex(Bytes({22, 0, 0, 0, 'C', ':', '\\', 'T', 'e', 'k', 'e', 'n', 'i', 'n', 'g', 'e', 'n',
            '\\', 0xD8, 'r', 's', 't', 'e', 'd', ' ', 0x80})));
}

TEST(ConfigFile, FontRecordByteForByte)
{
    std::array<uint8_t, 60> record;
    for (size_t i = 0; i < record.size(); ++i)
        record[i] = static_cast<uint8_t>(i * 7 + 3);
    record[28 + 6] = 0; // a face name of six bytes, with bytes after its end
    const CLogFont f = FontFromRecord(record);
    EXPECT_EQ(f.height, 0x18110a03);
    EXPECT_EQ(f.weight, static_cast<int32_t>(0x88817a73u));
    EXPECT_EQ(f.italic, 143);
    EXPECT_EQ(f.pitchAndFamily, 192);
    EXPECT_EQ(f.Face().size(), 6u);
    EXPECT_EQ(FontRecord(f), record);
}

TEST(ConfigFile, SaveAndReadBackGivesTheSameSettingsAndTheSameFile)
{
    CTempFolder dir;
    const auto path = dir.path / kConfigFileName;
    const CSettings written = Custom();
    ASSERT_EQ(WriteConfigFile(path, written), std::nullopt);

    CSettings read(TestPaths());
    EXPECT_EQ(ReadConfigFile(path, read), ConfigStatus::Read);
    EXPECT_EQ(read, written);
    EXPECT_EQ(Hex(FormatConfig(read), 100000), Hex(*ReadFileBytes(path), 100000));

    // The folder names are stored in Windows-1252.
    const auto bytes = *ReadFileBytes(path);
    const std::string text = Utf8ToCp1252("Ørsted €");
    const std::vector<uint8_t> cp(text.begin(), text.end());
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), cp.begin(), cp.end()), bytes.end());
}

TEST(ConfigFile, EachRevisionSetsItsItemsAndLeavesTheRest)
{
    // (revision text, last item it holds)
    const struct {
        const char* revision;
        int last;
    } cases[] = {
        {"Vorel Rev 8.xx", 11},
        {"Vorel Rev 8.07", 14},
        {"Vorel Rev 8.08", 16},
        {"Vorel Rev 8.09", 21},
        {"Vorel Rev 9.95", 23},
        {"Vorel Rev 10.00", 24},
        {"Vorel Rev 10.01", 25},
        {"Vorel Rev 11.00", 25},
    };
    const CSettings custom = Custom();
    const CSettings def(TestPaths());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.revision);
        CSettings s(TestPaths());
        EXPECT_EQ(Read(FileOfRevision(c.revision, c.last, custom), s), ConfigStatus::Read);
        const auto pick = [&](int item, const auto& field) {
            return c.last >= item ? field(custom) : field(def);
        };
        // Items 2 to 11 are in every revision.
        EXPECT_EQ(s.fitToPaper, custom.fitToPaper);
        EXPECT_EQ(s.printerScale, custom.printerScale);
        EXPECT_EQ(s.grids, custom.grids);
        EXPECT_EQ(s.strokeFontFile, custom.strokeFontFile);
        EXPECT_EQ(s.strokeFontSize, custom.strokeFontSize);
        EXPECT_EQ(s.fonts, custom.fonts);
        EXPECT_EQ(s.maxReserveCopies, pick(12, [](auto& x) { return x.maxReserveCopies; }));
        EXPECT_EQ(s.autoReserve, pick(14, [](auto& x) { return x.autoReserve; }));
        EXPECT_EQ(s.loadLastProject, pick(15, [](auto& x) { return x.loadLastProject; }));
        EXPECT_EQ(s.undoLevels, pick(16, [](auto& x) { return x.undoLevels; }));
        EXPECT_EQ(s.gridToAllSheets, pick(17, [](auto& x) { return x.gridToAllSheets; }));
        EXPECT_EQ(s.showScrollBars, pick(21, [](auto& x) { return x.showScrollBars; }));
        EXPECT_EQ(s.blackAndWhite, pick(22, [](auto& x) { return x.blackAndWhite; }));
        EXPECT_EQ(s.picturesFolder, pick(23, [](auto& x) { return x.picturesFolder; }));
        // An empty backup folder becomes the default.
        EXPECT_EQ(s.backupFolder, c.last >= 24 ? custom.backupFolder : "/data/ETT");
        EXPECT_EQ(s.longCursor, pick(25, [](auto& x) { return x.longCursor; }));
    }

    // The revision text is compared exactly: a lower-case one counts as the
    // newest, so an 8.xx body is too short for it.
    CSettings s(TestPaths());
    EXPECT_EQ(Read(FileOfRevision("vorel rev 8.xx", 11, custom), s), ConfigStatus::ShortFile);
    EXPECT_EQ(s.fonts, custom.fonts);
    EXPECT_EQ(s.maxReserveCopies, 2);
}

TEST(ConfigFile, AShortFileKeepsTheDefaultsOfWhatIsMissing)
{
    const CSettings custom = Custom();
    const std::vector<uint8_t> full = FormatConfig(custom);
    // (bytes kept, what the cut loses)
    const struct {
        size_t keep;
        const char* what;
    } cases[] = {
        {0, "everything"},
        {17, "inside the revision text"},
        {100, "inside the grid image"},
        {141, "inside a string's count"},
        {150, "inside the projects folder"},
        {full.size() - 3, "inside the last item"},
    };
    const CSettings def(TestPaths());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CSettings s(TestPaths());
        EXPECT_EQ(Read({full.begin(), full.begin() + c.keep}, s), ConfigStatus::ShortFile);
        EXPECT_EQ(s.fitToPaper, c.keep > 19 ? custom.fitToPaper : def.fitToPaper);
        EXPECT_EQ(s.grids, c.keep >= 139 ? custom.grids : def.grids);
        EXPECT_EQ(s.projectsFolder, c.keep >= 165 ? custom.projectsFolder : def.projectsFolder);
        EXPECT_EQ(s.longCursor, def.longCursor);
        EXPECT_EQ(s.backupFolder, c.keep == full.size() - 3 ? custom.backupFolder : "/data/ETT");
    }

    // A string count far past the end: nothing is allocated for it, and the
    // string keeps its default.
    std::vector<uint8_t> huge(full.begin(), full.begin() + 139);
    huge.insert(huge.end(), {0xff, 0xff, 0xff, 0x7f, 'a', 'b'});
    CSettings s(TestPaths());
    EXPECT_EQ(Read(huge, s), ConfigStatus::ShortFile);
    EXPECT_EQ(s.projectsFolder, "/p/Projecten");
}

TEST(ConfigFile, AnOverlongStringIsCutButConsumedWhole)
{
    CSettings custom = Custom();
    custom.projectsFolder = std::string(1500, 'a');
    custom.symbolsFolder = std::string("Sym\0bolen", 9);
    CSettings s(TestPaths());
    EXPECT_EQ(Read(FormatConfig(custom), s), ConfigStatus::Read);
    EXPECT_EQ(s.projectsFolder, std::string(999, 'a'));
    EXPECT_EQ(s.templatesFolder, custom.templatesFolder);
    EXPECT_EQ(s.symbolsFolder, "Sym");
    EXPECT_EQ(s.longCursor, custom.longCursor);
}

TEST(ConfigFile, ValuesAreBroughtIntoTheirRanges)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // (undo, copies, interval, scale, stroke size, active grid) and the same in range
    const struct {
        int undo, copies, interval;
        double scale;
        int size, active;
    } cases[][2] = {
        {{0, -1, -5, 0.001, 0, -1}, {1, 0, 0, 0.01, 1, 0}},
        {{21, 11, 11, 100.5, 10002, 3}, {20, 10, 10, 100.0, 10001, 0}},
        {{20, 0, 10, nan, 1, 2}, {20, 0, 10, 1.0, 1, 2}},
    };
    for (const auto& c : cases) {
        CSettings in = Custom();
        in.undoLevels = c[0].undo;
        in.maxReserveCopies = c[0].copies;
        in.reserveInterval = c[0].interval;
        in.printerScale = c[0].scale;
        in.strokeFontSize = c[0].size;
        in.grids.activeGrid = c[0].active;
        in.grids.grids[1].display = 9;
        in.grids.grids[1].lastDisplay = 0;
        in.backupFolder = "";
        CSettings s(TestPaths());
        ASSERT_EQ(Read(FormatConfig(in), s), ConfigStatus::Read);
        EXPECT_EQ(s.undoLevels, c[1].undo);
        EXPECT_EQ(s.maxReserveCopies, c[1].copies);
        EXPECT_EQ(s.reserveInterval, c[1].interval);
        EXPECT_EQ(s.printerScale, c[1].scale);
        EXPECT_EQ(s.strokeFontSize, c[1].size);
        EXPECT_EQ(s.grids.activeGrid, c[1].active);
        EXPECT_EQ(s.grids.grids[1].display, 2);
        EXPECT_EQ(s.grids.grids[1].lastDisplay, 2);
        EXPECT_EQ(s.backupFolder, "/data/ETT");
    }
}

TEST(ConfigFile, MissingUnreadableAndUnwritable)
{
    CTempFolder dir;
    const CSettings before = Custom();

    CSettings s = before;
    EXPECT_EQ(ReadConfigFile(dir.path / kConfigFileName, s), ConfigStatus::Missing);
    EXPECT_EQ(s, before);
    EXPECT_FALSE(std::filesystem::exists(dir.path / kConfigFileName)); // reading writes nothing

    std::filesystem::create_directory(dir.path / kConfigFileName);
    EXPECT_EQ(ReadConfigFile(dir.path / kConfigFileName, s), ConfigStatus::Unreadable);
    EXPECT_EQ(s, before);

    // A folder that does not exist cannot take the file; an old file stays.
    EXPECT_NE(WriteConfigFile(dir.path / "nope" / kConfigFileName, s), std::nullopt);
    EXPECT_NE(WriteConfigFile(dir.path / kConfigFileName, s), std::nullopt);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path / kConfigFileName));
}

TEST(Settings, PrinterScaleShownWithThreeDecimals)
{
    EXPECT_EQ(ScaleText(1.0), "1.000");
    EXPECT_EQ(ScaleText(0.0125), "0.013");
}
