#pragma once

#include <QCommandLineParser>
#include <QStringList>

// copy PROJECT.ETT OUT.BIN --window L,T,R,B [--sheet N]: what a window
// selects (whole objects and texts), as the clipboard's selection stream.
int CmdCopy(const QStringList& args, const QCommandLineParser& parser);
// paste PROJECT.ETT IN.BIN [-o OUT.ETT] [--sheet N]: a selection stream
// pasted into a sheet as "Plakken" pastes it.
int CmdPaste(const QStringList& args, const QCommandLineParser& parser);
