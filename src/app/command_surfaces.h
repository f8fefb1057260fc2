#pragma once

#include <span>
#include <string_view>

// The layouts of the main window's menus and bars, by command id. The texts
// come from the command table; an entry only names a caption where its menu
// shows another text than the table's.

struct CMenuEntry {
    enum class Kind { Command, Separator, Submenu, RecentFiles };
    Kind kind = Kind::Command;
    int id = 0;
    // A submenu's title, the recent-file entry's text while there are no
    // recent files, or a command's caption where it differs from the table.
    std::string_view caption;
    std::span<const CMenuEntry> items; // a submenu's entries
};

struct CMenu {
    std::string_view title;
    std::span<const CMenuEntry> items;
};

// The menu bar without an open project, and the one with a project open.
std::span<const CMenu> MenuBar(bool projectOpen);

struct CToolBarEntry {
    enum class Kind { Button, Separator, SheetList, LayerList, FontList, SizeList };
    Kind kind = Kind::Button;
    int id = 0; // the button's or the list's command
};

// The main tool bar: the normal one, or the one shown while the active sheet
// types Windows-font texts.
std::span<const CToolBarEntry> MainToolBar(bool textTool);

// The buttons of the tool set "Werkset", top to bottom.
std::span<const int> ToolSet();
