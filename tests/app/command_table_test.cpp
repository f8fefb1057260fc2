#include "app/command_table.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

#include "app/command_router.h"
#include "app/command_surfaces.h"

namespace {

void CollectMenuIds(std::span<const CMenuEntry> entries, std::set<int>& ids)
{
    for (const CMenuEntry& e : entries) {
        if (e.kind == CMenuEntry::Kind::Command)
            ids.insert(e.id);
        CollectMenuIds(e.items, ids);
    }
}

} // namespace

TEST(CommandTable, EveryIdOnceAndEverySurfaceIdKnown)
{
    std::set<int> seen;
    for (const CCommandInfo& c : AllCommands())
        EXPECT_TRUE(seen.insert(c.id).second) << "twice: " << c.id;

    std::set<int> used;
    for (bool open : {false, true})
        for (const CMenu& menu : MenuBar(open))
            CollectMenuIds(menu.items, used);
    for (bool text : {false, true})
        for (const CToolBarEntry& e : MainToolBar(text))
            if (e.kind != CToolBarEntry::Kind::Separator)
                used.insert(e.id);
    for (int id : ToolSet())
        used.insert(id);
    for (int id : used) {
        const CCommandInfo* c = FindCommand(id);
        ASSERT_NE(c, nullptr) << id;
    }
    EXPECT_EQ(FindCommand(12345), nullptr);
}

TEST(CommandTable, MenuEntriesHaveCaptionsAndButtonsHaveTipsAndImages)
{
    std::set<int> inMenus;
    for (bool open : {false, true})
        for (const CMenu& menu : MenuBar(open))
            CollectMenuIds(menu.items, inMenus);
    for (int id : inMenus)
        EXPECT_FALSE(FindCommand(id)->menuText.empty()) << id;

    std::set<int> buttons(ToolSet().begin(), ToolSet().end());
    for (bool text : {false, true})
        for (const CToolBarEntry& e : MainToolBar(text))
            if (e.kind == CToolBarEntry::Kind::Button)
                buttons.insert(e.id);
    for (int id : buttons) {
        EXPECT_FALSE(FindCommand(id)->toolTip.empty()) << id;
        EXPECT_FALSE(FindCommand(id)->icon.empty()) << id;
    }
}

TEST(CommandTable, TextsAreExact)
{
    // (id, menu caption, prompt, tool tip) where a slip is easy: doubled
    // spaces, a space before the tab, a diaeresis, keys after a tab.
    const struct {
        int id;
        const char* menu;
        const char* prompt;
        const char* tip;
    } cases[] = {
        {Cmd::Redo, "Herhalen (Redo) \tCtrl+Y", "", "Herhalen"},
        {Cmd::Copy, "Kopiëren \tCtrl+C", "Kopieer de selectie naar het klembord", "Kopie"},
        {Cmd::WindowTileVertical, "Naast  elkaar", "", ""},
        {Cmd::ZoomIn, "Zoom in\tI", "", "Inzoomen\tI"},
        {Cmd::ZoomAll, "Zoom alles\tZ Z", "", "Zoom alles\tZZ"},
        {Cmd::GoToSheet, "Ga naar blad...\tCtrl + G", "Activeer een willekeurig blad", ""},
        {Cmd::RenameSheet, "Bladnaam aanpassen", "", ""},
        {Cmd::Configuration, "Configuratie...", "Configureren van Vorel Ridizav", ""},
        {Cmd::ToolPictures, "Afbeeldingen", "Plaats afbeeldingen zoals digitale foto's",
            "Plaats afbeeldingen"},
        {Cmd::FillRising, "", "Opvullen met diagonale lijnen van linksboven naar rechtsonder",
            "Diagonale lijnen linksboven–rechtsonder"},
        {Cmd::ImportDosLibrary, "Importeer DOS PCB Library...",
            "Importeer DOS PCB (BNK en LMC) Library...", ""},
        {Cmd::MirrorX, "", "", "Spiegelen in X-As\tSF2"},
    };
    for (const auto& c : cases) {
        const CCommandInfo* info = FindCommand(c.id);
        ASSERT_NE(info, nullptr) << c.id;
        EXPECT_EQ(info->menuText, c.menu) << c.id;
        EXPECT_EQ(info->prompt, c.prompt) << c.id;
        EXPECT_EQ(info->toolTip, c.tip) << c.id;
    }
}

