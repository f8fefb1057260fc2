#include "cli/project_commands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <cstring>

#include "cli/cli_commands.h"
#include "document/document.h"
#include "qt/file_args.h"
#include "qt/qt_text.h"

namespace {

QJsonArray Pair(int a, int b)
{
    return QJsonArray {a, b};
}

QJsonArray Rect(const CRect& r)
{
    return QJsonArray {r.left, r.top, r.right, r.bottom};
}

template<class Array> QJsonArray Numbers(const Array& values)
{
    QJsonArray out;
    for (auto v : values)
        out.append(static_cast<qint64>(v));
    return out;
}

QJsonObject SheetInfo(const CSheet& s, bool withContent)
{
    QJsonObject o;
    o["name"] = FromCp1252(s.sheetName);
    o["title"] = FromCp1252(s.sheetTitle);
    o["recordCount"] = s.recordCount;
    o["arrayLength"] = s.Length();
    o["texts"] = s.texts.GetCount();
    o["pictures"] = s.pictures->GetSize();
    o["zoom"] = s.zoom;
    o["origin"] = Pair(s.origin.x, s.origin.y);
    o["cursor"] = Pair(s.cursor.x, s.cursor.y);
    o["rawPoint"] = Pair(s.rawPoint.x, s.rawPoint.y);
    o["textPoint"] = Pair(s.textPoint.x, s.textPoint.y);
    o["selectionCriteria"] = s.selectionCriteria;
    o["junctionSize"] = s.junctionSize;
    o["penWidths"] = Numbers(s.penWidths);
    QJsonArray layers;
    for (int i = 0; i < kLayerCount; ++i) {
        const CLayer& l = s.layers.Layer(i);
        layers.append(QJsonObject {{"number", l.number}, {"name", FromCp1252(l.name)},
            {"altName", FromCp1252(l.altName)}, {"flagByte", l.flagByte}, {"visible", l.visible},
            {"recordUses", l.recordUses}, {"textUses", l.textUses}});
    }
    o["layers"] = layers;
    o["layerColours"] = Numbers(s.layerColours);
    o["highlightColours"] = Numbers(s.highlightColours);
    o["printColours"] = Numbers(s.printColours);
    QJsonArray grids;
    for (const CGrid& g : s.grids.grids) {
        grids.append(QJsonObject {{"spacingX", g.spacingX}, {"spacingY", g.spacingY},
            {"snapX", g.snapX}, {"snapY", g.snapY}, {"display", g.display}, {"snapOn", g.snapOn}});
    }
    o["grids"] = grids;
    o["extent"] = Rect(s.sheetExtent);
    if (!withContent)
        return o;

    QJsonArray records;
    for (int i = 1; i < s.recordCount; ++i) {
        const CETREC& r = s.records[i];
        records.append(QJsonArray {r.blockWord, r.styleWord, r.x, r.y});
    }
    o["records"] = records;
    QJsonArray texts;
    for (const auto& t : s.texts) {
        texts.append(QJsonObject {{"text", FromCp1252(t->text)}, {"box", Rect(t->box)},
            {"attributes", static_cast<qint64>(t->attributes)}});
    }
    o["textList"] = texts;
    QJsonArray pictures;
    for (int i = 0; i < s.pictures->GetSize(); ++i) {
        const CPict& p = s.pictures->At(i);
        pictures.append(
            QJsonObject {{"file", FromCp1252(p.fileName)}, {"flags", static_cast<qint64>(p.flags)},
                {"angle", p.angle}, {"size", Pair(p.pictureSize.cx, p.pictureSize.cy)},
                {"placement", Rect(p.placementRect)}, {"source", Rect(p.sourceRect)}});
    }
    o["pictureList"] = pictures;
    return o;
}

int PrintProject(
    const QStringList& args, const QCommandLineParser& parser, bool withContent, const char* usage)
{
    if (args.size() != 1)
        return CliUsage(usage);
    const std::string path = FileNameBytes(args[0]);
    CDovereduDoc doc;
    if (auto error = doc.Open(path))
        return CliFail(QString::fromStdString(*error));

    int only = -1;
    if (withContent && parser.isSet("sheet")) {
        bool ok = false;
        only = parser.value("sheet").toInt(&ok) - 1;
        if (!ok || only < 0 || only >= static_cast<int>(doc.sheets.size()))
            return CliFail(QStringLiteral("No such sheet: %1").arg(parser.value("sheet")));
    }

    QJsonObject o;
    // The oldest layout has no version number: null.
    o["version"] = doc.fileVersion ? QJsonValue(*doc.fileVersion) : QJsonValue();
    o["projectGroup"] = FromCp1252(doc.projectGroup);
    o["projectName"] = FromCp1252(doc.projectName);
    o["projectManager"] = FromCp1252(doc.projectManager);
    o["notes"] = FromCp1252(doc.notes);
    o["workingTime"] = doc.workingTime;
    o["activeSheet"] = doc.activeSheet;
    o["sheets"] = QJsonArray();
    const QByteArray outline = QJsonDocument(o).toJson(QJsonDocument::Indented);
    // The sheets are written one at a time into the place of the empty
    // array, indented as the whole document would indent them: a project of
    // many sheets never has all of its text in memory at once.
    static constexpr char kEmptySheets[] = "\"sheets\": [\n    ]";
    const qsizetype at = outline.indexOf(kEmptySheets);
    if (doc.sheets.empty() || at < 0) {
        std::fputs(outline.constData(), stdout);
        return 0;
    }
    const qsizetype open = at + static_cast<qsizetype>(std::strlen("\"sheets\": ["));
    std::fwrite(outline.constData(), 1, static_cast<size_t>(open), stdout);
    for (size_t i = 0; i < doc.sheets.size(); ++i) {
        const bool content = withContent && (only < 0 || static_cast<int>(i) == only);
        const QByteArray sheet
            = QJsonDocument(SheetInfo(*doc.sheets[i], content)).toJson(QJsonDocument::Indented);
        QByteArray indented;
        indented.reserve(sheet.size() * 2);
        for (const QByteArray& line : sheet.split('\n')) {
            if (line.isEmpty())
                continue;
            indented += "\n        ";
            indented += line;
        }
        if (i + 1 < doc.sheets.size())
            indented += ',';
        std::fwrite(indented.constData(), 1, static_cast<size_t>(indented.size()), stdout);
    }
    std::fputs("\n    ]", stdout);
    const qsizetype rest = at + static_cast<qsizetype>(std::strlen(kEmptySheets));
    std::fwrite(outline.constData() + rest, 1, static_cast<size_t>(outline.size() - rest), stdout);
    return 0;
}

} // namespace

