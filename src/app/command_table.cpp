#include "app/command_table.h"

#include <algorithm>

namespace {

// id, menu caption, prompt, tool tip, accelerators, button image
constexpr CCommandInfo kCommands[] = {
    // Bestand
    {Cmd::FileNew, "Nieuw project\tCtrl+N", "Start een nieuw project", "Nieuw project", {"Ctrl+N"},
        "new_project"},
    {Cmd::FileOpen, "Open project...\tCtrl+O", "Open een bestaand project", "Open project",
        {"Ctrl+O"}, "open_project"},
    {Cmd::OpenBackup, "Open reservebestand...", "", "", {}, ""},
    {Cmd::FileClose, "Sluit project\tCtrl+F4", "", "", {}, ""},
    {Cmd::FileSave, "Opslaan\tCtrl+S", "Bewaar het actieve project", "Bewaar project", {"Ctrl+S"},
        "save_project"},
    {Cmd::FileSaveAs, "Opslaan als...", "Opslaan van het actieve project met een nieuwe naam", "",
        {}, ""},
    {Cmd::ProjectInfo, "Project info...", "View and Edit the project info", "", {}, ""},
    {Cmd::AddSheet, "Blad toevoegen...", "Toevoegen van een nieuw blad", "Nieuw blad", {},
        "new_sheet"},
    {Cmd::ImportDXF, "Importeer DXF...", "Importeer een DXF bestand", "", {}, ""},
    {Cmd::ImportDosProject, "Importeer DOS project...",
        "Importeer Vorel Ridizav versie 6.xx of 7.xx projecten", "", {}, ""},
    {Cmd::ExportDXF, "Exporteer DXF...", "Exporteer actieve project naar DXF", "", {}, ""},
    {Cmd::Print, "Afdrukken...\tCtrl+P", "", "", {"Ctrl+P"}, ""},
    {Cmd::PrintSheet, "", "", "Dit blad afdrukken", {}, "print_sheet"},
    {Cmd::PrintSetup, "Printer instellingen...", "", "", {}, ""},
    {Cmd::Configuration, "Configuratie...", "Configureren van Vorel Ridizav", "", {}, ""},
    {Cmd::SheetConfiguration, "Blad configuratie", "Configureren van deze pagina",
        "Blad configuratie", {}, "sheet_configuration"},
    {Cmd::SendMail, "Als bericht verzenden", "Verzend het actieve project via Electronic Mail", "",
        {}, ""},
    {Cmd::ImportDosLibrary, "Importeer DOS PCB Library...",
        "Importeer DOS PCB (BNK en LMC) Library...", "", {}, ""},
    {Cmd::AppExit, "Afsluiten", "", "", {"Alt+F4"}, ""},

    // Bewerken
    {Cmd::Undo, "Ongedaan maken (Undo)\tCtrl+Z", "", "Ongedaan maken", {"Ctrl+Z", "Alt+Backspace"},
        "undo"},
    {Cmd::Redo, "Herhalen (Redo) \tCtrl+Y", "", "Herhalen", {"Ctrl+Y"}, "redo"},
    {Cmd::Cut, "Knippen\tCtrl+X", "Knip de selectie en plaats deze op het klembord", "Knippen",
        {"Ctrl+X", "Shift+Del"}, "cut"},
    {Cmd::Copy, "Kopiëren \tCtrl+C", "Kopieer de selectie naar het klembord", "Kopie",
        {"Ctrl+C", "Ctrl+Ins"}, "copy"},
    {Cmd::Paste, "Plakken\tCtrl+V", "Plak de inhoud van het klembord op het actieve blad",
        "Plakken", {"Ctrl+V", "Shift+Ins"}, "paste"},
    {Cmd::PasteAtCursor, "Plakken op cursor\tCtrl+Shift+V",
        "Plak de inhoud van het klembord op de cursor, zo vaak als u klikt", "Plakken op cursor",
        {"Ctrl+Shift+V"}, ""},
    {Cmd::SelectSegments, "Segmenten", "", "Selecteer per segment", {}, "select_segments"},
    {Cmd::SelectLines, "Lijnen", "", "Selecteer volledige lijnen", {}, "select_lines"},
    {Cmd::SelectObjects, "Objecten", "", "Selecteer volledige objecten", {}, "select_objects"},
    {Cmd::SelectPictures, "Afbeeldingen", "", "Selecteer afbeeldingen", {}, "select_pictures"},
    {Cmd::SelectWindowsTexts, "Windows teksten", "", "Selecteer Windows teksten", {},
        "select_windows_texts"},
    {Cmd::SelectTool, "Selecteren", "", "Selecteren", {}, "select"},
    {Cmd::SelectAll, "Alles selecteren\tCtrl+A", "", "", {}, ""},
    {Cmd::InvertSelection, "Selectie inverteren", "", "", {}, ""},
    {Cmd::DeleteSelection, "Selectie verwijderen\tDel", "", "Verwijderen\tDel", {}, ""},
    {Cmd::EditSelection, "Selectie bewerken...", "", "Bewerken...", {}, ""},
    {Cmd::SheetOrder, "Blad indeling...", "Aanpassen van bladpositie en bladnamen", "", {}, ""},
    {Cmd::RenameSheet, "Bladnaam aanpassen", "", "", {}, ""},
    {Cmd::RotateSheet, "Kantel blad", "Kantel het blad", "", {}, ""},
    {Cmd::RecomputeSize, "Herbereken blad afmetingen", "Bereken de maximale X en Y waarden", "", {},
        ""},
    {Cmd::DeleteSheet, "Verwijder blad...", "Verwijder het actieve blad", "", {}, ""},

    // Beeld
    {Cmd::LayerTable, "Laag configuratie...", "", "Lagen instellen", {}, ""},
    {Cmd::PreviousSheet, "Vorig blad\tPage Up", "Activeer het vorige blad", "", {}, ""},
    {Cmd::NextSheet, "Volgende blad\tPage Down", "Activeer het volgende blad", "", {}, ""},
    {Cmd::GoToSheet, "Ga naar blad...\tCtrl + G", "Activeer een willekeurig blad", "", {"Ctrl+G"},
        ""},
    {Cmd::ZoomIn, "Zoom in\tI", "", "Inzoomen\tI", {}, ""},
    {Cmd::ZoomOut, "Zoom uit\tO", "", "Uitzoomen\tO", {}, ""},
    {Cmd::ZoomAll, "Zoom alles\tZ Z", "", "Zoom alles\tZZ", {}, "zoom_all"},
    {Cmd::ZoomWindow, "Zoom venster", "", "Zoom mbv venster", {}, "zoom_window"},
    {Cmd::Refresh, "Beeld vernieuwen\tF5", "", "", {}, ""},
    {Cmd::LongCursor, "Lange cursor\tShift + A", "", "", {}, ""},
    {Cmd::ViewToolBar, "Werkbalk", "", "", {}, ""},
    {Cmd::ViewToolSet, "Werkset", "", "", {}, ""},
    {Cmd::ViewStatusBar, "Status balk", "", "", {}, ""},
    {Cmd::ScrollBars, "Scrollbalken", "", "", {}, ""},
    {Cmd::DrawGrid, "Raster tijdens tekenen\t.", "", "", {}, ""},
    {Cmd::PlaceGrid, "Raster tijdens plaatsen\t.", "", "", {}, ""},
    {Cmd::TextGrid, "Raster tijdens tekst\t.", "", "", {}, ""},
    {Cmd::RelativePoint, "Vast relatief meetpunt\tF6", "",
        "Vast relatief meetpunt aan of uitzetten\tF6", {}, ""},
    {Cmd::GridInForce, "", "", "Show raster dots", {}, "grid_dots"},
    {Cmd::GridLines, "", "", "", {}, ""},

    // Plaats
    {Cmd::ToolLines, "Lijnen", "", "Plaats lijnen", {}, "lines"},
    {Cmd::ToolLines90, "Lijnen 90 graden hoek", "", "Lijnen 90 graden hoek", {}, "lines_90"},
    {Cmd::ToolJunctions, "Knooppunten", "", "Knooppunten", {}, "junctions"},
    {Cmd::ToolSymbols, "Symbolen", "", "Plaats symbolen", {}, "symbols"},
    {Cmd::ToolText, "Teksten", "", "Plaats tekst met Vorel tekenset", {}, "stroke_text"},
    {Cmd::ToolRectangles, "Rechthoeken", "", "Plaats rechthoeken", {}, "rectangles"},
    {Cmd::ToolEllipses, "Ellipsen of cirkels", "", "Plaats ellipsen of cirkels", {}, "ellipses"},
    {Cmd::ToolFilledPolygon, "Veelhoek", "", "Opgevulde veelhoek", {}, "filled_polygon"},
    {Cmd::ToolFilledPolygon90, "Veelhoek 90 graden", "", "Opgevulde 90 graden veelhoek", {},
        "filled_polygon_90"},
    {Cmd::ToolFilledRectangle, "Rechthoeken", "", "Opgevulde rechthoek", {}, "filled_rectangle"},
    {Cmd::ToolFilledEllipse, "Ellipsen of cirkels", "", "Opgevulde ellipsen of cirkels", {},
        "filled_ellipse"},
    {Cmd::ToolWindowsText, "Windows teksten", "", "Plaats tekst met Windows font", {},
        "windows_text"},
    {Cmd::ToolPictures, "Afbeeldingen", "Plaats afbeeldingen zoals digitale foto's",
        "Plaats afbeeldingen", {}, "pictures"},
    {Cmd::FillSolid, "", "Opvullen met solide kleur", "Solide", {}, "fill_solid"},
    {Cmd::FillCross, "", "Opvullen met kruislijnen", "Kruislijnen", {}, "fill_cross"},
    {Cmd::FillDiagonalCross, "", "Opvullen met diagonale kruislijnen", "Diagonale kruislijnen", {},
        "fill_diagonal_cross"},
    {Cmd::FillHorizontal, "", "Opvullen met horizontale lijnen", "Horizontale lijnen", {},
        "fill_horizontal"},
    {Cmd::FillVertical, "", "Opvullen met verticale lijnen", "Verticale lijnen", {},
        "fill_vertical"},
    {Cmd::FillRising, "", "Opvullen met diagonale lijnen van linksboven naar rechtsonder",
        "Diagonale lijnen linksboven–rechtsonder", {}, "fill_rising"},
    {Cmd::FillFalling, "", "Opvullen met diagonale lijnen van linksonder naar rechtsboven",
        "Diagonale lijnen linksonder–rechtsboven", {}, "fill_falling"},

    // Kies
    {Cmd::ChoosePen, "Pen (lijntype)\tP", "", "Kies een pen\tP", {}, ""},
    {Cmd::ChooseLayer, "Actieve laag\tL", "", "Kies een laag\tL", {}, ""},
    {Cmd::ChooseFont, "Lettertype", "", "Kies lettertypen", {}, ""},
    {Cmd::GridDialog, "Raster", "", "", {}, ""},

    // Venster
    {Cmd::WindowCascade, "Trapsgewijs", "", "", {}, ""},
    {Cmd::WindowTileHorizontal, "Boven elkaar", "", "", {}, ""},
    {Cmd::WindowTileVertical, "Naast  elkaar", "", "", {}, ""},

    // Help
    {Cmd::HelpIndex, "Handleiding...", "", "", {}, ""},
    {Cmd::TipOfTheDay, "Tip van de dag...", "", "", {}, ""},
    {Cmd::AutoUpdate, "Automatische Update...", "", "", {}, ""},
    {Cmd::UpdateHistory, "Update geschiedenis", "", "", {}, ""},
    {Cmd::Website, "Website VorelElectro", "", "", {}, ""},
    {Cmd::RemoteHelp, "Hulp op afstand", "", "", {}, ""},
    {Cmd::About, "Info...", "", "", {}, ""},
    {Cmd::Help, "", "", "", {"F1"}, ""},
    {Cmd::ContextHelp, "", "", "", {"Shift+F1"}, ""},

    // The view's context menu and keys
    {Cmd::EndSelection, "", "", "Einde selectie\tEsc", {}, ""},
    {Cmd::PictureProperties, "", "", "Eigenschappen", {}, ""},
    {Cmd::CopySelection, "", "", "Kopieer de selectie", {}, ""},
    {Cmd::RotateSelection, "", "", "Kantelen\tF2", {}, ""},
    {Cmd::MirrorX, "", "", "Spiegelen in X-As\tSF2", {}, ""},
    {Cmd::MirrorY, "", "", "Spiegelen in Y-As", {}, ""},
    {Cmd::SaveAsSymbol, "", "Opslaan als symbool", "Opslaan als symbool", {}, ""},
    {Cmd::SelectionLayer, "", "", "Laag\tL", {}, ""},
    {Cmd::Bold, "", "", "Vet\tCtrl + B", {}, "bold"},
    {Cmd::Italic, "", "", "Schuin\tCtrl + I", {}, "italic"},
    {Cmd::EditText, "", "", "Bewerk de geselecteerde tekst", {}, ""},
    {Cmd::EndLine, "", "", "Einde lijn\tEsc", {}, ""},
    {Cmd::End, "", "", "Einde\tEsc", {}, ""},
    {Cmd::TextAdjust, "", "", "Aanpassen...", {}, ""},
    {Cmd::TextMirror, "", "", "Spiegelschrift\tSF2", {}, ""},
    {Cmd::TextRotate, "", "", "Kantelen\tF2", {}, ""},
    {Cmd::TextSmaller, "", "", "Verkleinen\t-", {}, ""},
    {Cmd::TextBigger, "", "", "Vergroten\t+", {}, ""},
    {Cmd::CentreOnCursor, "", "", "Centreer op cursor", {}, ""},
    {Cmd::TextPen, "", "", "Penkeuze...\tP", {}, ""},
    {Cmd::TextLayer, "", "", "Laagkeuze...\tL", {}, ""},
    {Cmd::TypedTextLayer, "", "Verplaats de tekst naar een andere laag", "Laag\tL", {}, ""},

    // The lists on the main tool bar
    {Cmd::SheetList, "", "", "", {}, ""},
    {Cmd::LayerList, "", "", "", {}, ""},
    {Cmd::FontList, "", "", "", {}, ""},
    {Cmd::SizeList, "", "", "", {}, ""},
};

} // namespace

std::span<const CCommandInfo> AllCommands()
{
    return kCommands;
}

const CCommandInfo* FindCommand(int id)
{
    const auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
        [id](const CCommandInfo& c) { return c.id == id; });
    return it == std::end(kCommands) ? nullptr : &*it;
}

std::string_view ContextCaption(const CCommandInfo& command)
{
    return command.toolTip.empty() ? command.prompt : command.toolTip;
}

std::string_view WithoutKey(std::string_view text)
{
    return text.substr(0, text.find('\t'));
}
