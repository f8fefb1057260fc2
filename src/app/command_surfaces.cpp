#include "app/command_surfaces.h"

#include "app/command_table.h"

namespace {

using K = CMenuEntry::Kind;
using T = CToolBarEntry::Kind;

constexpr CMenuEntry Item(int id, std::string_view caption = {})
{
    return {K::Command, id, caption, {}};
}
constexpr CMenuEntry kSeparator {K::Separator, 0, {}, {}};
constexpr CMenuEntry Submenu(std::string_view title, std::span<const CMenuEntry> items)
{
    return {K::Submenu, 0, title, items};
}
constexpr CMenuEntry Recent(std::string_view caption)
{
    return {K::RecentFiles, 0, caption, {}};
}

// Without a project.
constexpr CMenuEntry kFileBare[] = {
    Item(Cmd::FileNew),
    Item(Cmd::FileOpen),
    kSeparator,
    Item(Cmd::PrintSetup, "Printer Instellingen..."),
    Item(Cmd::Configuration),
    kSeparator,
    Item(Cmd::ImportDosLibrary),
    kSeparator,
    Recent("Recente bestanden"),
    kSeparator,
    Item(Cmd::AppExit),
};
constexpr CMenuEntry kHelpBare[] = {
    Item(Cmd::HelpIndex),
    kSeparator,
    Item(Cmd::TipOfTheDay),
    kSeparator,
    Item(Cmd::AutoUpdate),
    Item(Cmd::UpdateHistory),
    kSeparator,
    Item(Cmd::About),
};
constexpr CMenu kMenusBare[] = {{"Bestand", kFileBare}, {"Help", kHelpBare}};

// With a project open.
constexpr CMenuEntry kImportExport[] = {
    Item(Cmd::ImportDXF),
    Item(Cmd::ImportDosProject),
    kSeparator,
    Item(Cmd::ExportDXF),
};
constexpr CMenuEntry kFile[] = {
    Item(Cmd::FileNew),
    Item(Cmd::FileOpen),
    Item(Cmd::OpenBackup),
    Item(Cmd::FileClose),
    kSeparator,
    Item(Cmd::FileSave),
    Item(Cmd::FileSaveAs),
    Item(Cmd::ProjectInfo),
    kSeparator,
    Item(Cmd::AddSheet),
    kSeparator,
    Submenu("Import en Export", kImportExport),
    kSeparator,
    Item(Cmd::Print),
    Item(Cmd::PrintSetup),
    kSeparator,
    Item(Cmd::Configuration),
    Item(Cmd::SheetConfiguration),
    kSeparator,
    Item(Cmd::SendMail),
    kSeparator,
    Recent("Recent File"),
    kSeparator,
    Item(Cmd::AppExit),
};
constexpr CMenuEntry kSelectionCriteria[] = {
    Item(Cmd::SelectSegments),
    Item(Cmd::SelectLines),
    Item(Cmd::SelectObjects),
    kSeparator,
    Item(Cmd::SelectPictures),
    Item(Cmd::SelectWindowsTexts),
};
constexpr CMenuEntry kEdit[] = {
    Item(Cmd::Undo),
    Item(Cmd::Redo),
    kSeparator,
    Item(Cmd::Cut),
    Item(Cmd::Copy),
    Item(Cmd::Paste),
    Item(Cmd::PasteAtCursor),
    kSeparator,
    Submenu("Selectie criteria", kSelectionCriteria),
    Item(Cmd::SelectTool),
    Item(Cmd::SelectAll),
    Item(Cmd::InvertSelection),
    Item(Cmd::DeleteSelection),
    Item(Cmd::EditSelection),
    kSeparator,
    Item(Cmd::SheetOrder),
    Item(Cmd::RenameSheet),
    Item(Cmd::RotateSheet),
    Item(Cmd::RecomputeSize),
    Item(Cmd::DeleteSheet),
};
constexpr CMenuEntry kView[] = {
    Item(Cmd::LayerTable),
    Item(Cmd::PreviousSheet),
    Item(Cmd::NextSheet),
    Item(Cmd::GoToSheet),
    kSeparator,
    Item(Cmd::ZoomIn),
    Item(Cmd::ZoomOut),
    Item(Cmd::ZoomAll),
    Item(Cmd::ZoomWindow),
    Item(Cmd::Refresh),
    kSeparator,
    Item(Cmd::LongCursor),
    Item(Cmd::ViewToolBar),
    Item(Cmd::ViewToolSet),
    Item(Cmd::ViewStatusBar),
    Item(Cmd::ScrollBars),
    Item(Cmd::DrawGrid),
    Item(Cmd::PlaceGrid),
    Item(Cmd::TextGrid),
    kSeparator,
    Item(Cmd::RelativePoint),
};
constexpr CMenuEntry kFilled[] = {
    Item(Cmd::ToolFilledPolygon),
    Item(Cmd::ToolFilledPolygon90),
    Item(Cmd::ToolFilledRectangle),
    Item(Cmd::ToolFilledEllipse),
};
constexpr CMenuEntry kPlace[] = {
    Item(Cmd::ToolLines),
    Item(Cmd::ToolLines90),
    Item(Cmd::ToolJunctions),
    Item(Cmd::ToolSymbols),
    Item(Cmd::ToolText),
    Item(Cmd::ToolRectangles),
    Item(Cmd::ToolEllipses),
    kSeparator,
    Submenu("Opgevulde objecten", kFilled),
    Item(Cmd::ToolWindowsText),
    Item(Cmd::ToolPictures),
};
constexpr CMenuEntry kChoose[] = {
    Item(Cmd::ChoosePen),
    Item(Cmd::ChooseLayer),
    Item(Cmd::ChooseFont),
    Item(Cmd::GridDialog),
};
constexpr CMenuEntry kWindow[] = {
    Item(Cmd::WindowCascade),
    Item(Cmd::WindowTileHorizontal),
    Item(Cmd::WindowTileVertical),
};
constexpr CMenuEntry kHelp[] = {
    Item(Cmd::HelpIndex),
    kSeparator,
    Item(Cmd::TipOfTheDay),
    kSeparator,
    Item(Cmd::Website),
    Item(Cmd::UpdateHistory),
    kSeparator,
    Item(Cmd::RemoteHelp),
    kSeparator,
    Item(Cmd::About),
};
constexpr CMenu kMenusProject[] = {
    {"Bestand", kFile},
    {"Bewerken", kEdit},
    {"Beeld", kView},
    {"Plaats", kPlace},
    {"Kies", kChoose},
    {"Venster", kWindow},
    {"Help", kHelp},
};

constexpr CToolBarEntry Button(int id)
{
    return {T::Button, id};
}
constexpr CToolBarEntry kBarSeparator {T::Separator, 0};
constexpr CToolBarEntry kSheetList {T::SheetList, Cmd::SheetList};
constexpr CToolBarEntry kLayerList {T::LayerList, Cmd::LayerList};

constexpr CToolBarEntry kMainBar[] = {
    Button(Cmd::FileNew),
    Button(Cmd::FileOpen),
    Button(Cmd::AddSheet),
    Button(Cmd::FileSave),
    kBarSeparator,
    Button(Cmd::PrintSheet),
    kBarSeparator,
    Button(Cmd::Cut),
    Button(Cmd::Copy),
    Button(Cmd::Paste),
    kBarSeparator,
    Button(Cmd::Undo),
    Button(Cmd::Redo),
    kBarSeparator,
    kSheetList,
    kBarSeparator,
    kLayerList,
    kBarSeparator,
    Button(Cmd::ZoomAll),
    Button(Cmd::ZoomWindow),
    kBarSeparator,
    Button(Cmd::SheetConfiguration),
    Button(Cmd::GridInForce),
    kBarSeparator,
    Button(Cmd::SelectSegments),
    Button(Cmd::SelectLines),
    Button(Cmd::SelectObjects),
    Button(Cmd::SelectPictures),
    Button(Cmd::SelectWindowsTexts),
};
constexpr CToolBarEntry kTextBar[] = {
    Button(Cmd::Undo),
    Button(Cmd::Redo),
    kBarSeparator,
    kSheetList,
    kBarSeparator,
    kLayerList,
    kBarSeparator,
    Button(Cmd::ZoomAll),
    Button(Cmd::ZoomWindow),
    kBarSeparator,
    Button(Cmd::SheetConfiguration),
    Button(Cmd::GridInForce),
    kBarSeparator,
    {T::FontList, Cmd::FontList},
    kBarSeparator,
    {T::SizeList, Cmd::SizeList},
    kBarSeparator,
    Button(Cmd::Bold),
    Button(Cmd::Italic),
};

constexpr int kToolSet[] = {
    Cmd::SelectTool,
    Cmd::ToolLines,
    Cmd::ToolLines90,
    Cmd::ToolJunctions,
    Cmd::ToolSymbols,
    Cmd::ToolText,
    Cmd::ToolWindowsText,
    Cmd::ToolRectangles,
    Cmd::ToolEllipses,
    Cmd::ToolFilledPolygon,
    Cmd::ToolFilledPolygon90,
    Cmd::ToolFilledRectangle,
    Cmd::ToolFilledEllipse,
    Cmd::FillSolid,
    Cmd::FillCross,
    Cmd::FillDiagonalCross,
    Cmd::FillHorizontal,
    Cmd::FillVertical,
    Cmd::FillRising,
    Cmd::FillFalling,
    Cmd::ToolPictures,
};

} // namespace

std::span<const CMenu> MenuBar(bool projectOpen)
{
    if (projectOpen)
        return kMenusProject;
    return kMenusBare;
}

std::span<const CToolBarEntry> MainToolBar(bool textTool)
{
    if (textTool)
        return kTextBar;
    return kMainBar;
}

std::span<const int> ToolSet()
{
    return kToolSet;
}
