#pragma once

#include <QIcon>
#include <QString>
#include <string_view>

class QAction;
class QObject;
class CCommandRouter;

// The property of every QAction that stands for a command: its id.
inline constexpr char kCommandIdProperty[] = "commandId";

// A QAction for the command, with the menu caption (or `caption` where a menu
// shows another text), the prompt as its status tip and the tool tip without
// its key. Triggering it runs the command through the router.
QAction* MakeMenuAction(
    int id, const CCommandRouter& router, QObject* parent, std::string_view caption = {});
// The same for a button: its text and tool tip are the command's tool tip,
// and it carries the command's image.
QAction* MakeButtonAction(int id, const CCommandRouter& router, QObject* parent);

// The command id an action stands for, 0 for any other action.
int CommandIdOf(const QAction* action);

// Enables and ticks the action as the router says. A command shows a tick
// only while it is ticked, as the menus of the system do.
void RefreshAction(QAction* action, const CCommandRouter& router);

// The image of a button, drawn from data/icons/<name>.svg.
QIcon CommandIcon(std::string_view name);