int CmdNew(const QStringList& args, const QCommandLineParser& parser)
{
    if (args.size() != 1)
        return CliUsage("new OUT.ETT [--sheets N]");
    bool ok = false;
    const int n = parser.value("sheets").toInt(&ok);
    if (!ok || n < 0 || n > 10000)
        return CliFail(QStringLiteral("--sheets takes a number from 0 to 10000."));
    CDovereduDoc doc;
    for (int i = 0; i < n; ++i) {
        auto sheet = std::make_unique<CSheet>();
        sheet->AddFrame(0, 0, 400000, 270000);
        sheet->PushUndo();
        doc.sheets.push_back(std::move(sheet));
    }
    if (auto error = doc.Save(FileNameBytes(args[0])))
        return CliFail(QString::fromStdString(*error));
    return 0;
}

int CmdResave(const QStringList& args, const QCommandLineParser&)
{
    if (args.size() != 2)
        return CliUsage("resave IN.ETT OUT.ETT");
    CDovereduDoc doc;
    FollowConfiguration(doc);
    if (auto error = doc.Open(FileNameBytes(args[0])))
        return CliFail(QString::fromStdString(*error));
    if (auto error = doc.Save(FileNameBytes(args[1])))
        return CliFail(QString::fromStdString(*error));
    return 0;
}

int CmdInfo(const QStringList& args, const QCommandLineParser& parser)
{
    return PrintProject(args, parser, false, "info FILE.ETT");
}

int CmdDump(const QStringList& args, const QCommandLineParser& parser)
{
    return PrintProject(args, parser, true, "dump FILE.ETT [--sheet N]");
}