TEST(CommandTable, ContextCaptionIsTheToolTipElseThePrompt)
{
    EXPECT_EQ(ContextCaption(*FindCommand(Cmd::ZoomIn)), "Inzoomen\tI");
    EXPECT_EQ(ContextCaption(*FindCommand(Cmd::SaveAsSymbol)), "Opslaan als symbool");
    EXPECT_EQ(ContextCaption(*FindCommand(Cmd::RelativePoint)),
        "Vast relatief meetpunt aan of uitzetten\tF6");
    EXPECT_EQ(WithoutKey("Vet\tCtrl + B"), "Vet");
    EXPECT_EQ(WithoutKey("Plakken"), "Plakken");
}

TEST(CommandTable, AcceleratorsAreTheFramesKeys)
{
    std::set<std::pair<std::string, int>> keys;
    for (const CCommandInfo& c : AllCommands())
        for (std::string_view k : c.accelerators)
            if (!k.empty())
                keys.emplace(std::string(k), c.id);
    const std::set<std::pair<std::string, int>> expected = {
        {"Ctrl+C", Cmd::Copy},
        {"Ctrl+Ins", Cmd::Copy},
        {"Ctrl+G", Cmd::GoToSheet},
        {"Ctrl+N", Cmd::FileNew},
        {"Ctrl+O", Cmd::FileOpen},
        {"Ctrl+P", Cmd::Print},
        {"Ctrl+S", Cmd::FileSave},
        {"Ctrl+V", Cmd::Paste},
        {"Shift+Ins", Cmd::Paste},
        {"Ctrl+Shift+V", Cmd::PasteAtCursor},
        {"Alt+Backspace", Cmd::Undo},
        {"Ctrl+Z", Cmd::Undo},
        {"Shift+Del", Cmd::Cut},
        {"Ctrl+X", Cmd::Cut},
        {"Ctrl+Y", Cmd::Redo},
        {"F1", Cmd::Help},
        {"Shift+F1", Cmd::ContextHelp},
        {"Alt+F4", Cmd::AppExit},
    };
    EXPECT_EQ(keys, expected);
}

TEST(CommandTable, FillPatternsInPatternOrder)
{
    EXPECT_EQ(Cmd::FillPatterns[0], 32777);
    EXPECT_EQ(Cmd::FillPatterns[1], 32773);
    EXPECT_EQ(Cmd::FillPatterns[5], 32772);
    EXPECT_EQ(Cmd::FillPatterns[6], 32775);
}

TEST(CommandRouter, UnhandledCommandsAreDisabledAndDoNothing)
{
    CCommandRouter router;
    EXPECT_EQ(router.Update(Cmd::ZoomAll), (CCommandState {false, false}));
    EXPECT_FALSE(router.Execute(Cmd::ZoomAll));
}

TEST(CommandRouter, FirstTargetThatHandlesACommandWins)
{
    std::string log;
    CCommandHandlers frame;
    frame.On(Cmd::Configuration, [&] { log += "frame "; });
    frame.On(Cmd::About, [&] { log += "about "; });
    CCommandHandlers doc;
    doc.On(
        Cmd::Configuration, [&] { log += "doc "; },
        [] {
            return CCommandState {false, false};
        });

    CCommandRouter router;
    router.AddTarget(frame);
    EXPECT_TRUE(router.Execute(Cmd::Configuration));
    EXPECT_EQ(router.Update(Cmd::Configuration), (CCommandState {true, false}));

    // The document comes in front: its disabled handler hides the frame's.
    router.AddTarget(doc);
    EXPECT_EQ(router.Update(Cmd::Configuration), (CCommandState {false, false}));
    EXPECT_FALSE(router.Execute(Cmd::Configuration));
    EXPECT_TRUE(router.Execute(Cmd::About)); // only the frame has it

    router.RemoveTarget(doc);
    EXPECT_TRUE(router.Execute(Cmd::Configuration));
    EXPECT_EQ(log, "frame about frame ");
}

TEST(CommandRouter, TickedStateAndAHandlerThatRemovesItself)
{
    CCommandHandlers view;
    CCommandRouter router;
    router.AddTarget(view);
    bool on = false;
    view.On(
        Cmd::LongCursor, [&] { on = !on; },
        [&] {
            return CCommandState {true, on};
        });
    EXPECT_TRUE(router.Execute(Cmd::LongCursor));
    EXPECT_TRUE(router.Update(Cmd::LongCursor).checked);

    // Closing a window from its own command drops its handlers while the
    // command runs.
    view.On(Cmd::FileClose, [&] {
        view.Remove(Cmd::FileClose);
        router.RemoveTarget(view);
    });
    EXPECT_TRUE(router.Execute(Cmd::FileClose));
    EXPECT_FALSE(router.Execute(Cmd::LongCursor));
}
