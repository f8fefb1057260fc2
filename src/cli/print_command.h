#pragma once

#include <QCommandLineParser>
#include <QStringList>

// print-pdf PROJECT.ETT OUT.pdf [--sheet N]... [--fit | --scale S] [--bw]
// [--paper A4|A3|A2|A1|A0]: the chosen sheets (all without --sheet), a page
// each, as the program prints them, turned as the configuration's automatic
// rotation says. Without --fit or --scale the configuration decides.
int CmdPrintPdf(const QStringList& args, const QCommandLineParser& parser);
