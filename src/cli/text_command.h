#pragma once

#include <QCommandLineParser>
#include <QStringList>

// Places a stroke-font text on the active sheet of a project and saves it.
int CmdText(const QStringList& args, const QCommandLineParser& parser);
