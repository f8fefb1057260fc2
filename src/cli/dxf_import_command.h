#pragma once

#include <QCommandLineParser>
#include <QStringList>

// Imports a DXF file into a project (a new one when the file does not exist)
// as a new sheet and saves it, to -o OUT.ETT or over the project. The blocks
// become symbol files below --symbols FOLDER, else the configured symbols folder.
int CmdImportDXF(const QStringList& args, const QCommandLineParser& parser);
