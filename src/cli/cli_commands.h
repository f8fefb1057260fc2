#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// The headless commands of ridizav-cli. Each prints its result (JSON where a
// program reads it) on standard output, errors on standard error, and
// returns the exit code.
QString CliDescription();
void AddCliOptions(QCommandLineParser& parser);
int RunCliCommand(
    const QString& command, const QStringList& args, const QCommandLineParser& parser);

class CDovereduDoc;
class CSettings;
class CSheet;

// Shared by the command files.
CSettings& CliSettings();
// Lets a document that is opened to be changed and saved follow the
// configuration as the program does (the grids of every sheet).
void FollowConfiguration(CDovereduDoc& doc);
int CliFail(const QString& message);
int CliUsage(const char* usage);
// The sheet named by --sheet: its 1-based number or its name; the active
// sheet without the option. Null when the project has no sheet or no such
// sheet, with the reason told and the exit code in `failed`.
CSheet* ChosenSheet(CDovereduDoc& doc, const QCommandLineParser& parser, int& failed);
