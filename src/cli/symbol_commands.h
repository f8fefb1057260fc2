#pragma once

#include <QCommandLineParser>
#include <QStringList>

// Converts every ".BNK" and ".LMC" file below a folder into symbol files
// below a symbols folder, one "source -> target" line per file.
int CmdConvertLib(const QStringList& args, const QCommandLineParser& parser);

// Brings old drawings into a project (a new one when the file does not exist)
// as new sheets and saves it, to -o OUT.ETT or over the project.
int CmdImportOld(const QStringList& args, const QCommandLineParser& parser);
