#pragma once

#include <QCommandLineParser>
#include <QStringList>

// export-dxf PROJECT.ETT OUT_FOLDER [--sheet NAME]...
int CmdExportDXF(const QStringList& args, const QCommandLineParser& parser);
