#pragma once

#include <QCommandLineParser>
#include <QStringList>

// render FILE.ETT OUT.png|OUT.svg [--sheet N] [--width W] [--height H]: a
// sheet as the view shows it after "Zoom all" in a view of W x H pixels.
int CmdRender(const QStringList& args, const QCommandLineParser& parser);
