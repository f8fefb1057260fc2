#include "cli/cli_commands.h"

#include <cstdio>
#include <functional>
#include <vector>

#include "app/settings.h"
#include "cli/clipboard_commands.h"
#include "cli/dxf_commands.h"
#include "cli/dxf_import_command.h"
#include "cli/print_command.h"
#include "cli/project_commands.h"
#include "cli/render_command.h"
#include "cli/symbol_commands.h"
#include "cli/text_command.h"
#include "document/document.h"
#include "qt/qt_text.h"

namespace {

struct CliCommand {
    const char* name;
    const char* usage;
    std::function<int(const QStringList&, const QCommandLineParser&)> run;
};

const std::vector<CliCommand>& Commands()
{
    static const std::vector<CliCommand> commands = {
        {"new", "OUT.ETT [--sheets N]", CmdNew},
        {"resave", "IN.ETT OUT.ETT", CmdResave},
        {"info", "FILE.ETT", CmdInfo},
        {"dump", "FILE.ETT [--sheet N]", CmdDump},
        {"text", "PROJECT.ETT \"TEXT\" [--size S] [--angle A] [--mirror] [--at X,Y]", CmdText},
        {"export-dxf", "PROJECT.ETT OUT_FOLDER [--sheet NAME]...", CmdExportDXF},
        {"import-dxf", "PROJECT.ETT FILE.DXF [-o OUT.ETT] [--symbols FOLDER]", CmdImportDXF},
        {"render", "FILE.ETT OUT.png|OUT.svg [--sheet N] [--width W] [--height H]", CmdRender},
        {"copy", "PROJECT.ETT OUT.BIN --window L,T,R,B [--sheet N]", CmdCopy},
        {"paste", "PROJECT.ETT IN.BIN [-o OUT.ETT] [--sheet N]", CmdPaste},
        {"convert-lib", "SOURCE_FOLDER SYMBOLS_FOLDER", CmdConvertLib},
        {"import-old", "PROJECT.ETT FILE... [-o OUT.ETT]", CmdImportOld},
        {"print-pdf",
            "PROJECT.ETT OUT.pdf [--sheet N]... [--fit | --scale S] [--bw] [--paper "
            "A4|A3|A2|A1|A0]",
            CmdPrintPdf},
    };
    return commands;
}

} // namespace

QString CliDescription()
{
    QString text = QStringLiteral("Headless commands on ridizav project files.\n\nCommands:");
    for (const CliCommand& c : Commands())
        text += QStringLiteral("\n  %1 %2").arg(QLatin1String(c.name), QLatin1String(c.usage));
    return text;
}

void AddCliOptions(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("sheets"), QStringLiteral("Number of new sheets."),
        QStringLiteral("N"), QStringLiteral("1")});
    parser.addOption({QStringLiteral("sheet"),
        QStringLiteral("A sheet: its 1-based number or its name."), QStringLiteral("SHEET")});
    parser.addOption(
        {QStringLiteral("size"), QStringLiteral("Stroke-font text size."), QStringLiteral("S")});
    parser.addOption(
        {QStringLiteral("angle"), QStringLiteral("Text angle in degrees."), QStringLiteral("A")});
    parser.addOption({QStringLiteral("mirror"), QStringLiteral("Mirror the text.")});
    parser.addOption({QStringLiteral("at"),
        QStringLiteral("Position X,Y in millimetres from the sheet's origin."),
        QStringLiteral("X,Y")});
    parser.addOption({QStringLiteral("width"), QStringLiteral("Width of the view in pixels."),
        QStringLiteral("W"), QStringLiteral("1600")});
    parser.addOption({QStringLiteral("height"), QStringLiteral("Height of the view in pixels."),
        QStringLiteral("H"), QStringLiteral("1200")});
    parser.addOption({QStringLiteral("o"), QStringLiteral("Where to save the project."),
        QStringLiteral("OUT.ETT")});
    parser.addOption({QStringLiteral("symbols"),
        QStringLiteral("Symbols folder for imported blocks."), QStringLiteral("FOLDER")});
    parser.addOption({QStringLiteral("window"),
        QStringLiteral("A window L,T,R,B in millimetres from the sheet's origin."),
        QStringLiteral("L,T,R,B")});
    parser.addOption({QStringLiteral("fit"), QStringLiteral("Fit the sheet to the paper.")});
    parser.addOption({QStringLiteral("scale"), QStringLiteral("Print scale; 1.0 is true size."),
        QStringLiteral("S")});
    parser.addOption({QStringLiteral("bw"), QStringLiteral("Print in black and white.")});
    parser.addOption({QStringLiteral("paper"), QStringLiteral("Paper size."),
        QStringLiteral("A4|A3|A2|A1|A0"), QStringLiteral("A4")});
}

CSettings& CliSettings()
{
    static CSettings settings;
    return settings;
}

void FollowConfiguration(CDovereduDoc& doc)
{
    doc.applyConfiguredGrids = [](CGridArr& grids) { ApplyGridsToSheet(CliSettings(), grids); };
}

int CliFail(const QString& message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    return 1;
}

int CliUsage(const char* usage)
{
    std::fprintf(stderr, "Usage: ridizav-cli %s\n", usage);
    return 2;
}

int RunCliCommand(const QString& command, const QStringList& args, const QCommandLineParser& parser)
{
    for (const CliCommand& c : Commands()) {
        if (command == QLatin1String(c.name))
            return c.run(args, parser);
    }
    std::fprintf(stderr, "Unknown command: %s\n", qPrintable(command));
    return 2;
}

namespace {

CSheet* SheetByOption(CDovereduDoc& doc, const QCommandLineParser& parser)
{
    if (!parser.isSet("sheet"))
        return &doc.GetActiveSheet();
    const QString value = parser.value("sheet");
    bool ok = false;
    const int number = value.toInt(&ok);
    if (ok)
        return number >= 1 && number <= static_cast<int>(doc.sheets.size())
            ? doc.sheets[number - 1].get()
            : nullptr;
    for (const auto& sheet : doc.sheets) {
        if (FromCp1252(sheet->sheetName) == value)
            return sheet.get();
    }
    return nullptr;
}

} // namespace

CSheet* ChosenSheet(CDovereduDoc& doc, const QCommandLineParser& parser, int& failed)
{
    if (!doc.HasSheets()) {
        failed = CliFail(QStringLiteral("The project has no sheet."));
        return nullptr;
    }
    CSheet* sheet = SheetByOption(doc, parser);
    if (sheet == nullptr)
        failed = CliFail(QStringLiteral("No such sheet: %1").arg(parser.value("sheet")));
    return sheet;
}
