#include "cli/clipboard_commands.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <cstdio>
#include <span>

#include "cli/cli_commands.h"
#include "document/document.h"
#include "model/archive.h"
#include "model/file_io.h"
#include "model/sheet.h"
#include "qt/file_args.h"
#include "qt/qt_text.h"

namespace {

constexpr const char* kCopyUsage = "copy PROJECT.ETT OUT.BIN --window L,T,R,B [--sheet N]";
constexpr const char* kPasteUsage = "paste PROJECT.ETT IN.BIN [-o OUT.ETT] [--sheet N]";
constexpr double kMicrometresPerMm = 1000.0;
constexpr double kLargestMm = 2e6;

// L,T,R,B in millimetres from the sheet's origin, as micrometres of the sheet.
bool ParseWindow(const QString& text, const CSheet& s, CRect& window)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return false;
    int32_t v[4];
    for (int k = 0; k < 4; ++k) {
        bool ok = false;
        const double mm = parts[k].trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(mm) || std::abs(mm) > kLargestMm)
            return false;
        const int64_t at
            = std::llround(mm * kMicrometresPerMm) + (k % 2 == 0 ? s.origin.x : s.origin.y);
        if (at < INT32_MIN || at > INT32_MAX)
            return false;
        v[k] = static_cast<int32_t>(at);
    }
    window = {v[0], v[1], v[2], v[3]};
    return true;
}

void PrintJson(const QJsonObject& o)
{
    std::fputs(QJsonDocument(o).toJson(QJsonDocument::Indented).constData(), stdout);
}

} // namespace

int CmdCopy(const QStringList& args, const QCommandLineParser& parser)
{
    if (args.size() != 2 || !parser.isSet("window"))
        return CliUsage(kCopyUsage);
    CDovereduDoc doc;
    if (auto error = doc.Open(FileNameBytes(args[0])))
        return CliFail(QString::fromStdString(*error));
    int failed = 0;
    CSheet* sheet = ChosenSheet(doc, parser, failed);
    if (sheet == nullptr)
        return failed;
    CRect window;
    if (!ParseWindow(parser.value("window"), *sheet, window))
        return CliFail(QStringLiteral("--window takes L,T,R,B in millimetres, e.g. 0,0,100,50."));

    // Whole objects and the texts in the window, as the select tool takes them.
    sheet->selectionCriteria = CSheet::kSelectBlocks | CSheet::kSelectTexts;
    sheet->rubberRect = window;
    sheet->SelectInWindow();
    CArchive ar("Clipboard");
    if (!sheet->WriteSelection(ar))
        return CliFail(FromCp1252(CSheet::kMsgOutOfRange));
    const std::vector<uint8_t> bytes = ar.TakeBytes();
    if (auto error = WriteFileAtomically(FileNameBytes(args[1]), bytes))
        return CliFail(QString::fromStdString(*error));
    PrintJson({{"selectedRecords", sheet->selectedCount},
        {"selectedTexts", sheet->texts.GetSelectedCount()},
        {"bytes", static_cast<qint64>(bytes.size())}});
    return 0;
}

int CmdPaste(const QStringList& args, const QCommandLineParser& parser)
{
    if (args.size() != 2)
        return CliUsage(kPasteUsage);
    const std::string project = FileNameBytes(args[0]);
    const std::string out = parser.isSet("o") ? FileNameBytes(parser.value("o")) : project;
    const std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(FileNameBytes(args[1]));
    if (!bytes)
        return CliFail(QStringLiteral("Cannot read %1.").arg(args[1]));

    CDovereduDoc doc;
    FollowConfiguration(doc);
    if (auto error = doc.Open(project))
        return CliFail(QString::fromStdString(*error));
    int failed = 0;
    CSheet* sheet = ChosenSheet(doc, parser, failed);
    if (sheet == nullptr)
        return failed;

    const int recordsBefore = sheet->recordCount;
    const int textsBefore = sheet->texts.GetCount();
    CArchive ar(std::span<const uint8_t>(*bytes), "Clipboard");
    const CSheet::PasteResult result = sheet->PasteSelection(ar);
    if (const std::string_view message = CSheet::PasteMessage(result); !message.empty())
        return CliFail(FromCp1252(message));
    if (result == CSheet::PasteResult::Pasted)
        doc.MarkChanged();
    if (auto error = doc.Save(out))
        return CliFail(QString::fromStdString(*error));
    PrintJson({{"records", sheet->recordCount - recordsBefore},
        {"texts", sheet->texts.GetCount() - textsBefore}});
    return 0;
}
