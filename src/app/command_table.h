#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

// Every command of the program by its number. Menus, tool bars, context
// menus and accelerators all reach their handlers through these ids.
namespace Cmd {
// Bestand
constexpr int FileNew = 57600;
constexpr int FileOpen = 57601;
constexpr int FileClose = 57602;
constexpr int FileSave = 57603;
constexpr int FileSaveAs = 57604;
constexpr int PrintSetup = 57606;
constexpr int SendMail = 57612;
constexpr int AppExit = 57665;
constexpr int OpenBackup = 32908;
constexpr int AddSheet = 32799;
// The project info dialog has no id of its own in the old menus; this one is ours.
constexpr int ProjectInfo = 32990;
constexpr int ImportDXF = 32782;
constexpr int ImportDosProject = 32796;
constexpr int ExportDXF = 32781;
constexpr int Print = 32906;
constexpr int PrintSheet = 32802;
constexpr int Configuration = 32803;
constexpr int SheetConfiguration = 32857;
constexpr int ImportDosLibrary = 32910;
// Bewerken
constexpr int Undo = 57643;
constexpr int Redo = 57644;
constexpr int Cut = 57635;
constexpr int Copy = 57634;
constexpr int Paste = 57637;
// "Plakken op cursor" has no id in the old menus; this one is ours.
constexpr int PasteAtCursor = 32991;
constexpr int SelectSegments = 32816;
constexpr int SelectLines = 32809;
constexpr int SelectObjects = 32805;
constexpr int SelectPictures = 32893;
constexpr int SelectWindowsTexts = 32897;
constexpr int SelectTool = 32787;
constexpr int SelectAll = 57642;
constexpr int InvertSelection = 32784;
constexpr int DeleteSelection = 32807;
constexpr int EditSelection = 32812;
constexpr int SheetOrder = 32788;
constexpr int RenameSheet = 1039;
constexpr int RotateSheet = 32786;
constexpr int RecomputeSize = 32785;
constexpr int DeleteSheet = 32783;
// Beeld
constexpr int LayerTable = 32875;
constexpr int PreviousSheet = 32877;
constexpr int NextSheet = 32876;
constexpr int GoToSheet = 32874;
constexpr int ZoomIn = 32888;
constexpr int ZoomOut = 32889;
constexpr int ZoomAll = 32887;
constexpr int ZoomWindow = 32890;
constexpr int Refresh = 32884;
constexpr int LongCursor = 32907;
constexpr int ViewToolBar = 59392;
constexpr int ViewToolSet = 32886;
constexpr int ViewStatusBar = 59393;
constexpr int ScrollBars = 32858;
constexpr int DrawGrid = 32880;
constexpr int PlaceGrid = 32881;
constexpr int TextGrid = 32882;
constexpr int RelativePoint = 32885;
constexpr int GridInForce = 32879;
constexpr int GridLines = 32883;
// Plaats: the tools
constexpr int ToolLines = 32837;
constexpr int ToolLines90 = 32838;
constexpr int ToolJunctions = 32836;
constexpr int ToolSymbols = 32841;
constexpr int ToolText = 32844;
constexpr int ToolRectangles = 32842;
constexpr int ToolEllipses = 32833;
constexpr int ToolFilledPolygon = 32840;
constexpr int ToolFilledPolygon90 = 32839;
constexpr int ToolFilledRectangle = 32843;
constexpr int ToolFilledEllipse = 32834;
constexpr int ToolWindowsText = 32835;
constexpr int ToolPictures = 32892;
// The fill patterns 1 to 7 of the tool set. The texts of patterns 6 and 7
// name the opposite slant of what is drawn: 6 draws rising "/" lines.
constexpr int FillSolid = 32777;
constexpr int FillCross = 32773;
constexpr int FillDiagonalCross = 32774;
constexpr int FillHorizontal = 32776;
constexpr int FillVertical = 32778;
constexpr int FillRising = 32772;
constexpr int FillFalling = 32775;
// By pattern number - 1.
constexpr std::array<int, 7> FillPatterns = {
    FillSolid, FillCross, FillDiagonalCross, FillHorizontal, FillVertical, FillRising, FillFalling};
// Kies
constexpr int ChoosePen = 32854;
constexpr int ChooseLayer = 32853;
constexpr int ChooseFont = 32852;
constexpr int GridDialog = 32898;
// Venster
constexpr int WindowCascade = 57650;
constexpr int WindowTileHorizontal = 57651;
constexpr int WindowTileVertical = 57652;
// Help
constexpr int HelpIndex = 57667;
constexpr int TipOfTheDay = 307;
constexpr int AutoUpdate = 32900;
constexpr int UpdateHistory = 32911;
constexpr int Website = 32913;
constexpr int RemoteHelp = 32914;
constexpr int About = 57664;
constexpr int Help = 57670;
constexpr int ContextHelp = 57669;
// The view's own commands: context menu and keys.
constexpr int EndSelection = 32808;
constexpr int PictureProperties = 32905;
constexpr int CopySelection = 32806;
constexpr int RotateSelection = 32814;
constexpr int MirrorX = 32810;
constexpr int MirrorY = 32811;
constexpr int SaveAsSymbol = 32815;
constexpr int SelectionLayer = 32817;
constexpr int Bold = 32859;
constexpr int Italic = 32866;
constexpr int EditText = 32789;
constexpr int EndLine = 32791;
constexpr int End = 32792;
constexpr int TextAdjust = 32846;
constexpr int TextMirror = 32849;
constexpr int TextRotate = 32851;
constexpr int TextSmaller = 32845;
constexpr int TextBigger = 32847;
constexpr int CentreOnCursor = 32780;
constexpr int TextPen = 32850;
constexpr int TextLayer = 32848;
constexpr int TypedTextLayer = 32867;
// The lists on the main tool bar.
constexpr int SheetList = 32856;
constexpr int LayerList = 32826;
constexpr int FontList = 32901;
constexpr int SizeList = 32904;
} // namespace Cmd

// A command's texts. The texts are UTF-8 and exact: a menu caption carries
// its key after a tab ("Zoom in\tI"); the prompt is what the status bar shows
// while the pointer rests on the command; the tool tip names it on a button
// and captions it in the view's context menu ("Inzoomen\tI").
struct CCommandInfo {
    int id = 0;
    std::string_view menuText; // empty: the command has no menu-bar entry
    std::string_view prompt;
    std::string_view toolTip;
    // The keys bound to the command in the whole main window, in the
    // portable form "Ctrl+Insert". The keys a caption shows after its tab
    // for the view are not here: the view reads them itself.
    std::array<std::string_view, 2> accelerators {};
    std::string_view icon; // name of the button image, empty without one
};

// Every command, each id once.
std::span<const CCommandInfo> AllCommands();

// The command with this id; nullptr for an unknown id.
const CCommandInfo* FindCommand(int id);

// The caption of the command in the view's context menu: the tool tip, or
// the prompt when the command has no tool tip.
std::string_view ContextCaption(const CCommandInfo& command);

// The text before the tab: a tool tip without its key.
std::string_view WithoutKey(std::string_view text);
