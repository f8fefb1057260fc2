#pragma once

#include <QCommandLineParser>
#include <QStringList>

int CmdNew(const QStringList& args, const QCommandLineParser& parser);
int CmdResave(const QStringList& args, const QCommandLineParser& parser);
int CmdInfo(const QStringList& args, const QCommandLineParser& parser);
int CmdDump(const QStringList& args, const QCommandLineParser& parser);
